// SPDX-License-Identifier: MIT
// The real program, driven through its window.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

#include "dialog_driver.h"
#include "dialog_scenarios.h"
#include "reference_normalizer.h"
#include "resource_ids.h"
#include "temp_dir.h"

using namespace testing_support;

namespace {

// What the Windows program's tests check the same way, run here on Qt.
using MainDialogScenario = DialogScenarioTest<DialogDriver>;
TEST_P(MainDialogScenario, Runs) { GetParam().run(); }
INSTANTIATE_TEST_SUITE_P(Shared, MainDialogScenario,
                         ::testing::ValuesIn(DialogScenarios<DialogDriver>()),
                         ScenarioName<DialogDriver>);

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

TEST(MainDialog, WorkAskedForDuringAJobWaitsItsTurn) {
    TempDir dir;
    const std::string first = MakeWave(dir, "first.wav", 1000, 60000);
    const std::string second = MakeWave(dir, "second.wav", 2000, 60000);
    const std::string third = MakeWave(dir, "third.wav", 3000, 60000);
    DialogDriver driver;
    driver.nextChoice = {third};
    bool buttonDisabledDuringJob = false;
    NamesSeen<DialogDriver> seen([&](int pump) {
        if (pump != 3) return;
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
    EXPECT_EQ(seen.Names(), (std::vector<std::string>{"first", "second", "third"}));
    EXPECT_EQ(ReadFile(first), Normalised(1000, 60000));
    EXPECT_EQ(ReadFile(second), Normalised(2000, 60000));
    EXPECT_EQ(ReadFile(third), Normalised(3000, 60000));
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
