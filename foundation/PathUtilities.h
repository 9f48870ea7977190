#pragma once

#include <string>

namespace Kestrel {

// joinPath and parentFolderOf parse their arguments as Path does and throw Kestrel::Exception
// "Parse failed" for a malformed one (C:, C:x, 1:\x, \C:\x).

// Folder and relative path joined by the Path rules: C:\a and b.txt give C:\a\b.txt.
std::wstring joinPath(const std::wstring& folder, const std::wstring& relative);
// The folder holding the item, with a trailing backslash; a drive root is its own parent.
std::wstring parentFolderOf(const std::wstring& path);
// FileSpec::exists and FileSpec::isDirectory on the path, with their logging.
bool pathExists(const std::wstring& path);
bool pathIsDirectory(const std::wstring& path);
// A drive or share root (PathIsRootW).
bool pathIsRoot(const std::wstring& path);

// %APPDATA%\Larkspan\Wipewell\ (created when missing), ending in a backslash.
std::wstring userDataFolder();
// The temporary folder's Larkspan\Wipewell\ (created when missing), ending in a backslash.
std::wstring tempDataFolder();
// The executable's folder, ending in a backslash.
std::wstring moduleFolder();
// The user's temporary folder in long form.
std::wstring tempFolder();

// The first free "<folder of path>\<stem>.<n>" for n = 0, 1, ...; stem "Deleted" when empty.
// Empty for an empty path, and when no free name is found among 65536 candidates.
std::wstring makeDisposalName(const std::wstring& path, const std::wstring& stem);

} // namespace Kestrel
