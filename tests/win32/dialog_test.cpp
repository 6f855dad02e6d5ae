// SPDX-License-Identifier: MIT
// The Windows program's dialog, driven through the system's own windows.
#include "win_types.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include <map>

#include "dialog_scenarios.h"
#include "long_paths.h"
#include "reference_normalizer.h"
#include "resource_ids.h"
#include "temp_dir.h"
#include "wine_driver.h"

using namespace testing_support;

namespace {

// What the Linux program's tests check the same way, run here on the
// system's own windows.
using WindowsDialogScenario = DialogScenarioTest<WineDriver>;
TEST_P(WindowsDialogScenario, Runs) { GetParam().run(); }
INSTANTIATE_TEST_SUITE_P(Shared, WindowsDialogScenario,
                         ::testing::ValuesIn(DialogScenarios<WineDriver>()),
                         ScenarioName<WineDriver>);

// Names with characters from several scripts, which no one legacy code
// page holds together, dropped from the shell and then chosen by name in
// the open-file dialog.
TEST(WindowsDialog, NamesInAnyScriptReachTheirFilesByDropAndByTheFileDialog) {
    const std::vector<std::string> names = {"Ωmega ☃ 日本", "café"};
    TempDir dropped, chosen;
    std::vector<std::string> paths;
    for (const TempDir* dir : {&dropped, &chosen}) {
        for (int i = 0; i < 2; ++i) {
            paths.push_back(
                MakeWave(*dir, names[static_cast<std::size_t>(i)] + ".wav", 1000 + 500 * i));
        }
    }
    WineDriver driver;
    driver.AnswerFileDialogs({{paths[2], paths[3]}});
    NamesSeen<WineDriver> seen;
    driver.Run({
        [&] {
            WineDriver::Drop({paths[0], paths[1]});
        },
        [&] {
            EXPECT_EQ(WineDriver::Text(IDC_STATUS), "正規化が終わりました");
            WineDriver::ClickFile();
        },
        [&] {
            EXPECT_EQ(WineDriver::Text(IDC_STATUS), "正規化が終わりました");
            WineDriver::Close();
        },
    });
    EXPECT_EQ(seen.Names(), (std::vector<std::string>{names[0], names[1], names[0], names[1]}));
    for (std::size_t i = 0; i < paths.size(); ++i) {
        EXPECT_EQ(ReadFile(paths[i]), Normalised(1000 + 500 * static_cast<int>(i % 2))) << paths[i];
    }
}

TEST(WindowsDialog, DroppedPathLongerThanTheOldBufferArrivesWhole) {
    TempDir dir;
    // The folder ends before byte 258, so the cut falls inside the file's name.
    const std::string folder = MakeDeepFolder(dir.Path(), 220);
    ASSERT_FALSE(folder.empty());
    const std::string name = "take-" + std::string(60, 'x');
    const std::string path = folder + "\\" + name + ".wav";
    ASSERT_GT(path.size(), 280u);
    ASSERT_TRUE(WriteLongFile(path, SimpleWave(kStereo, Sine16(6000, 3000, 3000))));
    // A wave file at the first 258 bytes of the path, which a cut path would name.
    const std::string cut = path.substr(0, 258);
    const Bytes other = SimpleWave(kStereo, Sine16(6000, 1000, 1000));
    ASSERT_TRUE(WriteLongFile(cut, other));
    WineDriver driver;
    driver.Run({
        [&] { WineDriver::Drop({path}); },
        [&] {
            EXPECT_EQ(WineDriver::Text(IDC_FILE_NAME), name);
            EXPECT_EQ(WineDriver::Text(IDC_STATUS), "正規化が終わりました");
            WineDriver::Close();
        },
    });
    EXPECT_EQ(ReadLongFile(path), Normalised(3000));
    EXPECT_FALSE(LongFileExists(path + ".$$$"));
    EXPECT_EQ(ReadLongFile(cut), other);
}

TEST(WindowsDialog, WindowMenuCarriesTheAboutEntryWhichOpensTheAboutBox) {
    WineDriver driver;
    HWND about = nullptr;
    const int status = driver.Run({
        [&] {
            HMENU menu = ::GetSystemMenu(WineDriver::Main(), FALSE);
            ASSERT_NE(menu, nullptr);
            const int count = ::GetMenuItemCount(menu);
            ASSERT_GE(count, 2);
            EXPECT_EQ(::GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR,
                      UINT{MF_SEPARATOR});
            EXPECT_EQ(::GetMenuItemID(menu, count - 1), UINT{IDM_ABOUTBOX});
            char text[128] = {};
            ::GetMenuStringA(menu, count - 1, text, sizeof text, MF_BYPOSITION);
            EXPECT_STREQ(text, "Varnola のﾊﾞｰｼﾞｮﾝ情報(&A)...");
            // The low four bits of the command are the system's own.
            ::PostMessageA(WineDriver::Main(), WM_SYSCOMMAND, IDM_ABOUTBOX | 0x3, 0);
        },
        [&] {
            about = ::FindWindowA("#32770", "Varnolaのﾊﾞｰｼﾞｮﾝ情報");
            ASSERT_NE(about, nullptr);
            EXPECT_EQ(::GetWindow(about, GW_OWNER), WineDriver::Main());
            EXPECT_FALSE(::IsWindowEnabled(WineDriver::Main()));
            HWND version = ::FindWindowExA(about, nullptr, "Static", "Varnola Version 1.0");
            EXPECT_NE(version, nullptr);
            EXPECT_EQ(::GetWindowLongA(version, GWL_STYLE) & SS_NOPREFIX, SS_NOPREFIX);
            WineDriver::Click(about, IDOK);
        },
        [&] {
            EXPECT_FALSE(::IsWindow(about));
            EXPECT_TRUE(::IsWindowEnabled(WineDriver::Main()));
            WineDriver::Close();
        },
    });
    EXPECT_EQ(status, 0);
}

TEST(WindowsDialog, ControlsSitWhereTheTemplatePutsThemWithTheirStyles) {
    struct Item {
        int id;
        RECT units;  // x, y, cx, cy in dialog units, each mapped on its own
    };
    const Item items[] = {{IDC_FILE, {231, 20, 33, 14}},
                          {IDC_MEASURE_PROGRESS, {15, 64, 250, 14}},
                          {IDC_SAVE_PROGRESS, {15, 95, 250, 14}},
                          {IDC_FILE_NAME, {15, 20, 209, 14}},
                          {IDC_STATUS, {15, 122, 250, 14}}};
    WineDriver driver;
    driver.Run({[&] {
        HWND main = WineDriver::Main();
        RECT size{0, 0, 280, 149};
        ::MapDialogRect(main, &size);
        RECT client{};
        ::GetClientRect(main, &client);
        EXPECT_EQ(client.right, size.right);
        EXPECT_EQ(client.bottom, size.bottom);
        for (const Item& item : items) {
            RECT expected = item.units;
            ::MapDialogRect(main, &expected);
            HWND control = ::GetDlgItem(main, item.id);
            ASSERT_NE(control, nullptr) << item.id;
            RECT shown{};
            ::GetWindowRect(control, &shown);
            ::MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&shown), 2);
            EXPECT_EQ(shown.left, expected.left) << item.id;
            EXPECT_EQ(shown.top, expected.top) << item.id;
            EXPECT_EQ(shown.right - shown.left, expected.right) << item.id;
            EXPECT_EQ(shown.bottom - shown.top, expected.bottom) << item.id;
        }
        auto style = [&](int id) { return ::GetWindowLongA(::GetDlgItem(main, id), GWL_STYLE); };
        auto exStyle = [&](int id) {
            return ::GetWindowLongA(::GetDlgItem(main, id), GWL_EXSTYLE);
        };
        EXPECT_NE(style(IDC_FILE) & WS_TABSTOP, 0);
        for (int id : {IDC_FILE_NAME, IDC_STATUS}) {
            EXPECT_NE(style(id) & SS_CENTERIMAGE, 0) << id;
            EXPECT_NE(exStyle(id) & WS_EX_CLIENTEDGE, 0) << id;
            EXPECT_EQ(style(id) & WS_TABSTOP, 0) << id;
        }
        // (The bars' template border is not checked: the control puts an
        // edge of its own in its place.)
        for (int id : {IDC_MEASURE_PROGRESS, IDC_SAVE_PROGRESS}) {
            EXPECT_EQ(style(id) & WS_TABSTOP, 0) << id;
        }
        const LONG dialogStyle = ::GetWindowLongA(main, GWL_STYLE);
        EXPECT_NE(dialogStyle & WS_SYSMENU, 0);
        EXPECT_EQ(dialogStyle & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
        EXPECT_NE(::GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
        EXPECT_EQ(WineDriver::Caption(main), "Varnola");
        WineDriver::Close();
    }});
}

TEST(WindowsDialog, IconIsTheWindowsAndTheDragIcon) {
    WineDriver driver;
    driver.Run({[&] {
        HWND main = WineDriver::Main();
        const HICON icon =
            ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(main, WM_GETICON, ICON_BIG, 0)), icon);
        EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(main, WM_GETICON, ICON_SMALL, 0)), icon);
        EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(main, WM_QUERYDRAGICON, 0, 0)), icon);
        EXPECT_NE(::GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
        WineDriver::Close();
    }});
}

