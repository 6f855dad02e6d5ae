// SPDX-License-Identifier: MIT
// The real program, driven through its window.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAccessible>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

#include "dialog_driver.h"
#include "reference_normalizer.h"
#include "resource_ids.h"
#include "temp_dir.h"

using namespace testing_support;

namespace {

const Format kStereo = Pcm(2, 16);

std::string MakeWave(const TempDir& dir, const std::string& name, int peak,
                     std::size_t samples = 6000) {
    const std::string path = dir.File(name);
    WriteFile(path, SimpleWave(kStereo, Sine16(samples, peak, static_cast<std::uint32_t>(peak))));
    return path;
}

Bytes Normalised(int peak, std::size_t samples = 6000) {
    return ReferenceNormalize(kStereo, Sine16(samples, peak, static_cast<std::uint32_t>(peak)))
        .output;
}

TEST(MainDialog, DroppedFilesAreProcessedInOrderAndTheLastOneStays) {
    TempDir dir;
    const std::vector<std::string> paths = {MakeWave(dir, "one.wav", 1000, 40000),
                                            MakeWave(dir, "two.wav", 2000, 40000),
                                            MakeWave(dir, "three.wav", 3000, 40000)};
    DialogDriver driver;
    std::vector<std::string> namesSeen;
    SetPumpHook([&] {
        const std::string name = DialogDriver::Text(IDC_FILE_NAME);
        if (namesSeen.empty() || namesSeen.back() != name) namesSeen.push_back(name);
    });
    const int status = driver.Run({
        [&] { DialogDriver::Drop(paths); },
        [&] {
            EXPECT_EQ(DialogDriver::Text(IDC_FILE_NAME), "three");
            EXPECT_EQ(DialogDriver::Text(IDC_STATUS), "正規化が終わりました");
            DialogDriver::Close();
        },
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(namesSeen, (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(ReadFile(paths[0]), Normalised(1000, 40000));
    EXPECT_EQ(ReadFile(paths[1]), Normalised(2000, 40000));
    EXPECT_EQ(ReadFile(paths[2]), Normalised(3000, 40000));
    EXPECT_TRUE(driver.boxes.empty());
}

struct NameCase {
    const char* name;
    const char* path;
    const char* shown;
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << c.name; }

class NameField : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameField, ShowsTheFileNameWithoutItsWaveEnding) {
    DialogDriver driver;
    std::string shown;
    driver.Run({[&] {
        DialogDriver::Dialog()->ProcessFile(GetParam().path);  // none exists: rejected
        shown = DialogDriver::Text(IDC_FILE_NAME);
        DialogDriver::Close();
    }});
    EXPECT_EQ(shown, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Cases, NameField,
                         ::testing::Values(NameCase{"UpperCaseEnding", "/data/Take1.WAV", "Take1"},
                                           NameCase{"WaveIsNotWav", "/data/song.wave", "song.wave"},
                                           NameCase{"EndingInside", "/data/clip.wav.bak",
                                                    "clip.wav.bak"},
                                           NameCase{"NoSeparator", "loose.wav", "loose"},
                                           NameCase{"OnlyTheEnding", "/data/.wav", ""},
                                           NameCase{"ShorterThanFour", "/data/wav", "wav"},
                                           NameCase{"Japanese", "/音声/ソ.wav", "ソ"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MainDialog, RejectedFileShowsTheBoxAndTheNextFileStillRuns) {
    TempDir dir;
    const std::string bad = dir.File("notes.wav");
    WriteFile(bad, Bytes(100, 'x'));
    const std::string good = MakeWave(dir, "good.wav", 5000);
    DialogDriver driver;
    std::string statusAfterBox = "?";
    int measureAfterBox = -1;
    int saveAfterBox = -1;
    platform_testing::SetMessageBoxResponder(
        [&](const CString& text, const CString& caption, UINT type) {
            driver.boxes.push_back({text.Bytes(), caption.Bytes(), type});
            statusAfterBox = DialogDriver::Text(IDC_STATUS);
            measureAfterBox = DialogDriver::Bar(IDC_MEASURE_PROGRESS)->value();
            saveAfterBox = DialogDriver::Bar(IDC_SAVE_PROGRESS)->value();
            return static_cast<int>(IDOK);
        });
    driver.Run({
        [&] { DialogDriver::Drop({good}); },
        [&] {
            DialogDriver::Drop({bad, good});
        },
        [&] {
            EXPECT_EQ(DialogDriver::Text(IDC_FILE_NAME), "good");
            DialogDriver::Close();
        },
    });
    ASSERT_EQ(driver.boxes.size(), 1u);
    EXPECT_EQ(driver.boxes[0].text, "Wave File として認識できませんでした");
    EXPECT_EQ(driver.boxes[0].caption, "varnola");
    EXPECT_EQ(driver.boxes[0].type, MB_OK);
    // The previous file had left both bars moved; the rejected one resets them.
    EXPECT_EQ(statusAfterBox, "");
    EXPECT_EQ(measureAfterBox, 0);
    EXPECT_EQ(saveAfterBox, 0);
    EXPECT_EQ(ReadFile(bad), Bytes(100, 'x'));
}

TEST(MainDialog, OutcomesShowInTheStatusAndTheBars) {
    TempDir dir;
    const std::string full = MakeWave(dir, "full.wav", 32767, 5000);  // 10000 bytes
    const std::string readOnly = MakeWave(dir, "locked.wav", 4000);
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    DialogDriver driver;
    driver.Run({
        [&] { DialogDriver::Drop({full}); },
        [&] {
            EXPECT_EQ(DialogDriver::Text(IDC_STATUS), "すでに正規化済みです");
            QProgressBar* save = DialogDriver::Bar(IDC_SAVE_PROGRESS);
            EXPECT_EQ(save->maximum(), 100);
            EXPECT_EQ(save->value(), 100);
            QProgressBar* measure = DialogDriver::Bar(IDC_MEASURE_PROGRESS);
            EXPECT_EQ(measure->maximum(), 10000);
            EXPECT_EQ(measure->value(), 2 * 4096);  // the start of the last scan block
            DialogDriver::Drop({readOnly});
        },
        [&] {
            EXPECT_EQ(DialogDriver::Text(IDC_STATUS), "保存に失敗しました");
            DialogDriver::Close();
        },
    });
}

TEST(MainDialog, WorkAskedForDuringAJobWaitsItsTurn) {
    TempDir dir;
    const std::string first = MakeWave(dir, "first.wav", 1000, 60000);
    const std::string second = MakeWave(dir, "second.wav", 2000, 60000);
    const std::string third = MakeWave(dir, "third.wav", 3000, 60000);
    DialogDriver driver;
    driver.nextChoice = {third};
    std::vector<std::string> namesSeen;
    int pumps = 0;
    bool buttonDisabledDuringJob = false;
    SetPumpHook([&] {
        const std::string name = DialogDriver::Text(IDC_FILE_NAME);
        if (namesSeen.empty() || namesSeen.back() != name) namesSeen.push_back(name);
        if (++pumps != 3) return;
        buttonDisabledDuringJob = !DialogDriver::Item(IDC_FILE)->isEnabled();
        // The user drops another file, a click was already queued, and
        // presses Esc and Enter: nothing may start inside this job.
        DialogDriver::Drop({second});
        DialogDriver::Dialog()->PostMessage(WM_COMMAND, MAKEWPARAM(IDC_FILE, BN_CLICKED));
        for (const int key : {Qt::Key_Escape, Qt::Key_Return}) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(DialogDriver::Window(), &press);
        }
    });
    bool stillOpen = false;
    driver.Run({
        [&] { DialogDriver::Drop({first}); },
        [&] {
            stillOpen = DialogDriver::Window() != nullptr;
            EXPECT_TRUE(DialogDriver::Item(IDC_FILE)->isEnabled());
            DialogDriver::Close();
        },
    });
    EXPECT_TRUE(buttonDisabledDuringJob);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(driver.fileDialogs, 1);
    EXPECT_EQ(namesSeen, (std::vector<std::string>{"first", "second", "third"}));
    EXPECT_EQ(ReadFile(first), Normalised(1000, 60000));
    EXPECT_EQ(ReadFile(second), Normalised(2000, 60000));
    EXPECT_EQ(ReadFile(third), Normalised(3000, 60000));
}

TEST(MainDialog, CloseDuringAJobFinishesTheFilesThenEnds) {
    TempDir dir;
    const std::string a = MakeWave(dir, "a.wav", 1000, 60000);
    const std::string b = MakeWave(dir, "b.wav", 2000, 60000);
    DialogDriver driver;
    int pumps = 0;
    bool closedMidway = false;
    SetPumpHook([&] {
        if (++pumps == 2) {
            DialogDriver::Close();
            closedMidway = DialogDriver::Window() != nullptr;  // still up while working
        }
    });
    const int status = driver.Run({[&] { DialogDriver::Drop({a, b}); }});
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(closedMidway);
    EXPECT_EQ(ReadFile(a), Normalised(1000, 60000));
    EXPECT_EQ(ReadFile(b), Normalised(2000, 60000));
    EXPECT_EQ(DialogDriver::Window(), nullptr);
}

TEST(MainDialog, FileButtonProcessesEveryChosenFile) {
    TempDir dir;
    const std::string x = MakeWave(dir, "x.wav", 1500);
    const std::string y = MakeWave(dir, "y.wav", 2500);
    DialogDriver driver;
    driver.Run({
        [&] {
            driver.nextChoice = {x, y};
            qobject_cast<QPushButton*>(DialogDriver::Item(IDC_FILE))->click();
        },
        [&] {
            EXPECT_EQ(DialogDriver::Text(IDC_FILE_NAME), "y");
            qobject_cast<QPushButton*>(DialogDriver::Item(IDC_FILE))->click();  // cancelled
            EXPECT_EQ(DialogDriver::Text(IDC_FILE_NAME), "y");
            DialogDriver::Close();
        },
    });
    EXPECT_EQ(driver.fileDialogs, 2);
    EXPECT_EQ(ReadFile(x), Normalised(1500));
    EXPECT_EQ(ReadFile(y), Normalised(2500));
}

TEST(AboutBox, WindowMenuCarriesTheEntryAndAnyLowBitsOpenIt) {
    DialogDriver driver;
    QStringList menuTexts;
    bool aboutShown = false;
    std::string aboutCaption;
    driver.Run({
        [&] {
            // Right-click: the window menu comes up; read it and dismiss it.
            QTimer::singleShot(0, [&] {
                if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                    for (QAction* a : menu->actions())
                        menuTexts << (a->isSeparator() ? "-" : a->text());
                    menu->close();
                }
            });
            QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(10, 10), QPoint(10, 10));
            QApplication::sendEvent(DialogDriver::Window(), &click);
        },
        [&] { DialogDriver::Dialog()->PostMessage(WM_SYSCOMMAND, 0x13, 0); },
        [&] {
            QDialog* about = DialogDriver::Window("dialog100");
            aboutShown = about != nullptr;
            if (!about) return;
            aboutCaption = about->windowTitle().toStdString();
            qobject_cast<QPushButton*>(DialogDriver::Item(IDOK, "dialog100"))->click();
        },
        [&] {
            EXPECT_EQ(DialogDriver::Window("dialog100"), nullptr);
            DialogDriver::Close();
        },
    });
    EXPECT_EQ(menuTexts,
              (QStringList{"&Close", "-", QString::fromUtf8("Varnola のﾊﾞｰｼﾞｮﾝ情報(&A)...")}));
    EXPECT_TRUE(aboutShown);
    EXPECT_EQ(aboutCaption, "Varnolaのﾊﾞｰｼﾞｮﾝ情報");
}

// Where the main dialog's controls must sit, worked out by hand from the
// template's dialog units and the font's base units: IPA P Gothic stands in
// for the template's font at 9 pt, 12 px at 96 dpi. Its alphabet is 369 px
// wide, so a horizontal base unit is (369 / 26 + 1) / 2 = 7 px, and a line
// is 13 px. A unit is a quarter of the first and an eighth of the second,
// each product cut to whole pixels.
struct Placement {
    const char* name;
    int id;
    QRect pixels;
};
const Placement kPlacements[] = {
    {"FileButton", static_cast<int>(IDC_FILE), QRect(404, 32, 57, 22)},     // 231,20 33x14
    {"FileName", static_cast<int>(IDC_FILE_NAME), QRect(26, 32, 365, 22)},  // 15,20 209x14
    {"MeasureBar", static_cast<int>(IDC_MEASURE_PROGRESS),
     QRect(26, 104, 437, 22)},                                                  // 15,64 250x14
    {"SaveBar", static_cast<int>(IDC_SAVE_PROGRESS), QRect(26, 154, 437, 22)},  // 15,95 250x14
    {"Status", static_cast<int>(IDC_STATUS), QRect(26, 198, 437, 22)},          // 15,122 250x14
};

TEST(Geometry, ItemsSitWhereTheTemplatePutsThem) {
    DialogDriver driver;
    driver.Run({[&] {
        QDialog* window = DialogDriver::Window();
        ASSERT_NE(window, nullptr);
        // The font first, so that another font is told apart from a wrong layout.
        const QFontMetrics metrics(window->font());
        EXPECT_EQ(window->font().pixelSize(), 12);
        EXPECT_EQ(metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"),
                  369);
        EXPECT_EQ(metrics.height(), 13);
        EXPECT_EQ(window->size(), QSize(490, 242));  // 280x149
        for (const Placement& p : kPlacements) {
            EXPECT_EQ(DialogDriver::Item(p.id)->geometry(), p.pixels) << p.name;
        }
        int tabStops = 0;
        for (QWidget* child :
             window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (child->focusPolicy() & Qt::TabFocus) ++tabStops;
        }
        EXPECT_EQ(tabStops, 1);
        EXPECT_TRUE(DialogDriver::Item(IDC_FILE)->focusPolicy() & Qt::TabFocus);
        // The status field's template text is replaced by the empty status.
        EXPECT_EQ(DialogDriver::Text(IDC_STATUS), "");
        EXPECT_FALSE(window->windowIcon().isNull());
        DialogDriver::Close();
    }});
}

// What a screen reader is told about each control: its role and the name
// it speaks.
TEST(Accessibility, ControlsAreNamedByTheirCaptions) {
    DialogDriver driver;
    std::vector<std::pair<QAccessible::Role, QString>> seen;
    driver.Run({
        [&] {
            DialogDriver::Dialog()->ProcessFile("/nowhere/take.wav");
        },  // rejected: a name, no status
        [&] {
            for (const int id :
                 {IDC_FILE, IDC_FILE_NAME, IDC_MEASURE_PROGRESS, IDC_SAVE_PROGRESS, IDC_STATUS}) {
                QAccessibleInterface* iface =
                    QAccessible::queryAccessibleInterface(DialogDriver::Item(id));
                seen.emplace_back(iface->role(), iface->text(QAccessible::Name));
            }
            seen.emplace_back(QAccessible::NoRole, QAccessible::queryAccessibleInterface(
                                                       DialogDriver::Item(IDC_FILE_NAME))
                                                       ->text(QAccessible::Description));
            DialogDriver::Close();
        },
    });
    const std::vector<std::pair<QAccessible::Role, QString>> expected = {
        {QAccessible::Button, "File"},
        {QAccessible::StaticText, "Wave File Name"},
        {QAccessible::ProgressBar, "Regular Status"},
        {QAccessible::ProgressBar, "File Save Status"},
        {QAccessible::StatusBar, ""},
        {QAccessible::NoRole, "take"},  // the name field's text, spoken after its caption
    };
    EXPECT_EQ(seen, expected);
}

}  // namespace
