#pragma once

#include "erase/DriveMedium.h"
#include "erase/ShadowCopies.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

class EraseTask;
enum class ItemKind : int;

// What the task's warning says of a solid-state drive, and of a free-space wipe on one.
inline constexpr const wchar_t* kSolidStateWarning =
    L"This is a solid-state drive: it may keep earlier copies of the data in cells no program can reach. What "
    L"removes them is encryption of the whole drive from the start (BitLocker, device encryption), or the drive's "
    L"own sanitize or secure-erase command when it is retired.";
inline constexpr const wchar_t* kSolidStateFreeSpaceWarning =
    L"On a solid-state drive a wipe of free space mostly fills the drive's spare cells and wears it.";

// What the drives one task touches keep of what it erases, out of its reach: each drive's medium
// and shadow copies, asked once per task (the \Device folder listed at the first drive), and for
// each file whether the newest shadow copy of its drive holds it (one attribute query a file).
// A task's worker and kww's preview each keep one for a task.
class DiskKeeps {
public:
    struct Drive {
        std::wstring root; // "C:\", or the folder a volume is mounted on
        DriveMedium medium = DriveMedium::Unknown;
        std::size_t shadowCopies = 0;
        std::optional<ShadowCopy> newestCopy;
        std::uint64_t filesChecked = 0;
        std::uint64_t filesWithCopies = 0;
    };

    // The drive of the item at that path (extended-length or not), learnt at the first item of
    // the task on it; nothing for a path whose drive cannot be told (a network share's).
    const Drive* noteDriveOf(const std::wstring& path);
    // Whether the newest shadow copy of its drive holds an item at the file's path: on such a
    // drive an earlier version of the file stays there, whatever the erase does.
    bool checkFile(const std::wstring& path);

    [[nodiscard]] const std::vector<Drive>& drives() const noexcept { return drives_; }
    // The sentences of the task's warning, one for each thing that stays, in the order learnt.
    [[nodiscard]] std::vector<std::wstring> sentences(ItemKind kind) const;

private:
    Drive* driveOf(const std::wstring& path, std::wstring& relativePath);
    Drive learnDrive(const std::wstring& root);

    std::vector<Drive> drives_;
    // The drive of each folder a file was in, so that the volume is asked once a folder.
    std::map<std::wstring, std::size_t> folderDrives_;
    std::optional<std::vector<ShadowCopy>> copies_;
};

// The running task's: the file at that path is looked for in its drive's newest shadow copy.
void lookForEarlierVersions(const EraseTask& task, const std::wstring& path);
// Adds the sentences to the task's warning.
void warnOfWhatTheDiskKeeps(EraseTask& task, const DiskKeeps& keeps);
