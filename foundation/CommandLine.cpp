#include "foundation/CommandLine.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>

namespace Kestrel {

namespace {

struct LocalMemoryFree {
    void operator()(wchar_t** memory) const noexcept { LocalFree(memory); }
};

} // namespace

std::vector<std::wstring> commandLineWords(const std::wstring& commandLine)
{
    std::vector<std::wstring> words;
    int count = 0;
    const std::unique_ptr<wchar_t*, LocalMemoryFree> split(CommandLineToArgvW(commandLine.c_str(), &count));
    if (!split)
        return words;
    for (int index = 0; index < count; ++index)
        words.emplace_back(split.get()[index]);
    return words;
}

} // namespace Kestrel
