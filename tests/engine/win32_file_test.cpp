// SPDX-License-Identifier: MIT
// What the file layer does with what Windows has: folders and devices by
// name, files another program holds open, paths past MAX_PATH, attributes
// and access lists.
#include <windows.h>
// After windows.h, which they need.
#include <gtest/gtest.h>
#include <sddl.h>

#include "long_paths.h"
#include "reference_normalizer.h"
#include "run_job.h"
#include "temp_dir.h"
#include "wave_normalizer.h"

using namespace testing_support;

TEST(WindowsFiles, OnlyDiskFilesAreOpenedAndNothingBlocks) {
    TempDir dir;
    CWaveNormalizer n;
    EXPECT_FALSE(n.Open(dir.Path()));
    EXPECT_FALSE(n.Open("NUL"));
    EXPECT_FALSE(n.Open("CON"));
    EXPECT_FALSE(n.Open(dir.File("missing.wav")));
}

TEST(WindowsFiles, ReplacementTakesTheSourcesPlaceAndItsName) {
    TempDir dir;
    const std::string path = dir.File("Take 1.WAV");
    const Format f = Pcm(2, 16);
    const Bytes data = Sine16(8000, 2000);
    WriteFile(path, SimpleWave(f, data));
    ASSERT_TRUE(RunJob(path).saved);
    EXPECT_EQ(ReadFile(path), ReferenceNormalize(f, data).output);
    EXPECT_FALSE(Exists(path + ".$$$"));
    WIN32_FIND_DATAA found{};
    HANDLE search = ::FindFirstFileA(path.c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    ::FindClose(search);
    EXPECT_STREQ(found.cFileName, "Take 1.WAV");
}

TEST(WindowsFiles, SourceHeldOpenByAnotherProgramIsLeftAsItWas) {
    TempDir dir;
    const std::string path = dir.File("held.wav");
    const Bytes original = SimpleWave(Pcm(1, 16), Sine16(3000, 5000));
    WriteFile(path, original);
    // Another program reading it, sharing reading only: the move over it fails.
    HANDLE other = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    const JobResult r = RunJob(path);
    ::CloseHandle(other);
    EXPECT_TRUE(r.opened);
    EXPECT_FALSE(r.saved);
    EXPECT_EQ(ReadFile(path), original);
}

TEST(WindowsFiles, PathLongerThanMaxPathIsNormalisedInPlace) {
    TempDir dir;
    const std::string folder = MakeDeepFolder(dir.Path(), 300);
    ASSERT_FALSE(folder.empty());
    const std::string path = folder + "\\deep.wav";
    const Format f = Pcm(1, 16);
    const Bytes data = Sine16(3000, 4000);
    ASSERT_TRUE(WriteLongFile(path, SimpleWave(f, data)));
    const JobResult r = RunJob(path);
    EXPECT_TRUE(r.saved);
    EXPECT_EQ(ReadLongFile(path), ReferenceNormalize(f, data).output);
    EXPECT_FALSE(LongFileExists(path + ".$$$"));
}

namespace {

std::string AccessListOf(const std::string& path) {
    DWORD size = 0;
    ::GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::vector<unsigned char> descriptor(size);
    if (size == 0 || !::GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(),
                                         size, &size)) {
        return "unreadable";
    }
    char* text = nullptr;
    if (!::ConvertSecurityDescriptorToStringSecurityDescriptorA(
            descriptor.data(), SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr)) {
        return "unconvertible";
    }
    std::string result = text;
    ::LocalFree(text);
    return result;
}

bool BasicInfoOf(const std::string& path, FILE_BASIC_INFO& info) {
    HANDLE h = ::CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool ok = ::GetFileInformationByHandleEx(h, FileBasicInfo, &info, sizeof info);
    ::CloseHandle(h);
    return ok;
}

}  // namespace

TEST(WindowsFiles, ReplacementKeepsAttributesCreationTimeAndAccessList) {
    TempDir dir;
    const std::string path = dir.File("kept.wav");
    const Format f = Pcm(1, 16);
    const Bytes data = Sine16(3000, 4000);
    WriteFile(path, SimpleWave(f, data));

    const DWORD attributes =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    HANDLE h = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILE_BASIC_INFO set{};
    set.CreationTime.QuadPart = 126227808000000000;  // 2001-01-01, in 100 ns ticks since 1601
    set.FileAttributes = attributes;
    EXPECT_TRUE(::SetFileInformationByHandle(h, FileBasicInfo, &set, sizeof set));
    ::CloseHandle(h);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorA(
        "D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;FR;;;WD)", SDDL_REVISION_1, &descriptor, nullptr));
    EXPECT_TRUE(::SetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor));
    ::LocalFree(descriptor);
    const std::string accessBefore = AccessListOf(path);
    // What the file system kept of them (Wine keeps neither the not-indexed
    // attribute nor a creation time set on a file) is what must survive.
    FILE_BASIC_INFO before{};
    ASSERT_TRUE(BasicInfoOf(path, before));
    ASSERT_NE(before.FileAttributes & FILE_ATTRIBUTE_HIDDEN, 0u);

    ASSERT_TRUE(RunJob(path).saved);
    EXPECT_EQ(ReadFile(path), ReferenceNormalize(f, data).output);
    FILE_BASIC_INFO now{};
    ASSERT_TRUE(BasicInfoOf(path, now));
    EXPECT_EQ(now.FileAttributes & attributes, before.FileAttributes & attributes);
    if (before.CreationTime.QuadPart == set.CreationTime.QuadPart) {
        EXPECT_EQ(now.CreationTime.QuadPart, set.CreationTime.QuadPart);
    } else {
        RecordProperty("creation_time", "not kept by this file system, so not compared");
    }
    EXPECT_EQ(AccessListOf(path), accessBefore);
}
