#pragma once

#include <windows.h>

#include <string>

namespace Kestrel {

// The wide printf format ("File not found: %s", ...) with which a Win32 error code is reported
// for a path; "File error: %s" for any code without a message of its own.
const wchar_t* fileErrorFormat(DWORD error) noexcept;
// That message for the path ("File not found: C:\\x").
[[nodiscard]] std::wstring fileErrorText(DWORD error, const std::wstring& path);

} // namespace Kestrel
