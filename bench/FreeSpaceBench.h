#pragma once

#include <string>

// erase_bench freespace <root>: wipes the free space of the drive ("M:\") through EraseTask, as
// the main dialog does, and prints one line of key=value pairs: the bytes the wipe wrote and the
// seconds from the task's start to its finished message, split into the first large fill (with its
// flush), the small files (each flushed; with the last fill, which takes what they left) and the
// clean-up after the last write. Answers the process's exit code.
[[nodiscard]] int benchFreeSpace(const std::wstring& root);
