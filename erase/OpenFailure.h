#pragma once

#include <windows.h>

#include <string>

enum class OpenedItem { File, Folder };

// Why an item could not be opened, as a sentence for the log ("The file is in use by another
// program (WINWORD.EXE). "); empty for error 0. For a sharing or lock violation the programs that
// hold the item are named, as far as Windows can tell.
[[nodiscard]] std::wstring openFailureReason(const std::wstring& path, DWORD error, OpenedItem item);

// Logs "Failed to open: <path>. " with the reason behind it at Error level. Call it with the error
// the failing open left, read before anything else could change it.
void reportOpenFailure(const std::wstring& path, DWORD error, OpenedItem item = OpenedItem::File);
