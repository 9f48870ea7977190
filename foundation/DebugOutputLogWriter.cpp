#include "foundation/DebugOutputLogWriter.h"

#include <windows.h>

namespace Kestrel {

bool DebugOutputLogWriter::write(const std::wstring& line)
{
    if (line.empty())
        return false;
    OutputDebugStringW(line.c_str());
    return true;
}

} // namespace Kestrel
