#pragma once

#include "erase/AllocatedRanges.h"
#include "erase/OverwriteBuffer.h"
#include "erase/ProgressMeter.h"

#include <windows.h>

#include <string>

class EraseTask;

enum class OverwriteResult {
    Complete, // every byte written and flushed to the disk
    Stopped,  // a stop request cut the overwrite short
    Failed,   // a write or the flush failed
};

// Writes the buffer over the given ranges of the open file (an item's main stream or one of its
// named streams), chunk by chunk, and flushes it; the handle stays open for the steps after. The
// progress moves after every chunk; the stop request is read once per chunk, after it, so a stop
// still lets the chunk under way finish. A failed or short write, or a failed flush, logs
// "Failed to write to: %s. " with the path. What was written is then read back as the task's
// verify mode asks (see readBack), and the task notes how much; other bytes fail the overwrite.
[[nodiscard]] OverwriteResult overwriteFile(HANDLE file, const std::wstring& path, const ByteRanges& ranges,
                                            const OverwriteBuffer& buffer, EraseTask& task,
                                            ProgressMeter& meter);
