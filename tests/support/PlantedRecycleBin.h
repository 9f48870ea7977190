#pragma once

#include <cstdint>
#include <string>

namespace KestrelTest {

// The user every Wine process runs as, whose bin folder on a drive the program erases.
inline constexpr const wchar_t* kWineUserSid = L"S-1-5-21-0-0-0-1000";
// Another user of the same machine, whose bin folder nothing may touch.
inline constexpr const wchar_t* kOtherUserSid = L"S-1-5-21-0-0-0-1001";

// A user's bin folder made on a drive as Windows lays it out: X:\$Recycle.Bin\<SID>\ holding its
// desktop.ini. Its path (no trailing backslash), or empty when it cannot be made.
[[nodiscard]] std::wstring plantRecycleBin(const std::wstring& root, const std::wstring& sid);

// The bytes of a "$I" record of version 1 (Vista to 8: the path in a fixed field of 260 units)
// or 2 (10 and later: a count of units, the NUL included, then the path).
[[nodiscard]] std::string recycleRecord(int version, std::uint64_t size, const std::wstring& originalPath);

} // namespace KestrelTest
