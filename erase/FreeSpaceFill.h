#pragma once

#include "erase/EraseTask.h"
#include "erase/FillFolder.h"
#include "erase/OverwriteBuffer.h"
#include "erase/ProgressMeter.h"
#include "foundation/UniqueHandle.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct DriveSpace {
    std::uint64_t available = 0; // what this user may fill
    std::uint64_t free = 0;      // all that is free, the blocks kept for the owner included
};

// The drive's free space now; nothing when it cannot be read.
[[nodiscard]] std::optional<DriveSpace> spaceOf(const std::wstring& root);

// The fill of one drive: where small files live in the file table, a large file up to a reserve,
// then small files into the table's freed records; then a large file for the rest; then everything
// given back, the large files first. Nothing is logged between the first write and the last
// release: a drive that holds the log would lose the line.
class FreeSpaceFill {
public:
    FreeSpaceFill(EraseTask& task, FillFolder& folder, const std::wstring& root, std::uint64_t available,
                  bool withSmallFiles);

    enum class Outcome { Filled, Stopped, Failed };

    Outcome run();
    // Gives every byte back: the large files first, since on a full NTFS drive the small files'
    // deletion failed while the large one still held the space. Deletion on close is not relied
    // upon: what is still there afterwards is deleted by name. True when nothing is left.
    [[nodiscard]] bool release();
    // The line of what went wrong while the drive was full, once it has room again.
    void reportFailure() const;

    [[nodiscard]] std::uint64_t bytesWritten() const noexcept { return written_; }
    [[nodiscard]] std::size_t recordsFilled() const noexcept { return recordsFilled_; }
    [[nodiscard]] std::uint64_t unreached() const noexcept { return unreached_; }

private:
    struct LargeFile {
        std::wstring name;
        Kestrel::UniqueFileHandle handle;
    };
    struct Failure {
        DWORD error;
        std::wstring path;
    };
    enum class FillEnd { Reached, Full, Stopped, Failed };
    struct Fill {
        FillEnd end;
        DWORD error = 0;
    };

    Outcome fail(DWORD error, const std::wstring& name);
    // The first large file stops a reserve short of full (and goes on while others free space
    // meanwhile); the last one fills what is left.
    Outcome fillLarge(unsigned numberOfFile, bool keepReserve);
    // Writes up to limit bytes; a refused write is tried again with half the chunk, down to the
    // smallest write, so that not even the last clusters keep their old bytes.
    Fill fillFile(HANDLE file, std::uint64_t limit);
    // Small files until the drive takes no more; each is flushed at once, since ext4 never writes
    // the blocks of a small file that is deleted before its pages are flushed.
    Outcome fillSmall();

    EraseTask& task_;
    FillFolder& folder_;
    const std::wstring root_;
    const std::uint32_t smallestWrite_;
    const bool withSmallFiles_;
    const std::uint64_t reserve_;
    const OverwriteBuffer fill_;
    ProgressMeter meter_;
    std::vector<LargeFile> largeFiles_;
    std::vector<Kestrel::UniqueFileHandle> smallFiles_;
    std::size_t recordsFilled_ = 0;
    std::optional<Failure> failure_;
    std::uint64_t written_ = 0;
    std::uint64_t unreached_ = 0;
};
