// SPDX-License-Identifier: MIT
// The Win32 backend of the platform layer, over the system's own services:
//  - the dialog window made from the template in the program's resources
//    (CreateDialogIndirectParamA) and subclassed, so that every message it
//    receives goes through the application's maps first and on to the
//    system's dialog handling after;
//  - the modal loop's steps with the dialog keys (IsDialogMessageA), the
//    message pump, the common controls' progress bar, the message box, the
//    icon, string and module services.
#include "win_types.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "message_pump.h"
#include "native_window.h"
#include "win32_window.h"
#include "wnd.h"

namespace {

constexpr const char* kWindowProperty = "Varnola.NativeWindow";

HINSTANCE Instance() { return ::GetModuleHandleA(nullptr); }

// The control repaints itself at once on every PBM_SETPOS, and the long
// loops move it after every block: thousands of repaints a second, most of
// them drawing the very same pixels, and each one costly where painting is
// slow. A position that fills more of the bar is drawn at once when the
// last one drawn is a few hundredths of a second old (a few dozen a second
// look smooth); a new range, or a bar that goes back, at once. Any other
// waits (see BackendProgressBar).
class Win32ProgressBar final : public BackendProgressBar {
public:
    explicit Win32ProgressBar(HWND bar) : bar_(bar) {
        RECT client{};
        ::GetClientRect(bar_, &client);
        width_ = std::max<long long>(client.right - client.left - 2, 1);  // inside its edge
    }

private:
    static constexpr ULONGLONG kRepaintMs = 30;

    long long Filled(const ScaledProgress& value) const {
        return value.upper > 0 ? value.position * width_ / value.upper : 0;
    }
    bool DrawsAtOnce(const ScaledProgress& value) const override {
        const long long filled = Filled(value);
        return value.upper != shownUpper_ || filled < shownFill_ ||
               (filled > shownFill_ && ::GetTickCount64() - shownAt_ >= kRepaintMs);
    }
    void Draw(const ScaledProgress& value) override {
        // PBM_SETRANGE32 takes an int: ScaleForIntBar has scaled byte counts past 2 GiB.
        if (value.upper != shownUpper_) ::SendMessageA(bar_, PBM_SETRANGE32, 0, value.upper);
        ::SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(value.position), 0);
        shownUpper_ = value.upper;
        shownFill_ = Filled(value);
        shownAt_ = ::GetTickCount64();
    }

    HWND bar_;
    long long width_;
    int shownUpper_ = -1;
    long long shownFill_ = -1;
    ULONGLONG shownAt_ = 0;
};

