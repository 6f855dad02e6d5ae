// SPDX-License-Identifier: MIT
// The real program on an X display, acted on from outside the way a user's
// desktop acts on it: keys from the keyboard through XTEST (xdotool), files
// dropped over XDND by another process.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <filesystem>

#include "dialog_driver.h"
#include "reference_normalizer.h"
#include "resource_ids.h"
#include "temp_dir.h"

using namespace testing_support;

namespace {

const Format kStereo = Pcm(2, 16);

std::string MakeWave(const TempDir& dir, const std::string& name, int peak) {
    const std::string path = dir.File(name);
    WriteFile(path, SimpleWave(kStereo, Sine16(6000, peak, static_cast<std::uint32_t>(peak))));
    return path;
}

Bytes Normalised(int peak) {
    return ReferenceNormalize(kStereo, Sine16(6000, peak, static_cast<std::uint32_t>(peak))).output;
}

// Runs `then` once `ready` holds, looked at from whichever event loop is
// running; a bound on how long that may take fails the test instead of
// hanging it. A wait ends with the program's window: one the program
// ended before (a fallback for a key that did not work) is not left to
// act on the next test's window.
void WhenReady(std::function<bool()> ready, std::function<void()> then, std::string what) {
    auto* timer = new QTimer(DialogDriver::Window());
    const QDeadlineTimer deadline(20000);
    QObject::connect(timer, &QTimer::timeout, [=] {
        const bool done = ready();
        if (!done && !deadline.hasExpired()) return;
        timer->deleteLater();
        timer->stop();
        if (!done) ADD_FAILURE() << "never happened: " << what;
        then();
    });
    timer->start(5);
}

// Keys go to the window the window manager made active.
bool FileDialogHasTheKeyboard() {
    QWidget* dialog = QApplication::activeModalWidget();
    return dialog && dialog->findChild<QListWidget*>("fileList") &&
           QApplication::activeWindow() == dialog;
}

// The files the open-file dialog lists, as it shows their names.
QStringList ListedFiles() {
    QStringList names;
    QWidget* dialog = QApplication::activeModalWidget();
    auto* list = dialog ? dialog->findChild<QListWidget*>("fileList") : nullptr;
    if (!list) return names;
    for (int row = 0; row < list->count(); ++row) {
        if (!list->item(row)->text().endsWith('/')) names << list->item(row)->text();
    }
    names.sort();
    return names;
}

void Keys(const char* keys) {
    ASSERT_EQ(std::system((std::string("xdotool key --clearmodifiers ") + keys).c_str()), 0)
        << keys;
}

TEST(Desktop, KeyboardAfterAJobActsAsAtStart) {
    TempDir dir;
    const std::string path = MakeWave(dir, "keys.wav", 2000);
    DialogDriver driver;
    bool endedByEscape = false;
    const int status = driver.Run({
        [&] {
            // The window has the keyboard, as one the user has just opened.
            const std::string window = std::to_string(DialogDriver::Window()->winId());
            ASSERT_EQ(std::system(("xdotool windowactivate --sync " + window +
                                   " 2>/dev/null || xdotool windowfocus --sync " + window)
                                      .c_str()),
                      0);
            WhenReady([] { return QApplication::focusWidget() == DialogDriver::Item(IDC_FILE); },
                      [] {}, "focus on the File button at start");
        },
        [&] { DialogDriver::Drop({path}); },
        [&] {
            EXPECT_EQ(DialogDriver::Text(IDC_STATUS), "正規化が終わりました");
            // Enter and Space press the File button (its dialog is cancelled
            // here); Esc ends the program.
            Keys("Return");
            WhenReady([&] { return driver.fileDialogs == 1; },
                      [&] {
                          Keys("space");
                          WhenReady([&] { return driver.fileDialogs == 2; },
                                    [&] {
                                        endedByEscape = true;
                                        Keys("Escape");
                                        WhenReady([] { return DialogDriver::Window() == nullptr; },
                                                  [&] {
                                                      endedByEscape =
                                                          DialogDriver::Window() == nullptr;
                                                      DialogDriver::Close();
                                                  },
                                                  "Esc ends the dialog");
                                    },
                                    "Space opens the file dialog");
                      },
                      "Enter opens the file dialog");
        },
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(driver.fileDialogs, 2);
    EXPECT_TRUE(endedByEscape);
    EXPECT_EQ(ReadFile(path), Normalised(2000));
}

// The real file dialog: "All Files (*.*)" lists a name without a dot, and
// such a name typed in is the file chosen.
TEST(Desktop, FileDialogListsAndTakesAFileWithoutExtension) {
    TempDir dir;
    const std::string path = MakeWave(dir, "take", 2500);
    MakeWave(dir, "other.wav", 1500);
    // The dialog opens in the working folder, as the system's does.
    const std::filesystem::path home = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    DialogDriver driver;
    platform_testing::SetOpenFileResponder(nullptr);
    QStringList listedWave;
    QStringList listedAll;
    std::string shown;
    driver.Run({
        [&] {
            auto* dialog = DialogDriver::Dialog();
            dialog->PostMessage(WM_COMMAND, MAKEWPARAM(IDC_FILE, BN_CLICKED));
            WhenReady([&] { return FileDialogHasTheKeyboard() && ListedFiles().size() == 1; },
                      [&] {
                          listedWave = ListedFiles();
                          QWidget* fileDialog = QApplication::activeModalWidget();
                          if (!fileDialog) return;
                          fileDialog->findChild<QComboBox*>("fileTypeCombo")->setFocus();
                          Keys("Down");  // the second filter
                          WhenReady(
                              [&] { return ListedFiles().size() == 2; },
                              [&] {
                                  listedAll = ListedFiles();
                                  QWidget* fileDialog = QApplication::activeModalWidget();
                                  if (!fileDialog) return;
                                  fileDialog->findChild<QLineEdit*>("fileNameEdit")->setFocus();
                                  Keys("t a k e Return");
                                  WhenReady(
                                      [] {
                                          return DialogDriver::Text(IDC_STATUS) ==
                                                 "正規化が終わりました";
                                      },
                                      [&] {
                                          shown = DialogDriver::Text(IDC_FILE_NAME);
                                          DialogDriver::Close();
                                      },
                                      "the typed file is processed");
                              },
                              "every file listed");
                      },
                      "the file dialog lists the folder");
        },
    });
    std::filesystem::current_path(home);
    EXPECT_EQ(listedWave, QStringList{"other.wav"});
    EXPECT_EQ(listedAll, (QStringList{"other.wav", "take"}));
    EXPECT_EQ(shown, "take");
    EXPECT_TRUE(driver.boxes.empty());
    EXPECT_EQ(ReadFile(path), Normalised(2500));
}

// A name that is not UTF-8 (Latin-1 "café") is listed, shown converted,
// and chosen with the keyboard: the job gets the file's own bytes.
TEST(Desktop, FileDialogListsAndChoosesANameThatIsNotUtf8) {
    TempDir dir;
    const std::string path = MakeWave(dir, "caf\xe9.wav", 3000);
    MakeWave(dir, "other.wav", 1500);
    DialogDriver driver;
    platform_testing::SetOpenFileResponder(nullptr);
    QStringList listed;
    std::string shown;
    driver.Run({[&] {
        DialogDriver::Dialog()->PostMessage(WM_COMMAND, MAKEWPARAM(IDC_FILE, BN_CLICKED));
        WhenReady(
            [] { return FileDialogHasTheKeyboard(); },
            [&] {
                // The folder typed as a name opens it; back in the list, the
                // first letter selects the file and Enter opens it.
                QApplication::activeModalWidget()
                    ->findChild<QLineEdit*>("fileNameEdit")
                    ->setFocus();
                const std::string folder = dir.Path();
                ASSERT_EQ(std::system(("xdotool type --delay 0 '" + folder + "'").c_str()), 0);
                Keys("Return");
                WhenReady(
                    [] { return ListedFiles().size() == 2; },
                    [&] {
                        listed = ListedFiles();
                        Keys("shift+Tab c Return");
                        WhenReady(
                            [] { return DialogDriver::Text(IDC_STATUS) == "正規化が終わりました"; },
                            [&] {
                                shown = DialogDriver::Text(IDC_FILE_NAME);
                                DialogDriver::Close();
                            },
                            "the chosen file is processed");
                    },
                    "the typed folder is listed");
            },
            "the file dialog opens");
    }});
    EXPECT_EQ(listed, (QStringList{QString::fromUtf8("caf\xef\xbf\xbd.wav"), "other.wav"}));
    EXPECT_EQ(shown, "caf\xef\xbf\xbd");  // shown with the replacement character
    EXPECT_TRUE(driver.boxes.empty());
    EXPECT_EQ(ReadFile(path), Normalised(3000));
}

// Names typed each in quotes, as the field shows a multiple selection, are
// each chosen, in the order typed.
TEST(Desktop, FileDialogTakesSeveralTypedNames) {
    TempDir dir;
    const std::string first = MakeWave(dir, "b.wav", 1000);
    const std::string second = MakeWave(dir, "a.wav", 2000);
    DialogDriver driver;
    platform_testing::SetOpenFileResponder(nullptr);
    std::vector<std::string> namesSeen;
    SetPumpHook([&] {
        const std::string name = DialogDriver::Text(IDC_FILE_NAME);
        if (!name.empty() && (namesSeen.empty() || namesSeen.back() != name))
            namesSeen.push_back(name);
    });
    driver.Run({[&] {
        DialogDriver::Dialog()->PostMessage(WM_COMMAND, MAKEWPARAM(IDC_FILE, BN_CLICKED));
        WhenReady([] { return FileDialogHasTheKeyboard(); },
                  [&] {
                      QApplication::activeModalWidget()
                          ->findChild<QLineEdit*>("fileNameEdit")
                          ->setFocus();
                      const std::string typed = "\"" + first + "\" \"" + second + "\"";
                      ASSERT_EQ(std::system(("xdotool type --delay 0 '" + typed + "'").c_str()), 0);
                      Keys("Return");
                      WhenReady([&] { return ReadFile(second) == Normalised(2000); },
                                [] { DialogDriver::Close(); }, "both files processed");
                  },
                  "the file dialog opens");
    }});
    EXPECT_TRUE(driver.boxes.empty());
    EXPECT_EQ(namesSeen, (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(ReadFile(first), Normalised(1000));
    EXPECT_EQ(ReadFile(second), Normalised(2000));
}

// Enter in the folder field goes to the folder typed, and only there: a
// folder that does not exist leaves the dialog as it was, and the file the
// list has selected is not opened behind the user's back.
TEST(Desktop, FileDialogFolderFieldNeverOpensTheSelectedFile) {
    TempDir dir;
    const std::string kept = MakeWave(dir, "kept.wav", 1000);
    std::filesystem::create_directory(dir.File("inner"));
    MakeWave(dir, "inner/x.wav", 1500);
    MakeWave(dir, "inner/y.wav", 1500);
    DialogDriver driver;
    platform_testing::SetOpenFileResponder(nullptr);
    QStringList listed;
    bool cancelled = false;
    // A folder typed over the field that has the keyboard, then Enter.
    auto typeInFolderField = [](const std::string& folder) {
        ASSERT_EQ(std::system(("xdotool key --clearmodifiers ctrl+a && xdotool type --delay 0 '" +
                               folder + "' && xdotool key Return")
                                  .c_str()),
                  0);
    };
    driver.Run({[&] {
        DialogDriver::Dialog()->PostMessage(WM_COMMAND, MAKEWPARAM(IDC_FILE, BN_CLICKED));
        WhenReady(
            [] { return FileDialogHasTheKeyboard(); },
            [&] {
                Keys("shift+Tab");  // from the list to the folder field
                typeInFolderField(dir.Path());
                WhenReady(
                    [] { return ListedFiles() == QStringList{"kept.wav"}; },
                    [&] {
                        // kept.wav selected in the list, then a folder that
                        // does not exist and one that does, each with Enter.
                        Keys("Tab End shift+Tab");  // kept.wav comes after the folders
                        typeInFolderField(dir.File("missing"));
                        typeInFolderField(dir.File("inner"));
                        WhenReady(
                            [] { return ListedFiles().size() == 2; },
                            [&] {
                                listed = ListedFiles();
                                Keys("Escape");
                                WhenReady(
                                    [] { return QApplication::activeModalWidget() == nullptr; },
                                    [&] {
                                        cancelled = true;
                                        DialogDriver::Close();
                                    },
                                    "Esc cancels the file dialog");
                            },
                            "the second folder is listed");
                    },
                    "the first folder is listed");
            },
            "the file dialog opens");
    }});
    EXPECT_EQ(listed, (QStringList{"x.wav", "y.wav"}));
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(driver.boxes.empty());
    EXPECT_EQ(ReadFile(kept), SimpleWave(kStereo, Sine16(6000, 1000, 1000)));
}

// What the window manager reads from a window, as xprop prints it.
std::string Property(QWidget* window, const char* name) {
    QProcess xprop;
    xprop.start("xprop", {"-id", QString::number(window->winId()), name});
    xprop.waitForFinished();
    return xprop.readAllStandardOutput().trimmed().toStdString();
}

// Both dialogs have a modal frame: moved and closed, never resized,
// minimised or maximised; the About box is kept over its owner.
TEST(Desktop, WindowManagerIsAskedForAModalFrame) {
    // Motif: functions and decorations given (1 | 2); move 4 | close 32;
    // border 2 | title 8 | window menu 16.
    const std::string modalFrame = "_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x3, 0x24, 0x1a, 0x0, 0x0";
    DialogDriver driver;
    std::string mainHints, mainType, aboutHints, aboutType, aboutOwner, mainId;
    driver.Run({
        [&] {
            QDialog* main = DialogDriver::Window();
            mainHints = Property(main, "_MOTIF_WM_HINTS");
            mainType = Property(main, "_NET_WM_WINDOW_TYPE");
            mainId = QString::number(main->winId(), 16).toStdString();
            DialogDriver::Dialog()->PostMessage(WM_SYSCOMMAND, 0x13, 0);  // the About item
        },
        [&] {
            QDialog* about = DialogDriver::Window("dialog100");
            if (about) {
                aboutHints = Property(about, "_MOTIF_WM_HINTS");
                aboutType = Property(about, "_NET_WM_WINDOW_TYPE");
                aboutOwner = Property(about, "WM_TRANSIENT_FOR");
                qobject_cast<QPushButton*>(DialogDriver::Item(IDOK, "dialog100"))->click();
            }
        },
        [&] { DialogDriver::Close(); },
    });
    EXPECT_EQ(mainHints, modalFrame);
    EXPECT_EQ(mainType, "_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_NORMAL");
    EXPECT_EQ(aboutHints, modalFrame);
    EXPECT_EQ(aboutType,
              "_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_DIALOG, _NET_WM_WINDOW_TYPE_NORMAL");
    EXPECT_EQ(aboutOwner, "WM_TRANSIENT_FOR(WINDOW): window id # 0x" + mainId);
}

struct DropCase {
    const char* name;
    const char* action;  // as the source proposes it
    const char* answer;  // as the window answers
    bool processed;
};

void PrintTo(const DropCase& c, std::ostream* os) { *os << c.name; }

class DesktopDrop : public ::testing::TestWithParam<DropCase> {};

// A file whose name is not UTF-8 (Latin-1 "café"), dropped from another
// process with the action the source proposes.
TEST_P(DesktopDrop, IsTakenAsACopyOrRefused) {
    const DropCase& c = GetParam();
    TempDir dir;
    const std::string path = MakeWave(dir, "caf\xe9.wav", 3000);
    const Bytes before = ReadFile(path);
    const QByteArray uri = "file://" + QByteArray::fromStdString(path).toPercentEncoding("/");
    DialogDriver driver;
    QProcess source;
    std::string answer;
    std::string shown;
    driver.Run({[&] {
        const QString window = QString::number(DialogDriver::Window()->winId());
        source.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // Debian's Python, which has the X library.
        source.start("/usr/bin/python3", {XDND_DROP, window, c.action, QString::fromLatin1(uri)});
        WhenReady([&] { return source.state() == QProcess::NotRunning; },
                  [&] {
                      answer = source.readAllStandardOutput().trimmed().toStdString();
                      // The drop's message is handled before this next step.
                      platform_testing::RunWhenIdle([&] {
                          shown = DialogDriver::Text(IDC_FILE_NAME);
                          DialogDriver::Close();
                      });
                  },
                  "the drop ends");
    }});
    EXPECT_EQ(answer, c.answer);
    EXPECT_TRUE(driver.boxes.empty()) << shown;
    if (c.processed) {
        EXPECT_EQ(shown, "caf\xef\xbf\xbd");  // shown with the replacement character
        EXPECT_EQ(ReadFile(path), Normalised(3000));
    } else {
        EXPECT_EQ(shown, "");
        EXPECT_EQ(ReadFile(path), before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Actions, DesktopDrop,
    ::testing::Values(
        DropCase{"Copy", "copy", "accepted XdndActionCopy finished XdndActionCopy", true},
        DropCase{"AskOfferingCopy", "ask", "accepted XdndActionCopy finished XdndActionCopy", true},
        DropCase{"Move", "move", "refused", false}, DropCase{"Link", "link", "refused", false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
