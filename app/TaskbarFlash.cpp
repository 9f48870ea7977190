#include "app/TaskbarFlash.h"

#include <atomic>

namespace {

std::atomic<TaskbarFlashHook> taskbarFlashHook{nullptr};

// A minimised or hidden window may stay the foreground window (Wine keeps it so), yet the user
// sees none of it.
bool inFront(HWND window) noexcept
{
    const HWND front = GetForegroundWindow();
    return IsWindowVisible(window) && !IsIconic(window) && front && GetAncestor(front, GA_ROOTOWNER) == window;
}

} // namespace

void flashUnlessInFront(HWND window) noexcept
{
    if (!IsWindow(window) || inFront(window))
        return;
    // Until the window is in front again, however long the user stays away.
    FLASHWINFO flash{sizeof flash, window, FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
    if (const TaskbarFlashHook hook = taskbarFlashHook.load())
        hook(flash);
    else
        FlashWindowEx(&flash);
}

void setTaskbarFlashHook(TaskbarFlashHook hook) noexcept
{
    taskbarFlashHook.store(hook);
}
