#pragma once

#include <cstddef>

// How much of what an erase writes is read back before an item counts as erased: all of a small
// file and a sample of a large one, every byte, or nothing.
enum class VerifyMode : int { Sample = 0, All = 1, Off = 2 };

// How much of what a task wrote was read back and found as written: every byte, only some (a
// large file's sample, or some files' bytes and not others'), or none.
enum class ReadBackExtent : int { None = 0, Sample = 1, Whole = 2 };

// The files and streams of one task, counted by how much of each was read back.
class ReadBackTally {
public:
    void add(ReadBackExtent extent) noexcept
    {
        switch (extent) {
        case ReadBackExtent::Whole:
            ++whole_;
            break;
        case ReadBackExtent::Sample:
            ++sampled_;
            break;
        case ReadBackExtent::None:
            ++unread_;
            break;
        }
    }
    // Nothing was overwritten (nothing found, nothing written, or a free space's fill).
    [[nodiscard]] bool empty() const noexcept { return whole_ == 0 && sampled_ == 0 && unread_ == 0; }
    // None when nothing was read back, also when nothing was written at all.
    [[nodiscard]] ReadBackExtent extent() const noexcept
    {
        if (whole_ == 0 && sampled_ == 0)
            return ReadBackExtent::None;
        return sampled_ == 0 && unread_ == 0 ? ReadBackExtent::Whole : ReadBackExtent::Sample;
    }

private:
    std::size_t whole_ = 0;
    std::size_t sampled_ = 0;
    std::size_t unread_ = 0;
};
