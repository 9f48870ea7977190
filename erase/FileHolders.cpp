#include "erase/FileHolders.h"

#include "foundation/KeepLastError.h"

#include <windows.h>

#include <restartmanager.h>

#include <atomic>

namespace {

std::atomic<FileHoldersHook> fileHoldersHook{nullptr};

// The list is read at most this often: the holders can change between the call that counts them
// and the call that fills them in.
constexpr int kListReads = 3;

// One Restart Manager session, ended when the scope ends.
class RestartManagerSession {
public:
    RestartManagerSession() noexcept
    {
        WCHAR key[CCH_RM_SESSION_KEY + 1]{};
        started_ = RmStartSession(&handle_, 0, key) == ERROR_SUCCESS;
    }
    ~RestartManagerSession()
    {
        if (started_) {
            const Kestrel::KeepLastError keep;
            RmEndSession(handle_);
        }
    }
    RestartManagerSession(const RestartManagerSession&) = delete;
    RestartManagerSession& operator=(const RestartManagerSession&) = delete;

    [[nodiscard]] bool started() const noexcept { return started_; }
    [[nodiscard]] DWORD handle() const noexcept { return handle_; }

private:
    DWORD handle_ = 0;
    bool started_ = false;
};

std::vector<RM_PROCESS_INFO> holdersListed(const RestartManagerSession& session)
{
    std::vector<RM_PROCESS_INFO> holders;
    for (int read = 0; read < kListReads; ++read) {
        UINT needed = 0;
        UINT count = static_cast<UINT>(holders.size());
        DWORD reasons = 0;
        const DWORD result = RmGetList(session.handle(), &needed, &count, holders.data(), &reasons);
        if (result == ERROR_SUCCESS) {
            holders.resize(count);
            return holders;
        }
        if (result != ERROR_MORE_DATA)
            break;
        holders.resize(needed);
    }
    return {};
}

std::vector<std::wstring> restartManagerHolders(const std::wstring& path)
{
    const RestartManagerSession session;
    if (!session.started())
        return {};
    LPCWSTR files[] = {path.c_str()};
    if (RmRegisterResources(session.handle(), 1, files, 0, nullptr, 0, nullptr) != ERROR_SUCCESS)
        return {};
    std::vector<std::wstring> names;
    for (const RM_PROCESS_INFO& holder : holdersListed(session)) {
        if (holder.strAppName[0] != L'\0')
            names.emplace_back(holder.strAppName);
        else
            names.push_back(L"process " + std::to_wstring(holder.Process.dwProcessId));
    }
    return names;
}

} // namespace

std::vector<std::wstring> programsHolding(const std::wstring& path)
{
    if (const FileHoldersHook hook = fileHoldersHook.load())
        return hook(path);
    return restartManagerHolders(path);
}

void setFileHoldersHook(FileHoldersHook hook) noexcept
{
    fileHoldersHook.store(hook);
}
