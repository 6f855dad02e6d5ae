// SPDX-License-Identifier: MIT
// The dialog on a screen of any density. The tests run at 96 dpi and again
// in prefixes whose screens have 144 and 192 (VARNOLA_EXPECTED_DPI): the
// dialog is laid out in dialog units of its font at the screen's own dpi,
// drawn by the program itself and not stretched by the system, and every
// text fits its control.
#include "win_types.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "resource_ids.h"
#include "wine_driver.h"

using namespace testing_support;

namespace {

int ExpectedDpi() {
    const char* dpi = std::getenv("VARNOLA_EXPECTED_DPI");
    return dpi ? std::atoi(dpi) : 96;
}

// Text sizes in the dialog's own font, as the control draws them.
class DialogFontDc {
public:
    explicit DialogFontDc(HWND dialog)
        : window_(dialog),
          dc_(::GetDC(dialog)),
          old_(::SelectObject(dc_,
                              reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0)))) {}
    ~DialogFontDc() {
        ::SelectObject(dc_, old_);
        ::ReleaseDC(window_, dc_);
    }
    DialogFontDc(const DialogFontDc&) = delete;
    DialogFontDc& operator=(const DialogFontDc&) = delete;

    int Width(const std::string& text) const {
        SIZE size{};
        ::GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    // The dialog base units: the average width of the Latin letters,
    // rounded, and the font's height.
    POINT BaseUnits() const {
        TEXTMETRICA metrics{};
        ::GetTextMetricsA(dc_, &metrics);
        const int letters = Width("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        return {(letters / 26 + 1) / 2, metrics.tmHeight};
    }

private:
    HWND window_;
    HDC dc_;
    HGDIOBJ old_;
};

RECT ShownIn(HWND dialog, HWND control) {
    RECT shown{};
    ::GetWindowRect(control, &shown);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&shown), 2);
    return shown;
}

// Windows stretches the bitmap of a program that does not declare itself
// DPI aware (Wine does not, so the layout tests alone would not tell).
TEST(WindowsDpi, SystemReadsTheProgramAsDpiAware) {
    wchar_t value[32] = {};
    SIZE_T written = 0;
    ASSERT_TRUE(
        ::QueryActCtxSettingsW(0, nullptr, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings",
                               L"dpiAware", value, sizeof value / sizeof value[0], &written));
    EXPECT_EQ(std::wstring(value), L"true");
}

TEST(WindowsDpi, ProgramDrawsAtTheScreensDpiInItsNinePointFont) {
    EXPECT_TRUE(::IsProcessDPIAware());
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(dpi, ExpectedDpi());
    WineDriver driver;
    driver.Run({[&] {
        LOGFONTA font{};
        ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(WineDriver::Main(), WM_GETFONT, 0, 0)),
                     sizeof font, &font);
        // 9 points at 72 to the inch, in the screen's pixels.
        EXPECT_EQ(font.lfHeight, -::MulDiv(9, ExpectedDpi(), 72));
        WineDriver::Close();
    }});
}

TEST(WindowsDpi, ControlsScaleWithTheFontAndEveryTextFits) {
    struct Item {
        const char* name;
        int id;  // or 0 for a control found by its text
        const char* text;
        RECT units;          // x, y, cx, cy
        int textMargin = 0;  // dialog units kept free on each side of the text
    };
    const Item items[] = {
        {"File button", IDC_FILE, nullptr, {231, 20, 33, 14}},
        {"measure bar", IDC_MEASURE_PROGRESS, nullptr, {15, 64, 250, 14}},
        {"save bar", IDC_SAVE_PROGRESS, nullptr, {15, 95, 250, 14}},
        {"name field", IDC_FILE_NAME, nullptr, {15, 20, 209, 14}},
        {"status field", IDC_STATUS, nullptr, {15, 122, 250, 14}},
        {"name frame", 0, "Wave File Name", {7, 7, 266, 34}, 4},
        {"measure label", 0, "Regular Status", {15, 53, 48, 8}},
        {"save label", 0, "File Save Status", {15, 83, 53, 8}},
    };
    WineDriver driver;
    driver.Run({[&] {
        HWND main = WineDriver::Main();
        const DialogFontDc font(main);
        const POINT base = font.BaseUnits();
        auto x = [&](int units) { return ::MulDiv(units, base.x, 4); };
        auto y = [&](int units) { return ::MulDiv(units, base.y, 8); };
        // The font is as tall as its point size says at this dpi.
        EXPECT_GE(base.y, ::MulDiv(9, ExpectedDpi(), 72));

        RECT client{};
        ::GetClientRect(main, &client);
        EXPECT_EQ(client.right, x(280));
        EXPECT_EQ(client.bottom, y(149));
        for (const Item& item : items) {
            HWND control = item.id ? ::GetDlgItem(main, item.id)
                                   : ::FindWindowExA(main, nullptr, nullptr, item.text);
            ASSERT_NE(control, nullptr) << item.name;
            const RECT shown = ShownIn(main, control);
            EXPECT_EQ(shown.left, x(item.units.left)) << item.name;
            EXPECT_EQ(shown.top, y(item.units.top)) << item.name;
            EXPECT_EQ(shown.right - shown.left, x(item.units.right)) << item.name;
            EXPECT_EQ(shown.bottom - shown.top, y(item.units.bottom)) << item.name;
            if (item.text) {
                EXPECT_LE(font.Width(item.text), x(item.units.right - 2 * item.textMargin))
                    << item.name;
            }
        }
        // The button's text inside its edges, the longest status inside the
        // field's sunken edge.
        RECT button{};
        ::GetClientRect(::GetDlgItem(main, IDC_FILE), &button);
        EXPECT_LE(font.Width("File") + 4, button.right);
        RECT status{};
        ::GetClientRect(::GetDlgItem(main, IDC_STATUS), &status);
        for (const char* text : {"音量を調べています", "すでに正規化済みです", "保存しています",
                                 "正規化が終わりました", "保存に失敗しました"}) {
            EXPECT_LE(font.Width(text), status.right) << text;
            EXPECT_LE(::MulDiv(9, ExpectedDpi(), 72), status.bottom) << text;
        }
        WineDriver::Close();
    }});
}

}  // namespace
