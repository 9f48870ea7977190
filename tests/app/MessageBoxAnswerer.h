#pragma once

#include <windows.h>

#include <deque>
#include <functional>
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
        int defaultButton = 0; // what Enter presses in it
        HWND owner = nullptr;
    };
    [[nodiscard]] const std::vector<Box>& boxes() const noexcept { return boxes_; }
    void queue(int answer) { answers_.push_back(answer); }
    // Runs inside each box's set-up, before the answer is posted: a test that needs something to
    // happen while a box is open waits for it here.
    void beforeEachAnswer(std::function<void()> action) { beforeAnswer_ = std::move(action); }

private:
    static LRESULT CALLBACK hookProcedure(int code, WPARAM wParam, LPARAM lParam) noexcept;
    void answer(HWND box);

    std::deque<int> answers_;
    std::vector<Box> boxes_;
    std::function<void()> beforeAnswer_;
    HHOOK hook_ = nullptr;
};

} // namespace KestrelTest
