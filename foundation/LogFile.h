#pragma once

#include <cstdint>
#include <string>

namespace Kestrel {

// KWW.log, which the window and kww keep alike.

// The log file is cut only here, at start-up: a log that has reached the limit is emptied whole
// (no rotation, no backup), a smaller one is kept and appended to. While the program runs the
// file may grow past the limit.
inline constexpr std::uint64_t kLogFileLimit = 10485760; // 10 MiB

// KWW.log in the per-user data folder (created when missing).
[[nodiscard]] std::wstring logFilePath();

// Empties the file when it has reached kLogFileLimit, creates it empty when it is missing, and
// leaves a smaller one as it is. Failures are logged by the file layer.
void limitLogFile(const std::wstring& path);

// Gives the process logger its three writers: standard output, the debugger, then the file.
void addLogWriters(const std::wstring& path);

} // namespace Kestrel
