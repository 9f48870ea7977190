#include "console/Confirmation.h"

#include "console/StandardStream.h"

#include <windows.h>

#include <cwctype>
#include <string>

namespace {

// An answer longer than this is no "yes" anyway; the rest of the line is left unread.
constexpr DWORD kLongestAnswer = 64; // characters

std::wstring answerLine()
{
    std::wstring line(kLongestAnswer, L'\0');
    DWORD read = 0;
    if (!ReadConsoleW(GetStdHandle(STD_INPUT_HANDLE), line.data(), kLongestAnswer, &read, nullptr))
        return {};
    line.resize(read);
    return line;
}

std::wstring trimmedLower(const std::wstring& text)
{
    const std::size_t first = text.find_first_not_of(L" \t\r\n");
    if (first == std::wstring::npos)
        return {};
    const std::size_t last = text.find_last_not_of(L" \t\r\n");
    std::wstring word = text.substr(first, last - first + 1);
    for (wchar_t& character : word)
        character = static_cast<wchar_t>(std::towlower(character));
    return word;
}

} // namespace

bool confirmErase(std::size_t items, const StandardStream& prompt)
{
    const std::wstring what = items == 1 ? L"this item" : L"these " + std::to_wstring(items) + L" items";
    prompt.write(L"Erase " + what + L"? This cannot be undone. [y/N] ");
    const std::wstring answer = trimmedLower(answerLine());
    return answer == L"y" || answer == L"yes";
}
