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
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_.handle(), &size) || file_.seek(0, FILE_END) < 0) {
        file_.closeHandle();
        return false;
    }
    // The mark goes only where the file begins: an older log in the ANSI code page keeps its
    // lines as they are, and a mark in the middle would be read as text.
    std::string bytes = size.QuadPart == 0 ? std::string(kUtf8Mark) : std::string();
    bytes += toCodePage(line, CP_UTF8);
    const std::uint32_t written = file_.writeBytes(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    file_.closeHandle();
    return written == bytes.size();
}

} // namespace Kestrel
