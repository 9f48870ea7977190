#pragma once

#include <windows.h>

#include <optional>
#include <string>

// Where the item a handle holds really is, links resolved, in the extended-length form
// (\\?\C:\...); nothing when the platform cannot tell. Answers at every length a path can have.
[[nodiscard]] std::optional<std::wstring> realPathOf(HANDLE handle);
