#include "erase/EraseTask.h"

#include "erase/EraseFileProc.h"
#include "erase/EraseFolderProc.h"
#include "erase/FolderListing.h"
#include "erase/LinkGuard.h"
#include "erase/TaskItem.h"
#include "erase/WorkerBoundary.h"
#include "foundation/ExtendedPath.h"
#include "foundation/FileSpec.h"
#include "foundation/Logger.h"

#include <utility>

const UINT WM_ERASE_TASK_FINISHED = RegisterWindowMessageW(L"EraseTaskFinished");

namespace {

// The routine is chosen by the item's directory entry, the same record a folder task's listing
// decides by: a path whose attributes cannot be read is neither a file nor a folder.
WorkerOutcome eraseTask(EraseTask& task)
{
    const auto item = locateTaskItem(task.path());
    if (!item)
        return {EraseStatus::Failed, kEarlyFailureExitCode};
    if (!item->isRoot && isLink(item->attributes)) {
        reportSkippedLink(task.path());
        return {EraseStatus::Failed, kEarlyFailureExitCode};
    }
    return item->isFolder() ? eraseFolder(task, *item) : eraseFile(task, *item);
}

DWORD WINAPI eraseTaskProc(LPVOID parameter) noexcept
{
    return runWorker(parameter, eraseTask);
}

} // namespace

EraseTask::EraseTask(ItemKind kind, std::wstring path, EraseStatus status, double progress, HWND ownerWindow)
    : kind_(kind), path_(std::move(path)), status_(status), progress_(progress), ownerWindow_(ownerWindow)
{
}

EraseTask::EraseTask(const EraseTask& other)
    : kind_(other.kind_), path_(other.path_), status_(other.status()), progress_(other.progress()),
      ownerWindow_(other.ownerWindow_), abortRequested_(other.abortRequested())
{
}

EraseTask& EraseTask::operator=(const EraseTask& other)
{
    if (this != &other) {
        kind_ = other.kind_;
        path_ = other.path_;
        status_.store(other.status());
        progress_.store(other.progress());
        ownerWindow_ = other.ownerWindow_;
        abortRequested_.store(other.abortRequested());
    }
    return *this;
}

bool EraseTask::start()
{
    // Two workers on one record would erase the item twice over and both destroy the record.
    bool idle = false;
    if (!workerRunning_.compare_exchange_strong(idle, true))
        return false;
    abortRequested_.store(false);
    // Created suspended and resumed only once the handle is stored: a short task would otherwise
    // finish, and close its handle, while this thread is still storing it.
    Kestrel::UniqueHandle thread(CreateThread(nullptr, 0, eraseTaskProc, this, CREATE_SUSPENDED, nullptr));
    if (!thread) {
        workerRunning_.store(false);
        return false;
    }
    const HANDLE worker = thread.get();
    threadHandle_ = std::move(thread);
    if (ResumeThread(worker) != static_cast<DWORD>(-1))
        return true;
    // It never ran, so it holds nothing and touched nothing.
    TerminateThread(worker, kResumeFailedExitCode);
    threadHandle_.reset();
    workerRunning_.store(false);
    return false;
}

bool EraseTask::requestAbort() noexcept
{
    if (status() != EraseStatus::InProgress)
        return false;
    abortRequested_.store(true);
    return true;
}

bool EraseTask::postFinished(EraseStatus status) const noexcept
{
    if (ownerWindow_ == nullptr || !IsWindow(ownerWindow_))
        return false;
    PostMessageW(ownerWindow_, WM_ERASE_TASK_FINISHED, static_cast<WPARAM>(status), 0);
    return true;
}

void EraseTask::finish(EraseStatus status) noexcept
{
    status_.store(status);
    threadHandle_.reset();
    workerRunning_.store(false);
    // The post hands the record over to its receiver, which may destroy it at once.
    postFinished(status);
}

bool EraseTask::collectItems(const std::wstring& folder, FolderListing& listing) const
{
    if (folder.empty())
        return false;
    const std::wstring path = Kestrel::extendedLengthPath(folder);
    if (!Kestrel::FileSpec(path).isDirectory())
        return false;
    switch (listing.enter(path)) {
    case FolderListing::Entry::First:
        return listFolder(listing.folders.size() - 1, listing);
    case FolderListing::Entry::Again:
        reportSkippedLink(folder);
        listing.linksSkipped = true;
        return true;
    case FolderListing::Entry::Unknown:
        break;
    }
    return false;
}

bool EraseTask::listFolder(std::size_t folder, FolderListing& listing) const
{
    const std::wstring pattern = Kestrel::childPath(listing.folders[folder].path, L"*");
    WIN32_FIND_DATAW entry;
    Kestrel::UniqueFindHandle search(FindFirstFileW(pattern.c_str(), &entry));
    if (!search) {
        // A drive root has no "." and ".." entries: an empty one answers "file not found".
        const DWORD error = GetLastError();
        return (error == ERROR_NO_MORE_FILES || error == ERROR_FILE_NOT_FOUND) && !abortRequested();
    }
    do {
        addEntry(folder, entry, listing);
    } while (FindNextFileW(search.get(), &entry) && !abortRequested());
    return !abortRequested();
}

void EraseTask::addEntry(std::size_t folder, const WIN32_FIND_DATAW& entry, FolderListing& listing) const
{
    const std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..")
        return;
    // Copied: entering a sub-folder below grows the folder records.
    const std::wstring child = Kestrel::childPath(listing.folders[folder].path, name);
    const std::wstring display = Kestrel::displayPath(child);
    // A file system can hand back a name holding a separator ("..\victim.txt" on a Linux disk);
    // any path built from it could name an item outside this folder.
    if (name.find_first_of(L"\\/") != std::wstring::npos) {
        Kestrel::Logger::instance().log(Kestrel::LogLevel::Error, L"Skipped name: %s. ", display.c_str());
        listing.namesSkipped = true;
        return;
    }
    if (isLink(entry.dwFileAttributes)) {
        reportSkippedLink(display);
        listing.linksSkipped = true;
        return;
    }
    ListedItem item{child, display, folder, entry.dwFileAttributes};
    if (!item.isFolder()) {
        listing.items.push_back(std::move(item));
        listing.totalBytes += (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
        return;
    }
    switch (listing.enter(child)) {
    case FolderListing::Entry::First: {
        const std::size_t entered = listing.folders.size() - 1;
        item.folder = entered;
        listing.items.push_back(std::move(item));
        // A sub-folder that cannot be listed keeps its content, and so its removal fails later.
        (void)listFolder(entered, listing);
        return;
    }
    case FolderListing::Entry::Again:
        // Only another path to a folder already listed gets here (a mount, say): never twice.
        reportSkippedLink(display);
        listing.linksSkipped = true;
        return;
    case FolderListing::Entry::Unknown:
        listing.items.push_back(std::move(item));
        return;
    }
}
