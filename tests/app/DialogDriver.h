#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace KestrelTest {

// Acts on a modal dialog of the constructing thread from a second thread, as a user would: waits
// (at most the bound) for a visible dialog (#32770) of that thread with the caption, then runs the
// action on it once. The constructing thread meanwhile runs the modal loop that shows the dialog.
// Actions that end the dialog post their command: a sent one would wait for the end of the run.
// Given another window class, it waits for such a window instead (a popup menu's, #32768, has an
// empty caption).
class DialogDriver {
public:
    DialogDriver(std::wstring caption, std::function<void(HWND)> action, DWORD boundMilliseconds = 10000,
                 std::wstring windowClass = L"#32770");
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Waits for the action to finish; whether it ran.
    [[nodiscard]] bool finish();
    // Whether the action has run, without waiting.
    [[nodiscard]] bool acted() const noexcept { return acted_; }

private:
    void drive(DWORD boundMilliseconds);

    DWORD threadId_;
    std::wstring caption_;
    std::wstring windowClass_;
    std::function<void(HWND)> action_;
    HANDLE stop_;
    std::atomic<bool> acted_{false};
    std::thread thread_;
};

// The text of a message box.
[[nodiscard]] std::wstring messageBoxText(HWND box);
// Clicks a button of a dialog the way the button itself reports it (posted).
void pressButton(HWND dialog, int id);

} // namespace KestrelTest
