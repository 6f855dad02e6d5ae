// SPDX-License-Identifier: MIT
// The normalised file stays its owner's: root normalising a user's file,
// and a user normalising a file of a group they share, leave the owner, the
// group, the permissions, the extended attributes and the access list as
// they were. Needs root, to make a user and a group of its own.
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdlib>
#include <random>

#include "invariant.h"
#include "run_job.h"

using namespace testing_support;

namespace {

// A POSIX access list as the system stores it in system.posix_acl_access:
// a version, then (tag, permissions, id) entries in tag order. The named
// reader need not exist.
constexpr uid_t kNamedReader = 65533;

Bytes AccessList(uid_t reader) {
    Bytes acl;
    PutLe32(acl, 2);
    const auto entry = [&](std::uint16_t tag, std::uint16_t perm, std::uint32_t id) {
        PutLe16(acl, tag);
        PutLe16(acl, perm);
        PutLe32(acl, id);
    };
    const std::uint32_t none = 0xFFFFFFFF;
    entry(0x01, 6, none);    // owner rw-
    entry(0x02, 4, reader);  // the named user r--
    entry(0x04, 6, none);    // owning group rw-
    entry(0x10, 4, none);    // mask r--
    entry(0x20, 0, none);    // others ---
    return acl;
}

Bytes Attribute(const std::string& path, const char* name) {
    const ssize_t size = ::getxattr(path.c_str(), name, nullptr, 0);
    if (size < 0) return {};
    Bytes value(static_cast<std::size_t>(size));
    if (::getxattr(path.c_str(), name, value.data(), value.size()) != size) return {};
    return value;
}

bool SetAttribute(const std::string& path, const char* name, const Bytes& value) {
    return ::setxattr(path.c_str(), name, value.data(), value.size(), 0) == 0;
}

struct Metadata {
    uid_t owner;
    gid_t group;
    mode_t mode;
    Bytes comment;
    Bytes acl;

    bool operator==(const Metadata&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Metadata& m) {
    return os << "owner " << m.owner << ", group " << m.group << ", mode " << std::oct << m.mode
              << std::dec << ", comment of " << m.comment.size() << " bytes, access list of "
              << m.acl.size() << " bytes";
}

Metadata MetadataOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return {st.st_uid, st.st_gid, st.st_mode & 07777, Attribute(path, "user.comment"),
            Attribute(path, "system.posix_acl_access")};
}

// Clean-up commands: a user or group already gone is no failure.
void RunQuietly(const std::string& command) {
    if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) {
    }
}

class Ownership : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "needs root to make a second user and group";
        const std::string suffix = std::to_string(std::random_device{}() % 1000000);
        user_ = "varnola-u" + suffix;
        group_ = "varnola-g" + suffix;
        if (std::system(("groupadd " + group_ + " && useradd -M -N -G " + group_ +
                         " -s /usr/sbin/nologin " + user_ + " >/dev/null 2>&1")
                            .c_str()) != 0) {
            RunQuietly("groupdel " + group_);
            GTEST_SKIP() << "cannot make a user with groupadd and useradd";
        }
        made_ = true;
        const passwd* pw = ::getpwnam(user_.c_str());
        const group* gr = ::getgrnam(group_.c_str());
        ASSERT_TRUE(pw && gr);
        uid_ = pw->pw_uid;
        primaryGid_ = pw->pw_gid;
        gid_ = gr->gr_gid;
        // The folder is the shared group's to write in.
        ASSERT_EQ(::chown(dir_.Path().c_str(), 0, gid_), 0);
        ASSERT_EQ(::chmod(dir_.Path().c_str(), 0775), 0);
    }
    void TearDown() override {
        if (!made_) return;
        RunQuietly("userdel " + user_);
        RunQuietly("groupdel " + group_);
    }

    // A file with everything worth keeping: owner, group, mode, a comment
    // and an access list naming a reader.
    std::string MakeFile(uid_t owner, gid_t group, mode_t mode) {
        const std::string path = dir_.File("take.wav");
        WriteFile(path, SimpleWave(format_, data_));
        EXPECT_TRUE(SetAttribute(path, "user.comment", Bytes{'t', 'a', 'k', 'e', ' ', '3'}));
        EXPECT_TRUE(SetAttribute(path, "system.posix_acl_access", AccessList(kNamedReader)));
        EXPECT_EQ(::chown(path.c_str(), owner, group), 0);
        EXPECT_EQ(::chmod(path.c_str(), mode), 0);
        return path;
    }

    // The job in a child process running as the second user, a member of
    // the shared group; true when it saved.
    bool RunJobAsUser(const std::string& path) {
        const pid_t child = ::fork();
        if (child == 0) {
            const gid_t groups[] = {gid_};
            if (::setgroups(1, groups) != 0 || ::setgid(primaryGid_) != 0 || ::setuid(uid_) != 0) {
                ::_exit(2);
            }
            ::_exit(RunJob(path).saved ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    TempDir dir_;
    std::string user_, group_;
    bool made_ = false;
    uid_t uid_ = 0;
    gid_t gid_ = 0, primaryGid_ = 0;
    const Format format_ = Pcm(2, 16);
    const Bytes data_ = Sine16(20000, 6000);
};

TEST_F(Ownership, RootNormalisingAUsersFileLeavesItTheirs) {
    const std::string path = MakeFile(uid_, gid_, 0640);
    const Metadata before = MetadataOf(path);
    ASSERT_FALSE(before.acl.empty());
    ASSERT_TRUE(RunJob(path).saved);
    EXPECT_EQ(ReadFile(path), ReferenceNormalize(format_, data_).output);
    EXPECT_EQ(MetadataOf(path), before);
}

TEST_F(Ownership, SetIdBitsComeBackOnlyOnTheOwnersOwnFile) {
    const std::string path = MakeFile(uid_, gid_, 06750);
    const Metadata before = MetadataOf(path);
    ASSERT_TRUE(RunJob(path).saved);
    EXPECT_EQ(MetadataOf(path), before);
}

TEST_F(Ownership, GroupMemberKeepsTheGroupAndCannotGiveTheFileAway) {
    // Root's file, writable by the group, normalised by a member: the group
    // and everything else stay; only the owner becomes the member, as no
    // one but root may give a file to another; root's set-user-id bit is
    // not left on the member's file.
    const std::string path = MakeFile(0, gid_, 04664);
    Metadata expected = MetadataOf(path);
    expected.owner = uid_;
    expected.mode = 0664;
    ASSERT_TRUE(RunJobAsUser(path));
    EXPECT_EQ(ReadFile(path), ReferenceNormalize(format_, data_).output);
    EXPECT_EQ(MetadataOf(path), expected);
}

}  // namespace
