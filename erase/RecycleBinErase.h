#pragma once

#include "erase/EraseTask.h"
#include "erase/WorkerBoundary.h"

// The routine of a Recycle Bin task: finds the current user's bin on every fixed drive anew and
// erases each deleted item as a file or folder task erases it, then its record; an item that
// could not be erased keeps its record, so that the bin still lists what is left. The bin folder,
// its desktop.ini and other users' folders stay as they are. Explorer is told afterwards, so that
// the bin shows what it holds now.
[[nodiscard]] WorkerOutcome eraseRecycleBin(EraseTask& task);
