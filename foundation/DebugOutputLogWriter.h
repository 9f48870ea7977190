#pragma once

#include "foundation/Logger.h"

namespace Kestrel {

// Hands each line to an attached debugger (OutputDebugStringW); with none attached the line goes
// nowhere, and it still counts as taken.
class DebugOutputLogWriter : public LogWriter {
public:
    explicit DebugOutputLogWriter(int tag) noexcept : LogWriter(tag) {}

    // False for an empty line, true otherwise.
    bool write(const std::wstring& line) override;
};

} // namespace Kestrel
