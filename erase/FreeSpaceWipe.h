#pragma once

#include "erase/EraseTask.h"
#include "erase/WorkerBoundary.h"

// The routine of a free-space task: fills the free space of the drive whose root is the task's
// path with the fill bytes, then gives every byte back, so that what was deleted the ordinary way
// cannot be read back. It never changes a file that exists.
[[nodiscard]] WorkerOutcome wipeFreeSpace(EraseTask& task);
