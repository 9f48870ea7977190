#include "foundation/OutputLogWriter.h"

#include "foundation/CodePage.h"

#include <windows.h>

#include <cstdio>

namespace Kestrel {

bool OutputLogWriter::write(const std::wstring& line)
{
    if (line.empty())
        return false;
    const std::string bytes = toCodePage(line, CP_UTF8);
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
