#pragma once

#include "foundation/SectionLock.h"

#include <memory>
#include <string>
#include <vector>

namespace Kestrel {

template <typename T>
class NeverDestroyed;

// Any int value may be passed; values outside 0..4 log without a prefix.
enum class LogLevel : int { Info = 0, Debug = 1, Warning = 2, Error = 3, Fatal = 4 };

class LogWriter {
public:
    explicit LogWriter(int tag) noexcept : tag_(tag) {}
    virtual ~LogWriter() = default;
    LogWriter(const LogWriter&) = delete;
    LogWriter& operator=(const LogWriter&) = delete;

    // Takes one finished line ("prefix\tmessage\r\n"); true when it was taken.
    virtual bool write(const std::wstring& line) = 0;
    int tag() const noexcept { return tag_; }

private:
    int tag_;
};

// The process-wide logger: formats one line and hands it to every writer, one line at a time.
// It and its writers live until the process ends.
class Logger {
public:
    static Logger& instance();

    // Takes ownership; false for a null writer.
    bool addWriter(std::unique_ptr<LogWriter> writer);
    // Hands a writer back to the caller (tests use it to detach what they attached).
    std::unique_ptr<LogWriter> removeWriter(const LogWriter* writer);

    // format is a wide printf format: %s takes a wide string, %d a 32-bit int.
    void log(LogLevel level, const wchar_t* format, ...);

private:
    friend class NeverDestroyed<Logger>;
    Logger() = default;
    SectionLock lock_;
    std::vector<std::unique_ptr<LogWriter>> writers_;
};

} // namespace Kestrel
