#include "foundation/ExtendedPath.h"

#include "foundation/Exception.h"

#include <windows.h>

#include <vector>

namespace Kestrel {

namespace {

const std::wstring kPrefix = L"\\\\?\\";
const std::wstring kUncPrefix = L"\\\\?\\UNC\\";
const std::wstring kDevicePrefix = L"\\\\.\\";
const std::wstring kNtPrefix = L"\\??\\";

bool isSeparator(wchar_t c) noexcept
{
    return c == L'\\' || c == L'/';
}

bool startsWith(const std::wstring& text, const std::wstring& start)
{
    return text.compare(0, start.size(), start) == 0;
}

[[noreturn]] void parseFailed()
{
    throw Exception("Parse failed");
}

std::vector<std::wstring> segmentsOf(const std::wstring& path, std::size_t from)
{
    std::vector<std::wstring> segments;
    std::wstring segment;
    for (std::size_t at = from; at <= path.size(); ++at) {
        if (at < path.size() && !isSeparator(path[at])) {
            segment += path[at];
            continue;
        }
        if (segment == L"..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (!segment.empty() && segment != L".") {
            segments.push_back(segment);
        }
        segment.clear();
    }
    return segments;
}

std::wstring currentFolder()
{
    std::vector<wchar_t> buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0)
            parseFailed();
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.assign(length, L'\0');
    }
}

// Splits an ordinary absolute path into its root ("C:\", "UNC\server\share\") and the offset of
// the rest.
std::wstring rootOf(const std::wstring& path, std::size_t& rest)
{
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) {
        const std::vector<std::wstring> parts = segmentsOf(path, 2);
        if (parts.size() < 2)
            parseFailed();
        // Server and share are the first two names; everything after them is the rest.
        std::size_t at = 2;
        for (int names = 0; names < 2; ++names) {
            while (at < path.size() && isSeparator(path[at]))
                ++at;
            while (at < path.size() && !isSeparator(path[at]))
                ++at;
        }
        rest = at;
        return L"UNC\\" + parts[0] + L"\\" + parts[1] + L"\\";
    }
    if (path.size() >= 2 && path[1] == L':') {
        const wchar_t drive = path[0];
        if (!((drive >= L'A' && drive <= L'Z') || (drive >= L'a' && drive <= L'z')) || path.size() < 3 ||
            !isSeparator(path[2]))
            parseFailed();
        rest = 3;
        return path.substr(0, 2) + L"\\";
    }
    parseFailed();
}

} // namespace

std::wstring extendedLengthPath(const std::wstring& path)
{
    if (startsWith(path, kPrefix) || startsWith(path, kDevicePrefix))
        return path;
    std::wstring absolute = path;
    const bool hasDrive = path.size() >= 2 && path[1] == L':';
    const bool rooted = !path.empty() && isSeparator(path[0]);
    if (!hasDrive && !rooted) {
        absolute = currentFolder() + L"\\" + path;
    } else if (rooted && !(path.size() >= 2 && isSeparator(path[1]))) {
        // "\x" is on the current folder's drive or share.
        std::size_t rest = 0;
        const std::wstring folder = currentFolder();
        static_cast<void>(rootOf(folder, rest));
        absolute = folder.substr(0, rest) + path;
    }
    std::size_t rest = 0;
    std::wstring result = kPrefix + rootOf(absolute, rest);
    const std::vector<std::wstring> segments = segmentsOf(absolute, rest);
    for (std::size_t index = 0; index < segments.size(); ++index) {
        if (index != 0)
            result += L'\\';
        result += segments[index];
    }
    return result;
}

std::wstring displayPath(const std::wstring& path)
{
    if (startsWith(path, kUncPrefix))
        return L"\\\\" + path.substr(kUncPrefix.size());
    if (startsWith(path, kPrefix))
        return path.substr(kPrefix.size());
    return path;
}

std::wstring ntPathOf(const std::wstring& extended)
{
    if (startsWith(extended, kPrefix))
        return kNtPrefix + extended.substr(kPrefix.size());
    return extended;
}

std::wstring childPath(const std::wstring& folder, const std::wstring& name)
{
    if (!folder.empty() && folder.back() == L'\\')
        return folder + name;
    return folder + L"\\" + name;
}

bool isExtendedRoot(const std::wstring& extended)
{
    if (startsWith(extended, kUncPrefix))
        return segmentsOf(extended, kUncPrefix.size()).size() == 2;
    if (!startsWith(extended, kPrefix))
        return false;
    const std::wstring rest = extended.substr(kPrefix.size());
    return rest.size() >= 2 && rest.size() <= 3 && rest[1] == L':' && (rest.size() == 2 || rest[2] == L'\\');
}

bool isDotName(std::wstring_view name) noexcept
{
    return name == L"." || name == L"..";
}

} // namespace Kestrel
