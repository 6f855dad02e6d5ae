// SPDX-License-Identifier: MIT
// Runs the real program, start-up to exit, on the system's own windows and
// acts on them with real messages: a drop carries a real HDROP, the window
// menu gets WM_SYSCOMMAND, buttons get BM_CLICK. Steps run one after another
// from the top of the innermost dialog loop; the windows that the system
// runs loops of its own for (the message box, the open-file dialog) are
// answered from a timer, which those loops dispatch. It supplies the
// primitives of the shared scenarios (dialog_scenarios.h).
#pragma once

#include "win_types.h"

#include <commctrl.h>
#include <dlgs.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "automation.h"
#include "message_pump.h"
#include "normalize_app.h"
#include "normalize_dlg.h"
#include "program_steps.h"
#include "resource_ids.h"
#include "win32_window.h"

namespace testing_support {

class WineDriver {
public:
    // A system dialog that a test does not expect fails it and is cancelled,
    // so that nothing waits for an answer that never comes.
    WineDriver() {
        platform_testing::DispatchAtEveryPump(true);
        AnswerSystemDialogs([](HWND dialog) {
            ADD_FAILURE() << "unexpected dialog \"" << Caption(dialog)
                          << "\": " << Text(dialog, 0xFFFF);
            ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
    }
    ~WineDriver() {
        StopAnswering();
        if (movedToFolder_) ::SetCurrentDirectoryA("C:\\");
        platform_testing::DispatchAtEveryPump(false);
    }

    int Run(std::vector<std::function<void()>> steps) {
        static char arg0[] = "Varnola.exe";
        return RunProgramWithSteps(arg0, std::move(steps));
    }

    static HWND Main() {
        CWnd* main = AfxGetApp() ? AfxGetApp()->m_pMainWnd : nullptr;
        return main ? WindowHandleOf(NativeOf(*main)) : nullptr;
    }
    static std::string Text(HWND window, int id) {
        char text[1024] = {};
        ::GetDlgItemTextA(window, id, text, sizeof text);
        return text;
    }
    static std::string Text(int id) { return Text(Main(), id); }
    static std::string Caption(HWND window) {
        char text[256] = {};
        ::GetWindowTextA(window, text, sizeof text);
        return text;
    }
    static int BarPosition(int id) {
        return static_cast<int>(::SendDlgItemMessageA(Main(), id, PBM_GETPOS, 0, 0));
    }
    static int BarUpper(int id) {
        return static_cast<int>(::SendDlgItemMessageA(Main(), id, PBM_GETRANGE, FALSE, 0));
    }

    // What the shell sends when files are dropped: a DROPFILES block in
    // global memory, the paths after it in UTF-16, each ended by a zero,
    // and one more zero at the end. The window frees it with DragFinish,
    // and DragQueryFileA hands it the paths in its own code page.
    static void Drop(const std::vector<std::string>& paths) {
        std::wstring list;
        for (const std::string& path : paths) {
            std::wstring wide(path.size(), L'\0');
            const int n =
                ::MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()),
                                      wide.data(), static_cast<int>(wide.size()));
            list += wide.substr(0, static_cast<std::size_t>(n)) + L'\0';
        }
        list += L'\0';
        const std::size_t bytes = list.size() * sizeof(wchar_t);
        HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
        auto* header = static_cast<DROPFILES*>(::GlobalLock(memory));
        header->pFiles = sizeof(DROPFILES);
        header->fWide = TRUE;
        std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(), bytes);
        ::GlobalUnlock(memory);
        ::PostMessageA(Main(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    }
    static void Click(HWND window, int id) {
        ::PostMessageA(::GetDlgItem(window, id), BM_CLICK, 0, 0);
    }
    // The close box: the window menu's Close.
    static void Close() { ::PostMessageA(Main(), WM_SYSCOMMAND, SC_CLOSE, 0); }
    static void ClickFile() { Click(Main(), IDC_FILE); }
    static bool IsEnabled(int id) { return ::IsWindowEnabled(::GetDlgItem(Main(), id)) != FALSE; }
    // Any of the program's own dialogs still on screen.
    static bool WindowOpen() {
        bool open = false;
        ::EnumThreadWindows(::GetCurrentThreadId(), &MarkIfProgramDialog,
                            reinterpret_cast<LPARAM>(&open));
        return open;
    }
    // A callback of the system's calling convention, which a lambda lacks on x86.
    static BOOL CALLBACK MarkIfProgramDialog(HWND window, LPARAM open) {
        if (!::IsWindowVisible(window) || !IsProgramDialog(window)) return TRUE;
        *reinterpret_cast<bool*>(open) = true;
        return FALSE;
    }
    static void MakeReadOnly(const std::string& path) {
        ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    }
    // The application's title: this program's file name without folder or extension.
    static std::string ProgramTitle() {
        char path[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, path, sizeof path);
        std::string name = path;
        name = name.substr(name.find_last_of('\\') + 1);
        return name.substr(0, name.find_last_of('.'));
    }

    // Each message box is handed to `seen`, checked to hold the main window
    // disabled while it is up, and answered with OK.
    void AnswerMessageBoxes(std::function<void(const std::string&, const std::string&)> seen) {
        boxSeen_ = std::move(seen);
        AnswerEachKind();
    }
    // The file dialogs in turn: the files chosen (all in one folder, typed
    // by name into the name box as a user would), or none for Cancel.
    void AnswerFileDialogs(std::vector<std::vector<std::string>> answers) {
        fileAnswers_.assign(answers.begin(), answers.end());
        for (const auto& answer : fileAnswers_) {
            if (answer.empty()) continue;
            const std::string& first = answer.front();
            movedToFolder_ =
                ::SetCurrentDirectoryA(first.substr(0, first.find_last_of('\\')).c_str()) != FALSE;
            EXPECT_TRUE(movedToFolder_);
            break;
        }
        AnswerEachKind();
    }
    int FileDialogs() const { return fileDialogs_; }

    // A visible dialog of the system's (not one of the program's own),
    // owned by the main window; null while there is none.
    static HWND SystemDialog() {
        Search search{Main(), nullptr};
        ::EnumThreadWindows(::GetCurrentThreadId(), &Visit, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    // Each system dialog that comes up is handed to `answer`, which looks at
    // it and dismisses it, until StopAnswering.
    void AnswerSystemDialogs(std::function<void(HWND)> answer) {
        answer_ = std::move(answer);
        current_ = this;
        if (!timer_) timer_ = ::SetTimer(nullptr, 0, 20, &Tick);
    }
    void StopAnswering() {
        if (timer_) ::KillTimer(nullptr, timer_);
        timer_ = 0;
        if (current_ == this) current_ = nullptr;
    }

private:
    void AnswerEachKind() {
        AnswerSystemDialogs([this](HWND dialog) {
            const bool fileDialog = ::GetDlgItem(dialog, cmb13) || ::GetDlgItem(dialog, edt1);
            if (fileDialog && !fileAnswers_.empty()) {
                AnswerFileDialog(dialog);
            } else if (!fileDialog && boxSeen_) {
                EXPECT_FALSE(::IsWindowEnabled(Main()));
                boxSeen_(Text(dialog, 0xFFFF), Caption(dialog));
                Click(dialog, IDOK);
            } else {
                ADD_FAILURE() << "unexpected dialog \"" << Caption(dialog)
                              << "\": " << Text(dialog, 0xFFFF);
                ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            }
        });
    }
    void AnswerFileDialog(HWND dialog) {
        ++fileDialogs_;
        EXPECT_FALSE(::IsWindowEnabled(Main()));
        // Centred on the main dialog (which is itself centred on the screen,
        // so the larger file dialog needs no moving to stay on it).
        RECT mine{}, main{};
        ::GetWindowRect(dialog, &mine);
        ::GetWindowRect(Main(), &main);
        EXPECT_NEAR(mine.left + mine.right, main.left + main.right, 2);
        EXPECT_NEAR(mine.top + mine.bottom, main.top + main.bottom, 2);
        const std::vector<std::string> answer = std::move(fileAnswers_.front());
        fileAnswers_.pop_front();
        if (answer.empty()) {
            ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        std::string typed;
        for (const std::string& path : answer) {
            typed +=
                (typed.empty() ? "\"" : " \"") + path.substr(path.find_last_of('\\') + 1) + "\"";
        }
        ::SendMessageA(dialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(typed.c_str()));
        ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    }

    struct Search {
        HWND owner;
        HWND found;
    };
    static BOOL CALLBACK Visit(HWND window, LPARAM at) {
        auto* search = reinterpret_cast<Search*>(at);
        char name[32] = {};
        ::GetClassNameA(window, name, sizeof name);
        if (::IsWindowVisible(window) && std::strcmp(name, "#32770") == 0 &&
            !IsProgramDialog(window) && ::GetWindow(window, GW_OWNER) == search->owner) {
            search->found = window;
            return FALSE;
        }
        return TRUE;
    }

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (!current_ || current_->answering_) return;
        HWND dialog = SystemDialog();
        if (!dialog || dialog == current_->answered_) return;
        current_->answering_ = true;
        current_->answered_ = dialog;
        current_->answer_(dialog);
        current_->answering_ = false;
    }

    static inline WineDriver* current_ = nullptr;
    std::function<void(HWND)> answer_;
    UINT_PTR timer_ = 0;
    HWND answered_ = nullptr;
    bool answering_ = false;
    std::function<void(const std::string&, const std::string&)> boxSeen_;
    std::deque<std::vector<std::string>> fileAnswers_;
    int fileDialogs_ = 0;
    bool movedToFolder_ = false;
};

}  // namespace testing_support
