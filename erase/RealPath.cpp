#include "erase/RealPath.h"

#include <winternl.h>

#include <cstring>
#include <vector>

namespace {

// The handle's object name, \??\C:\... for an item on a drive; Wine names every file so.
std::optional<std::wstring> objectNameOf(HANDLE handle)
{
    // A name is a counted string of at most 32,767 characters.
    constexpr ULONG kLargestRecord = sizeof(OBJECT_NAME_INFORMATION) + 0x10000;
    std::vector<ULONGLONG> record(kLargestRecord / sizeof(ULONGLONG) + 1, 0);
    ULONG needed = 0;
    if (NtQueryObject(handle, ObjectNameInformation, record.data(), kLargestRecord, &needed) < 0)
        return std::nullopt;
    OBJECT_NAME_INFORMATION information{};
    std::memcpy(&information, record.data(), sizeof information);
    if (information.Name.Buffer == nullptr)
        return std::nullopt;
    return std::wstring(information.Name.Buffer, information.Name.Length / sizeof(wchar_t));
}

// The extended-length form of an object name in the \??\ namespace; nothing for a device name
// (\Device\...), whose drive letter is not part of it.
std::optional<std::wstring> extendedFormOf(const std::wstring& objectName)
{
    const std::wstring dosDevices = L"\\??\\";
    if (objectName.compare(0, dosDevices.size(), dosDevices) != 0)
        return std::nullopt;
    return L"\\\\?\\" + objectName.substr(dosDevices.size());
}

} // namespace

std::optional<std::wstring> realPathOf(HANDLE handle)
{
    std::vector<wchar_t> buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()), FILE_NAME_NORMALIZED);
        if (length == 0)
            break;
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.assign(length + 1, L'\0');
    }
    // Wine 8 reads the name into a buffer of its own, MAX_PATH characters long, and answers
    // ERROR_MORE_DATA for any longer path whatever buffer it is given; the object's name, which
    // that call turns into the same extended-length form, has no such limit.
    if (GetLastError() != ERROR_MORE_DATA)
        return std::nullopt;
    const auto objectName = objectNameOf(handle);
    return objectName ? extendedFormOf(*objectName) : std::nullopt;
}
