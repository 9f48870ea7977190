#include "foundation/DriveRoot.h"

#include <cwctype>

namespace Kestrel {

std::optional<std::wstring> driveRootOf(const std::wstring& argument)
{
    if (argument.size() < 2 || argument.size() > 3 || argument[1] != L':')
        return std::nullopt;
    const wchar_t letter = static_cast<wchar_t>(std::towupper(argument[0]));
    if (letter < L'A' || letter > L'Z')
        return std::nullopt;
    if (argument.size() == 3 && argument[2] != L'\\' && argument[2] != L'/' && argument[2] != L'"')
        return std::nullopt;
    return std::wstring{letter, L':', L'\\'};
}

} // namespace Kestrel
