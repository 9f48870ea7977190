#pragma once

#include "erase/WipeableDrive.h"
#include "foundation/UniqueHandle.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

// Every drive letter asked whether its free space can be wiped, each on a thread of its own: a USB
// disk that spins up, or a drive whose device has gone, keeps its asker waiting for seconds, and
// the window must go on answering meanwhile. Each answer is posted to a window; nothing waits for
// one. The survey owns its askers and lives as long as the window does: a drive still silent from
// an earlier round is not asked again (its asker's answer counts for the new round), so a drive
// that never answers holds one thread, not one for each time the menu opens.
class DriveSurvey {
public:
    struct Answer {
        std::wstring root;
        bool answered = false;              // so far
        std::optional<WipeableDrive> drive; // when it answered as a wipeable drive
    };

    // Each answer is posted to the window as the message (with no parameters).
    DriveSurvey(HWND notify, UINT message) noexcept;
    // Waits a moment for askers still out; a drive that keeps one longer is left to it, and the
    // thread ends with its answer or with the process.
    ~DriveSurvey();
    DriveSurvey(const DriveSurvey&) = delete;
    DriveSurvey& operator=(const DriveSurvey&) = delete;

    // A new round: every drive letter there is now.
    void ask();
    // The round's answers so far, by letter.
    [[nodiscard]] std::vector<Answer> answers() const;
    [[nodiscard]] bool allAnswered() const;

private:
    struct Slot;
    struct Asker {
        std::shared_ptr<Slot> slot;
        Kestrel::UniqueHandle thread;
    };

    [[nodiscard]] Asker startAsking(const std::wstring& root) const;
    // Its thread has not ended: a drive still silent (one whose asker ended without an answer,
    // out of memory, is asked again).
    [[nodiscard]] static bool stillAsking(const Asker& asker) noexcept;
    // Takes over the thread's share of its slot (a heap-held shared_ptr) and answers it.
    static DWORD WINAPI askProc(LPVOID share) noexcept;

    HWND notify_;
    UINT message_;
    std::vector<Asker> askers_;  // this round's, in the order of the letters
    std::vector<Asker> earlier_; // of earlier rounds, still out
};
