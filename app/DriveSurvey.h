#pragma once

#include "erase/WipeableDrive.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

// Every drive letter asked whether its free space can be wiped, each on a thread of its own: a USB
// disk that spins up, or a drive whose device has gone, keeps its asker waiting for seconds, and
// the window must go on answering meanwhile.
class DriveSurvey {
public:
    struct Answer {
        std::wstring root;
        bool answered = false;               // in time
        std::optional<WipeableDrive> drive;  // when it answered as a wipeable drive
    };

    // Starts asking every drive letter.
    DriveSurvey();
    // The answers, by letter, of the drives that answered within the bound from the start; a drive
    // still silent then is left to its thread, which ends on its own when the drive answers.
    [[nodiscard]] std::vector<Answer> answersWithin(DWORD boundMilliseconds) const;

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    DWORD start_;
};
