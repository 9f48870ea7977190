#pragma once

#include <windows.h>

// The task list's menu for the selected rows (right click, Shift+F10, the menu key): what may be
// done with them, each item greyed where it would do nothing.
enum class TaskRowCommand : UINT { None = 0, CopyReason, OpenLog, Retry, Remove, ClearFinished };

struct TaskRowOffer {
    bool reason = false;        // the focus row says why it failed or what it warns of
    bool retry = false;         // a selected row failed or was stopped
    bool remove = false;        // a selected row is not in progress
    bool clearFinished = false; // a row has ended
};

// Shows the menu with its top-left corner at the point (screen coordinates) and answers what was
// chosen, None when nothing was.
[[nodiscard]] TaskRowCommand chooseTaskRowCommand(HWND owner, POINT screen, const TaskRowOffer& offer);
