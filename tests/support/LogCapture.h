#pragma once

#include "foundation/Logger.h"
#include "foundation/SectionLock.h"

#include <cstddef>
#include <string>
#include <vector>

namespace KestrelTest {

// Captures every line the process logger writes while the object lives: a writer of its own is
// added to Kestrel::Logger::instance() on construction and removed again on destruction. Lines
// are kept exactly as the logger built them ("ERROR: \tFile not found: C:\\x\r\n"). Safe to read
// while other threads log.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::wstring> lines() const;
    // Whether any captured line contains the text.
    [[nodiscard]] bool contains(const std::wstring& text) const;
    // How many captured lines contain the text.
    [[nodiscard]] std::size_t count(const std::wstring& text) const;
    [[nodiscard]] bool empty() const;
    void clear();

    // Called by the capturing writer.
    void add(const std::wstring& line);

private:
    mutable Kestrel::SectionLock lock_;
    std::vector<std::wstring> lines_;
    const Kestrel::LogWriter* writer_ = nullptr;
};

} // namespace KestrelTest
