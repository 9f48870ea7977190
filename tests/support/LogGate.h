#pragma once

#include "foundation/Logger.h"
#include "foundation/UniqueHandle.h"

#include <windows.h>

#include <string>

namespace KestrelTest {

// Holds up the first thread that logs a line containing the given text, inside the logger's
// writer call, until the test releases it. A test that must act at an exact point of a worker
// (say, between two items of a walk) waits until the worker is held there. The hold itself is
// bounded, so a test that forgets to release cannot hang the worker for ever. While a thread is
// held the logger's lock is taken: the test must not log until it releases.
class LogGate {
public:
    explicit LogGate(std::wstring text);
    ~LogGate();
    LogGate(const LogGate&) = delete;
    LogGate& operator=(const LogGate&) = delete;

    // Whether a thread got held within the bound.
    [[nodiscard]] bool waitUntilHeld(DWORD timeoutMilliseconds);
    void release() noexcept;

    // Called by the gate's writer.
    void pass(const std::wstring& line);

private:
    std::wstring text_;
    Kestrel::UniqueHandle held_;
    Kestrel::UniqueHandle released_;
    LONG triggered_ = 0;
    const Kestrel::LogWriter* writer_ = nullptr;
};

} // namespace KestrelTest
