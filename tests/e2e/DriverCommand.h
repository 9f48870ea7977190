#pragma once

#include "tests/support/MessagePump.h"

#include "foundation/UniqueHandle.h"

#include <windows.h>

#include <span>
#include <string>
#include <vector>

// The end-to-end driver: a second process that works the program's windows as a user would. It
// runs a sequence of steps given on its command line, separated by "--":
//
//     kww_e2e_driver start KestrelWipewell.exe -- wait-window "Kestrel Wipewell" -- ...
//
// and ends with 0 when every step passed, or 1 at the first step that failed (which says why on
// standard error). Each step is one DriverCommand; new ones are added to the table in Driver.cpp.
namespace E2E {

// What the steps of one run share.
struct DriverState {
    Kestrel::UniqueHandle program; // the process of the last "start"
    HWND ownWindow = nullptr;      // the driver's own window, once "take-front" made it
    DWORD boundMilliseconds = 15000;
    std::vector<Kestrel::UniqueFileHandle> heldFiles; // open without sharing until the driver ends
};

using Arguments = std::span<const std::wstring>;

struct DriverCommand {
    const wchar_t* name;
    std::size_t argumentCount;
    const wchar_t* usage;
    // True when the step passed; a failing step writes its reason to standard error.
    bool (*run)(DriverState& state, Arguments arguments);
};

// Reports a failed step; answers false so that a command can end with `return fail(...)`.
bool fail(const wchar_t* format, ...);

// Handles this thread's messages until the condition holds or the bound has passed.
template <typename Condition>
bool waitUntil(DWORD boundMilliseconds, Condition condition)
{
    return KestrelTest::pumpUntil(condition, boundMilliseconds);
}

// The visible top-level window with exactly this caption, or null.
[[nodiscard]] HWND findVisibleWindow(const std::wstring& caption);

} // namespace E2E
