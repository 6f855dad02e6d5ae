// SPDX-License-Identifier: MIT
// Runs the real application, start-up to exit, on Qt's offscreen platform,
// and acts on its dialog as a user would: drops made of file URLs, clicks,
// keys, the window menu. Steps run one after another from the dialog's own
// loop; the message box and the file dialog are answered here.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "automation.h"
#include "message_pump.h"
#include "normalize_app.h"
#include "normalize_dlg.h"

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
                if (nextChoice.empty()) return false;
                paths = nextChoice;
                nextChoice.clear();
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

    // Starts the program as the executable `varnola`, runs the steps, and
    // returns its exit status. The last step should close the dialog.
    int Run(std::vector<std::function<void()>> steps) {
        // A step the program ended before (a fallback for a key that did not
        // work) is dropped with it, not run at the start of the next one.
        auto running = std::make_shared<bool>(true);
        for (auto& step : steps) {
            platform_testing::RunWhenIdle([running, step = std::move(step)] {
                if (*running) step();
            });
        }
        static char arg0[] = "/usr/local/bin/varnola";
        static char* argv[] = {arg0, nullptr};
        int argc = 1;
        CNormalizeApp app;
        const int status = AfxWinMain(argc, argv);
        *running = false;
        platform_testing::DropIdleTasks();
        return status;
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
};

}  // namespace testing_support
