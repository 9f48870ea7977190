#include "foundation/FileLogWriter.h"

#include <windows.h>

#include <climits>

namespace Kestrel {

namespace {

std::string toAnsi(const std::wstring& text)
{
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int wideLength = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return {};
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

} // namespace

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
    const std::string bytes = toAnsi(line);
    const std::uint32_t written = file_.writeBytes(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    file_.closeHandle();
    return written == bytes.size();
}

} // namespace Kestrel
