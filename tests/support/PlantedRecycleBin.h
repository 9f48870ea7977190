#pragma once

#include "tests/support/WineDrive.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace KestrelTest {

// The user every Wine process runs as, and another user.
inline constexpr const wchar_t* kWineUserSid = L"S-1-5-21-0-0-0-1000";
inline constexpr const wchar_t* kOtherUserSid = L"S-1-5-21-0-0-0-1001";

// A fixed drive defined for a folder (a plain one, or a mounted image), holding this user's and
// another user's bin folders as Windows lays them out: X:\$Recycle.Bin\<SID>\ with its
// desktop.ini. The folders' paths have no trailing backslash.
struct PlantedBins {
    std::unique_ptr<WineDrive> drive;
    std::wstring mine;
    std::wstring theirs;
};
[[nodiscard]] PlantedBins plantBins(const std::wstring& folder, std::string& why);

// The bytes of a "$I" record of version 1 (Vista to 8: the path in a fixed field of 260 units)
// or 2 (10 and later: a count of units, the NUL included, then the path).
[[nodiscard]] std::string recycleRecord(int version, std::uint64_t size, const std::wstring& originalPath);

// Each name in the folder with the file's bytes ("<folder>" for a folder).
[[nodiscard]] std::map<std::wstring, std::string> filesIn(const std::wstring& folder);

} // namespace KestrelTest
