#include "erase/FillWriter.h"

FillWrite writeFill(HANDLE file, const OverwriteBuffer& fill, std::uint32_t count) noexcept
{
    if (count > kWriteChunkSize)
        count = kWriteChunkSize;
    DWORD written = 0;
    if (!WriteFile(file, fill.bytes(), count, &written, nullptr))
        return {written, GetLastError()};
    return {written, 0};
}
