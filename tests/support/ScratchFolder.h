#pragma once

#include <string>

namespace KestrelTest {

// A folder of its own under the Wine (or Windows) temporary folder for one test, removed with
// everything in it when the object goes. Links inside it are never followed: removal stops at any
// entry that carries the reparse attribute, so a test that makes links must remove them itself.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder's path, without a trailing backslash.
    const std::wstring& path() const noexcept { return path_; }
    // path() + "\\" + relative.
    std::wstring operator/(const std::wstring& relative) const { return path_ + L"\\" + relative; }

private:
    std::wstring path_;
};

// Removes a folder tree without following links; answers whether everything went.
bool removeTree(const std::wstring& folder);

// Writes a file with the given bytes (creating or replacing it); answers whether it worked.
bool writeFile(const std::wstring& path, const std::string& bytes);
// The whole content of a file, or an empty string when it cannot be read.
std::string readFile(const std::wstring& path);

} // namespace KestrelTest
