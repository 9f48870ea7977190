#pragma once

#include "console/StandardStream.h"

#include <string>

// The running item's progress on one line of the console, written over in place; nothing at
// all when the stream is redirected (a log file of a script would fill with half lines).
class ProgressLine {
public:
    explicit ProgressLine(const StandardStream& stream) noexcept : stream_(stream) {}
    // Clears a line that is still shown.
    ~ProgressLine() { clear(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // " 42% C:\\data\\big.iso", cut to the window's width; written only when it changed.
    void show(double percent, const std::wstring& path);
    // Blanks the line and returns to its start, so that the next text begins there.
    void clear();

private:
    const StandardStream& stream_;
    std::wstring shown_;
};
