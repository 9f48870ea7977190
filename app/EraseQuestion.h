#pragma once

#include "erase/EraseTask.h"

#include <string>
#include <vector>

// What Erase! asks: its question, then below it what goes, so that a Yes given without reading
// the list still knows: the files and folders counted ("6 items: 5 files, 1 folder"), the drives
// whose free space is wiped, and the Recycle Bin as its row tells what it holds.
[[nodiscard]] std::wstring eraseQuestion(const std::vector<EraseTask>& waiting);
