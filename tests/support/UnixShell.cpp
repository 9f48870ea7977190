#include "tests/support/UnixShell.h"

#include "foundation/KeepLastError.h"
#include "foundation/UniqueHandle.h"
#include "tests/support/ScratchFolder.h"

#include <cstdlib>

namespace KestrelTest {

namespace {

using UnixFileNameFunction = char*(CDECL*)(LPCWSTR);

bool exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void closeChangeNotification(HANDLE handle) noexcept
{
    FindCloseChangeNotification(handle);
}
using UniqueChangeNotification =
    Kestrel::UniqueObject<Kestrel::FreedWithInvalidAsNone<&closeChangeNotification>>;

// Waits until the file appears or the bound passes, woken by the folder's change notification.
bool waitForFile(const std::wstring& folder, const std::wstring& file, DWORD timeoutMilliseconds)
{
    const UniqueChangeNotification change(
        FindFirstChangeNotificationW(folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME));
    if (!change)
        return false;
    const ULONGLONG deadline = GetTickCount64() + timeoutMilliseconds;
    bool appeared = exists(file);
    while (!appeared) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            break;
        WaitForSingleObject(change.get(), static_cast<DWORD>(deadline - now));
        FindNextChangeNotification(change.get());
        appeared = exists(file);
    }
    return appeared;
}

} // namespace

bool runningUnderWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

std::string unixPathOf(const std::wstring& windowsPath)
{
    const auto function = reinterpret_cast<UnixFileNameFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!function)
        return {};
    char* name = function(windowsPath.c_str());
    if (!name)
        return {};
    std::string path = name;
    HeapFree(GetProcessHeap(), 0, name);
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string shellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char character : text) {
        if (character == '\'')
            quoted += "'\\''";
        else
            quoted += character;
    }
    return quoted + "'";
}

ShellResult runUnixShell(const std::string& script, DWORD timeoutMilliseconds)
{
    ShellResult result;
    const ScratchFolder folder;
    const std::string unixFolder = unixPathOf(folder.path());
    // The environment Wine hands over need not name the system folders.
    if (unixFolder.empty() || !writeFile(folder / L"script.sh", "PATH=/usr/sbin:/usr/bin:/sbin:/bin:$PATH\n" + script))
        return result;
    const std::string seconds = std::to_string(timeoutMilliseconds / 1000 + 1);
    // Written to a temporary name and renamed, so that the status file appears whole.
    const std::string command = "/usr/bin/timeout " + seconds + " /bin/sh " + shellQuoted(unixFolder + "/script.sh") +
                                " >" + shellQuoted(unixFolder + "/output") + " 2>&1; echo $? >" +
                                shellQuoted(unixFolder + "/status.tmp") + "; /bin/mv " +
                                shellQuoted(unixFolder + "/status.tmp") + " " + shellQuoted(unixFolder + "/status");
    std::wstring commandLine = L"/bin/sh -c \"" + std::wstring(command.begin(), command.end()) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(L"/bin/sh", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return result;
    // Wine answers a native program's start without real process or thread handles: nothing
    // to close.
    result.finished = waitForFile(folder.path(), folder / L"status", timeoutMilliseconds + 2000);
    result.output = readFile(folder / L"output");
    if (result.finished)
        result.status = std::atoi(readFile(folder / L"status").c_str());
    return result;
}

} // namespace KestrelTest
