#pragma once

#include <windows.h>

#include <string>

namespace Kestrel {

// The shell's folder browser (SHBrowseForFolderW, new dialog style, file-system folders only),
// rooted at the desktop. Nothing is chosen until the user chooses: without an initial folder the
// browser opens with its OK button off, and the desktop at the tree's root, which the browser
// selects first, is never handed back. Needs COM on the calling thread.
class BrowseForFolder {
public:
    // Taken only when it is a window.
    void setOwner(HWND owner) noexcept;
    // The folder selected when the browser opens; taken only when it names an existing folder.
    void setInitialFolder(const std::wstring& folder);
    // What the browser shows above its tree: what the folder is chosen for.
    void setTitle(std::wstring title) { title_ = std::move(title); }

    // Runs the browser modally; true when the user chose a folder that has a file-system path.
    [[nodiscard]] bool browse();
    // The chosen folder's path, empty until a browse succeeded.
    [[nodiscard]] const std::wstring& selectedPath() const noexcept { return path_; }

private:
    static int CALLBACK callback(HWND browser, UINT message, LPARAM item, LPARAM data) noexcept;

    HWND owner_ = nullptr;
    std::wstring initialFolder_;
    std::wstring title_;
    std::wstring path_;
};

} // namespace Kestrel
