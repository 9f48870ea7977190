#pragma once

#include "erase/FolderIdentity.h"

#include <windows.h>

class EraseTask;

// Named as Microsoft names them; MinGW-w64's headers do not have them.
#ifndef FILE_ATTRIBUTE_RECALL_ON_OPEN
#define FILE_ATTRIBUTE_RECALL_ON_OPEN 0x00040000
#endif
#ifndef FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS
#define FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS 0x00400000
#endif

// Whether a file's data is kept elsewhere and fetched when it is read or written: a sync client's
// online-only file, whose placeholder on this disk holds none of it, or a file moved to remote
// storage. Such a file is never opened for its data, which would download it only to overwrite
// the download: it is renamed and deleted. Microsoft documents RECALL_ON_OPEN (even an open
// fetches the item) for directory listings; a handle that shows it is believed too.
[[nodiscard]] constexpr bool isOnlineOnly(DWORD attributes) noexcept
{
    return (attributes & (FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS |
                          FILE_ATTRIBUTE_RECALL_ON_OPEN)) != 0;
}

// What of an erased file may stay beyond this disk's copy, in the words of the task's warning.
inline constexpr const wchar_t* kCloudCopiesWarning =
    L"The cloud service keeps earlier versions of synced files online and moves deleted ones to its online recycle "
    L"bin (OneDrive keeps them 30 days, 93 for work or school accounts): delete them there too.";
inline constexpr const wchar_t* kDownloadedPartsWarning =
    L"Parts of a cloud file that had been downloaded were deleted without an overwrite, which would have downloaded "
    L"the rest: they stay in the drive's free space until a wipe of that free space.";
inline constexpr const wchar_t* kOldClustersWarning =
    L"The file system may have kept old data of compressed files elsewhere on the drive: a wipe of that drive's free "
    L"space reaches it.";
inline constexpr const wchar_t* kChunkStoreWarning =
    L"The data of deduplicated files stays in the drive's deduplication chunk store, shared with files that hold the "
    L"same data, where no wipe of the free space reaches it: Windows removes chunks that no file uses when its "
    L"garbage collection runs (Start-DedupJob -Type GarbageCollection), and only a wipe of the free space after that "
    L"reaches where they were.";

// Adds to the task's warning what stays elsewhere of a file it has erased, by the facts its
// handle showed: a synced file's copies at its cloud service, the downloaded parts of a file
// deleted without an overwrite, the clusters NTFS compression or system compression may have left
// behind, and a deduplicated file's chunks.
void noteWhatStaysElsewhere(EraseTask& task, const ItemFacts& facts);
