#include "erase/DriveMedium.h"

#include "foundation/UniqueHandle.h"

#include <windows.h>

#include <winioctl.h>

#include <atomic>
#include <optional>

namespace {

std::atomic<DriveMediumHook> driveMediumHook{nullptr};

// The device of the volume: "\\.\C:" for a drive letter's root, the volume's GUID name for a
// folder it is mounted on (both without the trailing backslash, which would name its root folder).
std::wstring volumeDevice(const std::wstring& volumeRoot)
{
    if (volumeRoot.size() == 3 && volumeRoot[1] == L':')
        return L"\\\\.\\" + volumeRoot.substr(0, 2);
    wchar_t name[MAX_PATH + 1]{};
    const std::wstring root = volumeRoot.back() == L'\\' ? volumeRoot : volumeRoot + L'\\';
    if (!GetVolumeNameForVolumeMountPointW(root.c_str(), name, MAX_PATH + 1))
        return {};
    std::wstring device = name;
    device.pop_back();
    return device;
}

// The descriptor of one property, or nothing when the device does not answer for it.
template <typename Descriptor>
std::optional<Descriptor> queryProperty(HANDLE volume, STORAGE_PROPERTY_ID property)
{
    STORAGE_PROPERTY_QUERY query{};
    query.PropertyId = property;
    query.QueryType = PropertyStandardQuery;
    Descriptor descriptor{};
    DWORD returned = 0;
    if (!DeviceIoControl(volume, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, &descriptor, sizeof descriptor,
                         &returned, nullptr) ||
        returned < sizeof descriptor)
        return std::nullopt;
    return descriptor;
}

DriveMedium askDisk(const std::wstring& volumeRoot)
{
    const std::wstring device = volumeDevice(volumeRoot);
    if (device.empty())
        return DriveMedium::Unknown;
    // No access rights: the storage property queries need none, and a user may not open a
    // volume for reading.
    const Kestrel::UniqueFileHandle volume(CreateFileW(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                       OPEN_EXISTING, 0, nullptr));
    if (!volume)
        return DriveMedium::Unknown;
    const auto seek = queryProperty<DEVICE_SEEK_PENALTY_DESCRIPTOR>(volume.get(), StorageDeviceSeekPenaltyProperty);
    if (seek)
        return seek->IncursSeekPenalty ? DriveMedium::Rotating : DriveMedium::SolidState;
    // Some drives answer only this one; a rotating disk with trim (shingled, or a thin virtual
    // disk) answers the seek penalty query too, which came first.
    const auto trim = queryProperty<DEVICE_TRIM_DESCRIPTOR>(volume.get(), StorageDeviceTrimProperty);
    return trim && trim->TrimEnabled ? DriveMedium::SolidState : DriveMedium::Unknown;
}

} // namespace

DriveMedium driveMediumOf(const std::wstring& volumeRoot)
{
    if (const DriveMediumHook hook = driveMediumHook.load())
        return hook(volumeRoot);
    return askDisk(volumeRoot);
}

void setDriveMediumHook(DriveMediumHook hook) noexcept
{
    driveMediumHook.store(hook);
}
