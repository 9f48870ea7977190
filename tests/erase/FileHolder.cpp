#include "tests/erase/FileHolder.h"

#include <windows.h>

#include <atomic>

namespace {

constexpr DWORD kStartBoundMilliseconds = 30000;

std::wstring helperPath()
{
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    std::wstring path(buffer, length);
    return path.substr(0, path.rfind(L'\\') + 1) + L"erase_test_file_holder.exe";
}

std::wstring uniqueEventName(const wchar_t* role)
{
    static std::atomic<unsigned> counter{0};
    return L"Local\\kww-file-holder-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(counter++) + L"-" + role;
}

} // namespace

FileHolder::FileHolder(const std::wstring& file)
{
    const std::wstring readyName = uniqueEventName(L"ready");
    const std::wstring releaseName = uniqueEventName(L"release");
    ready_.reset(CreateEventW(nullptr, TRUE, FALSE, readyName.c_str()));
    release_.reset(CreateEventW(nullptr, TRUE, FALSE, releaseName.c_str()));
    if (!ready_ || !release_)
        return;
    const std::wstring helper = helperPath();
    std::wstring commandLine = L"\"" + helper + L"\" \"" + file + L"\" " + readyName + L" " + releaseName;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(helper.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return;
    const Kestrel::UniqueHandle thread(process.hThread);
    process_.reset(process.hProcess);
    // Ready, or the helper gave up (it exits when it cannot open the file).
    const HANDLE waits[] = {ready_.get(), process_.get()};
    holding_ = WaitForMultipleObjects(2, waits, FALSE, kStartBoundMilliseconds) == WAIT_OBJECT_0;
}

FileHolder::~FileHolder()
{
    if (release_)
        SetEvent(release_.get());
    if (process_)
        WaitForSingleObject(process_.get(), kStartBoundMilliseconds);
}
