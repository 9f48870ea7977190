#include "app/LeftoverFillFolderSweep.h"

#include "erase/LeftoverFillFolders.h"
#include "erase/WipeableDrive.h"
#include "foundation/ExtendedPath.h"
#include "foundation/Logger.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace {

// How long the window's end waits for the sweep. A drive that keeps it longer (hung, or a network
// disk gone) would keep the program from ending; the process's end then stops the sweep, and what
// it had not removed yet is removed at the next start.
constexpr DWORD kEndBound = 3000; // milliseconds

// Removable drives are left out: a drive without its medium would keep the sweep waiting, and a
// stick goes to other computers; its leftover goes when its free space is wiped again. Only drives
// a wipe could have filled are looked at: not a subst letter, whose root is a user's folder.
void sweepFixedDrives()
{
    const DWORD length = GetLogicalDriveStringsW(0, nullptr);
    std::wstring roots(length, L'\0');
    roots.resize(GetLogicalDriveStringsW(length, roots.data()));
    for (const wchar_t* root = roots.c_str(); *root; root += std::wcslen(root) + 1) {
        if (GetDriveTypeW(root) == DRIVE_FIXED && wipeableDrive(root))
            clearLeftoverFillFolders(Kestrel::extendedLengthPath(root));
    }
}

DWORD WINAPI sweepProc(LPVOID) noexcept
{
    try {
        sweepFixedDrives();
    } catch (...) {
        // Out of memory: the next start looks again.
    }
    return 0;
}

} // namespace

LeftoverFillFolderSweep::LeftoverFillFolderSweep() : thread_(CreateThread(nullptr, 0, sweepProc, nullptr, 0, nullptr))
{
    if (!thread_)
        Kestrel::Logger::instance().log(Kestrel::LogLevel::Error,
                                        L"Could not look for earlier fill folders (error %d). ",
                                        static_cast<int>(GetLastError()));
}

LeftoverFillFolderSweep::~LeftoverFillFolderSweep()
{
    if (thread_ && WaitForSingleObject(thread_.get(), kEndBound) == WAIT_TIMEOUT)
        Kestrel::Logger::instance().log(Kestrel::LogLevel::Info,
                                        L"The look for earlier fill folders had not ended when the window closed; "
                                        L"the next start looks again. ");
}
