#pragma once

#include <string>
#include <string_view>

namespace Kestrel {

// Win32 path handling strips trailing dots and blanks from every name and limits a path to 260
// characters, so an ordinary path to "x." names "x". A path in the extended-length form
// (\\?\C:\..., \\?\UNC\server\share\...) reaches the file system as it is written. The erase
// engine addresses every item in that form and shows the ordinary form in its log.

// The extended-length form of a path: both separators are read, empty and "." segments dropped,
// ".." folded (never above the root); a relative path is taken from the current folder. A path
// already in that form is returned unchanged. A root ends in a backslash, nothing else does.
// Throws Kestrel::Exception "Parse failed" for a drive-relative path (C:x) or a server without
// a share.
[[nodiscard]] std::wstring extendedLengthPath(const std::wstring& path);
// The path as the user knows it: the extended-length prefix taken off (\\?\UNC\ gives \\).
[[nodiscard]] std::wstring displayPath(const std::wstring& path);
// The file system's own form of an extended-length path (\??\...), as a rename by handle takes it.
[[nodiscard]] std::wstring ntPathOf(const std::wstring& extended);
// The item of that name in the folder, without any parsing of the name.
[[nodiscard]] std::wstring childPath(const std::wstring& folder, const std::wstring& name);
// Whether an extended-length path names a drive or share root.
[[nodiscard]] bool isExtendedRoot(const std::wstring& extended);
// Whether a name from a folder listing is its "." or ".." entry, which names no item inside.
[[nodiscard]] bool isDotName(std::wstring_view name) noexcept;

} // namespace Kestrel
