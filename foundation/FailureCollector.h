#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace Kestrel {

// A failure as its reporter knew it.
struct ReportedFailure {
    DWORD error = ERROR_SUCCESS; // the Win32 code, when the file layer reported it
    std::wstring path;           // the item it concerned, as the user knows it; empty when none
    std::wstring message;        // the text of its log line, without the closing ". "
};

// Keeps, while it lives, the first failure its thread reports: the file layer's error for a path
// (reportFileError), or else any Error line the thread logs. A worker arms one for its task, so
// that the task carries why it failed; on other threads failures are only logged. Armed ones
// nest: the innermost keeps what its thread reports meanwhile.
class FailureCollector {
public:
    FailureCollector() noexcept;
    ~FailureCollector();
    FailureCollector(const FailureCollector&) = delete;
    FailureCollector& operator=(const FailureCollector&) = delete;

    [[nodiscard]] const std::optional<ReportedFailure>& first() const noexcept { return first_; }

    // The reporting points: the file layer's error just before its line, and every Error line.
    static void noteFileError(DWORD error, const std::wstring& path);
    static void noteErrorLine(const std::wstring& message);

private:
    FailureCollector* outer_;
    std::optional<ReportedFailure> first_;
};

} // namespace Kestrel
