#include "erase/DataElsewhere.h"

#include "erase/EraseTask.h"
#include "erase/LinkGuard.h"

void noteWhatStaysElsewhere(EraseTask& task, const ItemFacts& facts)
{
    const DWORD tag = (facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? facts.reparseTag : 0;
    if (isOnlineOnly(facts.attributes) || isCloudTag(tag))
        task.addWarning(kCloudCopiesWarning);
    if (isOnlineOnly(facts.attributes) && facts.partlyHere)
        task.addWarning(kDownloadedPartsWarning);
    // A write to a compressed file lands where NTFS puts the new compressed units; a write to a
    // system-compressed file makes it an ordinary file in new clusters.
    if ((facts.attributes & FILE_ATTRIBUTE_COMPRESSED) != 0 || tag == IO_REPARSE_TAG_WOF)
        task.addWarning(kOldClustersWarning);
    // A deduplicated file is a reference to chunks in the volume's store; a write to it makes it
    // an ordinary file, and the chunks stay where they were.
    if (tag == IO_REPARSE_TAG_DEDUP)
        task.addWarning(kChunkStoreWarning);
}