LRESULT CALLBACK RoutedProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The map does the work once the window is subclassed; returning FALSE
// leaves everything else to the system's dialog handling.
INT_PTR CALLBACK DialogProcedure(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

class Win32DialogWindow final : public NativeWindow {
public:
    Win32DialogWindow(HWND hwnd, CWnd& target) : hwnd_(hwnd), target_(target) {
        ::SetPropA(hwnd_, kWindowProperty, this);
        ::GetWindowRect(hwnd_, &created_);
        original_ = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RoutedProcedure)));
    }
    ~Win32DialogWindow() override {
        // The window goes without the application seeing its last messages:
        // the object they would reach is being destroyed.
        ::SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        ::RemovePropA(hwnd_, kWindowProperty);
        ::DestroyWindow(hwnd_);
    }
    Win32DialogWindow(const Win32DialogWindow&) = delete;
    Win32DialogWindow& operator=(const Win32DialogWindow&) = delete;

    HWND Handle() const { return hwnd_; }

    LRESULT Route(UINT message, WPARAM wParam, LPARAM lParam) {
        return target_.SendMessage(message, wParam, lParam);
    }

    void SetItemText(int id, const CString& text) override { ::SetDlgItemTextA(hwnd_, id, text); }
    CString GetItemText(int id) const override {
        HWND item = ::GetDlgItem(hwnd_, id);
        if (!item) return CString();
        std::vector<char> text(static_cast<std::size_t>(::GetWindowTextLengthA(item)) + 1);
        const int n = ::GetWindowTextA(item, text.data(), static_cast<int>(text.size()));
        return CString(text.data(), n > 0 ? n : 0);
    }
    // Disabling the control that has the focus leaves the dialog with none,
    // and the keyboard with nothing to act on: it takes the focus back when
    // it is enabled again, unless the focus went elsewhere in the meantime.
    // An inactive dialog gets it back from the system when it is activated.
    void EnableItem(int id, bool enable) override {
        HWND item = ::GetDlgItem(hwnd_, id);
        if (!enable && item && ::GetFocus() == item) refocus_ = item;
        ::EnableWindow(item, enable);
        if (!enable || !item || item != refocus_) return;
        refocus_ = nullptr;
        HWND focus = ::GetFocus();
        if (::GetActiveWindow() == hwnd_ && (!focus || focus == hwnd_)) {
            ::SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item), TRUE);
        }
    }
    bool IsItemEnabled(int id) const override {
        HWND item = ::GetDlgItem(hwnd_, id);
        return item && ::IsWindowEnabled(item);
    }
    ProgressBarView* ProgressBar(int id) override {
        auto& bar = bars_[id];
        if (!bar) {
            HWND item = ::GetDlgItem(hwnd_, id);
            if (!item) return nullptr;
            bar = std::make_unique<Win32ProgressBar>(item);
        }
        return bar.get();
    }

    void Show() override {
        CenterOverOwner();
        ::ShowWindow(hwnd_, SW_SHOWNORMAL);
        ::UpdateWindow(hwnd_);
    }
    void Enable(bool enable) override { ::EnableWindow(hwnd_, enable); }
    bool IsMinimized() const override { return ::IsIconic(hwnd_) != FALSE; }
    RECT ClientRect() const override {
        RECT rect{};
        ::GetClientRect(hwnd_, &rect);
        return rect;
    }
    void SetIcon(HICON icon, bool big) override {
        ::SendMessageA(hwnd_, WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                       reinterpret_cast<LPARAM>(icon));
    }
    void AcceptDrops(bool accept) override { ::DragAcceptFiles(hwnd_, accept); }
    void AppendSystemMenu(UINT flags, UINT id, const CString& text) override {
        if (HMENU menu = ::GetSystemMenu(hwnd_, FALSE)) {
            ::AppendMenuA(menu, flags, id, (flags & MF_SEPARATOR) ? nullptr : text.GetString());
        }
    }

    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) override {
        // F1 asks the application for help, as a Help command.
        if (message == WM_HELP) {
            target_.SendMessage(WM_COMMAND, MAKEWPARAM(ID_HELP, 0));
            return TRUE;
        }
        return ::CallWindowProcA(original_, hwnd_, message, wParam, lParam);
    }
    WPARAM BeginPaint() override { return reinterpret_cast<WPARAM>(::BeginPaint(hwnd_, &paint_)); }
    void EndPaint() override { ::EndPaint(hwnd_, &paint_); }
    void DrawIcon(int x, int y, HICON icon) override { ::DrawIcon(paint_.hdc, x, y, icon); }

    void Post(UINT message, WPARAM wParam, LPARAM lParam) override {
        ::PostMessageA(hwnd_, message, wParam, lParam);
    }

    bool DispatchNextMessage() override {
        MSG msg;
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1) return false;
        if (got == 0) {
            // The quit message belongs to the outermost loop: pass it on.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (!::IsDialogMessageA(hwnd_, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        return true;
    }
    // The queue is drained when nothing at all waits, painting and timers included.
    bool RunWhenDrained() override {
        MSG msg;
        return !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && RunIdleTaskFrom(*this);
    }
    void Hide() override {
        // The owner comes back before this window goes, so that it, and not
        // some other program, is activated.
        if (HWND owner = ::GetWindow(hwnd_, GW_OWNER)) {
            ::EnableWindow(owner, TRUE);
            ::SetActiveWindow(owner);
        }
        ::SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }

private:
    // As the framework places a dialog that did not move itself while it
    // was initialised.
    void CenterOverOwner() {
        RECT window{};
        ::GetWindowRect(hwnd_, &window);
        if (window.left == created_.left && window.top == created_.top) CenterWindow(hwnd_);
    }

    HWND hwnd_;
    CWnd& target_;
    RECT created_{};
    WNDPROC original_ = nullptr;
    HWND refocus_ = nullptr;
    PAINTSTRUCT paint_{};
    std::map<int, std::unique_ptr<Win32ProgressBar>> bars_;
};

