// SPDX-License-Identifier: MIT
// The open-file dialog's selection as laid out in the caller's buffer, and
// the drop handle's paths.
#include "file_dialog.h"

#include <gtest/gtest.h>

#include <cstring>

#include "automation.h"
#include "drop_files.h"
#include "temp_dir.h"

namespace {

class Responder {
public:
    explicit Responder(std::vector<std::string> paths, bool confirm = true) {
        platform_testing::SetOpenFileResponder(
            [this, paths, confirm](const OpenFileRequest& r, std::vector<std::string>& out) {
                request = r;
                out = paths;
                return confirm;
            });
    }
    ~Responder() { platform_testing::SetOpenFileResponder(nullptr); }
    OpenFileRequest request;
};

std::vector<std::string> Walk(CFileDialog& dialog) {
    std::vector<std::string> paths;
    for (POSITION p = dialog.GetStartPosition(); p != 0;)
        paths.push_back(dialog.GetNextPathName(p).Bytes());
    return paths;
}

TEST(FileDialog, SingleChoiceIsOneFullPath) {
    Responder responder({"/music/take1.wav"});
    std::vector<char> buffer(16384);
    CFileDialog dialog(TRUE, "wav", nullptr, OFN_ALLOWMULTISELECT,
                       "Wave Files (*.wav)|*.wav|All Files (*.*)|*.*||");
    dialog.m_ofn.lpstrFile = buffer.data();
    dialog.m_ofn.nMaxFile = 16384;
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(std::memcmp(buffer.data(), "/music/take1.wav\0\0", 18), 0);
    EXPECT_EQ(Walk(dialog), std::vector<std::string>{"/music/take1.wav"});
    ASSERT_EQ(responder.request.filters.size(), 2u);
    EXPECT_EQ(responder.request.filters[0].name, "Wave Files (*.wav)");
    EXPECT_EQ(responder.request.filters[1].patterns, "*.*");
    EXPECT_EQ(responder.request.defaultExtension, "wav");
    EXPECT_TRUE(responder.request.multipleSelection);
}

TEST(FileDialog, SeveralChoicesAreTheFolderThenEachName) {
    Responder responder({"/music/b.wav", "/music/a.wav", "/music/c d.wav"});
    std::vector<char> buffer(16384);
    CFileDialog dialog(TRUE, "wav", nullptr, OFN_ALLOWMULTISELECT, "W|*.wav||");
    dialog.m_ofn.lpstrFile = buffer.data();
    dialog.m_ofn.nMaxFile = 16384;
    ASSERT_EQ(dialog.DoModal(), IDOK);
    const char expected[] = "/music\0b.wav\0a.wav\0c d.wav\0";  // and the final empty string
    EXPECT_EQ(std::memcmp(buffer.data(), expected, sizeof expected), 0);
    EXPECT_EQ(Walk(dialog),
              (std::vector<std::string>{"/music/b.wav", "/music/a.wav", "/music/c d.wav"}));
}

TEST(FileDialog, FilesAtTheRootGetNoDoubleSeparator) {
    Responder responder({"/a.wav", "/b.wav"});
    std::vector<char> buffer(100);
    CFileDialog dialog(TRUE, "wav", nullptr, OFN_ALLOWMULTISELECT, "W|*.wav||");
    dialog.m_ofn.lpstrFile = buffer.data();
    dialog.m_ofn.nMaxFile = 100;
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(Walk(dialog), (std::vector<std::string>{"/a.wav", "/b.wav"}));
}

TEST(FileDialog, SelectionThatDoesNotFitIsCancel) {
    // "/m\0" (3) + "a.wav\0" (6) + "b.wav\0" (6) + final "\0" (1) = 16 bytes.
    for (const DWORD size : {15u, 16u}) {
        Responder responder({"/m/a.wav", "/m/b.wav"});
        std::vector<char> buffer(size, 'x');
        CFileDialog dialog(TRUE, "wav", nullptr, OFN_ALLOWMULTISELECT, "W|*.wav||");
        dialog.m_ofn.lpstrFile = buffer.data();
        dialog.m_ofn.nMaxFile = size;
        EXPECT_EQ(dialog.DoModal(), size == 16 ? IDOK : IDCANCEL) << size;
    }
    Responder cancelled({"/m/a.wav"}, false);
    std::vector<char> buffer(100);
    CFileDialog dialog(TRUE, "wav", nullptr, 0, "W|*.wav||");
    dialog.m_ofn.lpstrFile = buffer.data();
    dialog.m_ofn.nMaxFile = 100;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

// The same choices as the system's open dialog makes them, with the
// default extension "wav" (the Windows suite holds the same table).
struct TypedName {
    const char* name;
    std::vector<std::string> files;
    const char* typed;
    const char* chosen;
};

void PrintTo(const TypedName& c, std::ostream* os) { *os << c.name; }

class DefaultExtension : public ::testing::TestWithParam<TypedName> {};

TEST_P(DefaultExtension, NamesTheFileTheSystemDialogWould) {
    const TypedName& c = GetParam();
    testing_support::TempDir dir;
    for (const std::string& file : c.files) testing_support::WriteFile(dir.File(file), {});
    Responder responder({dir.File(c.typed)});
    std::vector<char> buffer(1000);
    CFileDialog dialog(TRUE, "wav", nullptr, OFN_ALLOWMULTISELECT, "W|*.wav||");
    dialog.m_ofn.lpstrFile = buffer.data();
    dialog.m_ofn.nMaxFile = 1000;
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(Walk(dialog), std::vector<std::string>{dir.File(c.chosen)});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DefaultExtension,
    ::testing::Values(
        TypedName{"OnlyWithoutExtension", {"take"}, "take", "take"},
        TypedName{"OnlyWithExtension", {"take.wav"}, "take", "take.wav"},
        TypedName{"BothPreferTheDefault", {"take", "take.wav"}, "take", "take.wav"},
        TypedName{"OtherExtensionAsTyped", {"take.raw", "take.raw.wav"}, "take.raw", "take.raw"},
        TypedName{"NeitherAsTyped", {"other.wav"}, "take", "take"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DropFiles, CountLengthsAndCutToFit) {
    const std::string longPath = "/" + std::string(3000, 'p') + ".wav";
    HDROP drop = new DropList{{"/a/one.wav", longPath}};
    EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 2u);
    EXPECT_EQ(DragQueryFileA(drop, 1, nullptr, 0), longPath.size());
    char small[6];
    EXPECT_EQ(DragQueryFileA(drop, 0, small, sizeof small), 5u);
    EXPECT_STREQ(small, "/a/on");
    std::vector<char> whole(longPath.size() + 1);
    EXPECT_EQ(DragQueryFileA(drop, 1, whole.data(), static_cast<UINT>(whole.size())),
              longPath.size());
    EXPECT_EQ(std::string(whole.data()), longPath);
    EXPECT_EQ(DragQueryFileA(drop, 2, whole.data(), 10), 0u);
    DragFinish(drop);
}

}  // namespace
