#include "foundation/PathUtilities.h"

#include "foundation/FileSpec.h"
#include "foundation/Path.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

namespace Kestrel {

namespace {

const wchar_t kProgramFolder[] = L"Larkspan\\Wipewell\\";
const wchar_t kDefaultDisposalStem[] = L"Deleted";
// A folder in which every name seems taken (each test answered "exists" after an unexpected
// error) would otherwise keep the search going for ever.
constexpr int kDisposalCandidates = 65536;

void createFolderIfMissing(const std::wstring& folder)
{
    // SHCreateDirectoryExW makes the missing parents too. It refuses a relative path, which is
    // what a failed special-folder lookup leaves; the later open of a file in it fails and is
    // reported by its caller.
    if (!pathExists(folder))
        SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
}

} // namespace

std::wstring joinPath(const std::wstring& folder, const std::wstring& relative)
{
    Path joined(folder);
    joined.append(Path(relative));
    return joined.toString();
}

std::wstring parentFolderOf(const std::wstring& path)
{
    return Path(path).parent().toString();
}

bool pathExists(const std::wstring& path)
{
    return FileSpec(path).exists();
}

bool pathIsDirectory(const std::wstring& path)
{
    return FileSpec(path).isDirectory();
}

bool pathIsRoot(const std::wstring& path)
{
    return PathIsRootW(path.c_str()) != FALSE;
}

std::wstring userDataFolder()
{
    wchar_t appData[MAX_PATH] = {};
    std::wstring base;
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT,
                                   appData))) {
        // Without room for the backslash the buffer stays as it is; the join below treats its
        // last component as a folder either way.
        PathAddBackslashW(appData);
        base = appData;
    }
    const std::wstring folder = joinPath(base, kProgramFolder);
    createFolderIfMissing(folder);
    return folder;
}

std::wstring tempFolder()
{
    // GetTempPathW answers at most MAX_PATH + 1 characters, the terminator included.
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    // Only a check: a malformed temporary path throws "Parse failed" here rather than
    // producing folders somewhere unexpected.
    static_cast<void>(Path(temp));
    std::vector<wchar_t> longForm(4096, L'\0');
    GetLongPathNameW(temp, longForm.data(), static_cast<DWORD>(longForm.size()));
    return longForm.data();
}

std::wstring tempDataFolder()
{
    const std::wstring folder = joinPath(tempFolder(), kProgramFolder);
    createFolderIfMissing(folder);
    return folder;
}

std::wstring moduleFolder()
{
    // A path cut to the buffer would name a folder above the real one, so the buffer grows
    // until the whole path fits (32767 characters is the longest path Win32 accepts).
    std::vector<wchar_t> file(MAX_PATH, L'\0');
    DWORD length = 0;
    for (;;) {
        length = GetModuleFileNameW(nullptr, file.data(), static_cast<DWORD>(file.size()));
        if (length < file.size() || file.size() >= 32768)
            break;
        file.assign(file.size() * 2, L'\0');
    }
    if (length == 0 || length >= file.size())
        return {};
    const std::wstring path(file.data(), length);
    const std::size_t lastSeparator = path.rfind(L'\\');
    const std::wstring folder = lastSeparator == std::wstring::npos ? std::wstring() : path.substr(0, lastSeparator + 1);
    static_cast<void>(Path(folder));
    return folder;
}

std::wstring makeDisposalName(const std::wstring& path, const std::wstring& stem)
{
    if (path.empty())
        return {};
    const std::wstring base = joinPath(parentFolderOf(path), stem.empty() ? kDefaultDisposalStem : stem);
    for (int n = 0; n < kDisposalCandidates; ++n) {
        std::wstring candidate = base + L"." + std::to_wstring(n);
        if (!pathExists(candidate))
            return candidate;
    }
    return {};
}

} // namespace Kestrel
