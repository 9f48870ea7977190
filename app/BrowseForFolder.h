#pragma once

#include <windows.h>

#include <string>

namespace Kestrel {

// The shell's folder browser (SHBrowseForFolderW, new dialog style, file-system folders only),
// rooted at the desktop. Needs COM on the calling thread.
class BrowseForFolder {
public:
    // Taken only when it is a window.
    void setOwner(HWND owner) noexcept;
    // The folder selected when the browser opens; taken only when it names an existing folder.
    void setInitialFolder(const std::wstring& folder);

    // Runs the browser modally; true when the user chose a folder that has a file-system path.
    [[nodiscard]] bool browse();
    // The chosen folder's path, empty until a browse succeeded.
    [[nodiscard]] const std::wstring& selectedPath() const noexcept { return path_; }

private:
    static int CALLBACK callback(HWND browser, UINT message, LPARAM, LPARAM data) noexcept;

    HWND owner_ = nullptr;
    std::wstring initialFolder_;
    std::wstring title_;
    std::wstring path_;
};

} // namespace Kestrel
