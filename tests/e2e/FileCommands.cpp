#include "tests/e2e/FileCommands.h"

#include "foundation/CodePage.h"

#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace E2E {

bool waitGone(DriverState& state, Arguments arguments)
{
    const std::wstring& path = arguments[0];
    if (!waitUntil(state.boundMilliseconds,
                   [&path] { return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES; }))
        return fail(L"%ls is still there after %lu ms", path.c_str(), state.boundMilliseconds);
    return true;
}

// The program's log (UTF-8 text) in this prefix's roaming application-data folder.
bool waitLog(DriverState& state, Arguments arguments)
{
    wchar_t folder[MAX_PATH]{};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return fail(L"no application-data folder");
    const std::wstring log = std::wstring(folder) + L"\\Larkspan\\Wipewell\\KWW.log";
    const std::string wanted = Kestrel::toCodePage(arguments[0], CP_UTF8);
    const auto logged = [&] {
        std::ifstream file(std::filesystem::path(log), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        return text.find(wanted) != std::string::npos;
    };
    if (!waitUntil(state.boundMilliseconds, logged))
        return fail(L"no line with \"%ls\" in %ls within %lu ms", arguments[0].c_str(), log.c_str(),
                    state.boundMilliseconds);
    return true;
}

// The file stays open without sharing until the driver ends: erasing it fails.
bool holdFile(DriverState& state, Arguments arguments)
{
    Kestrel::UniqueFileHandle file(
        CreateFileW(arguments[0].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return fail(L"cannot hold %ls (error %lu)", arguments[0].c_str(), GetLastError());
    state.heldFiles.push_back(std::move(file));
    return true;
}

} // namespace E2E
