#include "erase/FolderIdentity.h"

#include "erase/DataElsewhere.h"
#include "erase/LinkGuard.h"
#include "erase/RealPath.h"
#include "foundation/UniqueHandle.h"

#include <atomic>
#include <utility>

namespace {

std::atomic<ItemFactsHook> itemFactsHook{nullptr};

// Whether the file takes clusters here: a placeholder holds none until parts of it are
// downloaded. The question needs no access right, so a handle opened for the file's removal
// answers it; a file that does not answer is taken to hold some.
bool holdsDataHere(HANDLE handle)
{
    FILE_STANDARD_INFO standard{};
    return !GetFileInformationByHandleEx(handle, FileStandardInfo, &standard, sizeof standard) ||
           standard.AllocationSize.QuadPart > 0;
}

} // namespace

FolderIdentity identityOf(const BY_HANDLE_FILE_INFORMATION& information) noexcept
{
    return FolderIdentity{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
}

std::optional<ItemFacts> itemFactsOf(const std::wstring& path)
{
    // No access rights are asked for, so that an item the user may list but not change still
    // answers; backup semantics are what let CreateFileW open a folder at all; a file whose data
    // is elsewhere is not fetched for an open that reads none of it.
    const Kestrel::UniqueFileHandle handle(CreateFileW(path.c_str(), 0,
                                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                       nullptr, OPEN_EXISTING,
                                                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_NO_RECALL, nullptr));
    if (!handle)
        return std::nullopt;
    return itemFactsOf(handle.get());
}

std::optional<FolderIdentity> identityOf(HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(handle, &information))
        return std::nullopt;
    return identityOf(information);
}

std::optional<ItemFacts> itemFactsOf(HANDLE handle, bool withIdentity)
{
    ItemFacts facts;
    if (withIdentity) {
        BY_HANDLE_FILE_INFORMATION information{};
        if (!GetFileInformationByHandle(handle, &information))
            return std::nullopt;
        facts = ItemFacts{identityOf(information), {}, information.dwFileAttributes, information.nNumberOfLinks,
                          (static_cast<std::uint64_t>(information.nFileSizeHigh) << 32) | information.nFileSizeLow};
    } else {
        FILE_BASIC_INFO basic{};
        FILE_STANDARD_INFO standard{};
        if (!GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic) ||
            !GetFileInformationByHandleEx(handle, FileStandardInfo, &standard, sizeof standard))
            return std::nullopt;
        facts.attributes = basic.FileAttributes;
        facts.links = standard.NumberOfLinks;
        facts.size = static_cast<std::uint64_t>(standard.EndOfFile.QuadPart);
    }
    facts.reparseTag = reparseTagOf(handle, facts.attributes);
    auto realPath = realPathOf(handle);
    if (!realPath)
        return std::nullopt;
    facts.realPath = std::move(*realPath);
    addHookedFacts(facts.realPath, facts.attributes, facts.reparseTag);
    if (isOnlineOnly(facts.attributes) && (facts.attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        facts.partlyHere = holdsDataHere(handle);
    return facts;
}

void setItemFactsHook(ItemFactsHook hook) noexcept
{
    itemFactsHook.store(hook);
}

void addHookedFacts(const std::wstring& path, DWORD& attributes, DWORD& reparseTag)
{
    if (const ItemFactsHook hook = itemFactsHook.load())
        hook(path, attributes, reparseTag);
}
