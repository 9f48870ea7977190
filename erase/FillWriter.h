#pragma once

#include "erase/OverwriteBuffer.h"

#include <windows.h>

#include <cstdint>

// What one write of fill bytes did: the bytes that reached the file and, when it fell short, the
// error (0 when WriteFile answered TRUE with fewer bytes, as it can on a disk that fills up).
struct FillWrite {
    std::uint32_t written = 0;
    DWORD error = 0;

    [[nodiscard]] bool complete(std::uint32_t asked) const noexcept { return written == asked; }
};

// Writes count bytes of the task's fill (at most kWriteChunkSize) at the file's position. Every
// byte an erase puts on the disk, over a file or into free space, goes through here.
[[nodiscard]] FillWrite writeFill(HANDLE file, const OverwriteBuffer& fill, std::uint32_t count) noexcept;
