// SPDX-License-Identifier: MIT
// A FileSystem that passes every call to the real one, logs it, and can make
// the Nth call (or every call from the Nth on) fail or come up short.
#pragma once

#include <cerrno>
#include <functional>
#include <string>
#include <vector>

#include "file_system.h"

namespace testing_support {

class FaultyFileSystem final : public varnola::FileSystem {
public:
    enum class Fault { kNone, kFail, kShort };

    // Calls are counted from 1.
    void FailAt(long call, Fault fault, bool persistent = false) {
        failAt_ = call;
        fault_ = fault;
        persistent_ = persistent;
    }
    long Calls() const { return calls_; }
    bool Injected() const { return injected_; }
    const std::vector<std::string>& Log() const { return log_; }
    // Runs before each call with the call's name (for acting between steps).
    std::function<void(const std::string&)> beforeCall;

    Handle OpenForReading(const std::string& path) override {
        if (Hit("open-read")) return kNoHandle;
        return real_.OpenForReading(path);
    }
    Handle CreateExclusive(const std::string& path) override {
        if (Hit("create")) return kNoHandle;
        return real_.CreateExclusive(path);
    }
    long long ReadAt(Handle h, void* buffer, std::size_t count, std::uint64_t offset) override {
        if (Hit("read")) {
            if (fault_ == Fault::kShort && count > 1)
                return real_.ReadAt(h, buffer, count / 2, offset);
            return -1;
        }
        return real_.ReadAt(h, buffer, count, offset);
    }
    long long WriteAt(Handle h, const void* buffer, std::size_t count,
                      std::uint64_t offset) override {
        if (Hit("write")) {
            if (fault_ == Fault::kShort && count > 1)
                return real_.WriteAt(h, buffer, count / 2, offset);
            errno = ENOSPC;
            return -1;
        }
        return real_.WriteAt(h, buffer, count, offset);
    }
    std::uint64_t NextData(Handle h, std::uint64_t offset) override {
        // A failure here is the system not knowing: the offset itself.
        return Hit("seek-data") ? offset : real_.NextData(h, offset);
    }
    bool Status(Handle h, varnola::FileStatus& status) override {
        return !Hit("fstat") && real_.Status(h, status);
    }
    bool SetPermissions(Handle h, std::uint32_t permissions) override {
        return !Hit("chmod") && real_.SetPermissions(h, permissions);
    }
    void SetOwner(Handle h, std::uint32_t owner, std::uint32_t group) override {
        if (!Hit("chown")) real_.SetOwner(h, owner, group);
    }
    bool CopyAttributes(Handle from, Handle to) override {
        return !Hit("xattr") && real_.CopyAttributes(from, to);
    }
    bool LockForSave(Handle h) override { return !Hit("lock") && real_.LockForSave(h); }
    bool Flush(Handle h) override { return !Hit("fsync") && real_.Flush(h); }
    bool Close(Handle h) override {
        // The handle goes either way, as close(2) does.
        const bool failed = Hit("close");
        return real_.Close(h) && !failed;
    }
    bool PathStatus(const std::string& path, varnola::FileStatus& status) override {
        return !Hit("lstat") && real_.PathStatus(path, status);
    }
    bool ResolveLinks(const std::string& path, std::string& resolved) override {
        return !Hit("realpath") && real_.ResolveLinks(path, resolved);
    }
    bool CanWrite(const std::string& path) override {
        return !Hit("access") && real_.CanWrite(path);
    }
    bool Remove(const std::string& path) override { return !Hit("unlink") && real_.Remove(path); }
    bool Replace(const std::string& from, const std::string& to) override {
        return !Hit("rename") && real_.Replace(from, to);
    }
    bool CanReplaceOpenFiles() const override { return real_.CanReplaceOpenFiles(); }
    bool FlushFolderOf(const std::string& path) override {
        return !Hit("fsync-dir") && real_.FlushFolderOf(path);
    }

private:
    bool Hit(const char* name) {
        ++calls_;
        log_.emplace_back(name);
        if (beforeCall) beforeCall(name);
        const bool hit =
            fault_ != Fault::kNone && (calls_ == failAt_ || (persistent_ && calls_ > failAt_));
        if (hit) {
            injected_ = true;
            log_.back() += "!";
        }
        return hit;
    }

    varnola::FileSystem& real_ = varnola::SystemFileSystem();
    long calls_ = 0;
    long failAt_ = 0;
    Fault fault_ = Fault::kNone;
    bool persistent_ = false;
    bool injected_ = false;
    std::vector<std::string> log_;
};

}  // namespace testing_support
