#pragma once

#include <windows.h>

namespace KestrelTest {

// Each message goes to the filter first; true means the filter handled it (a dialog's keys) and
// it is not dispatched. The filter may also only look (count timer ticks, keep a quit code).
inline bool dispatchEverything(MSG&) noexcept
{
    return false;
}

// Handles this thread's queued messages; answers how many there were.
template <typename Filter = decltype(&dispatchEverything)>
int drainMessages(Filter filter = &dispatchEverything)
{
    int handled = 0;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ++handled;
        if (!filter(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return handled;
}

// Handles this thread's messages until the condition holds or the bound has passed; answers the
// condition. Waits on the queue in between, never sleeps blindly, and looks again at least every
// 20 ms for what changes without a message to this thread: another process's windows, a
// worker's files.
template <typename Condition, typename Filter = decltype(&dispatchEverything)>
bool pumpUntil(Condition condition, DWORD boundMilliseconds = 5000, Filter filter = &dispatchEverything)
{
    constexpr DWORD kLookAgainMilliseconds = 20;
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (!condition() && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!filter(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        if (condition())
            return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= boundMilliseconds)
            return false;
        const DWORD remaining = boundMilliseconds - elapsed;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, remaining < kLookAgainMilliseconds ? remaining : kLookAgainMilliseconds,
                                  QS_ALLINPUT);
    }
}

} // namespace KestrelTest
