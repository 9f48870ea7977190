#pragma once

#include "erase/EraseTask.h"
#include "erase/TaskItem.h"
#include "erase/WorkerBoundary.h"

// The routine of a file task: overwrites the whole file once, flushes it, empties it, moves it to
// a meaningless name and deletes it, all through one handle that is proven to hold the chosen
// file (not a link's target) and a file with no other name.
[[nodiscard]] WorkerOutcome eraseFile(EraseTask& task, const TaskItem& item);
