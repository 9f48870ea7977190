#include "erase/LogFileLimit.h"

#include "erase/FillWriter.h"
#include "foundation/FileSpec.h"
#include "foundation/LogFile.h"

#include <algorithm>

namespace {

// The fill over the first size bytes of the open file, flushed: a file emptied with its new
// bytes still in the cache keeps the old ones on the disk.
bool overwrite(Kestrel::FileSpec& file, std::uint64_t size)
{
    const OverwriteBuffer fill;
    for (std::uint64_t done = 0; done < size;) {
        const auto chunk = static_cast<std::uint32_t>(std::min<std::uint64_t>(kWriteChunkSize, size - done));
        if (!writeFill(file.handle(), fill, chunk).complete(chunk))
            return false;
        done += chunk;
    }
    return file.flush();
}

} // namespace

void limitLogFile(const std::wstring& path)
{
    Kestrel::FileSpec file(path);
    if (!file.exists()) {
        static_cast<void>(file.createFile());
        return;
    }
    const std::uint64_t size = file.fileSize();
    if (size < Kestrel::kLogFileLimit)
        return;
    if (!file.openReadWrite()) {
        Kestrel::reportFileError(path);
        return;
    }
    if (!overwrite(file, size))
        Kestrel::reportFileError(path);
    // Emptied all the same: a log past its limit that could not be overwritten is still cut.
    static_cast<void>(file.truncate());
}
