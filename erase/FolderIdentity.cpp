#include "erase/FolderIdentity.h"

#include "foundation/UniqueHandle.h"

std::optional<FolderIdentity> folderIdentityOf(const std::wstring& folder)
{
    // No access rights are asked for, so that a folder the user may list but not change still
    // answers; backup semantics are what let CreateFileW open a folder at all.
    Kestrel::UniqueFileHandle handle(CreateFileW(folder.c_str(), 0,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(handle.get(), &information))
        return std::nullopt;
    return FolderIdentity{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
}
