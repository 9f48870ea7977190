#pragma once

#include "foundation/FileSpec.h"

#include <string>

// The last steps for an overwritten file and for a folder, all through the item's own open
// handle: a file is emptied; the item is renamed to a meaningless name in its folder (the first
// free "KestrelWipewell.<n>"), or keeps its name when none is free or the rename fails; it is
// deleted when its handle closes. Answers whether the item is gone; the file layer logs every
// failing step. The folder path is the extended-length path of the folder that holds the item.
[[nodiscard]] bool disposeOfFile(Kestrel::FileSpec& file, const std::wstring& folder);
[[nodiscard]] bool disposeOfFolder(Kestrel::FileSpec& folder, const std::wstring& holder);
// A folder goes only when it is empty: one that still holds something keeps its name, so the
// user finds what was kept where it was. Asked before the folder is opened for its removal, since
// that handle shares no deletion, which a listing needs. "Directory not empty: %s" when it holds
// something.
[[nodiscard]] bool folderIsEmpty(const std::wstring& folder);
