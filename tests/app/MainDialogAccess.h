#pragma once

#include "app/WipewellMainDlg.h"

// What the tests and benchmarks reach in the main dialog beyond its window and its adding
// operations: the task list, the tip window and the scheduler's running task. The dialog names
// this class its friend, so that none of it is part of what the program itself may call.
class MainDialogAccess {
public:
    [[nodiscard]] static ErasingTasksListCtrl& taskList(WipewellMainDlg& dialog) noexcept { return dialog.taskList_; }
    [[nodiscard]] static HWND tooltip(const WipewellMainDlg& dialog) noexcept { return dialog.tooltip_.handle(); }
    // The running task (or the one whose start failed); null when there is none.
    [[nodiscard]] static const EraseTask* currentTask(const WipewellMainDlg& dialog) noexcept
    {
        return dialog.scheduler_.currentTask();
    }
    // Starts the first Waiting row unless a task runs; true when a worker was started.
    static bool startNextTask(WipewellMainDlg& dialog) { return dialog.scheduler_.startNextTask(); }
    // Asks the running task to stop; false when none runs.
    static bool stopCurrentTask(WipewellMainDlg& dialog) { return dialog.scheduler_.stopCurrentTask(); }
};
