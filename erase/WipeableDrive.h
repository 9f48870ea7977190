#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A drive whose free space can be wiped: a fixed or removable drive with a file system, as it
// answered when it was asked. Network, optical and RAM drives, and a removable drive without a
// medium, are not: the window never offers them and the wipe refuses them.
struct WipeableDrive {
    std::wstring root;       // "D:\"
    std::wstring label;      // empty when the volume has none
    std::wstring fileSystem; // "NTFS", "FAT32", ...
    std::uint64_t freeBytes = 0; // free to this user
};

// The drive of that root ("D:\"), or why it is none: no drive there, one of another type, a
// letter that stands for a folder of another drive (subst), or a volume or free space that does
// not answer (the error then says why).
struct DriveCheck {
    enum class Refusal { None, Missing, OtherType, Alias, NoAnswer };

    std::optional<WipeableDrive> drive;
    Refusal refusal = Refusal::None;
    DWORD error = ERROR_SUCCESS;
};
[[nodiscard]] DriveCheck checkWipeableDrive(const std::wstring& root);
// Why the drive of that root was refused ("Not a fixed or removable drive: D:\\"), as the wipe logs
// it and kww prints it.
[[nodiscard]] std::wstring refusalText(const DriveCheck& check, const std::wstring& root);

// The drive of that root, or nothing when it cannot be wiped.
[[nodiscard]] std::optional<WipeableDrive> wipeableDrive(const std::wstring& root);
// The root of every drive letter ("C:\\", "D:\\", ...), by letter, whatever the drive.
[[nodiscard]] std::vector<std::wstring> driveRoots();
