#pragma once

#include "erase/EraseStatus.h"

#include <string>

// How many tasks of a run ended Done, Failed and Aborted: the window's run of its queue and kww's
// run of its items count them alike and say them in the same words.
struct StatusTally {
    int done = 0;
    int failed = 0;
    int aborted = 0;

    // A task's end; any other status is not an end and is not counted.
    void count(EraseStatus status) noexcept;
    [[nodiscard]] int tasks() const noexcept { return done + failed + aborted; }
    // "5 done, 1 failed, 0 aborted".
    [[nodiscard]] std::wstring text() const;
};
