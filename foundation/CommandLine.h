#pragma once

#include <string>
#include <vector>

namespace Kestrel {

// The words of a command line, split as Windows splits one (CommandLineToArgvW): the program's
// name first, then each argument. The first word follows rules of its own (a quote ends it, a
// backslash is plain). An empty line gives the running program's path as its one word. Empty
// when the line cannot be split.
[[nodiscard]] std::vector<std::wstring> commandLineWords(const std::wstring& commandLine);

} // namespace Kestrel
