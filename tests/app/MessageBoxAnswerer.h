#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

namespace KestrelTest {

// Answers the message boxes that this thread opens while the object lives, as a user would: a
// hook sees each box finish its set-up, notes its caption and text, and posts the next queued
// answer (IDYES, IDNO, IDOK) to it. A box beyond the queued answers is still noted and answered
// No (or OK), so that an unexpected box fails the test instead of hanging it.
class MessageBoxAnswerer {
public:
    explicit MessageBoxAnswerer(std::vector<int> answers = {});
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    struct Box {
        std::wstring caption;
        std::wstring text;
        bool hasYesNo = false; // Yes and No buttons, and no OK button
    };
    [[nodiscard]] const std::vector<Box>& boxes() const noexcept { return boxes_; }
    void queue(int answer) { answers_.push_back(answer); }

private:
    static LRESULT CALLBACK hookProcedure(int code, WPARAM wParam, LPARAM lParam) noexcept;
    void answer(HWND box);

    std::deque<int> answers_;
    std::vector<Box> boxes_;
    HHOOK hook_ = nullptr;
};

} // namespace KestrelTest
