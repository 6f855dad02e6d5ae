// SPDX-License-Identifier: MIT
// The null backend: no display and no toolkit. A dialog is its template's
// items held in memory, posted messages wait in one queue in the order
// posted, the message box is acknowledged with OK and the open-file dialog
// is cancelled, as by a user who is not there. The platform's tests and
// the application's job tests run on it without a display.
#include <deque>
#include <map>

#include "drop_files.h"
#include "message_pump.h"
#include "native_window.h"
#include "wnd.h"

namespace {

class NullProgressBar final : public BackendProgressBar {
private:
    // Nothing to repaint: every value is kept at once.
    bool DrawsAtOnce(const ScaledProgress&) const override { return true; }
    void Draw(const ScaledProgress&) override {}
};

struct PostedMessage {
    CWnd* target;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::deque<PostedMessage> posted;

// Delivers the oldest posted message; false when none waits.
bool DeliverOne() {
    if (posted.empty()) return false;
    const PostedMessage next = posted.front();
    posted.pop_front();
    next.target->SendMessage(next.message, next.wParam, next.lParam);
    return true;
}

void DispatchWaiting() {
    // What is posted while these are delivered waits for the next pump, as in a real queue.
    for (std::size_t n = posted.size(); n > 0 && DeliverOne(); --n) {
    }
}

class NullDialogWindow final : public NativeWindow {
public:
    NullDialogWindow(const DialogTemplate& dialog, CWnd& target) : target_(target) {
        for (const DialogItem& item : dialog.items) {
            if (item.id < 0) continue;
            items_[item.id] = {CString(item.text), true};
            if (item.kind == ControlClass::kProgressBar) bars_[item.id];
        }
    }
    ~NullDialogWindow() override {
        // Messages for a window that is gone are never delivered; a drop is let go.
        std::erase_if(posted, [this](const PostedMessage& m) {
            if (m.target != &target_) return false;
            if (m.message == WM_DROPFILES) DragFinish(reinterpret_cast<HDROP>(m.wParam));
            return true;
        });
    }

    void SetItemText(int id, const CString& text) override {
        if (Item* item = Find(id)) item->text = text;
    }
    CString GetItemText(int id) const override {
        const auto found = items_.find(id);
        return found == items_.end() ? CString() : found->second.text;
    }
    void EnableItem(int id, bool enable) override {
        if (Item* item = Find(id)) item->enabled = enable;
    }
    bool IsItemEnabled(int id) const override {
        const auto found = items_.find(id);
        return found != items_.end() && found->second.enabled;
    }
    ProgressBarView* ProgressBar(int id) override {
        const auto found = bars_.find(id);
        return found == bars_.end() ? nullptr : &found->second;
    }

    void Show() override {}
    void Enable(bool) override {}
    bool IsMinimized() const override { return false; }
    RECT ClientRect() const override { return RECT{}; }
    void SetIcon(HICON, bool) override {}
    void AcceptDrops(bool) override {}
    void AppendSystemMenu(UINT, UINT, const CString&) override {}
    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM) override {
        if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE)
            return target_.SendMessage(WM_CLOSE);
        return 0;
    }
    WPARAM BeginPaint() override { return 0; }
    void EndPaint() override {}
    void DrawIcon(int, int, HICON) override {}

    void Post(UINT message, WPARAM wParam, LPARAM lParam) override {
        posted.push_back({&target_, message, wParam, lParam});
    }
    // With nothing posted no message can ever come: the loop ends.
    bool DispatchNextMessage() override { return DeliverOne(); }
    bool RunWhenDrained() override { return posted.empty() && RunIdleTaskFrom(*this); }
    void Hide() override {}

private:
    struct Item {
        CString text;
        bool enabled;
    };
    Item* Find(int id) {
        const auto found = items_.find(id);
        return found == items_.end() ? nullptr : &found->second;
    }

    CWnd& target_;
    std::map<int, Item> items_;
    std::map<int, NullProgressBar> bars_;
};

}  // namespace

namespace backend {

bool Initialize(int&, char**) {
    InstallMessageSource(&DispatchWaiting);
    return true;
}

std::unique_ptr<NativeWindow> CreateDialogWindow(const DialogTemplate& dialog, CWnd& target,
                                                 NativeWindow*) {
    return std::make_unique<NullDialogWindow>(dialog, target);
}

int MessageBox(NativeWindow*, const CString&, const CString&, UINT) { return IDOK; }

bool ChooseFilesToOpen(NativeWindow*, const OpenFileRequest&, std::vector<std::string>&) {
    return false;
}

}  // namespace backend
