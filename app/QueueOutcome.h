#pragma once

#include "erase/EraseStatus.h"

#include <string>

// How one run of the queue went: the tasks that ended Done, Failed and Aborted from the start the
// user asked for until no Waiting row was left to start (or a worker could not start).
struct QueueOutcome {
    int done = 0;
    int failed = 0;
    int aborted = 0;

    // A task's end; any other status is not an end and is not counted.
    void count(EraseStatus status) noexcept;
    [[nodiscard]] int tasks() const noexcept { return done + failed + aborted; }
};

// "Last run: 5 done, 1 failed, 0 aborted": the list's words for the statuses, in the order and
// form of kww's closing line.
[[nodiscard]] std::wstring queueOutcomeText(const QueueOutcome& outcome);
