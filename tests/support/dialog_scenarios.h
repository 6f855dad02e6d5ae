// SPDX-License-Identifier: MIT
// What the main dialog does the same on every platform, written once as a
// table of scenarios and run by each platform's driver. A driver supplies:
//   int Run(steps)                      the program, start-up to exit
//   static std::string Text(int id)     a control's text
//   static int BarPosition(int id), BarUpper(int id)
//   static bool IsEnabled(int id)       a control of the main dialog
//   static bool WindowOpen()            the main dialog is on screen
//   static void Drop(paths)             files dropped from a file manager
//   static void ClickFile()             the File button, as clicked
//   static void Close()                 the close box
//   static void MakeReadOnly(path)      as the platform's file manager would
//   static std::string ProgramTitle()   the message box's caption
//   void AnswerMessageBoxes(seen)       each box is shown to `seen`, then OK
//   void AnswerFileDialogs(answers)     the file dialogs in turn: the files
//                                       chosen, none for Cancel
//   int FileDialogs() const             how many were answered
// Whatever a driver checks of a box or a file dialog that only its platform
// can tell (its buttons, the owner held disabled) it checks as it answers.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "message_pump.h"
#include "reference_normalizer.h"
#include "resource_ids.h"
#include "temp_dir.h"

namespace testing_support {

inline const Format kStereo = Pcm(2, 16);

inline std::string MakeWave(const TempDir& dir, const std::string& name, int peak,
                            std::size_t samples = 6000) {
    const std::string path = dir.File(name);
    WriteFile(path, SimpleWave(kStereo, Sine16(samples, peak, static_cast<std::uint32_t>(peak))));
    return path;
}

// The file a job leaves from MakeWave's, worked out by the reference.
inline Bytes Normalised(int peak, std::size_t samples = 6000) {
    return ReferenceNormalize(kStereo, Sine16(samples, peak, static_cast<std::uint32_t>(peak)))
        .output;
}

// The file names the name field showed, in order, while the program ran;
// `atPump` runs at every pump after the name is read, with the pump's count.
template <class Driver>
class NamesSeen {
public:
    explicit NamesSeen(std::function<void(int)> atPump = nullptr) {
        SetPumpHook([this, atPump = std::move(atPump)] {
            const std::string name = Driver::Text(IDC_FILE_NAME);
            if (names_.empty() || names_.back() != name) names_.push_back(name);
            if (atPump) atPump(++pumps_);
        });
    }
    ~NamesSeen() { SetPumpHook(nullptr); }
    NamesSeen(const NamesSeen&) = delete;
    NamesSeen& operator=(const NamesSeen&) = delete;
    const std::vector<std::string>& Names() const { return names_; }

private:
    std::vector<std::string> names_;
    int pumps_ = 0;
};

template <class Driver>
void DroppedFilesRunInOrderAndTheLastOneStays() {
    TempDir dir;
    const std::vector<std::string> paths = {MakeWave(dir, "one.wav", 1000, 40000),
                                            MakeWave(dir, "two.wav", 2000, 40000),
                                            MakeWave(dir, "three.wav", 3000, 40000)};
    Driver driver;
    int boxes = 0;
    driver.AnswerMessageBoxes([&](const std::string&, const std::string&) { ++boxes; });
    NamesSeen<Driver> seen;
    const int status = driver.Run({
        [&] {
            // Before the first file: the status template text is already replaced.
            EXPECT_EQ(Driver::Text(IDC_STATUS), "");
            Driver::Drop(paths);
        },
        [&] {
            EXPECT_EQ(Driver::Text(IDC_FILE_NAME), "three");
            EXPECT_EQ(Driver::Text(IDC_STATUS), "正規化が終わりました");
            // 80000 bytes of samples: the bars stop at the start of the last
            // block of each loop, in the byte range the engine set.
            EXPECT_EQ(Driver::BarUpper(IDC_SAVE_PROGRESS), 80000);
            EXPECT_EQ(Driver::BarPosition(IDC_SAVE_PROGRESS), 65536);
            EXPECT_EQ(Driver::BarUpper(IDC_MEASURE_PROGRESS), 80000);
            EXPECT_EQ(Driver::BarPosition(IDC_MEASURE_PROGRESS), 77824);
            EXPECT_TRUE(Driver::IsEnabled(IDC_FILE));
            Driver::Close();
        },
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(seen.Names(), (std::vector<std::string>{"one", "two", "three"}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ReadFile(paths[static_cast<std::size_t>(i)]), Normalised(1000 * (i + 1), 40000))
            << i;
    }
    EXPECT_FALSE(Exists(paths[2] + ".$$$"));
    EXPECT_EQ(boxes, 0);
}

// While the first file is being measured, the user drops another file and
// then closes the window: the window stays until all three are done.
template <class Driver>
void DropAndCloseDuringAJobWaitForItToFinish() {
    TempDir dir;
    const std::vector<std::string> first = {MakeWave(dir, "a.wav", 1000, 40000),
                                            MakeWave(dir, "b.wav", 2000, 40000)};
    const std::string later = MakeWave(dir, "c.wav", 3000, 40000);
    bool openAfterClose = false;
    NamesSeen<Driver> seen([&](int pump) {
        if (pump != 1) return;
        Driver::Drop({later});
        Driver::Close();
        openAfterClose = Driver::WindowOpen();
    });
    Driver driver;
    const int status = driver.Run({[&] { Driver::Drop(first); }});
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(openAfterClose);
    EXPECT_FALSE(Driver::WindowOpen());
    EXPECT_EQ(seen.Names(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(ReadFile(first[0]), Normalised(1000, 40000));
    EXPECT_EQ(ReadFile(first[1]), Normalised(2000, 40000));
    EXPECT_EQ(ReadFile(later), Normalised(3000, 40000));
}

// A folder and a file that is not a wave file, dropped between two good
// files: a box for each, and the file after them still runs.
template <class Driver>
void RejectedEntriesGiveTheBoxAndTheRestStillRun() {
    TempDir dir;
    const std::string notes = dir.File("notes.wav");
    WriteFile(notes, Bytes(100, 'x'));
    // Long enough that the first job leaves both bars past their first block.
    const std::string good = MakeWave(dir, "good.wav", 5000, 40000);
    Driver driver;
    struct Box {
        std::string text;
        std::string caption;
        std::string status;
        int measure;
        int save;
    };
    std::vector<Box> boxes;
    driver.AnswerMessageBoxes([&](const std::string& text, const std::string& caption) {
        boxes.push_back({text, caption, Driver::Text(IDC_STATUS),
                         Driver::BarPosition(IDC_MEASURE_PROGRESS),
                         Driver::BarPosition(IDC_SAVE_PROGRESS)});
    });
    driver.Run({
        [&] { Driver::Drop({good}); },
        [&] {
            Driver::Drop({dir.Path(), notes, good});
        },
        [&] {
            EXPECT_EQ(Driver::Text(IDC_FILE_NAME), "good");
            EXPECT_EQ(Driver::Text(IDC_STATUS), "すでに正規化済みです");
            Driver::Close();
        },
    });
    ASSERT_EQ(boxes.size(), 2u);
    for (const Box& box : boxes) {
        EXPECT_EQ(box.text, "Wave File として認識できませんでした");
        EXPECT_EQ(box.caption, Driver::ProgramTitle());
        // The previous file had left both bars moved; the rejected entry
        // resets the window before its box.
        EXPECT_EQ(box.status, "");
        EXPECT_EQ(box.measure, 0);
        EXPECT_EQ(box.save, 0);
    }
    EXPECT_EQ(ReadFile(notes), Bytes(100, 'x'));
    EXPECT_EQ(ReadFile(good), Normalised(5000, 40000));
}

template <class Driver>
void AlreadyNormalisedAndReadOnlyFilesAreLeftAsTheyWere() {
    TempDir dir;
    const std::string full = MakeWave(dir, "full.wav", 32767, 5000);  // 10000 bytes of samples
    const std::string locked = MakeWave(dir, "locked.wav", 4000);
    const Bytes fullBytes = ReadFile(full);
    const Bytes lockedBytes = ReadFile(locked);
    Driver::MakeReadOnly(locked);
    Driver driver;
    driver.Run({
        [&] { Driver::Drop({full}); },
        [&] {
            EXPECT_EQ(Driver::Text(IDC_STATUS), "すでに正規化済みです");
            EXPECT_EQ(Driver::BarUpper(IDC_SAVE_PROGRESS), 100);
            EXPECT_EQ(Driver::BarPosition(IDC_SAVE_PROGRESS), 100);
            // The scan's last block starts at 8192 of 10000 bytes.
            EXPECT_EQ(Driver::BarUpper(IDC_MEASURE_PROGRESS), 10000);
            EXPECT_EQ(Driver::BarPosition(IDC_MEASURE_PROGRESS), 8192);
            Driver::Drop({locked});
        },
        [&] {
            EXPECT_EQ(Driver::Text(IDC_FILE_NAME), "locked");
            EXPECT_EQ(Driver::Text(IDC_STATUS), "保存に失敗しました");
            Driver::Close();
        },
    });
    EXPECT_EQ(ReadFile(full), fullBytes);
    EXPECT_EQ(ReadFile(locked), lockedBytes);
    EXPECT_EQ(ReadFile(locked + ".$$$"), Normalised(4000));
}

template <class Driver>
void FileButtonWithTheDialogCancelledProcessesNothing() {
    TempDir dir;
    const std::string path = MakeWave(dir, "kept.wav", 2000);
    const Bytes before = ReadFile(path);
    Driver driver;
    driver.AnswerFileDialogs({{}});
    driver.Run({
        [&] { Driver::ClickFile(); },
        [&] {
            EXPECT_EQ(driver.FileDialogs(), 1);
            EXPECT_EQ(Driver::Text(IDC_FILE_NAME), "");
            EXPECT_EQ(Driver::Text(IDC_STATUS), "");
            Driver::Close();
        },
    });
    EXPECT_EQ(ReadFile(path), before);
}

// Files chosen together run in the order chosen; the dialog cancelled
// afterwards leaves the last one shown.
template <class Driver>
void FilesChosenTogetherInTheFileDialogRunInOrder() {
    TempDir dir;
    const std::string first = MakeWave(dir, "first.wav", 1500);
    const std::string second = MakeWave(dir, "second.wav", 2500);
    Driver driver;
    driver.AnswerFileDialogs({{first, second}, {}});
    NamesSeen<Driver> seen;
    driver.Run({
        [&] { Driver::ClickFile(); },
        [&] {
            EXPECT_EQ(Driver::Text(IDC_FILE_NAME), "second");
            EXPECT_EQ(Driver::Text(IDC_STATUS), "正規化が終わりました");
            Driver::ClickFile();
        },
        [&] {
            EXPECT_EQ(Driver::Text(IDC_FILE_NAME), "second");
            Driver::Close();
        },
    });
    EXPECT_EQ(driver.FileDialogs(), 2);
    EXPECT_EQ(seen.Names(), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(ReadFile(first), Normalised(1500));
    EXPECT_EQ(ReadFile(second), Normalised(2500));
}

template <class Driver>
struct DialogScenario {
    const char* name;
    void (*run)();
};

template <class Driver>
void PrintTo(const DialogScenario<Driver>& scenario, std::ostream* os) {
    *os << scenario.name;
}

template <class Driver>
std::vector<DialogScenario<Driver>> DialogScenarios() {
    return {
        {"DroppedFilesRunInOrderAndTheLastOneStays",
         &DroppedFilesRunInOrderAndTheLastOneStays<Driver>},
        {"DropAndCloseDuringAJobWaitForItToFinish",
         &DropAndCloseDuringAJobWaitForItToFinish<Driver>},
        {"RejectedEntriesGiveTheBoxAndTheRestStillRun",
         &RejectedEntriesGiveTheBoxAndTheRestStillRun<Driver>},
        {"AlreadyNormalisedAndReadOnlyFilesAreLeftAsTheyWere",
         &AlreadyNormalisedAndReadOnlyFilesAreLeftAsTheyWere<Driver>},
        {"FileButtonWithTheDialogCancelledProcessesNothing",
         &FileButtonWithTheDialogCancelledProcessesNothing<Driver>},
        {"FilesChosenTogetherInTheFileDialogRunInOrder",
         &FilesChosenTogetherInTheFileDialogRunInOrder<Driver>},
    };
}

// Each row a test of its own, named by the row:
//   using Scenario = DialogScenarioTest<MyDriver>;
//   TEST_P(Scenario, Runs) { GetParam().run(); }
//   INSTANTIATE_TEST_SUITE_P(Shared, Scenario,
//       ::testing::ValuesIn(DialogScenarios<MyDriver>()), ScenarioName<MyDriver>);
template <class Driver>
class DialogScenarioTest : public ::testing::TestWithParam<DialogScenario<Driver>> {};

template <class Driver>
std::string ScenarioName(const ::testing::TestParamInfo<DialogScenario<Driver>>& info) {
    return info.param.name;
}

}  // namespace testing_support
