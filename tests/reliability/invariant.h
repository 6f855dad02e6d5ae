// SPDX-License-Identifier: MIT
// What must hold after any job, however it ended: the source is the
// original or the complete normalised output, the outcome says which, and
// only the temporary file may be left beside it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "reference_normalizer.h"
#include "temp_dir.h"

namespace testing_support {

inline void ExpectIntactOrReplaced(const std::string& path, const Bytes& original,
                                   const Bytes& normalised, bool saved, const std::string& folder) {
    const Bytes now = ReadFile(path);
    const bool untouched = now == original;
    const bool replaced = !normalised.empty() && now == normalised;
    EXPECT_TRUE(untouched || replaced) << path;
    EXPECT_EQ(saved, replaced && !untouched) << path;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().string();
        EXPECT_TRUE(name == path || name == path + ".$$$") << "stray file " << name;
    }
}

}  // namespace testing_support
