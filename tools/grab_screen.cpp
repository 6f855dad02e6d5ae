// SPDX-License-Identifier: MIT
// grab-screen [--crop] FILE.png: saves what the X display shows (for
// screenshots taken under Xvfb, where no desktop tool is at hand). With
// --crop, only the part that is not the empty black background.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstring>

namespace {

QRect ContentOf(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) != 0) box |= QRect(x, y, 1, 1);
        }
    }
    return box.isEmpty() ? image.rect() : box;
}

}  // namespace

int main(int argc, char** argv) {
    const bool crop = argc == 3 && !std::strcmp(argv[1], "--crop");
    if (argc != 2 && !crop) {
        std::fprintf(stderr, "usage: grab-screen [--crop] FILE.png\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        std::fprintf(stderr, "grab-screen: no screen\n");
        return 1;
    }
    QImage image = screen->grabWindow(0).toImage();
    if (crop) image = image.copy(ContentOf(image));
    if (!image.save(QString::fromLocal8Bit(argv[argc - 1]), "PNG")) {
        std::fprintf(stderr, "grab-screen: cannot save %s\n", argv[argc - 1]);
        return 1;
    }
    return 0;
}
