// SPDX-License-Identifier: MIT
// The backend contract: what every GUI backend implements in full, and
// nothing the two have in common. Shared code in this folder calls these;
// the application never sees them.
#pragma once

#include "win_types.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cstring.h"
#include "file_dialog.h"
#include "progress_ctrl.h"
#include "resources.h"

class CWnd;

class NativeWindow {
public:
    virtual ~NativeWindow() = default;

    virtual void SetItemText(int id, const CString& text) = 0;
    virtual CString GetItemText(int id) const = 0;
    virtual void EnableItem(int id, bool enable) = 0;
    virtual bool IsItemEnabled(int id) const = 0;
    virtual ProgressBarView* ProgressBar(int id) = 0;

    virtual void Show() = 0;
    virtual void Enable(bool enable) = 0;
    virtual bool IsMinimized() const = 0;
    virtual RECT ClientRect() const = 0;
    virtual void SetIcon(HICON icon, bool big) = 0;
    virtual void AcceptDrops(bool accept) = 0;
    // The window menu: Close, then what the program appends.
    virtual void AppendSystemMenu(UINT flags, UINT id, const CString& text) = 0;

    // What the system does with a message no map handles.
    virtual LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // Painting, only while a WM_PAINT the backend routed is being handled:
    // BeginPaint gives the device context as a message parameter.
    virtual WPARAM BeginPaint() = 0;
    virtual void EndPaint() = 0;
    virtual void DrawIcon(int x, int y, HICON icon) = 0;

    // Delivers the message to the window's procedure later, from its loop.
    virtual void Post(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // The steps of the modal loop, which shared code runs (RunModalLoop).
    // Waits for the next message and dispatches it, with the dialog keys;
    // false when the loop must end (the program is quitting).
    virtual bool DispatchNextMessage() = 0;
    // An automation task waits: RunIdleTaskFrom(*this) once every message
    // waiting now has been handled. True when it ran already.
    virtual bool RunWhenDrained() = 0;
    // The loop has ended: the window leaves the screen, its owner comes back.
    virtual void Hide() = 0;
};

// A toolkit's bar behind a CProgressCtrl. The long loops move a bar after
// every block; drawing each step would repaint it thousands of times a
// second. A value is drawn at once only where the backend says it must be;
// otherwise it waits for ShowWaitingProgress, which shared code calls when
// a text is pushed to the screen, before anything modal comes up and at the
// top of a dialog's loop.
class BackendProgressBar : public ProgressBarView {
public:
    ~BackendProgressBar() override;
    void Show(std::uint32_t upper, std::uint32_t position) final;

protected:
    virtual bool DrawsAtOnce(const ScaledProgress& value) const = 0;
    virtual void Draw(const ScaledProgress& value) = 0;

private:
    ScaledProgress waiting_{};
    friend void ShowWaitingProgress();
};
void ShowWaitingProgress();

// The modal loop every backend's dialogs run: bars take their latest value
// at its top, a waiting automation task runs once the queue is drained.
void RunModalLoop(NativeWindow& window, const bool& ended);
// Runs the automation's next task if the window's loop is the innermost,
// still running and not inside a long loop's dispatching; true when it ran.
bool RunIdleTaskFrom(NativeWindow& window);

// The system's modal message box and open-file dialog, or the stand-in an
// automation library installed.
int MessageBoxOwnedBy(NativeWindow* owner, const CString& text, const CString& caption, UINT type);
bool ChooseFilesOwnedBy(NativeWindow* owner, const OpenFileRequest& request,
                        std::vector<std::string>& paths);

// The window of the dialog that owns what `parent` would own: the parent
// itself, or else the application's main window unless that is `self`.
NativeWindow* OwnerWindow(CWnd* parent, const CWnd* self);

// Where an automation library (the tests, the benchmarks, the screenshot
// tools) stands in for the user and the system's modal dialogs; the
// program itself installs none.
class AutomationSeam {
public:
    virtual ~AutomationSeam() = default;
    // Each answers in the system's place, or returns false to leave it to the system.
    virtual bool AnswerMessageBox(const CString& text, const CString& caption, UINT type,
                                  int& result) = 0;
    virtual bool AnswerOpenFile(const OpenFileRequest& request, std::vector<std::string>& paths,
                                bool& chosen) = 0;
    virtual bool HasIdleTask() const = 0;
    virtual void RunIdleTask() = 0;
};
void InstallAutomation(AutomationSeam* seam);
AutomationSeam* InstalledAutomation();

namespace backend {

bool Initialize(int& argc, char** argv);
std::unique_ptr<NativeWindow> CreateDialogWindow(const DialogTemplate& dialog, CWnd& target,
                                                 NativeWindow* owner);
int MessageBox(NativeWindow* owner, const CString& text, const CString& caption, UINT type);
// Full paths in the order the user chose them; false when cancelled.
bool ChooseFilesToOpen(NativeWindow* owner, const OpenFileRequest& request,
                       std::vector<std::string>& paths);
// The program's own resources, as the platform stores them.
HICON LoadIconResource(UINT id);
bool LoadStringResource(UINT id, std::string& text);
// The running program's file, for its title and its help file.
std::string ExecutablePath(const char* argv0);

}  // namespace backend
