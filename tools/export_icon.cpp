// SPDX-License-Identifier: MIT
// export-icon FOLDER: writes the application icon's images as
// FOLDER/varnola-32.png and FOLDER/varnola-16.png for the desktop's icon theme.
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "program_resources.h"
#include "resource_ids.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: export-icon FOLDER\n");
        return 2;
    }
    const IconResource* icon = ProgramResources().icon(IDR_MAINFRAME);
    if (!icon) return 1;
    for (const IconImage& image : icon->images) {
        QImage out(image.size, image.size, QImage::Format_ARGB32);
        for (int y = 0; y < image.size; ++y) {
            for (int x = 0; x < image.size; ++x) out.setPixel(x, y, image.argb[static_cast<std::size_t>(y * image.size + x)]);
        }
        const QString path = QString("%1/varnola-%2.png").arg(QString::fromLocal8Bit(argv[1])).arg(image.size);
        if (!out.save(path, "PNG")) return 1;
    }
    return 0;
}
