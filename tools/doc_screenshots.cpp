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

namespace {

QDialog* Window(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name && w->isVisible()) return qobject_cast<QDialog*>(w);
    }
    return nullptr;
}

// A short 16-bit mono take whose loudest sample is a quarter of full scale.
void WriteTake(const std::string& path) {
    std::vector<unsigned char> data;
    for (int i = 0; i < 200000; ++i) {
        const int v = (i % 400 < 200 ? i % 200 : 200 - i % 200) * 8192 / 200 - 4096;
        data.push_back(static_cast<unsigned char>(v & 0xFF));
        data.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
    }
    auto le32 = [](std::uint32_t v) {
        return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    };
    std::ofstream out(path, std::ios::binary);
    out << "RIFF" << le32(static_cast<std::uint32_t>(36 + data.size())) << "WAVEfmt " << le32(16)
        << std::string("\x01\x00\x01\x00", 4) << le32(44100) << le32(88200) << std::string("\x02\x00\x10\x00", 4)
        << "data" << le32(static_cast<std::uint32_t>(data.size()));
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
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
