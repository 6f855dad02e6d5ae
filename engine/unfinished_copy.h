// SPDX-License-Identifier: MIT
// The temporary copy a job is writing, removed when the process is asked to
// stop (SIGTERM, SIGINT, SIGHUP at a logout) before the copy is finished, so
// that a polite stop leaves nothing half-written beside the user's file.
//
// A process whose host already handles or ignores one of these signals
// keeps its own way for it. One copy at a time: jobs never overlap in a
// process. Windows stops a windowed program by messages, not signals, so
// there this does nothing.
#pragma once

#include <string>

namespace varnola {

class UnfinishedCopy {
public:
    explicit UnfinishedCopy(const std::string& path);
    ~UnfinishedCopy() { Keep(); }
    UnfinishedCopy(const UnfinishedCopy&) = delete;
    UnfinishedCopy& operator=(const UnfinishedCopy&) = delete;

    // From here on a stop leaves the file at the path alone.
    void Keep();
};

}  // namespace varnola
