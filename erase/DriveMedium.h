#pragma once

#include <string>

// What a drive keeps of overwritten data depends on its medium: a rotating disk writes a file's
// new bytes over its old ones, a solid-state drive writes them to other cells and keeps the old
// ones until it reuses them, out of every program's reach.
enum class DriveMedium { Unknown, SolidState, Rotating };

// The medium of the volume at that root ("C:\", or a folder a volume is mounted on), as its disk
// answers the storage property queries that need no administrator: no seek penalty, or trim
// enabled, is a solid-state drive; a seek penalty is a rotating one. Unknown when the volume
// cannot be opened or its disk answers neither (USB bridges, some controllers, and a volume on
// several disks, which forwards no query).
[[nodiscard]] DriveMedium driveMediumOf(const std::wstring& volumeRoot);

// Wine answers no storage property query. A test may answer in its place, by the volume's root;
// what is made of the answer is the program's own. None is set in the programs.
using DriveMediumHook = DriveMedium (*)(const std::wstring& volumeRoot);
void setDriveMediumHook(DriveMediumHook hook) noexcept;
