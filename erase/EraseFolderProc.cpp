#include "erase/EraseFolderProc.h"

#include "erase/DataElsewhere.h"
#include "erase/DiskKeeps.h"
#include "erase/Disposal.h"
#include "erase/FileOverwrite.h"
#include "erase/FolderListing.h"
#include "erase/LinkGuard.h"
#include "erase/NamedStreams.h"
#include "erase/OpenFailure.h"
#include "erase/VerifiedOpen.h"
#include "foundation/FileSpec.h"
#include "foundation/Logger.h"

#include <map>
#include <optional>
#include <vector>

namespace {

using Kestrel::Logger;
using Kestrel::LogLevel;

// What the walk shares between items.
struct Walk {
    EraseTask& task;
    const FolderListing& listing;
    const OverwriteBuffer& buffer;
    ProgressMeter& meter;
    // Folders whose read-only attribute the walk has dealt with.
    std::vector<bool> prepared;
    // Folders the walk removes after their content, so that their emptiness check shows whether
    // that content went (every folder but the holder of the task's folder, or a drive root).
    std::vector<bool> removedLater;
    // How many listed names each file has, by identity; read at the first file with two names.
    std::optional<std::map<FolderIdentity, DWORD>> namesListed;
};

// The content of a read-only folder cannot be removed under Wine (the attribute is the folder's
// write permission), so the attribute goes before the first item inside is touched, through a
// handle on the folder that was listed.
void prepareFolder(std::size_t index, Walk& walk)
{
    const ListedFolder& folder = walk.listing.folders[index];
    if (walk.prepared[index] || !folder.chosen || (folder.attributes & FILE_ATTRIBUTE_READONLY) == 0)
        return;
    walk.prepared[index] = true;
    Kestrel::FileSpec handle(folder.path);
    if (!handle.openForAttributes())
        return;
    const auto facts = itemFactsOf(handle.handle());
    if (facts && facts->identity == folder.identity)
        static_cast<void>(handle.clearReadOnly(facts->attributes));
}

// A file with more than one name may go only when every name lies inside the task's folder.
bool allNamesListed(const ItemFacts& file, Walk& walk)
{
    if (!walk.namesListed) {
        walk.namesListed.emplace();
        for (const ListedItem& item : walk.listing.items) {
            if (item.isFolder())
                continue;
            const auto facts = itemFactsOf(item.path);
            if (facts && placeOf(*facts, walk.listing.folders[item.parent], item.name()) == Place::Listed)
                ++(*walk.namesListed)[facts->identity];
        }
    }
    const auto found = walk.namesListed->find(file.identity);
    return found != walk.namesListed->end() && found->second >= file.links;
}

RemovalCheck removalCheckIn(std::size_t holder, const Walk& walk)
{
    return walk.removedLater[holder] ? RemovalCheck::Later : RemovalCheck::Now;
}

// A file that went leaves the task the words for what stays elsewhere.
bool disposed(const ListedItem& item, bool gone, const ItemFacts& facts, Walk& walk)
{
    if (gone)
        noteWhatStaysElsewhere(walk.task, facts);
    Logger::instance().log(LogLevel::Info, L"Erase file: %s. ", item.display.c_str());
    return gone;
}

// A file is kept only when its own open, write or flush failed, or a stop cut its overwrite
// short; whatever happened to other files, every other file is emptied, moved and deleted.
bool eraseFileItem(const ListedItem& item, Walk& walk)
{
    const ListedFolder& holder = walk.listing.folders[item.parent];
    Kestrel::FileSpec file(item.path);
    ItemFacts facts;
    switch (openListedFile(file, holder, item.name(), item.attributes, facts)) {
    case OpenOutcome::Failed:
        reportOpenFailure(item.display, GetLastError());
        return false;
    case OpenOutcome::Link:
        reportSkippedLink(item.display, facts.attributes, facts.reparseTag);
        return false;
    case OpenOutcome::Opened:
        break;
    }
    if (facts.links > 1) {
        if (const auto identity = identityOf(file.handle()))
            facts.identity = *identity;
    }
    if (facts.links > 1 && !allNamesListed(facts, walk)) {
        file.closeHandle();
        reportSkippedHardLink(item.display);
        return false;
    }
    lookForEarlierVersions(walk.task, item.path);
    if (isOnlineOnly(facts.attributes)) {
        walk.meter.add(facts.size);
        return disposed(item, disposeOfOnlineOnlyFile(file, holder.path, removalCheckIn(item.parent, walk)), facts,
                        walk);
    }
    NamedStreams streams;
    if (!streams.open(item.path, file.handle()))
        return false;
    const ByteRanges ranges = allocatedRangesOf(file.handle(), item.path, facts.attributes, facts.size);
    // The listing's total counts a sparse file's holes, which pass at once.
    walk.meter.add(facts.size - byteCount(ranges));
    OverwriteResult result = streams.overwrite(walk.buffer, walk.task, walk.meter);
    if (result == OverwriteResult::Complete)
        result = overwriteFile(file.handle(), file.path(), ranges, walk.buffer, walk.task, walk.meter);
    switch (result) {
    case OverwriteResult::Failed:
        Logger::instance().log(LogLevel::Error, L"Failed to erase: %s. ", item.display.c_str());
        return false;
    case OverwriteResult::Stopped:
        return true;
    case OverwriteResult::Complete:
        break;
    }
    return disposed(item, disposeOfFile(file, holder.path, removalCheckIn(item.parent, walk)), facts, walk);
}

// A folder is removed only through a handle on the very folder that was listed: one swapped for
// a link since then is left alone.
bool eraseFolderItem(const ListedItem& item, Walk& walk)
{
    Logger::instance().log(LogLevel::Info, L"Erase folder: %s. ", item.display.c_str());
    if (!folderIsEmpty(item.path))
        return false;
    Kestrel::FileSpec folder(item.path);
    if (item.folder == ListedItem::kNoFolder) {
        reportOpenFailure(item.display, ERROR_SUCCESS, OpenedItem::Folder);
        return false;
    }
    if (!folder.openFolderForErase()) {
        reportOpenFailure(item.display, GetLastError(), OpenedItem::Folder);
        return false;
    }
    const auto facts = itemFactsOf(folder.handle());
    if (!facts || facts->identity != walk.listing.folders[item.folder].identity) {
        folder.closeHandle();
        reportSkippedLink(item.display);
        return false;
    }
    if (isLink(facts->attributes, facts->reparseTag)) {
        folder.closeHandle();
        reportSkippedLink(item.display, facts->attributes, facts->reparseTag);
        return false;
    }
    if ((facts->attributes & FILE_ATTRIBUTE_READONLY) != 0)
        static_cast<void>(folder.clearReadOnly(facts->attributes));
    NamedStreams streams;
    if (!streams.open(item.path, folder.handle()))
        return false;
    switch (streams.overwrite(walk.buffer, walk.task, walk.meter)) {
    case OverwriteResult::Failed:
        return false;
    case OverwriteResult::Stopped:
        return true;
    case OverwriteResult::Complete:
        break;
    }
    return disposeOfFolder(folder, walk.listing.folders[item.parent].path, removalCheckIn(item.parent, walk));
}

// Answers whether the item went (or, after a stop, was rightly left alone).
bool eraseItem(const ListedItem& item, Walk& walk)
{
    prepareFolder(item.parent, walk);
    if (item.folder != ListedItem::kNoFolder)
        prepareFolder(item.folder, walk);
    Logger::instance().log(LogLevel::Info, L"Begin to erase: %s. ", item.display.c_str());
    return item.isFolder() ? eraseFolderItem(item, walk) : eraseFileItem(item, walk);
}

// Deepest first: the listing holds every folder before its content, so its reverse handles the
// content first and the task folder last.
bool eraseListed(const FolderListing& listing, EraseTask& task)
{
    const OverwriteBuffer buffer;
    task.setProgress(0.0);
    ProgressMeter meter(task, listing.totalBytes);
    Walk walk{task, listing, buffer, meter, std::vector<bool>(listing.folders.size(), false),
              std::vector<bool>(listing.folders.size(), false), std::nullopt};
    for (const ListedItem& item : listing.items) {
        if (item.folder != ListedItem::kNoFolder)
            walk.removedLater[item.folder] = true;
    }
    bool allGone = !listing.linksSkipped && !listing.namesSkipped;
    for (auto item = listing.items.rbegin(); item != listing.items.rend(); ++item) {
        if (task.abortRequested())
            break;
        if (!eraseItem(*item, walk))
            allGone = false;
    }
    return allGone;
}

} // namespace

WorkerOutcome eraseFolder(EraseTask& task, const TaskItem& item)
{
    FolderListing listing;
    if (!item.isRoot) {
        // The folder that holds the task's folder is read, never changed: its real path shows
        // whether the task's folder is still where the user chose it when its listing starts.
        if (!listing.enterHolder(item.folder)) {
            reportOpenFailure(task.path(), GetLastError(), OpenedItem::Folder);
            return {EraseStatus::Failed, kEarlyFailureExitCode};
        }
        listing.items.push_back(ListedItem{item.path, task.path(), 0, item.attributes});
    }
    if (!listing.collect(item.path, task)) {
        // Nothing has changed on the disk yet; a stop the user asked for is no failure.
        if (task.abortRequested())
            return {EraseStatus::Aborted, 0};
        return {EraseStatus::Failed, kEarlyFailureExitCode};
    }
    if (!item.isRoot) {
        // The task's folder is the first folder entered after its holder.
        listing.items.front().folder = listing.folders.size() > 1 ? 1 : ListedItem::kNoFolder;
    }
    const bool allGone = eraseListed(listing, task);
    if (task.abortRequested())
        return {EraseStatus::Aborted, 0};
    return {allGone ? EraseStatus::Done : EraseStatus::Failed, 0};
}
