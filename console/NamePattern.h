#pragma once

#include <string_view>

// Whether a name matches a pattern as a user reads it: `*` stands for any run of characters (none
// too), `?` for exactly one, every other character for itself, upper and lower case alike. The
// whole name must match: `*.doc` takes "A.DOC" but not "a.docx", `a?c` takes "abc" but not "ac",
// and `*.*` only names that hold a dot (not "README"; `*` takes every name). Only the name given is
// tried, never another name of the same file such as its 8.3 short name.
[[nodiscard]] bool nameMatches(std::wstring_view pattern, std::wstring_view name) noexcept;
