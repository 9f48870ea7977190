#include "console/SizeText.h"

#include "console/CountText.h"

#include <windows.h>
#include <shlwapi.h>

#include <iterator>
#include <vector>

namespace {

constexpr std::uint64_t kKilobyte = 1024;

// "2,621,440,027" in the user's digit grouping. GetNumberFormatEx adds the locale's decimals,
// which a count of bytes never has: they are cut at the locale's decimal separator.
std::wstring groupedDigits(std::uint64_t count)
{
    const std::wstring digits = std::to_wstring(count);
    const int length = GetNumberFormatEx(LOCALE_NAME_USER_DEFAULT, 0, digits.c_str(), nullptr, nullptr, 0);
    std::vector<wchar_t> text(length > 0 ? static_cast<std::size_t>(length) : 0);
    wchar_t decimal[8]{};
    if (length <= 0 ||
        GetNumberFormatEx(LOCALE_NAME_USER_DEFAULT, 0, digits.c_str(), nullptr, text.data(), length) != length ||
        GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, decimal, static_cast<int>(std::size(decimal))) == 0)
        return digits;
    const std::wstring grouped(text.data());
    return grouped.substr(0, grouped.find(decimal));
}

// Explorer's own wording ("2.4 GB") and the user's decimal point.
std::wstring shellSize(std::uint64_t bytes)
{
    wchar_t text[32]{};
    if (!StrFormatByteSizeW(static_cast<LONGLONG>(bytes), text, static_cast<UINT>(std::size(text))))
        return {};
    return text;
}

} // namespace

std::wstring sizeText(std::uint64_t bytes)
{
    const std::wstring shown = bytes < kKilobyte ? std::wstring() : shellSize(bytes);
    if (shown.empty())
        return countText(bytes, L"byte");
    return shown + L" (" + groupedDigits(bytes) + L" bytes)";
}

std::wstring sizeTextInBrackets(std::uint64_t bytes)
{
    const std::wstring shown = bytes < kKilobyte ? std::wstring() : shellSize(bytes);
    if (shown.empty())
        return countText(bytes, L"byte");
    return shown + L", " + groupedDigits(bytes) + L" bytes";
}
