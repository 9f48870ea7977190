#pragma once

#include <optional>
#include <string>

// Why a folder whose erase failed is still there, when only links kept it: nothing but folders
// and links stays in it, and links are never followed. Then "its files were erased; the folder is
// kept because it holds a link, which is never followed: C:\\x\\link"; nothing when a file stays
// too, or what stays cannot be listed. Read only: nothing is opened for writing or logged.
[[nodiscard]] std::optional<std::wstring> keptForLinks(const std::wstring& folder);
