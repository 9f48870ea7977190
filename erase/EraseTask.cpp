#include "erase/EraseTask.h"

#include "erase/EraseFileProc.h"
#include "erase/EraseFolderProc.h"
#include "erase/FolderListing.h"
#include "erase/LinkGuard.h"
#include "foundation/FileSpec.h"
#include "foundation/Path.h"

#include <utility>

const UINT WM_ERASE_TASK_FINISHED = RegisterWindowMessageW(L"EraseTaskFinished");

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
    abortRequested_.store(false);
    const bool isFolder = Kestrel::FileSpec(path_).isDirectory();
    // Created suspended and resumed only once the handle is stored: a short task would otherwise
    // finish, and close its handle, while this thread is still storing it.
    Kestrel::UniqueHandle thread(
        CreateThread(nullptr, 0, isFolder ? eraseFolderProc : eraseFileProc, this, CREATE_SUSPENDED, nullptr));
    if (!thread)
        return false;
    const HANDLE worker = thread.get();
    threadHandle_ = std::move(thread);
    if (ResumeThread(worker) != static_cast<DWORD>(-1))
        return true;
    // It never ran, so it holds nothing and touched nothing.
    TerminateThread(worker, kResumeFailedExitCode);
    threadHandle_.reset();
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
    // The post hands the record over to its receiver, which may destroy it at once.
    postFinished(status);
}

bool EraseTask::collectItems(const std::wstring& folder, FolderListing& listing) const
{
    if (folder.empty() || !Kestrel::FileSpec(folder).isDirectory())
        return false;
    switch (listing.enter(folder)) {
    case FolderListing::Entry::First:
        return listFolder(folder, listing);
    case FolderListing::Entry::Again:
        reportSkippedLink(folder);
        listing.linksSkipped = true;
        return true;
    case FolderListing::Entry::Unknown:
        break;
    }
    return false;
}

bool EraseTask::listFolder(const std::wstring& folder, FolderListing& listing) const
{
    Kestrel::Path folderPath(folder);
    folderPath.makeDirectory();
    const std::wstring pattern = folderPath.toString() + L"*";
    WIN32_FIND_DATAW entry;
    Kestrel::UniqueFindHandle search(FindFirstFileW(pattern.c_str(), &entry));
    if (!search)
        return GetLastError() == ERROR_NO_MORE_FILES && !abortRequested();
    do {
        addEntry(folderPath, entry, listing);
    } while (FindNextFileW(search.get(), &entry) && !abortRequested());
    return !abortRequested();
}

void EraseTask::addEntry(const Kestrel::Path& folderPath, const WIN32_FIND_DATAW& entry,
                         FolderListing& listing) const
{
    const std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..")
        return;
    Kestrel::Path childPath = folderPath;
    childPath.append(Kestrel::Path(name));
    std::wstring child = childPath.toString();
    if (isLink(entry.dwFileAttributes)) {
        reportSkippedLink(child);
        listing.linksSkipped = true;
        return;
    }
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        listing.items.emplace_back(child);
        listing.totalBytes += (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
        return;
    }
    switch (listing.enter(child)) {
    case FolderListing::Entry::First:
        listing.items.emplace_back(child);
        // A sub-folder that cannot be listed keeps its content, and so its removal fails later.
        (void)listFolder(child, listing);
        return;
    case FolderListing::Entry::Again:
        // Only another path to a folder already listed gets here (a mount, say): never twice.
        reportSkippedLink(child);
        listing.linksSkipped = true;
        return;
    case FolderListing::Entry::Unknown:
        listing.items.emplace_back(child);
        return;
    }
}
