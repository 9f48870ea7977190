#include "erase/FillFolder.h"

#include "erase/FolderIdentity.h"
#include "erase/LinkGuard.h"
#include "erase/PrivateFolderSecurity.h"
#include "erase/RealPath.h"
#include "foundation/ExtendedPath.h"

#include <cstdint>
#include <cwctype>

namespace {

// Enough names for any number of leftovers a user could have let pile up.
constexpr unsigned kFolderNameTries = 100;

bool sameText(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

std::wstring folderName(unsigned number)
{
    return number == 0 ? FillFolder::kNameStem : FillFolder::kNameStem + (L"." + std::to_wstring(number));
}

bool hasDigitsAfter(const std::wstring& name, std::size_t prefixLength)
{
    if (name.size() <= prefixLength)
        return false;
    for (std::size_t index = prefixLength; index < name.size(); ++index) {
        if (!std::iswdigit(name[index]))
            return false;
    }
    return true;
}

bool isFolderName(const std::wstring& name)
{
    const std::wstring stem = FillFolder::kNameStem;
    if (sameText(name, stem))
        return true;
    return name.size() > stem.size() + 1 && sameText(name.substr(0, stem.size() + 1), stem + L".") &&
           hasDigitsAfter(name, stem.size() + 1);
}

bool isFillFileName(const std::wstring& name)
{
    return (name.size() > 4 && name.compare(0, 4, L"FILL") == 0 && hasDigitsAfter(name, 4)) ||
           (name.size() > 1 && name[0] == L'R' && hasDigitsAfter(name, 1));
}

// Opens the item itself, never what a link points to, for its deletion (and a folder's listing);
// the item keeps others from moving or deleting it while the handle is held. No file's data is
// read through it, so none is fetched from elsewhere.
Kestrel::UniqueFileHandle openForRemoval(const std::wstring& path)
{
    return Kestrel::UniqueFileHandle(CreateFileW(
        path.c_str(), DELETE | FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_OPEN_NO_RECALL, nullptr));
}

// The handle holds the plain item of that kind at exactly that path: no link (Wine shows a link
// to a file only in where its handle really is), and a file with no second name.
bool holdsPlainItem(HANDLE handle, const std::wstring& path, bool folder)
{
    const auto facts = itemFactsOf(handle, false);
    if (!facts || isLink(facts->attributes, facts->reparseTag) || ((facts->attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != folder)
        return false;
    if (!folder && facts->links != 1)
        return false;
    const auto real = realPathOf(handle);
    return real && sameText(*real, path);
}

bool deleteThroughHandle(HANDLE handle)
{
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    return SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

bool exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

struct Entry {
    std::wstring name;
    DWORD attributes;
};

// The folder's entries, read through its own handle: a search by path would be refused while
// the handle shares no deletion, and would read whatever folder the name leads to by then.
std::optional<std::vector<Entry>> entriesOf(HANDLE folder)
{
    std::vector<Entry> entries;
    std::vector<ULONGLONG> buffer(0x10000 / sizeof(ULONGLONG));
    FILE_INFO_BY_HANDLE_CLASS request = FileIdBothDirectoryRestartInfo;
    while (GetFileInformationByHandleEx(folder, request, buffer.data(),
                                        static_cast<DWORD>(buffer.size() * sizeof(ULONGLONG)))) {
        request = FileIdBothDirectoryInfo;
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(buffer.data());
        for (DWORD offset = 0;;) {
            const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(bytes + offset);
            std::wstring name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
            if (!Kestrel::isDotName(name))
                entries.push_back({std::move(name), entry->FileAttributes});
            if (entry->NextEntryOffset == 0)
                break;
            offset += entry->NextEntryOffset;
        }
    }
    if (GetLastError() != ERROR_NO_MORE_FILES)
        return std::nullopt;
    return entries;
}

enum class Leftover { Removed, Kept, InUse };

// A running wipe holds its folder without sharing its deletion, and each fill file with no
// sharing at all: an open for removal meets a sharing violation.
Leftover refused(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION ? Leftover::InUse : Leftover::Kept;
}

// Removes a leftover folder when it holds nothing but fill files (gone once its handle closes).
// Kept, with nothing removed, when it holds anything else; in use, with nothing removed, while a
// wipe holds it or its files.
Leftover removeLeftover(const std::wstring& path)
{
    const Kestrel::UniqueFileHandle folder = openForRemoval(path);
    if (!folder)
        return refused(GetLastError());
    if (!holdsPlainItem(folder.get(), path, true))
        return Leftover::Kept;
    const auto entries = entriesOf(folder.get());
    if (!entries)
        return Leftover::Kept;
    // Every file is proven first, so that a folder with one stranger in it loses nothing.
    std::vector<Kestrel::UniqueFileHandle> handles;
    for (const Entry& entry : *entries) {
        if ((entry.attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0 ||
            !isFillFileName(entry.name))
            return Leftover::Kept;
        const std::wstring file = Kestrel::childPath(path, entry.name);
        Kestrel::UniqueFileHandle handle = openForRemoval(file);
        if (!handle)
            return refused(GetLastError());
        if (!holdsPlainItem(handle.get(), file, false))
            return Leftover::Kept;
        handles.push_back(std::move(handle));
    }
    for (const Kestrel::UniqueFileHandle& handle : handles)
        static_cast<void>(deleteThroughHandle(handle.get()));
    handles.clear();
    static_cast<void>(deleteThroughHandle(folder.get()));
    return Leftover::Removed;
}

} // namespace

std::wstring largeFillName(unsigned number)
{
    return L"FILL" + std::to_wstring(number);
}

std::wstring smallFillName(unsigned number)
{
    return L"R" + std::to_wstring(number);
}

std::optional<FillFolder> FillFolder::create(const std::wstring& root, DWORD& error)
{
    const LocalSecurityDescriptor security = privateFolderSecurity(error);
    if (!security)
        return std::nullopt;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, security.get(), FALSE};
    error = ERROR_ALREADY_EXISTS;
    for (unsigned number = 0; number < kFolderNameTries; ++number) {
        const std::wstring path = Kestrel::childPath(root, folderName(number));
        if (!CreateDirectoryW(path.c_str(), &attributes)) {
            error = GetLastError();
            if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
                continue;
            return std::nullopt;
        }
        // Made just now, but another program may have swapped something in since: it must be a
        // plain folder at exactly that path, else nothing is written, and it is left as it is.
        Kestrel::UniqueFileHandle handle = openForRemoval(path);
        if (!handle || !holdsPlainItem(handle.get(), path, true)) {
            error = handle ? ERROR_ACCESS_DENIED : GetLastError();
            return std::nullopt;
        }
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
        return FillFolder(path, std::move(handle));
    }
    return std::nullopt;
}

Kestrel::UniqueFileHandle FillFolder::createFile(const std::wstring& name, DWORD& error) const
{
    // Read only by the wipe's own read-back, which proves its handle holds the same file.
    Kestrel::UniqueFileHandle file(CreateFileW(Kestrel::childPath(path_, name).c_str(),
                                               GENERIC_WRITE | DELETE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ,
                                               nullptr, CREATE_NEW,
                                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    error = file ? 0 : GetLastError();
    return file;
}

bool FillFolder::removeFileIfLeft(const std::wstring& name) const
{
    const std::wstring file = Kestrel::childPath(path_, name);
    return !exists(file) || DeleteFileW(file.c_str()) || !exists(file);
}

bool FillFolder::removeLeftFiles() const
{
    const auto left = entriesOf(handle_.get());
    if (!left)
        return false;
    for (const Entry& entry : *left)
        DeleteFileW(Kestrel::childPath(path_, entry.name).c_str());
    const auto after = left->empty() ? left : entriesOf(handle_.get());
    return after && after->empty();
}

bool FillFolder::remove()
{
    if (!handle_)
        return !exists(path_);
    static_cast<void>(deleteThroughHandle(handle_.get()));
    handle_.reset();
    return !exists(path_);
}

void removeLeftoverFillFolders(const std::wstring& root, std::vector<std::wstring>& removed,
                               std::vector<std::wstring>& kept)
{
    WIN32_FIND_DATAW entry;
    const Kestrel::UniqueFindHandle search(
        FindFirstFileW(Kestrel::childPath(root, std::wstring(FillFolder::kNameStem) + L"*").c_str(), &entry));
    if (!search)
        return;
    std::vector<std::wstring> candidates;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && isFolderName(entry.cFileName))
            candidates.push_back(Kestrel::childPath(root, entry.cFileName));
    } while (FindNextFileW(search.get(), &entry));
    for (const std::wstring& path : candidates) {
        const Leftover outcome = removeLeftover(path);
        if (outcome == Leftover::Removed && !exists(path))
            removed.push_back(path);
        else if (outcome != Leftover::InUse)
            kept.push_back(path);
    }
}
