#include "erase/RecycleBinErase.h"

#include "erase/EraseFileProc.h"
#include "erase/EraseFolderProc.h"
#include "erase/LinkGuard.h"
#include "erase/RecycleBin.h"
#include "erase/TaskItem.h"
#include "foundation/ExtendedPath.h"
#include "foundation/Logger.h"

#include <shlobj.h>

namespace {

using Kestrel::Logger;
using Kestrel::LogLevel;

// Where an item's share of the task's progress lies, in percent.
struct Share {
    double from;
    double span;
};

// One name of the pair, erased by the file or the folder routine as a task of its own would be,
// on a part of the task that carries its stop request and progress. A link is never followed.
EraseStatus eraseEntry(EraseTask& task, const RecycledItem& item, const BinEntry& entry, Share share)
{
    const std::wstring path = item.pathOf(entry);
    const std::wstring display = Kestrel::displayPath(path);
    EraseStatus status = EraseStatus::Failed;
    std::wstring problem;
    if (isLink(entry.attributes, entry.reparseTag)) {
        reportSkippedLink(display, entry.attributes, entry.reparseTag);
    } else if (const Kestrel::UniqueFileHandle bin = holdBinFolder(item.folder, problem); !bin) {
        // The folder became a link or another folder took its place since it was listed, or it
        // is not this user's.
        Logger::instance().log(LogLevel::Error, L"%s. ", problem.c_str());
    } else {
        // The folder is held while the item is erased: the place the item's own proof compares
        // with stays the folder that was proven. A folder item is proven as it is entered.
        EraseTask part(task, display, share.from, share.span);
        const TaskItem target{path, item.folder, entry.attributes, entry.reparseTag, false};
        status = (target.isFolder() ? eraseFolder(part, target) : eraseFile(part, target)).status;
    }
    if (status == EraseStatus::Done)
        Logger::instance().log(LogLevel::Info, L"File erased: %s. ", display.c_str());
    else if (status == EraseStatus::Failed)
        Logger::instance().log(LogLevel::Error, L"Failed to erase: %s. ", display.c_str());
    return status;
}

// The item first: its record goes only after it, so that a kept item stays listed in the bin.
EraseStatus eraseItem(EraseTask& task, const RecycledItem& item, Share share)
{
    const double total = static_cast<double>(item.bytes()) + 1.0;
    const double contentSpan = share.span * (static_cast<double>(item.content.bytes) + 0.5) / total;
    if (item.content.present()) {
        const EraseStatus status = eraseEntry(task, item, item.content, {share.from, contentSpan});
        if (status != EraseStatus::Done)
            return status;
    }
    // After a stop the record of an item that went is left for the next run: its erase would stop
    // after the overwrite and leave a record of noise.
    if (!item.record.present() || task.abortRequested())
        return EraseStatus::Done;
    return eraseEntry(task, item, item.record, {share.from + contentSpan, share.span - contentSpan});
}

// Explorer shows the bin from its own notes: it learns that the folders changed, and draws the
// bin's icon again (empty or full). SHUpdateRecycleBinIcon is exported by name but declared in
// no MinGW-w64 header.
void tellExplorer(const std::vector<std::wstring>& folders)
{
    for (const std::wstring& folder : folders)
        SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW | SHCNF_FLUSHNOWAIT, Kestrel::displayPath(folder).c_str(), nullptr);
    using UpdateRecycleBinIcon = void(WINAPI*)();
    if (const HMODULE shell = GetModuleHandleW(L"shell32.dll")) {
        const auto update = reinterpret_cast<UpdateRecycleBinIcon>(
            reinterpret_cast<void (*)()>(GetProcAddress(shell, "SHUpdateRecycleBinIcon")));
        if (update)
            update();
    }
}

} // namespace

WorkerOutcome eraseRecycleBin(EraseTask& task)
{
    task.setProgress(0.0);
    const RecycleBinContent bin = findRecycleBin();
    bool allGone = bin.problems.empty();
    for (const std::wstring& problem : bin.problems)
        Logger::instance().log(LogLevel::Error, L"%s. ", problem.c_str());
    for (const std::wstring& folder : bin.folders)
        Logger::instance().log(LogLevel::Info, L"Begin to erase: %s. ", Kestrel::displayPath(folder).c_str());
    // Shares by bytes, and a little for each item, so that empty ones move the bar too.
    const double total = static_cast<double>(bin.bytes() + bin.items.size());
    double from = 0.0;
    for (const RecycledItem& item : bin.items) {
        if (task.abortRequested())
            break;
        const double span = 100.0 * (static_cast<double>(item.bytes()) + 1.0) / total;
        if (eraseItem(task, item, {from, span}) == EraseStatus::Failed)
            allGone = false;
        from += span;
    }
    if (!bin.folders.empty())
        tellExplorer(bin.folders);
    if (task.abortRequested())
        return {EraseStatus::Aborted, 0};
    return {allGone ? EraseStatus::Done : EraseStatus::Failed, 0};
}
