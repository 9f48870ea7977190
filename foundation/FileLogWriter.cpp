#include "foundation/FileLogWriter.h"

#include "foundation/CodePage.h"

#include <windows.h>

namespace Kestrel {

FileLogWriter::FileLogWriter(int tag, const std::wstring& path) : LogWriter(tag), path_(path)
{
    file_.closeHandle();
    if (!path_.empty()) {
        file_.assign(path_);
        static_cast<void>(file_.openReadWrite());
    }
}

bool FileLogWriter::write(const std::wstring& line)
{
    if (line.empty())
        return false;
    if (!file_.openReadWrite())
        return false;
    // Without the end of the file the bytes would land over the first lines of the log.
    if (file_.seek(0, FILE_END) < 0) {
        file_.closeHandle();
        return false;
    }
    const std::string bytes = toCodePage(line, CP_ACP);
    const std::uint32_t written = file_.writeBytes(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    file_.closeHandle();
    return written == bytes.size();
}

} // namespace Kestrel
