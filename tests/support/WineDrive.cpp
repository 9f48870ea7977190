#include "tests/support/WineDrive.h"

#include "foundation/UniqueHandle.h"
#include "tests/support/UnixShell.h"
#include "tests/support/WineDriveName.h"

#include <winioctl.h>

#include <cstring>
#include <vector>

namespace KestrelTest {

namespace {

// The request of Wine's mount manager that defines (or, with no folder and type 0, removes) a
// drive letter, as Wine 8 lays it out; the folder's Unix path follows the record.
struct UnixDriveRequest {
    ULONG size;
    ULONG type;
    ULONG fileSystem;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};
constexpr DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

bool askMountManager(wchar_t letter, ULONG type, const std::string& unixFolder)
{
    std::vector<char> request(sizeof(UnixDriveRequest) + (unixFolder.empty() ? 0 : unixFolder.size() + 1));
    UnixDriveRequest header{};
    header.size = static_cast<ULONG>(request.size());
    header.type = type;
    header.letter = letter;
    header.mountPointOffset = unixFolder.empty() ? 0 : static_cast<USHORT>(sizeof header);
    std::memcpy(request.data(), &header, sizeof header);
    if (!unixFolder.empty())
        std::memcpy(request.data() + sizeof header, unixFolder.c_str(), unixFolder.size() + 1);
    const Kestrel::UniqueFileHandle manager(CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                                        0, nullptr));
    DWORD returned = 0;
    return manager && DeviceIoControl(manager.get(), kDefineUnixDrive, request.data(),
                                      static_cast<DWORD>(request.size()), nullptr, 0, &returned, nullptr);
}

} // namespace

std::unique_ptr<WineDrive> WineDrive::define(const std::wstring& folder, Type type, std::string& why)
{
    if (!runningUnderWine()) {
        why = "drives are defined through Wine's mount manager";
        return nullptr;
    }
    const std::string unixFolder = unixPathOf(folder);
    if (unixFolder.empty()) {
        why = "no Unix path for the folder";
        return nullptr;
    }
    for (wchar_t letter = L'M'; letter <= L'Y'; ++letter) {
        const std::wstring root{letter, L':', L'\\'};
        // A letter defined before and removed again still answers, as a drive without a root.
        if (GetDriveTypeW(root.c_str()) != DRIVE_NO_ROOT_DIR)
            continue;
        if (!askMountManager(letter, static_cast<ULONG>(type), unixFolder)) {
            why = "the mount manager refused the drive: error " + std::to_string(GetLastError());
            return nullptr;
        }
        return std::unique_ptr<WineDrive>(new WineDrive(root));
    }
    why = "no free drive letter";
    return nullptr;
}

WineDrive::~WineDrive()
{
    const Kestrel::UniqueFileHandle folder(CreateFileW(root_.c_str(), 0,
                                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    (void)askMountManager(root_[0], 0, {});
    // The folder is deleted next, and a folder a later test makes may take over its inode.
    if (folder)
        (void)waitUntilWineForgetsTheRoot(folder.get(), root_);
}

} // namespace KestrelTest
