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
inline constexpr const wchar_t* kOldClustersWarning =
    L"The file system may have kept old data of compressed or deduplicated files elsewhere on the drive: a wipe of "
    L"that drive's free space reaches it.";

// Adds to the task's warning what stays elsewhere of a file it has erased, by the facts its
// handle showed: a synced file's copies at its cloud service, and the clusters NTFS compression,
// system compression or deduplication may have left behind.
void noteWhatStaysElsewhere(EraseTask& task, const ItemFacts& facts);
