#pragma once

#include "foundation/FileSpec.h"
#include "foundation/Logger.h"

#include <string>

namespace Kestrel {

// UTF-8's byte-order mark. Windows PowerShell 5.1 and Notepad before Windows 10 1903 read a text
// file without it in the ANSI code page, and would show every name outside it garbled: with the
// mark, every reader takes the log as UTF-8.
inline constexpr const char* kUtf8Mark = "\xEF\xBB\xBF";

// Appends each line to an existing file in UTF-8, so that every name survives (the ANSI code page
// lost those outside it), with the mark first when the file is empty. The file is opened,
// appended to and closed once per line, so between lines no handle is held and other programs may
// read, rename or delete it; only the handle the constructor opens is kept until the first line.
// The writer never creates the file: once it is gone, lines are dropped.
class FileLogWriter : public LogWriter {
public:
    // Opens the file at once (silently; the first line opens it again).
    FileLogWriter(int tag, const std::wstring& path);

    // False for an empty line, when the file cannot be opened or its end found, or when not
    // every byte was written.
    bool write(const std::wstring& line) override;

    const std::wstring& path() const noexcept { return path_; }

private:
    std::wstring path_;
    FileSpec file_;
};

} // namespace Kestrel
