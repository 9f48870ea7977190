#include "erase/ShadowCopies.h"

#include "foundation/UniqueHandle.h"

#include <winternl.h>

#include <atomic>
#include <cwchar>

namespace {

std::atomic<const ShadowCopyHook*> shadowCopyHook{nullptr};

constexpr wchar_t kCopyPrefix[] = L"HarddiskVolumeShadowCopy";
constexpr wchar_t kDeviceRoot[] = L"\\\\?\\GLOBALROOT\\Device\\";

// ntdll's object folder calls, which no import library declares. Microsoft documents them
// (wdm.h's ZwOpenDirectoryObject, and NtQueryDirectoryObject in winternl's docs) and that a
// folder opened for query lists its names.
using OpenDirectoryObject = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES);
using QueryDirectoryObject = NTSTATUS(NTAPI*)(HANDLE, PVOID, ULONG, BOOLEAN, BOOLEAN, PULONG, PULONG);

struct ObjectDirectoryInformation {
    UNICODE_STRING name;
    UNICODE_STRING typeName;
};

constexpr ACCESS_MASK kDirectoryQuery = 0x0001;

template <typename Function>
Function ntdllFunction(const char* name)
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll == nullptr ? nullptr
                            : reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(ntdll, name)));
}

// Reads the folder one name a call: Wine 8 answers a request for several with
// STATUS_NOT_IMPLEMENTED, and on Windows the folder holds a few hundred names, read once a task.
std::vector<std::wstring> namesInDeviceFolder()
{
    const auto open = ntdllFunction<OpenDirectoryObject>("NtOpenDirectoryObject");
    const auto query = ntdllFunction<QueryDirectoryObject>("NtQueryDirectoryObject");
    if (open == nullptr || query == nullptr)
        return {};
    wchar_t folderName[] = L"\\Device";
    UNICODE_STRING name{static_cast<USHORT>(sizeof folderName - sizeof(wchar_t)), sizeof folderName, folderName};
    OBJECT_ATTRIBUTES attributes{};
    InitializeObjectAttributes(&attributes, &name, OBJ_CASE_INSENSITIVE, nullptr, nullptr);
    HANDLE opened = nullptr;
    if (open(&opened, kDirectoryQuery, &attributes) < 0)
        return {};
    const Kestrel::UniqueHandle folder(opened);
    std::vector<std::wstring> names;
    // Room for one record and its two names, aligned for the record.
    std::vector<ULONGLONG> buffer(256);
    const auto* const record = reinterpret_cast<const ObjectDirectoryInformation*>(buffer.data());
    ULONG context = 0;
    // The end of the folder (STATUS_NO_MORE_ENTRIES) is a warning status, below zero as any error.
    for (BOOLEAN restart = TRUE;; restart = FALSE) {
        ULONG returned = 0;
        if (query(folder.get(), buffer.data(), static_cast<ULONG>(buffer.size() * sizeof buffer[0]), TRUE, restart,
                  &context, &returned) < 0 ||
            record->name.Buffer == nullptr)
            break;
        names.emplace_back(record->name.Buffer, record->name.Length / sizeof(wchar_t));
    }
    return names;
}

bool isCopyName(const std::wstring& name)
{
    const std::size_t prefix = std::wcslen(kCopyPrefix);
    return name.size() > prefix && name.compare(0, prefix, kCopyPrefix) == 0 &&
           name.find_first_not_of(L"0123456789", prefix) == std::wstring::npos;
}

bool later(const FILETIME& one, const FILETIME& other) noexcept
{
    return CompareFileTime(&one, &other) > 0;
}

// No call an ordinary user may make tells when a copy was made (the shadow copy service's own
// record needs an administrator; the device object's creation time is not documented). Making
// one writes the copy's store in the volume's System Volume Information folder, so the newest
// write among the copy's root entries is the time of the copy, or a little before it; and never
// after it, as the copy holds nothing written later.
std::optional<ShadowCopy> readShadowCopyRoot(const std::wstring& root)
{
    ShadowCopy copy{root};
    if (!GetVolumeInformationW(root.c_str(), nullptr, 0, &copy.volumeSerial, nullptr, nullptr, nullptr, 0))
        return std::nullopt;
    WIN32_FIND_DATAW entry;
    const Kestrel::UniqueFindHandle search(FindFirstFileW((root + L"*").c_str(), &entry));
    for (bool more = static_cast<bool>(search); more; more = FindNextFileW(search.get(), &entry) != FALSE) {
        if (later(entry.ftLastWriteTime, copy.made))
            copy.made = entry.ftLastWriteTime;
    }
    return copy;
}

} // namespace

std::vector<ShadowCopy> listShadowCopies()
{
    const ShadowCopyHook* const hook = shadowCopyHook.load();
    std::vector<ShadowCopy> copies;
    for (const std::wstring& name : hook ? hook->deviceNames() : namesInDeviceFolder()) {
        if (!isCopyName(name))
            continue;
        const std::wstring root = kDeviceRoot + name + L"\\";
        if (auto copy = hook ? hook->readRoot(root) : readShadowCopyRoot(root))
            copies.push_back(std::move(*copy));
    }
    return copies;
}

bool shadowCopyHolds(const ShadowCopy& copy, const std::wstring& relativePath)
{
    const std::wstring path = copy.root + relativePath;
    if (const ShadowCopyHook* const hook = shadowCopyHook.load())
        return hook->exists(path);
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void setShadowCopyHook(const ShadowCopyHook* hook) noexcept
{
    shadowCopyHook.store(hook);
}
