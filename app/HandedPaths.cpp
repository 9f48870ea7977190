#include "app/HandedPaths.h"

#include "foundation/CommandLine.h"
#include "foundation/Exception.h"
#include "foundation/ExtendedPath.h"

#include <windows.h>

namespace {

bool isSeparator(wchar_t character) noexcept
{
    return character == L'\\' || character == L'/';
}

bool isBlank(const std::wstring& text) noexcept
{
    return text.find_first_not_of(L" \t") == std::wstring::npos;
}

std::vector<std::wstring> argumentWords(const wchar_t* arguments)
{
    const std::wstring text = arguments ? arguments : L"";
    if (isBlank(text))
        return {};
    // The first word of a command line is split by other rules: a stand-in name in front makes
    // every argument follow the rules for arguments.
    std::vector<std::wstring> words = Kestrel::commandLineWords(L"program " + text);
    if (!words.empty())
        words.erase(words.begin());
    return words;
}

std::vector<std::wstring> madeWhole(std::vector<std::wstring> words)
{
    for (std::wstring& word : words) {
        // A whole path stays as written, as a dropped one does: made whole again, "x." would lose
        // its dot and name "x".
        if (!isBlank(word) && !isWholePath(word))
            word = wholePath(word);
    }
    return words;
}

bool isSwitch(const std::wstring& word, const wchar_t* name) noexcept
{
    return CompareStringOrdinal(word.c_str(), static_cast<int>(word.size()), name, -1, TRUE) == CSTR_EQUAL;
}

} // namespace

HandedItems handedItems(const wchar_t* arguments)
{
    std::vector<std::wstring> words = argumentWords(arguments);
    if (!words.empty() && isSwitch(words.front(), kRecycleBinSwitch))
        return {false, {}, true};
    if (words.empty() || !isSwitch(words.front(), kFreeSpaceSwitch))
        return {false, madeWhole(std::move(words))};
    words.erase(words.begin());
    return {true, std::move(words)};
}

std::vector<std::wstring> handedPaths(const wchar_t* arguments)
{
    return madeWhole(argumentWords(arguments));
}

namespace {

std::wstring fullPathName(const std::wstring& path)
{
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return path;
    std::wstring whole(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, whole.data(), nullptr);
    if (length == 0 || length >= size)
        return path;
    whole.resize(length);
    return whole;
}

} // namespace

std::wstring wholePath(const std::wstring& path)
{
    try {
        return Kestrel::displayPath(Kestrel::extendedLengthPath(path));
    } catch (const Kestrel::Exception&) {
        // A drive-relative path (C:x) is read against that drive's own current folder, which only
        // the system keeps.
        return fullPathName(path);
    }
}

bool isWholePath(const std::wstring& path) noexcept
{
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]))
        return path.size() > 2;
    return path.size() >= 3 && ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
           path[1] == L':' && isSeparator(path[2]);
}
