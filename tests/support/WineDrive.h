#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace KestrelTest {

// A drive letter defined by Wine's mount manager for a Unix folder, as winecfg defines one, for
// the length of a test. Unlike a bare link in the prefix's dosdevices, such a drive is listed
// (GetLogicalDriveStringsW) and answers for its volume even when the prefix's services started
// before it, and it has the type given. Under Wine only.
class WineDrive {
public:
    // The types the mount manager takes; GetDriveTypeW then answers the same number (measured,
    // Wine 8).
    enum class Type : ULONG { Removable = 2, Fixed = 3, Network = 4, CdRom = 5, RamDisk = 6 };

    // Defines the first letter from M: on that names no drive; nothing, with why, when it cannot.
    [[nodiscard]] static std::unique_ptr<WineDrive> define(const std::wstring& folder, Type type, std::string& why);
    // The letter is no drive any more afterwards (Wine still lists it, as a drive without a root).
    ~WineDrive();
    WineDrive(const WineDrive&) = delete;
    WineDrive& operator=(const WineDrive&) = delete;

    // "M:\"
    [[nodiscard]] const std::wstring& root() const noexcept { return root_; }

private:
    explicit WineDrive(std::wstring root) : root_(std::move(root)) {}

    std::wstring root_;
};

} // namespace KestrelTest
