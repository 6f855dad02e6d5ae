// SPDX-License-Identifier: MIT
// Runs the real application, start-up to exit, on Qt's offscreen platform,
// and acts on its dialog as a user would: drops made of file URLs, clicks,
// keys, the window menu. Steps run one after another from the dialog's own
// loop; the message box and the file dialog are answered here. It supplies
// the primitives of the shared scenarios (dialog_scenarios.h).
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QDialog>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
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

namespace testing_support {

struct MessageBoxCall {
    std::string text;
    std::string caption;
    UINT type;
};

class DialogDriver {
public:
    DialogDriver() {
        platform_testing::DispatchAtEveryPump(true);
        platform_testing::SetMessageBoxResponder(
            [this](const CString& text, const CString& caption, UINT type) {
                boxes.push_back({text.Bytes(), caption.Bytes(), type});
                return static_cast<int>(IDOK);
            });
        platform_testing::SetOpenFileResponder(
            [this](const OpenFileRequest&, std::vector<std::string>& paths) {
                ++fileDialogs;
                std::vector<std::string> choice;
                if (!answers_.empty()) {
                    choice = std::move(answers_.front());
                    answers_.pop_front();
                } else {
                    choice.swap(nextChoice);
                }
                if (choice.empty()) return false;
                paths = std::move(choice);
                return true;
            });
    }
    ~DialogDriver() {
        // Whatever a test opened has gone by its end: a window, box, menu or
        // file dialog left behind would be a leak the user could see.
        QStringList left;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            left << (w->metaObject()->className() + QStringLiteral(" ") + w->objectName());
        }
        EXPECT_TRUE(left.isEmpty()) << left.join(", ").toStdString();
        platform_testing::SetMessageBoxResponder(nullptr);
        platform_testing::SetOpenFileResponder(nullptr);
        SetPumpHook(nullptr);
        platform_testing::DispatchAtEveryPump(false);
    }

    // Starts the program as the executable `varnola` (see ProgramTitle).
    int Run(std::vector<std::function<void()>> steps) {
        static char arg0[] = "/usr/local/bin/varnola";
        return RunProgramWithSteps(arg0, std::move(steps));
    }

    static QDialog* Window(const char* name = "dialog102") {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == name && w->isVisible()) return qobject_cast<QDialog*>(w);
        }
        return nullptr;
    }
    static CNormalizeDlg* Dialog() { return static_cast<CNormalizeDlg*>(AfxGetApp()->m_pMainWnd); }
    static QWidget* Item(int id, const char* window = "dialog102") {
        QDialog* w = Window(window);
        return w ? w->findChild<QWidget*>(QString("item%1").arg(id)) : nullptr;
    }
    static std::string Text(int id) {
        auto* label = qobject_cast<QLabel*>(Item(id));
        return label ? label->text().toStdString() : "<none>";
    }
    static QProgressBar* Bar(int id) { return qobject_cast<QProgressBar*>(Item(id)); }
    static int BarPosition(int id) { return Bar(id)->value(); }
    static int BarUpper(int id) { return Bar(id)->maximum(); }
    static bool IsEnabled(int id) {
        QWidget* item = Item(id);
        return item && item->isEnabled();
    }
    static bool WindowOpen() { return Window() != nullptr; }
    static void ClickFile() { qobject_cast<QPushButton*>(Item(IDC_FILE))->click(); }
    static void MakeReadOnly(const std::string& path) { ASSERT_EQ(::chmod(path.c_str(), 0444), 0); }
    // The name Run starts the program under.
    static std::string ProgramTitle() { return "varnola"; }

    // Each box the program shows is handed to `seen`, checked to offer OK
    // alone, and answered with OK.
    void AnswerMessageBoxes(std::function<void(const std::string&, const std::string&)> seen) {
        platform_testing::SetMessageBoxResponder(
            [this, seen = std::move(seen)](const CString& text, const CString& caption, UINT type) {
                boxes.push_back({text.Bytes(), caption.Bytes(), type});
                EXPECT_EQ(type, static_cast<UINT>(MB_OK));
                seen(text.Bytes(), caption.Bytes());
                return static_cast<int>(IDOK);
            });
    }
    // The file dialogs in turn: the files chosen, or none for Cancel.
    void AnswerFileDialogs(std::vector<std::vector<std::string>> answers) {
        answers_.assign(answers.begin(), answers.end());
    }
    int FileDialogs() const { return fileDialogs; }

    // A drop from a file manager: drag enter, then the drop, of file URLs.
    static void Drop(const std::vector<std::string>& paths) {
        QDialog* window = Window();
        auto* data = new QMimeData;
        QList<QUrl> urls;
        for (const auto& p : paths) urls << QUrl::fromLocalFile(QString::fromStdString(p));
        data->setUrls(urls);
        const QPointF at(window->width() / 2.0, window->height() / 2.0);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &enter);
        QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &drop);
        delete data;
    }
    static void Close(const char* window = "dialog102") {
        if (QDialog* w = Window(window)) w->close();
    }

    std::vector<MessageBoxCall> boxes;
    std::vector<std::string> nextChoice;
    int fileDialogs = 0;

private:
    std::deque<std::vector<std::string>> answers_;
};

}  // namespace testing_support
