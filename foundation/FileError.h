#pragma once

#include <windows.h>

namespace Kestrel {

// The wide printf format ("File not found: %s", ...) with which a Win32 error code is reported
// for a path; "File error: %s" for any code without a message of its own.
const wchar_t* fileErrorFormat(DWORD error) noexcept;

} // namespace Kestrel
