#include "console/ItemSurvey.h"

#include "erase/LinkGuard.h"
#include "foundation/ExtendedPath.h"
#include "foundation/UniqueHandle.h"

namespace {

std::uint64_t sizeOf(const WIN32_FIND_DATAW& entry) noexcept
{
    return (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
}

// Files and bytes under the folder; links are counted, never entered, as the erase treats them.
void countFolder(const std::wstring& root, ItemSurvey& survey)
{
    std::vector<std::wstring> folders{root};
    while (!folders.empty()) {
        const std::wstring folder = std::move(folders.back());
        folders.pop_back();
        WIN32_FIND_DATAW entry;
        const Kestrel::UniqueFindHandle search(FindFirstFileW(Kestrel::childPath(folder, L"*").c_str(), &entry));
        if (!search) {
            survey.unreadable = true;
            continue;
        }
        do {
            if (Kestrel::isDotName(entry.cFileName))
                continue;
            if (isLink(entry.dwFileAttributes))
                ++survey.linksInside;
            else if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
                folders.push_back(Kestrel::childPath(folder, entry.cFileName));
            else {
                ++survey.files;
                survey.bytes += sizeOf(entry);
            }
        } while (FindNextFileW(search.get(), &entry));
    }
}

void countFile(const std::wstring& extended, ItemSurvey& survey)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    survey.files = 1;
    if (GetFileAttributesExW(extended.c_str(), GetFileExInfoStandard, &data))
        survey.bytes = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool onNetwork(const std::wstring& extended)
{
    if (extended.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        return true;
    const std::wstring root = extended.substr(4, 3); // "C:\" after the prefix
    return GetDriveTypeW(root.c_str()) == DRIVE_REMOTE;
}

void addWarnings(const ChosenItem& item, const std::wstring& extended, ItemSurvey& survey)
{
    if (item.kind != ItemKind::FreeSpace && isLink(item.attributes))
        survey.warnings.push_back(L"a link: it is never followed, and it is skipped.");
    else if (item.kind != ItemKind::FreeSpace && Kestrel::isExtendedRoot(extended))
        survey.warnings.push_back(L"a drive root: its whole content goes.");
    if (onNetwork(extended))
        survey.warnings.push_back(L"a path on a network share.");
    if (survey.linksInside > 0)
        survey.warnings.push_back(std::to_wstring(survey.linksInside) +
                                  L" links inside: they are never followed, and they stay.");
    if (survey.unreadable)
        survey.warnings.push_back(L"a folder inside cannot be listed: the counts are short.");
}

std::wstring kindText(ItemKind kind)
{
    switch (kind) {
    case ItemKind::File:
        return L"File";
    case ItemKind::Folder:
        return L"Folder";
    case ItemKind::FreeSpace:
        return L"Free space";
    }
    return {};
}

std::wstring sizeText(const ChosenItem& item, const ItemSurvey& survey)
{
    switch (item.kind) {
    case ItemKind::File:
        return std::to_wstring(survey.bytes) + L" bytes";
    case ItemKind::Folder:
        return std::to_wstring(survey.files) + L" files, " + std::to_wstring(survey.bytes) + L" bytes";
    case ItemKind::FreeSpace:
        return std::to_wstring(survey.bytes) + L" bytes free";
    }
    return {};
}

} // namespace

ItemSurvey surveyItem(const ChosenItem& item)
{
    ItemSurvey survey;
    if (!item.found())
        return survey;
    const std::wstring extended = Kestrel::extendedLengthPath(item.path);
    if (item.kind == ItemKind::FreeSpace) {
        ULARGE_INTEGER available{};
        if (GetDiskFreeSpaceExW(item.path.c_str(), &available, nullptr, nullptr))
            survey.bytes = available.QuadPart;
    } else if (isLink(item.attributes)) {
        // Skipped whole: nothing of it or behind it goes.
    } else if (item.kind == ItemKind::Folder) {
        countFolder(extended, survey);
    } else {
        countFile(extended, survey);
    }
    addWarnings(item, extended, survey);
    return survey;
}

std::vector<std::wstring> describeItems(const std::vector<ChosenItem>& items)
{
    std::vector<std::wstring> lines;
    std::uint64_t found = 0;
    std::uint64_t files = 0;
    std::uint64_t bytes = 0;
    bool erase = false;
    for (const ChosenItem& item : items) {
        if (!item.found()) {
            lines.push_back(L"Error: " + item.problem);
            continue;
        }
        const ItemSurvey survey = surveyItem(item);
        lines.push_back(kindText(item.kind) + L": " + item.path + L" (" + sizeText(item, survey) + L")");
        for (const std::wstring& warning : survey.warnings)
            lines.push_back(L"  Warning: " + warning);
        ++found;
        if (item.kind != ItemKind::FreeSpace) {
            erase = true;
            files += survey.files;
            bytes += survey.bytes;
        }
    }
    if (erase)
        lines.push_back(std::to_wstring(found) + L" items, " + std::to_wstring(files) + L" files, " +
                        std::to_wstring(bytes) + L" bytes");
    return lines;
}
