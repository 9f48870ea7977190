#pragma once

#include "erase/EraseTask.h"

#include <algorithm>
#include <cstdint>

// Turns the bytes written so far into the task's percentage over a fixed total; a total of 0
// counts as 1, so an empty file or folder stays at 0 percent. Bytes written again (a free-space
// fill gives room back and fills it anew) never take it past 100.
class ProgressMeter {
public:
    ProgressMeter(EraseTask& task, std::uint64_t totalBytes) noexcept
        : task_(task), divisor_(totalBytes == 0 ? 1 : totalBytes)
    {
    }

    void add(std::uint64_t bytes) noexcept
    {
        done_ += bytes;
        task_.setProgress(std::min(100.0, static_cast<double>(done_) / static_cast<double>(divisor_) * 100.0));
    }

private:
    EraseTask& task_;
    std::uint64_t divisor_;
    std::uint64_t done_ = 0;
};
