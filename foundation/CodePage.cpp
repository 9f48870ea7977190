#include "foundation/CodePage.h"

#include <climits>

namespace Kestrel {

std::string toCodePage(const std::wstring& text, UINT codePage)
{
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int wideLength = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(codePage, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return {};
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), wideLength, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

std::wstring fromCodePage(const char* text, std::size_t length, UINT codePage)
{
    if (length == 0 || length > INT_MAX)
        return {};
    const int count = static_cast<int>(length);
    const int wideCount = MultiByteToWideChar(codePage, 0, text, count, nullptr, 0);
    if (wideCount <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(wideCount), L'\0');
    MultiByteToWideChar(codePage, 0, text, count, wide.data(), wideCount);
    return wide;
}

} // namespace Kestrel
