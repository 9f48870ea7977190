#pragma once

#include <windows.h>

// Draws the user's eye to a top-level window that is not in front (another program's window is,
// or it is minimised): its taskbar button flashes until the window comes to the foreground. A
// window that is in front itself, or through a box or window it owns, is left as it is.
void flashUnlessInFront(HWND window) noexcept;

// Wine has no taskbar, and FlashWindowEx there changes nothing a test can see. A test may take
// the call in its place; whether to flash, and how, is the program's own. None is set in the
// programs.
using TaskbarFlashHook = void (*)(const FLASHWINFO& flash);
void setTaskbarFlashHook(TaskbarFlashHook hook) noexcept;
