#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A drive whose free space the program offers to wipe: a fixed or removable drive with a file
// system, as it answered when it was asked. Network, optical and RAM drives, and a removable
// drive without a medium, are never offered.
struct WipeableDrive {
    std::wstring root;       // "D:\"
    std::wstring label;      // empty when the volume has none
    std::wstring fileSystem; // "NTFS", "FAT32", ...
    std::uint64_t freeBytes = 0; // free to this user
};

// The drive of that root ("D:\"), or nothing when it is missing, of another type, or does not
// answer for its volume or its free space.
[[nodiscard]] std::optional<WipeableDrive> wipeableDrive(const std::wstring& root);
// Every wipeable drive, by letter.
[[nodiscard]] std::vector<WipeableDrive> wipeableDrives();

// How a drive is offered: "D:\  Data (NTFS), 12.4 GB free", or "D:\  (NTFS), 12.4 GB free"
// for one without a label.
[[nodiscard]] std::wstring driveChoiceText(const WipeableDrive& drive);
// A byte count as Explorer shows one, in units of 1024: "512 bytes", "1.5 KB", "12.4 GB",
// "931 GB"; one decimal below 100 of a unit, none from there on.
[[nodiscard]] std::wstring byteCountText(std::uint64_t bytes);
