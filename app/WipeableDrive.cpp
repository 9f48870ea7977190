#include "app/WipeableDrive.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <iterator>

namespace {

// A drive without its medium would otherwise make Windows ask the user to insert one, in a box
// of its own, while the menu is being built.
class NoCriticalErrorBoxes {
public:
    NoCriticalErrorBoxes() noexcept { SetThreadErrorMode(SEM_FAILCRITICALERRORS, &before_); }
    ~NoCriticalErrorBoxes() { SetThreadErrorMode(before_, nullptr); }
    NoCriticalErrorBoxes(const NoCriticalErrorBoxes&) = delete;
    NoCriticalErrorBoxes& operator=(const NoCriticalErrorBoxes&) = delete;

private:
    DWORD before_ = 0;
};

bool isWipeableType(UINT type) noexcept
{
    return type == DRIVE_FIXED || type == DRIVE_REMOVABLE;
}

std::optional<WipeableDrive> askDrive(const std::wstring& root)
{
    if (!isWipeableType(GetDriveTypeW(root.c_str())))
        return std::nullopt;
    wchar_t label[MAX_PATH + 1]{};
    wchar_t fileSystem[MAX_PATH + 1]{};
    if (!GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, fileSystem,
                               MAX_PATH + 1) ||
        fileSystem[0] == L'\0')
        return std::nullopt;
    ULARGE_INTEGER freeToUser{};
    if (!GetDiskFreeSpaceExW(root.c_str(), &freeToUser, nullptr, nullptr))
        return std::nullopt;
    return WipeableDrive{root, label, fileSystem, freeToUser.QuadPart};
}

} // namespace

std::optional<WipeableDrive> wipeableDrive(const std::wstring& root)
{
    const NoCriticalErrorBoxes quiet;
    return askDrive(root);
}

std::vector<WipeableDrive> wipeableDrives()
{
    std::vector<WipeableDrive> drives;
    // 26 roots of "X:\" and their terminators, and the list's own.
    wchar_t roots[26 * 4 + 1]{};
    const DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(std::size(roots)), roots);
    if (length == 0 || length >= std::size(roots))
        return drives;
    const NoCriticalErrorBoxes quiet;
    for (const wchar_t* root = roots; *root; root += std::wcslen(root) + 1) {
        if (auto drive = askDrive(root))
            drives.push_back(std::move(*drive));
    }
    return drives;
}

std::wstring driveChoiceText(const WipeableDrive& drive)
{
    std::wstring text = drive.root + L"  ";
    if (!drive.label.empty())
        text += drive.label + L" ";
    return text + L"(" + drive.fileSystem + L"), " + byteCountText(drive.freeBytes) + L" free";
}

std::wstring byteCountText(std::uint64_t bytes)
{
    constexpr const wchar_t* kUnits[] = {L"KB", L"MB", L"GB", L"TB", L"PB", L"EB"};
    if (bytes < 1024)
        return std::to_wstring(bytes) + L" bytes";
    double value = static_cast<double>(bytes) / 1024.0;
    std::size_t unit = 0;
    // Rounded as it is shown: 1023.96 KB would read "1024 KB".
    while (value >= 1023.5 && unit + 1 < std::size(kUnits)) {
        value /= 1024.0;
        ++unit;
    }
    wchar_t number[32]{};
    std::swprintf(number, std::size(number), value < 99.95 ? L"%.1f" : L"%.0f", value);
    return number + std::wstring(L" ") + kUnits[unit];
}
