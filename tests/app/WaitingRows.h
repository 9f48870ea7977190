#pragma once

#include "tests/app/MainDialogAccess.h"
#include "app/WipewellMainDlg.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace KestrelTest {

using Row = std::pair<ItemKind, std::wstring>;

// The dialog's rows as kind and path; each must be Waiting and report to the dialog.
inline std::vector<Row> waitingRows(WipewellMainDlg& dialog)
{
    std::vector<Row> rows;
    EraseTask task;
    for (int row = 0; MainDialogAccess::taskList(dialog).copyTask(row, task); ++row) {
        EXPECT_EQ(task.status(), EraseStatus::Waiting);
        EXPECT_EQ(task.ownerWindow(), dialog.handle());
        rows.emplace_back(task.kind(), task.path());
    }
    return rows;
}

} // namespace KestrelTest
