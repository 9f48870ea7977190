#pragma once

#include <windows.h>

namespace KestrelTest {

// Handles this thread's messages until the condition holds or the bound has passed; answers the
// condition. Waits on the queue in between, never sleeps blindly.
template <typename Condition>
bool pumpUntil(Condition condition, DWORD boundMilliseconds = 5000)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (!condition() && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (condition())
            return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= boundMilliseconds)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, boundMilliseconds - elapsed, QS_ALLINPUT);
    }
}

} // namespace KestrelTest
