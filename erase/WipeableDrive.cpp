#include "erase/WipeableDrive.h"

#include "foundation/FileError.h"

#include <cwchar>
#include <iterator>

namespace {

// A drive without its medium would otherwise make Windows ask the user to insert one, in a box
// of its own.
class NoCriticalErrorBoxes {
public:
    NoCriticalErrorBoxes() noexcept { SetThreadErrorMode(SEM_FAILCRITICALERRORS, &before_); }
    ~NoCriticalErrorBoxes() { SetThreadErrorMode(before_, nullptr); }
    NoCriticalErrorBoxes(const NoCriticalErrorBoxes&) = delete;
    NoCriticalErrorBoxes& operator=(const NoCriticalErrorBoxes&) = delete;

private:
    DWORD before_ = 0;
};

DriveCheck refused(DriveCheck::Refusal refusal, DWORD error = ERROR_SUCCESS)
{
    return {std::nullopt, refusal, error};
}

// A letter made with subst (or DefineDosDevice) stands for a folder on another drive: its device
// is that folder's path, \??\C:\Users\me\stick, where a volume's is \Device\HarddiskVolume3.
// Its free space is the other drive's, and the fill folder would land inside the user's folder.
bool isAlias(const std::wstring& root)
{
    const std::wstring letter = root.substr(0, 2);
    wchar_t device[MAX_PATH + 1]{};
    if (!QueryDosDeviceW(letter.c_str(), device, MAX_PATH + 1))
        return false;
    return std::wcsncmp(device, L"\\??\\", 4) == 0;
}

DriveCheck askDrive(const std::wstring& root)
{
    if (isAlias(root))
        return refused(DriveCheck::Refusal::Alias);
    switch (GetDriveTypeW(root.c_str())) {
    case DRIVE_FIXED:
    case DRIVE_REMOVABLE:
        break;
    case DRIVE_NO_ROOT_DIR:
    case DRIVE_UNKNOWN:
        return refused(DriveCheck::Refusal::Missing, ERROR_PATH_NOT_FOUND);
    default:
        return refused(DriveCheck::Refusal::OtherType);
    }
    wchar_t fileSystem[MAX_PATH + 1]{};
    if (!GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, fileSystem, MAX_PATH + 1))
        return refused(DriveCheck::Refusal::NoAnswer, GetLastError());
    if (fileSystem[0] == L'\0')
        return refused(DriveCheck::Refusal::NoAnswer, ERROR_UNRECOGNIZED_VOLUME);
    ULARGE_INTEGER freeToUser{};
    if (!GetDiskFreeSpaceExW(root.c_str(), &freeToUser, nullptr, nullptr))
        return refused(DriveCheck::Refusal::NoAnswer, GetLastError());
    // Asked apart: Wine answers a drive whose device this user may not read without its label,
    // and the drive is wiped all the same.
    wchar_t label[MAX_PATH + 1]{};
    if (!GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0))
        label[0] = L'\0';
    return {WipeableDrive{root, label, fileSystem, freeToUser.QuadPart}};
}

} // namespace

DriveCheck checkWipeableDrive(const std::wstring& root)
{
    const NoCriticalErrorBoxes quiet;
    return askDrive(root);
}

std::wstring refusalText(const DriveCheck& check, const std::wstring& root)
{
    switch (check.refusal) {
    case DriveCheck::Refusal::None:
        break;
    case DriveCheck::Refusal::OtherType:
        return L"Not a fixed or removable drive: " + root;
    case DriveCheck::Refusal::Alias:
        return L"Not a drive but a folder of another drive (subst): " + root;
    case DriveCheck::Refusal::Missing:
    case DriveCheck::Refusal::NoAnswer:
        return Kestrel::fileErrorText(check.error, root);
    }
    return {};
}

std::optional<WipeableDrive> wipeableDrive(const std::wstring& root)
{
    return checkWipeableDrive(root).drive;
}

std::vector<std::wstring> driveRoots()
{
    std::vector<std::wstring> roots;
    // 26 roots of "X:\" and their terminators, and the list's own.
    wchar_t list[26 * 4 + 1]{};
    const DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(std::size(list)), list);
    if (length == 0 || length >= std::size(list))
        return roots;
    for (const wchar_t* root = list; *root; root += std::wcslen(root) + 1)
        roots.emplace_back(root);
    return roots;
}
