#pragma once

#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace KestrelTest {

// A scratch folder whose odd names (links, names Windows cannot remove) are made, and removed,
// from the Linux side, as another system would leave them on a disk.
class UnixScratch {
public:
    UnixScratch();
    ~UnixScratch();
    UnixScratch(const UnixScratch&) = delete;
    UnixScratch& operator=(const UnixScratch&) = delete;

    [[nodiscard]] const std::wstring& path() const noexcept { return scratch_.path(); }
    [[nodiscard]] std::wstring operator/(const std::wstring& relative) const { return scratch_ / relative; }
    // Runs the script with /bin/sh in the folder; fails with its output unless it ends with 0.
    [[nodiscard]] testing::AssertionResult make(const std::string& script) const;

private:
    ScratchFolder scratch_;
    std::string unix_;
};

} // namespace KestrelTest
