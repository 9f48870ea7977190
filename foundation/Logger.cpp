#include "foundation/Logger.h"

#include <cstdarg>
#include <cstdio>

namespace Kestrel {

namespace {

// 8192 bytes: at most 4095 characters of message and the terminator.
constexpr std::size_t kMessageCapacity = 4096;

const wchar_t* prefixOf(LogLevel level) noexcept
{
    switch (level) {
    case LogLevel::Info:
        return L"Info: ";
    case LogLevel::Debug:
        return L"Debug: ";
    case LogLevel::Warning:
        return L"Warning: ";
    case LogLevel::Error:
        return L"ERROR: ";
    case LogLevel::Fatal:
        return L"FATAL: ";
    }
    return L"";
}

// _vsnwprintf_s is the one call that reads %s in a wide format as a wide string on every
// toolchain we build with: MinGW-w64's libstdc++ defines __USE_MINGW_ANSI_STDIO for C++, which
// sends vswprintf and _vsnwprintf to MinGW's C99 formatter (%s narrow), but leaves the secure
// functions to the C runtime, whose msvcrt and UCRT (legacy wide specifiers, its default) both
// read %s as wide and %d as a 32-bit int, as Visual C++ does. _TRUNCATE cuts long text instead of
// calling the invalid-parameter handler.
void formatMessage(wchar_t (&buffer)[kMessageCapacity], const wchar_t* format, va_list args) noexcept
{
    buffer[0] = L'\0';
    _vsnwprintf_s(buffer, kMessageCapacity, _TRUNCATE, format, args);
}

} // namespace

Logger& Logger::instance()
{
    // Never destroyed: a worker thread may still log while the process ends, after the exit
    // handlers have run. The system closes the writers' handles with the process.
    static Logger* const logger = new Logger;
    return *logger;
}

bool Logger::addWriter(std::unique_ptr<LogWriter> writer)
{
    SectionGuard guard(lock_);
    if (!writer)
        return false;
    writers_.push_back(std::move(writer));
    return true;
}

std::unique_ptr<LogWriter> Logger::removeWriter(const LogWriter* writer)
{
    SectionGuard guard(lock_);
    for (auto it = writers_.begin(); it != writers_.end(); ++it) {
        if (it->get() == writer) {
            std::unique_ptr<LogWriter> removed = std::move(*it);
            writers_.erase(it);
            return removed;
        }
    }
    return nullptr;
}

void Logger::log(LogLevel level, const wchar_t* format, ...)
{
    // One hold of the lock per line: formatting and every writer call, so that lines from
    // different threads never interleave in any writer.
    SectionGuard guard(lock_);
    if (!format)
        return;

    wchar_t message[kMessageCapacity];
    va_list args;
    va_start(args, format);
    formatMessage(message, format, args);
    va_end(args);
    if (message[0] == L'\0')
        return;

    try {
        std::wstring line = prefixOf(level);
        line += L'\t';
        line += message;
        line += L"\r\n";
        for (const auto& writer : writers_) {
            if (writer)
                writer->write(line);
        }
    } catch (...) {
        // Logging never fails its caller: a line that cannot be built or taken is lost.
    }
}

} // namespace Kestrel