LRESULT CALLBACK RoutedProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* window = static_cast<Win32DialogWindow*>(::GetPropA(hwnd, kWindowProperty));
    if (!window) return ::DefWindowProcA(hwnd, message, wParam, lParam);
    return window->Route(message, wParam, lParam);
}

// Everything waiting for this thread, with no dialog keys: inside a long
// loop Tab, Enter and Esc are plain keys.
void DispatchWaiting() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// The template as the resources hold it, but created hidden: the dialog
// shows itself once OnInitDialog has filled it in.
std::vector<DWORD> HiddenTemplate(UINT id) {
    HRSRC found =
        ::FindResourceA(Instance(), MAKEINTRESOURCEA(id), reinterpret_cast<LPCSTR>(RT_DIALOG));
    HGLOBAL loaded = found ? ::LoadResource(Instance(), found) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    const DWORD size = found ? ::SizeofResource(Instance(), found) : 0;
    // A template is a few hundred bytes; anything else is not one.
    if (!bytes || size < sizeof(DLGTEMPLATE) || size > 0x10000) return {};
    std::vector<DWORD> copy((size + sizeof(DWORD) - 1) / sizeof(DWORD));
    std::memcpy(copy.data(), bytes, size);
    // DLGTEMPLATEEX: version and signature words, help id, extended style, style.
    auto* words = reinterpret_cast<const WORD*>(copy.data());
    const bool extended = words[1] == 0xFFFF;
    DWORD& style = extended ? copy[3] : copy[0];
    style &= ~static_cast<DWORD>(WS_VISIBLE);
    return copy;
}

}  // namespace

HWND WindowHandleOf(const NativeWindow* window) {
    return window ? static_cast<const Win32DialogWindow*>(window)->Handle() : nullptr;
}

void CenterWindow(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT area = monitor.rcWork;
    RECT over = area;
    HWND owner = ::GetWindow(window, GW_OWNER);
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &over);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    int x = (over.left + over.right - width) / 2;
    int y = (over.top + over.bottom - height) / 2;
    x = std::max<int>(area.left, std::min<int>(x, area.right - width));
    y = std::max<int>(area.top, std::min<int>(y, area.bottom - height));
    ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool IsProgramDialog(HWND window) { return ::GetPropA(window, kWindowProperty) != nullptr; }

namespace backend {

bool Initialize(int&, char**) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    if (!::InitCommonControlsEx(&controls)) return false;
    InstallMessageSource(&DispatchWaiting);
    return true;
}

std::unique_ptr<NativeWindow> CreateDialogWindow(const DialogTemplate& dialog, CWnd& target,
                                                 NativeWindow* owner) {
    const std::vector<DWORD> hidden = HiddenTemplate(dialog.id);
    if (hidden.empty()) return nullptr;
    HWND hwnd =
        ::CreateDialogIndirectParamA(Instance(), reinterpret_cast<LPCDLGTEMPLATEA>(hidden.data()),
                                     WindowHandleOf(owner), &DialogProcedure, 0);
    if (!hwnd) return nullptr;
    return std::make_unique<Win32DialogWindow>(hwnd, target);
}

int MessageBox(NativeWindow* owner, const CString& text, const CString& caption, UINT type) {
    return ::MessageBoxA(WindowHandleOf(owner), text, caption, type);
}

HICON LoadIconResource(UINT id) { return ::LoadIconA(Instance(), MAKEINTRESOURCEA(id)); }

bool LoadStringResource(UINT id, std::string& text) {
    char buffer[1024];
    const int n = ::LoadStringA(Instance(), id, buffer, sizeof buffer);
    if (n <= 0) return false;
    text.assign(buffer, static_cast<std::size_t>(n));
    return true;
}

std::string ExecutablePath(const char* argv0) {
    char path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path) return argv0 ? argv0 : "";
    return std::string(path, n);
}

}  // namespace backend
