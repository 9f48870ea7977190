#pragma once

#include "foundation/Logger.h"

namespace Kestrel {

// Writes each line to the process's standard output in UTF-8, so that every path stays readable
// in a terminal and in a redirected file whatever the ANSI code page is.
class OutputLogWriter : public LogWriter {
public:
    explicit OutputLogWriter(int tag) noexcept : LogWriter(tag) {}

    // False for an empty line; true once the line has been handed to standard output.
    bool write(const std::wstring& line) override;
};

} // namespace Kestrel
