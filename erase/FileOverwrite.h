#pragma once

#include "erase/OverwriteBuffer.h"
#include "erase/ProgressMeter.h"
#include "foundation/FileSpec.h"

#include <cstdint>

class EraseTask;

enum class OverwriteResult {
    Complete, // every byte written and flushed to the disk
    Stopped,  // a stop request cut the overwrite short
    Failed,   // a write or the flush failed
};

// Writes the buffer over the first size bytes of the open file, chunk by chunk, and flushes it;
// the handle stays open for the steps after. The progress moves after every chunk; the stop request is read once per chunk, after
// it, so a stop still lets the chunk under way finish. A failed or short write, or a failed flush,
// logs "Failed to write to: %s. ".
[[nodiscard]] OverwriteResult overwriteFile(Kestrel::FileSpec& file, std::uint64_t size,
                                            const OverwriteBuffer& buffer, const EraseTask& task,
                                            ProgressMeter& meter);
