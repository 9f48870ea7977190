#pragma once

#include "foundation/FileSpec.h"

#include <string>

// The last steps for an overwritten file and for a folder, all through the item's own open
// handle: a file is emptied; the item is renamed to a meaningless name in its folder (the first
// free "KestrelWipewell.<n>"), or keeps its name when none is free or the rename fails; it is
// deleted when its handle closes. The file layer logs every failing step. The folder path is the
// extended-length path of the folder that holds the item.
//
// Under Wine a deletion the file system refuses, or one another handle on the item delays, is
// not reported: only a look afterwards shows whether the item went, and looking up a name that is
// not there reads the whole folder. When the same task removes the holder later, its emptiness
// check is that look, once for all its items (Later); otherwise the item is looked for at once
// (Now). Answers false when the item is known to be still there.
enum class RemovalCheck { Now, Later };
[[nodiscard]] bool disposeOfFile(Kestrel::FileSpec& file, const std::wstring& folder, RemovalCheck check);
// A file whose data is not on this disk (isOnlineOnly) is renamed and deleted, never emptied:
// that would be a write to its data.
[[nodiscard]] bool disposeOfOnlineOnlyFile(Kestrel::FileSpec& file, const std::wstring& folder, RemovalCheck check);
[[nodiscard]] bool disposeOfFolder(Kestrel::FileSpec& folder, const std::wstring& holder, RemovalCheck check);
// A folder goes only when it is empty: one that still holds something keeps its name, so the
// user finds what was kept where it was. Asked before the folder is opened for its removal, since
// that handle shares no deletion, which a listing needs. "Directory not empty: %s" when it holds
// something.
[[nodiscard]] bool folderIsEmpty(const std::wstring& folder);
