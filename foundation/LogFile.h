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

// The line that begins a start's lines, with the program's name and the local date and time
// ("kww started 2026-12-08 21:04:05 (UTC+01:00). "): the window and kww append to one log, run
// after run.
void logStart(const std::wstring& program);

} // namespace Kestrel
