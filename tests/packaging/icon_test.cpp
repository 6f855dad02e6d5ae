// SPDX-License-Identifier: MIT
// The program's own icon (window, About box) and the desktop's icon theme
// (launchers, docks) are one picture: icon resource 128 holds exactly the
// theme's 32 and 16 px images, colours and transparency alike.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include "program_resources.h"
#include "resource_ids.h"

namespace {

QImage ThemeImage(int size) {
    QImage image(QString("%1/%2/varnola.png").arg(VARNOLA_THEME_DIR).arg(size));
    return image.convertToFormat(QImage::Format_ARGB32);
}

TEST(AppIcon, ResourceHoldsTheThemeImagesAt32And16) {
    const IconResource* icon = ProgramResources().icon(IDR_MAINFRAME);
    ASSERT_NE(icon, nullptr);
    ASSERT_EQ(icon->images.size(), 2u);
    // The largest first: the window takes the first image that fits.
    EXPECT_EQ(icon->images[0].size, 32);
    EXPECT_EQ(icon->images[1].size, 16);
    for (const IconImage& image : icon->images) {
        const QImage theme = ThemeImage(image.size);
        ASSERT_EQ(theme.width(), image.size);
        ASSERT_EQ(theme.height(), image.size);
        ASSERT_EQ(image.argb.size(), static_cast<std::size_t>(image.size * image.size));
        int differing = 0;
        for (int y = 0; y < image.size; ++y) {
            for (int x = 0; x < image.size; ++x) {
                if (image.argb[static_cast<std::size_t>(y * image.size + x)] != theme.pixel(x, y))
                    ++differing;
            }
        }
        EXPECT_EQ(differing, 0) << image.size << " px";
    }
}

TEST(AppIcon, EveryThemeSizeIsItsOwnRenderOfTheTile) {
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const QImage image = ThemeImage(size);
        ASSERT_EQ(image.size(), QSize(size, size));
        // Rounded corners are at most half covered; the middle of the tile is solid; the
        // full-scale line a sixth of the way down is drawn in its gold at
        // every size, which an image scaled up from a smaller one would
        // smear into the tile.
        EXPECT_LT(qAlpha(image.pixel(0, 0)), 128);
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255);
        const QRgb line = image.pixel(size / 2, size * 40 / 256);
        EXPECT_GT(qRed(line), 0xA0);
        EXPECT_LT(qBlue(line), 0x80);
    }
}

}  // namespace
