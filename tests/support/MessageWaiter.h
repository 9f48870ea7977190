#pragma once

#include <windows.h>

#include <optional>

namespace KestrelTest {

// A message-only window of the calling thread that records one window message (a registered one,
// typically), so a test can hand its handle to code that posts and then wait for the post.
class MessageWaiter {
public:
    explicit MessageWaiter(UINT message);
    ~MessageWaiter();
    MessageWaiter(const MessageWaiter&) = delete;
    MessageWaiter& operator=(const MessageWaiter&) = delete;

    [[nodiscard]] HWND window() const noexcept { return window_; }
    // Dispatches this thread's messages until the next not yet collected arrival of the message
    // or until the bound has passed; the wParam it carried, or nothing.
    [[nodiscard]] std::optional<WPARAM> waitFor(DWORD timeoutMilliseconds);
    // How many times the message has arrived so far.
    [[nodiscard]] int arrivals() const noexcept { return arrivals_; }

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    UINT message_;
    HWND window_ = nullptr;
    int arrivals_ = 0;
    int collected_ = 0;
    WPARAM lastWParam_ = 0;
};

} // namespace KestrelTest
