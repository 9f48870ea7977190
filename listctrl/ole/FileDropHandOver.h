#pragma once

#include <objidl.h>

#include <string>
#include <vector>

namespace Kestrel {

// Files dropped over the list through OLE go to the list's parent (the dialog that takes shell
// drops) as the same WM_DROPFILES message a drop beside the list brings, so that both reach one
// handler and are added alike. A parent that does not take dropped files gets none from the list
// either.

// The effects the list takes for a file list (CF_HDROP) in this medium: copy or link, never move,
// since a source told of a move deletes its files itself. None when the parent does not take
// dropped files or the list is malformed.
[[nodiscard]] DWORD fileDropEffects(HWND list, const STGMEDIUM& medium) noexcept;

// Sends a copy of the file list to the list's parent, whose handler frees it (DragFinish). False,
// with nothing sent, when fileDropEffects refuses the medium or memory is short.
[[nodiscard]] bool handFileDropToParent(HWND list, const STGMEDIUM& medium) noexcept;

// True when the block is a file list (DROPFILES) whose names all end inside it: the block may come
// from another process, and the shell's readers trust its offsets and terminators.
[[nodiscard]] bool isWellFormedFileDrop(HGLOBAL block) noexcept;

// The paths of a file list block (a WM_DROPFILES handle or a CF_HDROP medium) in the order the
// block holds them, each read whole up to its end, in one pass: DragQueryFileW walks the block
// from its start for every index, so that reading a drop of 5,000 paths took a second. An ANSI
// list is read in the system's code page, as DragQueryFileW reads it. None when the block is not
// well formed.
[[nodiscard]] std::vector<std::wstring> fileDropPaths(HGLOBAL block);

} // namespace Kestrel
