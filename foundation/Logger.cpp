#include "foundation/Logger.h"

#include "foundation/FailureCollector.h"
#include "foundation/NeverDestroyed.h"

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <string>

namespace Kestrel {

namespace {

// Most lines fit here; a longer one (an item with a long path) is formatted again in a buffer
// that doubles until the whole message fits.
constexpr std::size_t kFirstCapacity = 1024;
// A message this long is cut: no line of ours comes near it.
constexpr std::size_t kLargestCapacity = std::size_t{1} << 20;

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
// read %s as wide and %d as a 32-bit int, as Visual C++ does. With _TRUNCATE it answers -1 for a
// message that does not fit instead of calling the invalid-parameter handler. A message that
// cannot be given memory is lost (empty), as logging never fails its caller.
std::wstring formatMessage(const wchar_t* format, va_list args) noexcept
try {
    std::wstring message(kFirstCapacity, L'\0');
    for (;;) {
        va_list attempt;
        va_copy(attempt, args);
        const int length = _vsnwprintf_s(message.data(), message.size(), _TRUNCATE, format, attempt);
        va_end(attempt);
        if (length >= 0) {
            message.resize(static_cast<std::size_t>(length));
            return message;
        }
        if (message.size() >= kLargestCapacity) {
            message.resize(wcslen(message.c_str()));
            return message;
        }
        message.assign(message.size() * 2, L'\0');
    }
} catch (...) {
    return {};
}

} // namespace

Logger& Logger::instance()
{
    // A worker thread may still log while the process ends, after the exit handlers have run.
    static NeverDestroyed<Logger> logger;
    return logger.get();
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

    va_list args;
    va_start(args, format);
    const std::wstring message = formatMessage(format, args);
    va_end(args);
    if (message.empty())
        return;

    try {
        if (level == LogLevel::Error)
            FailureCollector::noteErrorLine(message);
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
