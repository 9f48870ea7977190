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

// Named as Microsoft names them; MinGW-w64's headers do not have them.
#ifndef ERROR_FILE_SYSTEM_LIMITATION
#define ERROR_FILE_SYSTEM_LIMITATION 665L
#endif
#ifndef ERROR_DISK_QUOTA_EXCEEDED
#define ERROR_DISK_QUOTA_EXCEEDED 1295L
#endif

struct DriveSpace {
    std::uint64_t available = 0; // what this user may fill
    std::uint64_t free = 0;      // all that is free, the blocks kept for the owner included
};

// The drive's sector and cluster, as far as they are known.
struct DriveGeometry {
    std::uint32_t bytesPerSector;
    std::uint64_t cluster;
};

// The drive's free space now; nothing when it cannot be read.
[[nodiscard]] std::optional<DriveSpace> spaceOf(const std::wstring& root);

// Wine answers a drive's free space with what this user may fill: the blocks a drive keeps from
// the user (ext4's reserve for its owner, as a quota on Windows) never show. Tests that need them
// seen answer here instead of the system; nullptr gives the system's answer back.
using DriveSpaceQuery = std::optional<DriveSpace> (*)(const std::wstring& root);
void queryDriveSpaceForTests(DriveSpaceQuery query) noexcept;

// A file system whose files cannot pass a size refuses the write past it as if the drive were full
// (FAT32: 4 GiB - 1). No drive under Wine has such a limit: tests set one here, and every write of
// a large fill file past `largest` bytes is refused with `error`. None by default.
struct FillFileLimit {
    std::uint64_t largest;
    DWORD error;
};
void limitFillFilesForTests(std::optional<FillFileLimit> limit) noexcept;

// What a fill did, once everything was given back: all that the wipe reports and decides from.
struct FillResult {
    enum class End { Filled, Stopped, Failed };
    struct Failure {
        DWORD error;
        std::wstring path;
    };

    End end = End::Filled;
    std::optional<Failure> failure; // the first error that ended it, and the fill file it met
    std::uint64_t bytesWritten = 0;
    std::size_t recordsFilled = 0;
    DriveSpace left;                // what the drive still reported free when the fill ended
    std::uint64_t unreached = 0;    // of that, beyond a few clusters: free space not overwritten
    bool keptFromUser = false;      // most of it was kept from this user (a quota, a reserve)
    bool released = false;          // no fill file is left
};

// The fill of one drive: where small files live in the file table, large files up to a reserve,
// then small files into the table's freed records (with room given back from the large files while
// they still take records); then large files for the rest; then everything given back, the large
// files first. Nothing is logged between the first write and the last release: a drive that holds
// the log would lose the line.
class FreeSpaceFill {
public:
    FreeSpaceFill(EraseTask& task, FillFolder& folder, const std::wstring& root, std::uint64_t available,
                  bool withSmallFiles);

    [[nodiscard]] FillResult fillAndRelease();

private:
    struct LargeFile {
        std::wstring name;
        Kestrel::UniqueFileHandle handle;
        std::uint64_t size = 0;
        // From the start, the bytes whose pattern runs unbroken: a write after a short one starts
        // the pattern over in the middle of a block.
        std::uint64_t patterned = 0;
    };
    using Outcome = FillResult::End;
    enum class FillEnd { Reached, Full, Stopped, Failed };
    struct Fill {
        FillEnd end;
        DWORD error = 0;
    };

    Outcome run();
    // Reads back a sample of each large file as the task's verify mode says, before they go;
    // logs nothing. Failed, with the file, when one reads back other bytes.
    Outcome readBackLargeFiles();
    // Gives every byte back: the large files first, since on a full NTFS drive the small files'
    // deletion failed while the large one still held the space. Deletion on close is not relied
    // upon: what is still there afterwards is deleted by name. True when nothing is left.
    [[nodiscard]] bool release();
    Outcome fail(DWORD error, const std::wstring& name);
    // Large files until no more than `leave` bytes are free (the first ones stop a reserve short of
    // full, and go on while others free space meanwhile). A file the drive refuses while it still
    // reports room is followed by the next: a FAT32 file cannot pass 4 GiB.
    Outcome fillLarge(std::uint64_t leave);
    Fill fillUpTo(LargeFile& file, std::uint64_t leave);
    // A new, empty large file, the next to be filled; none, and still Filled, when the drive is
    // too full to make one.
    Outcome makeLargeFile();
    // Writes up to limit bytes; a refused write is tried again with half the chunk, down to the
    // smallest write, so that not even the last clusters keep their old bytes.
    Fill fillFile(LargeFile& file, std::uint64_t limit);
    // Small files until the drive takes no more; each is flushed at once, since ext4 never writes
    // the blocks of a small file that is deleted before its pages are flushed.
    Outcome fillSmall();
    // True when the small files made since `before` took over freed records of the file table
    // rather than clusters: each cost the drive less than half a record (its name in the folder).
    [[nodiscard]] bool tookRecords(std::size_t made, const DriveSpace& before) const;
    // Shortens a large file by a few MiB, so that the folder's index can grow for more small files;
    // false when none has that much left.
    [[nodiscard]] bool giveBackRoom();

    EraseTask& task_;
    FillFolder& folder_;
    const std::wstring root_;
    const DriveGeometry geometry_;
    const std::uint32_t smallestWrite_;
    const std::uint64_t tolerance_;
    const bool withSmallFiles_;
    const std::uint32_t recordBytes_;
    const OverwriteBuffer fill_;
    ProgressMeter meter_;
    std::vector<LargeFile> largeFiles_;
    bool spareMade_ = false; // the last large file is made and not yet filled
    std::vector<Kestrel::UniqueFileHandle> smallFiles_;
    std::size_t recordsFilled_ = 0;
    std::optional<FillResult::Failure> failure_;
    std::uint64_t written_ = 0;
    DriveSpace left_;
};
