// SPDX-License-Identifier: MIT
// What a GUI backend provides: the window of a dialog built from its
// template, and the few system services around it. Shared code in this
// folder calls these; the application never does.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cstring.h"
#include "progress_ctrl.h"
#include "resources.h"
#include "win_types.h"

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
    // Runs until `ended` turns true, looking at it only between messages.
    virtual void RunModalLoop(const bool& ended) = 0;
};

struct FileFilter {
    std::string name;
    std::string patterns;  // "*.wav", "*.*"
};

struct OpenFileRequest {
    std::vector<FileFilter> filters;
    std::string defaultExtension;
    bool multipleSelection = false;
};

// The system's modal message box and open-file dialog, or a test's stand-in.
int MessageBoxOwnedBy(NativeWindow* owner, const CString& text, const CString& caption, UINT type);
#if !defined(_WIN32)
// On Windows the common dialog fills the caller's buffer itself.
bool ChooseFilesOwnedBy(NativeWindow* owner, const OpenFileRequest& request,
                        std::vector<std::string>& paths);
#endif

namespace backend {

bool Initialize(int& argc, char** argv);
std::unique_ptr<NativeWindow> CreateDialogWindow(const DialogTemplate& dialog, CWnd& target,
                                                 NativeWindow* owner);
int MessageBox(NativeWindow* owner, const CString& text, const CString& caption, UINT type);
#if !defined(_WIN32)
// Full paths in the order the user chose them; false when cancelled.
bool ChooseFilesToOpen(NativeWindow* owner, const OpenFileRequest& request,
                       std::vector<std::string>& paths);
#endif
int SystemMetric(int index);
// The program's own resources, as the platform stores them.
HICON LoadIconResource(UINT id);
bool LoadStringResource(UINT id, std::string& text);
// The running program's file, for its title and its help file.
std::string ExecutablePath(const char* argv0);

}  // namespace backend
