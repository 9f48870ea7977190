#pragma once

#include "console/ItemRecord.h"
#include "console/Sha256.h"
#include "console/StandardStream.h"
#include "erase/ReadBackTally.h"
#include "foundation/UniqueHandle.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// What a run did, as JSON Lines: a run line, one line per item as it ends, a summary line whose
// "sha256" is the hash of every earlier line as written (UTF-8, each with its "\n"), so that a
// record cut or edited afterwards shows it. The lines go to standard output (--json), to a report
// file (--report) or both; the file gets each line as it happens, flushed, so that a run cut
// short leaves a record of how far it got, with no summary.
class JsonReport {
public:
    JsonReport(const StandardStream* output, Kestrel::UniqueFileHandle file) noexcept;

    // A new report file; none, with the reason's line, when it cannot be made: one that exists is
    // never replaced.
    [[nodiscard]] static Kestrel::UniqueFileHandle createFile(const std::wstring& path, std::wstring& why);

    [[nodiscard]] bool writes() const noexcept { return output_ != nullptr || file_; }
    void run(const std::vector<std::wstring>& words, VerifyMode verify);
    void item(const ItemRecord& record);
    void summary(const std::vector<std::wstring>& counted, int exitCode);

private:
    void writeLine(const std::wstring& json);

    const StandardStream* output_ = nullptr;
    Kestrel::UniqueFileHandle file_;
    Sha256 hash_;
    std::int64_t seq_ = 0;
};

// The time as RFC 3339 in UTC, to the millisecond ("2026-12-08T20:31:52.125Z").
[[nodiscard]] std::wstring rfc3339(const FILETIME& time);
