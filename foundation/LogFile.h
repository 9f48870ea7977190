#pragma once

#include <cstdint>
#include <string>

namespace Kestrel {

// KWW.log, which the window and kww keep alike.

// The log file is cut only at start-up (limitLogFile, beside the fill writer it overwrites the cut
// lines with). While the program runs the file may grow past the limit.
inline constexpr std::uint64_t kLogFileLimit = 10485760; // 10 MiB

// KWW.log in the per-user data folder (created when missing).
[[nodiscard]] std::wstring logFilePath();

// Gives the process logger its three writers: standard output, the debugger, then the file.
void addLogWriters(const std::wstring& path);

} // namespace Kestrel
