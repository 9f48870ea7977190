#include "foundation/OutputLogWriter.h"

#include <windows.h>

#include <climits>
#include <cstdio>

namespace Kestrel {

namespace {

std::string toUtf8(const std::wstring& text)
{
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int wideLength = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return {};
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), wideLength, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

} // namespace

bool OutputLogWriter::write(const std::wstring& line)
{
    if (line.empty())
        return false;
    const std::string bytes = toUtf8(line);
    // The bytes go straight to the handle: the C runtime's text mode would turn the line's
    // "\r\n" into "\r\r\n". Whatever the runtime still buffers goes first, to keep the order.
    std::fflush(stdout);
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output != nullptr && output != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
    return true;
}

} // namespace Kestrel
