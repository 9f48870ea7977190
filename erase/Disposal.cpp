#include "erase/Disposal.h"

#include "foundation/ExtendedPath.h"
#include "foundation/PathUtilities.h"
#include "foundation/UniqueHandle.h"

#include <string>

namespace {

const wchar_t kDisposalStem[] = L"KestrelWipewell.";
// A folder in which every name seems taken would otherwise keep the search going for ever.
constexpr int kDisposalCandidates = 65536;

bool moveAsideAndRemove(Kestrel::FileSpec& item, const std::wstring& folder, RemovalCheck check)
{
    // The rename itself tells whether a name is free: no separate look that another program
    // could make wrong before the rename.
    for (int n = 0; n < kDisposalCandidates; ++n) {
        const DWORD error = item.renameTo(Kestrel::childPath(folder, kDisposalStem + std::to_wstring(n)));
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
            break;
    }
    static_cast<void>(item.deleteOnClose());
    item.closeHandle();
    return check == RemovalCheck::Later || !Kestrel::pathExists(item.path());
}

} // namespace

bool disposeOfFile(Kestrel::FileSpec& file, const std::wstring& folder, RemovalCheck check)
{
    static_cast<void>(file.truncate());
    return moveAsideAndRemove(file, folder, check);
}

bool disposeOfOnlineOnlyFile(Kestrel::FileSpec& file, const std::wstring& folder, RemovalCheck check)
{
    return moveAsideAndRemove(file, folder, check);
}

bool disposeOfFolder(Kestrel::FileSpec& folder, const std::wstring& holder, RemovalCheck check)
{
    return moveAsideAndRemove(folder, holder, check);
}

bool folderIsEmpty(const std::wstring& folder)
{
    WIN32_FIND_DATAW entry;
    const Kestrel::UniqueFindHandle search(FindFirstFileW(Kestrel::childPath(folder, L"*").c_str(), &entry));
    if (!search)
        return GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_NO_MORE_FILES;
    do {
        if (!Kestrel::isDotName(entry.cFileName)) {
            Kestrel::reportFileError(folder, ERROR_DIR_NOT_EMPTY);
            return false;
        }
    } while (FindNextFileW(search.get(), &entry));
    return true;
}

