#pragma once

#include "erase/EraseTask.h"
#include "erase/TaskItem.h"
#include "erase/WorkerBoundary.h"

// The routine of a folder task: lists the tree, then erases it deepest item first, every file as
// the file routine does and every emptied folder by moving and removing it, the task folder last
// (a drive root is emptied but kept).
[[nodiscard]] WorkerOutcome eraseFolder(EraseTask& task, const TaskItem& item);
