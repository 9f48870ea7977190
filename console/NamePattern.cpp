#include "console/NamePattern.h"

#include <windows.h>

namespace {

constexpr std::size_t kNone = std::wstring_view::npos;

// A user counts a surrogate pair as one character, and so does `?`.
std::size_t characterLength(std::wstring_view text, std::size_t at) noexcept
{
    return at + 1 < text.size() && IS_HIGH_SURROGATE(text[at]) && IS_LOW_SURROGATE(text[at + 1]) ? 2 : 1;
}

// Case is compared as the file system compares names: through the system's upper-case table,
// character by character, whatever the user's locale.
bool sameCharacter(std::wstring_view left, std::wstring_view right) noexcept
{
    return CompareStringOrdinal(left.data(), static_cast<int>(left.size()), right.data(),
                                static_cast<int>(right.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

bool nameMatches(std::wstring_view pattern, std::wstring_view name) noexcept
{
    std::size_t inPattern = 0;
    std::size_t inName = 0;
    // After the last `*` seen: where the pattern goes on, and where in the name that was tried.
    // A mismatch lets that `*` take one more character; an earlier `*` never needs to.
    std::size_t afterStar = kNone;
    std::size_t starTried = 0;
    while (inName < name.size()) {
        const std::size_t nameLength = characterLength(name, inName);
        if (inPattern < pattern.size() && pattern[inPattern] == L'*') {
            afterStar = ++inPattern;
            starTried = inName;
            continue;
        }
        if (inPattern < pattern.size()) {
            const std::size_t patternLength = pattern[inPattern] == L'?' ? 1 : characterLength(pattern, inPattern);
            if (pattern[inPattern] == L'?' ||
                sameCharacter(pattern.substr(inPattern, patternLength), name.substr(inName, nameLength))) {
                inPattern += patternLength;
                inName += nameLength;
                continue;
            }
        }
        if (afterStar == kNone)
            return false;
        starTried += characterLength(name, starTried);
        inPattern = afterStar;
        inName = starTried;
    }
    while (inPattern < pattern.size() && pattern[inPattern] == L'*')
        ++inPattern;
    return inPattern == pattern.size();
}
