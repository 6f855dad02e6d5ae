// SPDX-License-Identifier: MIT
// icon-source SOURCE PNG...: writes SOURCE, the C++ definition of the
// application icon resource (DrawAppIcon) holding each PNG's pixels as
// 32-bit ARGB, so that the program carries the images rendered from the
// icon's drawing without reading any file at run time.
#include <QImage>
#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: icon-source SOURCE PNG...\n");
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << "// Written at build time from the icon's renders; not to be edited.\n"
        << "#include \"resources.h\"\n\n"
        << "IconResource DrawAppIcon(UINT id) {\n"
        << "    return IconResource{id, {\n";
    for (int i = 2; i < argc; ++i) {
        QImage image;
        if (!image.load(QString::fromLocal8Bit(argv[i]), "PNG") ||
            image.width() != image.height()) {
            std::fprintf(stderr, "icon-source: %s is not a square PNG\n", argv[i]);
            return 1;
        }
        // Straight (not premultiplied) alpha, as icon files hold it.
        image = image.convertToFormat(QImage::Format_ARGB32);
        out << "        IconImage{" << image.width() << ", {";
        for (int y = 0; y < image.height(); ++y) {
            out << "\n            ";
            for (int x = 0; x < image.width(); ++x) {
                char word[16];
                std::snprintf(word, sizeof word, "0x%08X,",
                              static_cast<unsigned>(image.pixel(x, y)));
                out << word;
            }
        }
        out << "}},\n";
    }
    out << "    }};\n}\n";
    out.flush();
    if (!out) {
        std::fprintf(stderr, "icon-source: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
