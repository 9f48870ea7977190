#include "erase/FillWriter.h"

FillWrite writeFill(HANDLE file, const OverwriteBuffer& fill, std::uint32_t count) noexcept
{
    if (count > kWriteChunkSize)
        count = kWriteChunkSize;
    const std::uint8_t* bytes = fill.bytes(count);
    if (!bytes)
        return {0, ERROR_NOT_ENOUGH_MEMORY};
    DWORD written = 0;
    if (!WriteFile(file, bytes, count, &written, nullptr))
        return {written, GetLastError()};
    return {written, 0};
}
