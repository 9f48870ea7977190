#pragma once

#include <optional>
#include <string>

namespace Kestrel {

// The root ("D:\") of the drive a command-line argument names: "D:\", "D:/", "D:" and "D:\"" as
// Explorer's "%1" arrives once the usual splitting has read its backslash as escaping the closing
// quote ("D:\"" becomes D:"). The letter comes back upper-case; nothing for any other form.
[[nodiscard]] std::optional<std::wstring> driveRootOf(const std::wstring& argument);

} // namespace Kestrel
