// SPDX-License-Identifier: MIT
// The resources the Windows program carries, read back through the
// system's own calls from this program, which links the same ones.
#include "win_types.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "program_resources.h"
#include "resource_ids.h"

namespace {

HINSTANCE Program() { return ::GetModuleHandleA(nullptr); }

std::string VersionString(const std::vector<char>& info, const char* name) {
    void* value = nullptr;
    UINT length = 0;
    const std::string key = std::string("\\StringFileInfo\\041104B0\\") + name;
    if (!::VerQueryValueA(info.data(), key.c_str(), &value, &length) || length == 0)
        return "<none>";
    return std::string(static_cast<const char*>(value));
}

TEST(WindowsResources, VersionRecordIsJapaneseUnicodeOneZeroZeroOne) {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    const DWORD size = ::GetFileVersionInfoSizeA(path, nullptr);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(::GetFileVersionInfoA(path, 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);

    const WORD* translation = nullptr;
    ASSERT_TRUE(::VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                                 reinterpret_cast<void**>(const_cast<WORD**>(&translation)),
                                 &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(translation[0], 0x0411);
    EXPECT_EQ(translation[1], 0x04B0);

    // The strings are stored in Unicode and reach the program in its code page.
    EXPECT_EQ(VersionString(info, "FileDescription"), "Varnola MFC ｱﾌﾟﾘｹｰｼｮﾝ");
    EXPECT_EQ(VersionString(info, "ProductName"), "Varnola ｱﾌﾟﾘｹｰｼｮﾝ");
    EXPECT_EQ(VersionString(info, "InternalName"), "Varnola");
    EXPECT_EQ(VersionString(info, "FileVersion"), "1.0.0.1");
    EXPECT_EQ(VersionString(info, "ProductVersion"), "1.0.0.1");
}

TEST(WindowsResources, AboutMenuStringLoadsInTheAnsiCodePage) {
    char text[128] = {};
    const int n = ::LoadStringA(Program(), IDS_ABOUTBOX, text, sizeof text);
    EXPECT_EQ(std::string(text, static_cast<std::size_t>(n > 0 ? n : 0)),
              "Varnola のﾊﾞｰｼﾞｮﾝ情報(&A)...");
}

// The colour pixels of one image of the icon, as the system decodes it,
// in the definition's 0xAARRGGBB form.
std::vector<std::uint32_t> IconPixels(int size) {
    HICON icon = static_cast<HICON>(
        ::LoadImageA(Program(), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, size, size, 0));
    if (!icon) return {};
    ICONINFO parts{};
    ::GetIconInfo(icon, &parts);
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = size;
    header.bmiHeader.biHeight = -size;  // top row first
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size * size));
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, parts.hbmColor, 0, static_cast<UINT>(size), pixels.data(),
                                 &header, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(parts.hbmColor);
    ::DeleteObject(parts.hbmMask);
    ::DestroyIcon(icon);
    if (rows != size) return {};
    return pixels;
}

TEST(WindowsResources, IconHasTheDefinedPixelsAtBothSizes) {
    const IconResource* defined = ProgramResources().icon(IDR_MAINFRAME);
    ASSERT_NE(defined, nullptr);
    std::vector<int> sizes;
    for (const IconImage& image : defined->images) {
        sizes.push_back(image.size);
        const std::vector<std::uint32_t> shown = IconPixels(image.size);
        ASSERT_EQ(shown.size(), image.argb.size()) << image.size;
        int differing = 0;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            // Where a pixel is fully transparent its colour is not shown.
            const bool clear = (image.argb[i] >> 24) == 0;
            if (!clear && shown[i] != image.argb[i]) ++differing;
        }
        EXPECT_EQ(differing, 0) << image.size;
    }
    EXPECT_EQ(sizes, (std::vector<int>{32, 16}));
}

}  // namespace
