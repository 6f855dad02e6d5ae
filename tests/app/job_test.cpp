// SPDX-License-Identifier: MIT
// The program's jobs as drops start them, on the null backend: no display
// and no toolkit. Each row drops files of its own and says what the user
// is told and what is left on disk.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "automation.h"
#include "drop_files.h"
#include "normalize_app.h"
#include "normalize_dlg.h"
#include "reference_normalizer.h"
#include "resource_ids.h"
#include "temp_dir.h"

using namespace testing_support;

namespace {

const Format kStereo = Pcm(2, 16);
constexpr std::size_t kSamples = 6000;
const char kNotAWave[] = "Wave File として認識できませんでした";

enum class Kind { kQuiet, kFullScale, kJunk, kReadOnly };

struct Input {
    const char* name;
    Kind kind;
    int peak = 0;
};

struct JobCase {
    const char* name;
    std::vector<Input> files;  // dropped together, in this order
    const char* lastName;      // the name field at the end
    const char* lastStatus;    // the status line at the end
    int boxes;                 // message boxes shown, each naming a file that is no wave
};

void PrintTo(const JobCase& c, std::ostream* os) { *os << c.name; }

Bytes Samples(const Input& in) {
    return Sine16(kSamples, in.peak, static_cast<std::uint32_t>(in.peak));
}

// What the file must hold afterwards, computed without the program.
Bytes Expected(const Input& in) {
    if (in.kind == Kind::kJunk) return Bytes(100, 'x');
    const Bytes original = SimpleWave(kStereo, Samples(in));
    if (in.kind != Kind::kQuiet) return original;  // full scale, or not allowed to change
    return ReferenceNormalize(kStereo, Samples(in)).output;
}

class Jobs : public ::testing::TestWithParam<JobCase> {};

TEST_P(Jobs, DropsRunInOrderAndLeaveEachFileAsTheUserIsTold) {
    const JobCase& c = GetParam();
    TempDir dir;
    std::vector<std::string> paths;
    for (const Input& in : c.files) {
        paths.push_back(dir.File(in.name));
        WriteFile(paths.back(),
                  in.kind == Kind::kJunk ? Bytes(100, 'x') : SimpleWave(kStereo, Samples(in)));
        if (in.kind == Kind::kReadOnly) {
            ASSERT_EQ(::chmod(paths.back().c_str(), 0444), 0);
        }
    }
    std::vector<std::string> boxes;
    platform_testing::SetMessageBoxResponder([&](const CString& text, const CString&, UINT) {
        boxes.push_back(text.Bytes());
        return static_cast<int>(IDOK);
    });
    std::string name;
    std::string status;
    bool fileButtonBack = false;
    auto dialog = [] { return static_cast<CNormalizeDlg*>(AfxGetApp()->m_pMainWnd); };
    platform_testing::RunWhenIdle([&] {
        dialog()->PostMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(new DropList{paths}));
    });
    platform_testing::RunWhenIdle([&] {
        name = dialog()->GetDlgItemText(IDC_FILE_NAME).Bytes();
        status = dialog()->GetDlgItemText(IDC_STATUS).Bytes();
        fileButtonBack = dialog()->IsDlgItemEnabled(IDC_FILE) != FALSE;
        dialog()->PostMessage(WM_SYSCOMMAND, SC_CLOSE);
    });
    static char arg0[] = "varnola";
    char* argv[] = {arg0, nullptr};
    CNormalizeApp app;
    EXPECT_EQ(AfxWinMain(1, argv), 0);
    platform_testing::SetMessageBoxResponder(nullptr);

    EXPECT_EQ(name, c.lastName);
    EXPECT_EQ(status, c.lastStatus);
    EXPECT_TRUE(fileButtonBack);
    EXPECT_EQ(boxes, std::vector<std::string>(static_cast<std::size_t>(c.boxes), kNotAWave));
    for (std::size_t i = 0; i < c.files.size(); ++i) {
        EXPECT_EQ(ReadFile(paths[i]), Expected(c.files[i])) << c.files[i].name;
        // A file that may not be replaced keeps the finished copy beside it.
        const std::string copy = paths[i] + ".$$$";
        if (c.files[i].kind == Kind::kReadOnly) {
            EXPECT_EQ(ReadFile(copy), ReferenceNormalize(kStereo, Samples(c.files[i])).output);
        } else {
            EXPECT_FALSE(Exists(copy)) << c.files[i].name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Jobs,
    ::testing::Values(
        JobCase{
            "OneQuietFile", {{"take.wav", Kind::kQuiet, 1200}}, "take", "正規化が終わりました", 0},
        JobCase{"SeveralInDropOrder",
                {{"b.wav", Kind::kQuiet, 900},
                 {"a.wav", Kind::kQuiet, 3000},
                 {"c.WAV", Kind::kQuiet, 20000}},
                "c",
                "正規化が終わりました",
                0},
        JobCase{"AlreadyAtFullScale",
                {{"full.wav", Kind::kFullScale, 32767}},
                "full",
                "すでに正規化済みです",
                0},
        JobCase{"JunkIsNamedAndTheNextStillRuns",
                {{"notes.wav", Kind::kJunk}, {"good.wav", Kind::kQuiet, 5000}},
                "good",
                "正規化が終わりました",
                1},
        JobCase{"JunkLastLeavesAnEmptyStatus",
                {{"good.wav", Kind::kQuiet, 5000}, {"notes.wav", Kind::kJunk}},
                "notes",
                "",
                1},
        JobCase{"ReadOnlyFailsTheSave",
                {{"locked.wav", Kind::kReadOnly, 4000}},
                "locked",
                "保存に失敗しました",
                0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
