// SPDX-License-Identifier: MIT
// doc-screenshots FOLDER: renders the main dialog after normalising a file
// and the About box into FOLDER/main-dialog.png and FOLDER/about-box.png,
// for the documentation. Drives the real program through its own window.
#include <QApplication>
#include <QDialog>
#include <QDropEvent>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>
#include <QUrl>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "automation.h"
#include "normalize_app.h"
#include "normalize_dlg.h"
#include "wave_file_writer.h"

namespace {

QDialog* Window(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name && w->isVisible()) return qobject_cast<QDialog*>(w);
    }
    return nullptr;
}

// A short 16-bit mono take whose loudest sample is a quarter of full scale.
void WriteTake(const std::string& path) {
    wave_file::Write(path, {1, 16}, 400000, [](std::uint64_t n) {
        const int i = static_cast<int>(n);
        return (i % 400 < 200 ? i % 200 : 200 - i % 200) * 8192 / 200 - 4096;
    });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: doc-screenshots FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    const std::string take = folder + "/Take1.wav";
    WriteTake(take);
    bool ok = true;
    platform_testing::RunWhenIdle([&] {
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(QString::fromStdString(take))});
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Window("dialog102"), &enter);
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Window("dialog102"), &drop);
        delete data;
    });
    platform_testing::RunWhenIdle([&] {
        ok &= Window("dialog102")->grab().save(QString::fromStdString(folder + "/main-dialog.png"));
        AfxGetApp()->m_pMainWnd->PostMessage(WM_SYSCOMMAND, 0x10, 0);
    });
    platform_testing::RunWhenIdle([&] {
        QDialog* about = Window("dialog100");
        ok &= about && about->grab().save(QString::fromStdString(folder + "/about-box.png"));
        if (about) about->findChild<QPushButton*>("item1")->click();
    });
    platform_testing::RunWhenIdle([&] { Window("dialog102")->close(); });
    static char name[] = "varnola";
    char* args[] = {name, nullptr};
    int count = 1;
    CNormalizeApp app;
    AfxWinMain(count, args);
    std::remove(take.c_str());
    return ok ? 0 : 1;
}
