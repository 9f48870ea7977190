#include "console/DriveSurvey.h"

#include "console/CountText.h"

namespace {

std::wstring mediumText(DriveMedium medium)
{
    switch (medium) {
    case DriveMedium::SolidState:
        return L"solid-state drive";
    case DriveMedium::Rotating:
        return L"rotating disk";
    case DriveMedium::Unknown:
        break;
    }
    return L"medium unknown";
}

std::wstring earlierVersionsText(const DiskKeeps::Drive& drive)
{
    const std::wstring where = L" in the newest shadow copy of " + drive.root;
    if (drive.filesWithCopies == 0)
        return L"none found" + where;
    return countText(drive.filesWithCopies, L"file") + L" of " + countText(drive.filesChecked, L"file") + where;
}

} // namespace

void DriveSurvey::addItem(const ChosenItem& item, ItemSurvey& survey)
{
    if (!item.found() || item.kind == ItemKind::RecycleBin)
        return;
    DiskKeeps keeps;
    const bool driveKnown = keeps.noteDriveOf(item.path) != nullptr;
    for (const std::wstring& file : survey.filePaths)
        static_cast<void>(keeps.checkFile(file));
    for (const std::wstring& sentence : keeps.sentences(item.kind))
        survey.warnings.push_back(sentence);
    if (!driveKnown)
        return;
    // The item's own drive came first; its files lie on no other. A drive that answers neither
    // question changes nothing of the preview.
    const DiskKeeps::Drive& drive = keeps.drives().front();
    if (drive.medium == DriveMedium::Unknown && drive.shadowCopies == 0)
        return;
    if (item.kind != ItemKind::FreeSpace && !survey.filePaths.empty() && drive.shadowCopies > 0)
        survey.earlierVersions = earlierVersionsText(drive);
    for (const DiskKeeps::Drive& known : drives_) {
        if (known.root == drive.root)
            return;
    }
    drives_.push_back(drive);
}

std::vector<std::wstring> DriveSurvey::lines() const
{
    std::vector<std::wstring> lines;
    for (const DiskKeeps::Drive& drive : drives_)
        lines.push_back(L"Drive " + drive.root + L": " + mediumText(drive.medium) + L", " +
                        std::to_wstring(drive.shadowCopies) +
                        (drive.shadowCopies == 1 ? L" shadow copy" : L" shadow copies"));
    return lines;
}
