#include "console/CountText.h"

std::wstring countText(std::uint64_t count, const std::wstring& noun)
{
    return std::to_wstring(count) + L" " + noun + (count == 1 ? L"" : L"s");
}
