#pragma once

#include "foundation/UniqueHandle.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace KestrelTest {

// A file of the given length that occupies no space until it is written (Wine makes it with
// ftruncate): large files for tests and benchmarks at no cost. Header-only, as the benchmarks
// link no test support.
[[nodiscard]] inline bool writeSparse(const std::wstring& path, std::uint64_t size)
{
    Kestrel::UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    return file && SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get());
}

} // namespace KestrelTest