TEST(WindowsDialog, MinimisedWindowPaintsItselfAndComesBack) {
    WineDriver driver;
    driver.Run({
        [&] {
            // No minimise box: the system minimises it by other means.
            ::ShowWindow(WineDriver::Main(), SW_MINIMIZE);
            ::InvalidateRect(WineDriver::Main(), nullptr, TRUE);
        },
        [&] {
            // This step runs only once the queue is empty: the minimised
            // window's paint was handled and its update region validated.
            EXPECT_TRUE(::IsIconic(WineDriver::Main()));
            EXPECT_FALSE(::GetUpdateRect(WineDriver::Main(), nullptr, FALSE));
            ::ShowWindow(WineDriver::Main(), SW_RESTORE);
        },
        [&] {
            EXPECT_FALSE(::IsIconic(WineDriver::Main()));
            EXPECT_EQ(WineDriver::Text(IDC_STATUS), "");
            WineDriver::Close();
        },
    });
}

// A key pressed and released as the keyboard would: through the system's
// input queue to whichever control has the focus.
void PressKey(WORD key) {
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(::SendInput(2, inputs, sizeof(INPUT)), 2u);
}

TEST(WindowsDialog, KeyboardWorksAfterAJobAsAtStart) {
    TempDir dir;
    const std::string path = MakeWave(dir, "keys.wav", 2000);
    WineDriver driver;
    int fileDialogs = 0;
    driver.AnswerSystemDialogs([&](HWND dialog) {
        ++fileDialogs;
        ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    bool escapeEnded = true;
    const int status = driver.Run({
        [&] {
            ASSERT_EQ(::GetForegroundWindow(), WineDriver::Main());
            WineDriver::Drop({path});
        },
        [&] {
            EXPECT_EQ(WineDriver::Text(IDC_STATUS), "正規化が終わりました");
            EXPECT_EQ(::GetFocus(), ::GetDlgItem(WineDriver::Main(), IDC_FILE));
            PressKey(VK_SPACE);  // opens the file dialog, answered with Cancel
        },
        [&] {
            EXPECT_EQ(fileDialogs, 1);
            PressKey(VK_ESCAPE);
        },
        [&] {
            // Only reached when Esc left the dialog up.
            escapeEnded = false;
            WineDriver::Close();
        },
    });
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(escapeEnded);
    EXPECT_EQ(ReadFile(path), Normalised(2000));
}

// A name typed without an extension: the default extension is tried first,
// then the name as typed; a name that is neither still reaches the job.
struct TypedName {
    const char* name;
    std::vector<std::string> files;  // made in the folder, each a wave file
    const char* typed;
    const char* processed;  // the file normalised, or null for none
    bool rejected;
};

void PrintTo(const TypedName& c, std::ostream* os) { *os << c.name; }

class WindowsTypedName : public ::testing::TestWithParam<TypedName> {};

TEST_P(WindowsTypedName, ChoosesTheFileTheSystemDialogNames) {
    const TypedName& c = GetParam();
    TempDir dir;
    std::map<std::string, Bytes> before;
    int peak = 1000;
    for (const std::string& file : c.files) {
        before[file] = ReadFile(MakeWave(dir, file, peak));
        peak += 1000;
    }
    WineDriver driver;
    int boxes = 0;
    bool fileDialogDone = false;
    driver.AnswerSystemDialogs([&](HWND dialog) {
        if (fileDialogDone) {
            ++boxes;  // the job's rejection
            WineDriver::Click(dialog, IDOK);
            return;
        }
        fileDialogDone = true;
        // The whole path: the folder the dialog opens in is its own choice.
        const std::string typed = dir.File(c.typed);
        ::SendMessageA(dialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(typed.c_str()));
        ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    driver.Run({
        [&] { WineDriver::Click(WineDriver::Main(), IDC_FILE); },
        [&] { WineDriver::Close(); },
    });
    EXPECT_EQ(boxes, c.rejected ? 1 : 0);
    for (const auto& [file, bytes] : before) {
        const bool chosen = c.processed && file == c.processed;
        EXPECT_EQ(ReadFile(dir.File(file)) != bytes, chosen) << file;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowsTypedName,
    ::testing::Values(
        TypedName{"OnlyWithoutExtension", {"take"}, "take", "take", false},
        TypedName{"OnlyWithExtension", {"take.wav"}, "take", "take.wav", false},
        TypedName{"BothPreferTheDefault", {"take", "take.wav"}, "take", "take.wav", false},
        TypedName{
            "OtherExtensionAsTyped", {"take.raw", "take.raw.wav"}, "take.raw", "take.raw", false},
        TypedName{"NeitherReachesTheJob", {"other.wav"}, "take", nullptr, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WindowsDialog, EscapeEndsTheProgram) {
    WineDriver driver;
    const int status = driver.Run({[&] {
        HWND button = ::GetDlgItem(WineDriver::Main(), IDC_FILE);
        ::PostMessageA(button, WM_KEYDOWN, VK_ESCAPE, 0);
    }});
    EXPECT_EQ(status, 0);
}

}  // namespace
