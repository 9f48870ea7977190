#include "erase/DiskKeeps.h"

#include "erase/EraseTask.h"
#include "foundation/ExtendedPath.h"

#include <cwchar>

namespace {

// The root of the volume that holds the folder (extended-length or not), in the ordinary form
// ("C:\", "C:\mnt\data\"); nothing for a network share's.
std::wstring volumeRootOf(const std::wstring& folder)
{
    const std::wstring display = Kestrel::displayPath(folder);
    if (display.compare(0, 2, L"\\\\") == 0)
        return {};
    wchar_t root[MAX_PATH + 1]{};
    for (const std::wstring& asked : {folder, display}) {
        if (GetVolumePathNameW(asked.c_str(), root, MAX_PATH + 1))
            return Kestrel::displayPath(root);
    }
    return display.size() >= 3 && display[1] == L':' ? display.substr(0, 3) : std::wstring();
}

bool startsWithoutCase(const std::wstring& text, const std::wstring& start)
{
    return text.size() >= start.size() &&
           CompareStringOrdinal(text.c_str(), static_cast<int>(start.size()), start.c_str(),
                                static_cast<int>(start.size()), TRUE) == CSTR_EQUAL;
}

std::wstring number(std::uint64_t value)
{
    return std::to_wstring(value);
}

// "made 2026-11-30", in local time; a copy whose root showed no time has none.
std::wstring madeText(const FILETIME& time)
{
    FILETIME local{};
    SYSTEMTIME date{};
    if ((time.dwHighDateTime == 0 && time.dwLowDateTime == 0) || !FileTimeToLocalFileTime(&time, &local) ||
        !FileTimeToSystemTime(&local, &date))
        return L"date unknown";
    wchar_t text[24]{};
    std::swprintf(text, 24, L"made %04u-%02u-%02u", date.wYear, date.wMonth, date.wDay);
    return text;
}

// What vssadmin's /for= takes: the drive letter with its colon, or a mounted folder's path.
std::wstring volumeArgument(const std::wstring& root)
{
    return root.size() == 3 && root[1] == L':' ? root.substr(0, 2) : root;
}

std::wstring shadowCopySentence(const DiskKeeps::Drive& drive, ItemKind kind)
{
    const bool oneFile = kind == ItemKind::File && drive.filesChecked == 1;
    const std::wstring which = oneFile ? L"an earlier version of this file"
                                       : L"earlier versions of " + number(drive.filesWithCopies) + L" of these files";
    const bool several = drive.shadowCopies > 1;
    const std::wstring copy = several ? L"the newest of the " + number(drive.shadowCopies) + L" shadow copies of "
                                      : std::wstring(L"the shadow copy of ");
    return L"Windows keeps " + which + L" in " + copy + drive.root + L" (" + madeText(drive.newestCopy->made) +
           (several ? L"; older ones may hold more" : L"") +
           L"): only an administrator can delete shadow copies, with vssadmin delete shadows /for=" +
           volumeArgument(drive.root) + L" or System Protection in the Control Panel.";
}

} // namespace

const DiskKeeps::Drive* DiskKeeps::noteDriveOf(const std::wstring& path)
{
    std::wstring relative;
    return driveOf(path, relative);
}

DiskKeeps::Drive* DiskKeeps::driveOf(const std::wstring& path, std::wstring& relativePath)
{
    const std::size_t separator = path.find_last_of(L'\\');
    if (separator == std::wstring::npos)
        return nullptr;
    const std::wstring folder = path.substr(0, separator + 1);
    const std::wstring display = Kestrel::displayPath(path);
    auto known = folderDrives_.find(folder);
    if (known == folderDrives_.end()) {
        const std::wstring root = volumeRootOf(folder);
        if (root.empty())
            return nullptr;
        std::size_t index = 0;
        while (index < drives_.size() && drives_[index].root != root)
            ++index;
        if (index == drives_.size())
            drives_.push_back(learnDrive(root));
        known = folderDrives_.emplace(folder, index).first;
    }
    Drive& drive = drives_[known->second];
    if (!startsWithoutCase(display, drive.root))
        return nullptr;
    relativePath = display.substr(drive.root.size());
    return &drive;
}

DiskKeeps::Drive DiskKeeps::learnDrive(const std::wstring& root)
{
    Drive drive;
    drive.root = root;
    drive.medium = driveMediumOf(root);
    if (!copies_)
        copies_ = listShadowCopies();
    // Asked only when there are copies: under Wine the serial costs 3 to 10 ms, the listing 1.
    DWORD serial = 0;
    if (copies_->empty() || !GetVolumeInformationW(root.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0))
        return drive;
    for (const ShadowCopy& copy : *copies_) {
        if (copy.volumeSerial != serial)
            continue;
        ++drive.shadowCopies;
        if (!drive.newestCopy || CompareFileTime(&copy.made, &drive.newestCopy->made) >= 0)
            drive.newestCopy = copy;
    }
    return drive;
}

bool DiskKeeps::checkFile(const std::wstring& path)
{
    std::wstring relative;
    Drive* const drive = driveOf(path, relative);
    if (drive == nullptr || relative.empty())
        return false;
    ++drive->filesChecked;
    if (!drive->newestCopy || !shadowCopyHolds(*drive->newestCopy, relative))
        return false;
    ++drive->filesWithCopies;
    return true;
}

std::vector<std::wstring> DiskKeeps::sentences(ItemKind kind) const
{
    std::vector<std::wstring> said;
    for (const Drive& drive : drives_) {
        if (drive.medium == DriveMedium::SolidState) {
            said.emplace_back(kSolidStateWarning);
            if (kind == ItemKind::FreeSpace)
                said.emplace_back(kSolidStateFreeSpaceWarning);
        }
        if (drive.filesWithCopies > 0)
            said.push_back(shadowCopySentence(drive, kind));
    }
    return said;
}

void lookForEarlierVersions(const EraseTask& task, const std::wstring& path)
{
    if (DiskKeeps* const keeps = task.diskKeeps())
        static_cast<void>(keeps->checkFile(path));
}

void warnOfWhatTheDiskKeeps(EraseTask& task, const DiskKeeps& keeps)
{
    for (const std::wstring& sentence : keeps.sentences(task.kind()))
        task.addWarning(sentence);
}
