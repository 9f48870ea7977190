#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// A shadow copy of a volume (System Restore's and Previous Versions' snapshots), as an ordinary
// user can see it: a device \Device\HarddiskVolumeShadowCopyN whose root answers with the serial
// number of the volume it copies. Deleting one needs an administrator.
struct ShadowCopy {
    std::wstring root;        // "\\?\GLOBALROOT\Device\HarddiskVolumeShadowCopy3\"
    DWORD volumeSerial = 0;   // the copied volume's
    FILETIME made{};          // when it was made, as near as its root tells (see readShadowCopyRoot)
};

// The shadow copies on this system whose root answers: one listing of the \Device object folder,
// then each copy's root read once. None when the folder cannot be listed.
[[nodiscard]] std::vector<ShadowCopy> listShadowCopies();

// Whether an item is at that path inside the copy, the path relative to the copied volume's root
// ("Users\me\a.txt"). One attribute query; no right on the item itself is needed.
[[nodiscard]] bool shadowCopyHolds(const ShadowCopy& copy, const std::wstring& relativePath);

// What the system answers about shadow copies, one function for each question, so that a test can
// answer all of them: Wine has no shadow copies, and its \Device folder holds none. What is made
// of the answers is the program's own. None is set in the programs.
struct ShadowCopyHook {
    // The names the \Device object folder holds ("HarddiskVolumeShadowCopy3", ...).
    std::vector<std::wstring> (*deviceNames)();
    // The serial number and the time of a copy's root, as readShadowCopyRoot reads them.
    std::optional<ShadowCopy> (*readRoot)(const std::wstring& root);
    // Whether an item is at that full path inside a copy.
    bool (*exists)(const std::wstring& path);
};
void setShadowCopyHook(const ShadowCopyHook* hook) noexcept;
