#pragma once

#include "app/HandedPaths.h"
#include "app/SingleInstance.h"

#include <windows.h>

// How long a later start of the program waits for the running one.
struct HandOverWaits {
    // For a main window that takes the items at all. Explorer starts one copy of the program per
    // selected item, all at once: the copy that took the instance mutex may not have made its
    // window yet when the others look for it, so they look again for this long.
    DWORD forTheWindow;
    // For the answer to one offer: the running instance checks each path on the disk before it
    // answers. A hung one is given up on sooner (SMTO_ABORTIFHUNG).
    UINT forAnAnswer;
};
inline constexpr HandOverWaits kHandOverWaits{5000, 10000}; // milliseconds

// A later start, made while another instance holds the mutex: the running instance's window gets
// this start's paths or drives, and comes to the front. The running instance may end between the
// mutex test and the hand-over, and then no window takes them: this start takes its place instead
// (true), holding the mutex now, so that they go to a window of its own. Items that no window
// took within the waits (it refused them, did not answer, or Windows kept them from it) are named
// in a box and, each on a line of its own, in the log before this start ends (false).
[[nodiscard]] bool tookThePlaceOfTheRunningInstance(SingleInstance& instance, const HandedItems& items,
                                                    const HandOverWaits& waits);
