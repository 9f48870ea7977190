#include "console/ItemSurvey.h"

#include "console/CountText.h"
#include "console/DriveSurvey.h"
#include "console/RecycleBinSurvey.h"
#include "console/SizeText.h"
#include "erase/FolderListing.h"
#include "erase/LinkGuard.h"
#include "erase/TaskItem.h"
#include "foundation/ExtendedPath.h"
#include "foundation/Logger.h"

#include <algorithm>
#include <memory>
#include <string_view>

namespace {

// Where a line the listing logged belongs: after this many listed items.
struct ListingNote {
    std::size_t place;
    std::wstring text;
};

// Keeps the error lines the engine's listing writes while it lists (a link it skips, a name it
// leaves out, a folder it cannot read), each with its place among the listed items. The preview
// runs before kww attaches the log's writers, so they reach no log.
class ListingNotes : public Kestrel::LogWriter {
public:
    ListingNotes(const FolderListing& listing, std::vector<ListingNote>& notes) noexcept
        : LogWriter(kTag), listing_(listing), notes_(notes)
    {
    }

    bool write(const std::wstring& line) override
    {
        static const std::wstring kErrorStart = L"ERROR: \t";
        if (line.compare(0, kErrorStart.size(), kErrorStart) != 0)
            return true;
        // "ERROR: \tSkipped link: C:\\x\\link. \r\n" keeps "Skipped link: C:\\x\\link".
        std::wstring text = line.substr(kErrorStart.size());
        for (const std::wstring_view ending : {L"\r\n", L". "}) {
            if (text.ends_with(ending))
                text.resize(text.size() - ending.size());
        }
        notes_.push_back({listing_.items.size(), std::move(text)});
        return true;
    }

private:
    static constexpr int kTag = 3;
    const FolderListing& listing_;
    std::vector<ListingNote>& notes_;
};

// A writer attached to the process's logger for this object's life.
class AttachedWriter {
public:
    explicit AttachedWriter(std::unique_ptr<Kestrel::LogWriter> writer) : writer_(writer.get())
    {
        Kestrel::Logger::instance().addWriter(std::move(writer));
    }
    ~AttachedWriter() { Kestrel::Logger::instance().removeWriter(writer_); }
    AttachedWriter(const AttachedWriter&) = delete;
    AttachedWriter& operator=(const AttachedWriter&) = delete;

private:
    const Kestrel::LogWriter* writer_;
};

// The listing the erase of a folder task makes (erase/EraseFolderProc.cpp): the folder that holds
// it entered first, read and never listed, then the folder itself as the first item, then its
// content, each folder before what it holds.
bool listAsTheEraseDoes(const TaskItem& folder, const std::wstring& display, FolderListing& listing)
{
    const EraseTask neverStarted(ItemKind::Folder, display);
    if (!folder.isRoot) {
        if (!listing.enterHolder(folder.folder))
            return false;
        listing.items.push_back(ListedItem{folder.path, display, 0, folder.attributes});
    }
    return listing.collect(folder.path, neverStarted);
}

const std::wstring kSkippedLink = L"Skipped link: ";

// A folder that holds a link, however deep, cannot be removed: the link stays in it.
bool holdsALink(const ListedItem& folder, const std::vector<std::wstring>& links)
{
    const std::wstring inside = folder.display.back() == L'\\' ? folder.display : folder.display + L'\\';
    return std::any_of(links.begin(), links.end(), [&](const std::wstring& link) {
        return CompareStringOrdinal(link.c_str(), static_cast<int>(std::min(link.size(), inside.size())), inside.c_str(),
                                    static_cast<int>(inside.size()), TRUE) == CSTR_EQUAL;
    });
}

std::wstring itemLine(const ListedItem& item, const std::vector<std::wstring>& links)
{
    if (!item.isFolder())
        return L"File: " + item.display;
    return L"Folder: " + item.display + (holdsALink(item, links) ? L" (kept: it holds a link)" : L"");
}

// The erase walks the listing backwards, deepest item first; each note keeps its place.
std::vector<std::wstring> contentLines(const FolderListing& listing, const std::vector<ListingNote>& notes,
                                       const std::vector<std::wstring>& links)
{
    std::vector<std::wstring> lines;
    auto note = notes.rbegin();
    for (std::size_t place = listing.items.size() + 1; place-- > 0;) {
        for (; note != notes.rend() && note->place == place; ++note)
            lines.push_back(note->text);
        if (place > 0)
            lines.push_back(itemLine(listing.items[place - 1], links));
    }
    return lines;
}

void surveyFolder(const std::wstring& extended, const std::wstring& display, ItemSurvey& survey)
{
    const TaskItemLookup found = lookUpTaskItem(extended);
    FolderListing listing;
    std::vector<ListingNote> notes;
    bool listed = false;
    if (found.item) {
        const AttachedWriter attached(std::make_unique<ListingNotes>(listing, notes));
        listed = listAsTheEraseDoes(*found.item, display, listing);
    }
    for (const ListedItem& item : listing.items) {
        if (!item.isFolder())
            survey.filePaths.push_back(item.path);
    }
    survey.files = survey.filePaths.size();
    survey.bytes = listing.totalBytes;
    for (const ListingNote& note : notes) {
        if (note.text.rfind(kSkippedLink, 0) == 0)
            survey.links.push_back(note.text.substr(kSkippedLink.size()));
    }
    survey.unreadable = !listed || notes.size() > survey.links.size();
    survey.contents = contentLines(listing, notes, survey.links);
}

void countFile(const std::wstring& extended, ItemSurvey& survey)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    survey.files = 1;
    survey.filePaths.push_back(extended);
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
    if (item.kind != ItemKind::FreeSpace && isLink(item.attributes, reparseTagAt(extended)))
        survey.warnings.push_back(L"a link: it is never followed, and it is skipped.");
    else if (item.kind != ItemKind::FreeSpace && Kestrel::isExtendedRoot(extended))
        survey.warnings.push_back(L"a drive root: its whole content goes.");
    if (onNetwork(extended))
        survey.warnings.push_back(L"a path on a network share.");
    if (!survey.links.empty())
        survey.warnings.push_back(countText(survey.links.size(), L"link") +
                                  (survey.links.size() == 1 ? L" inside: it is never followed, and it stays"
                                                            : L" inside: they are never followed, and they stay") +
                                  L", with each folder that holds one (its files are erased, the folder is kept).");
    if (survey.unreadable)
        survey.warnings.push_back(L"not everything inside can be listed: the counts are short.");
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
    case ItemKind::RecycleBin:
        break;
    }
    return {};
}

std::wstring amountText(const ChosenItem& item, const ItemSurvey& survey)
{
    switch (item.kind) {
    case ItemKind::File:
        return sizeTextInBrackets(survey.bytes);
    case ItemKind::Folder:
        return countText(survey.files, L"file") + L", " + sizeTextInBrackets(survey.bytes);
    case ItemKind::FreeSpace:
        return sizeTextInBrackets(survey.bytes) + L" free";
    case ItemKind::RecycleBin:
        return countText(survey.files, L"item") + L", " + sizeTextInBrackets(survey.bytes);
    }
    return {};
}

} // namespace

ItemSurvey surveyItem(const ChosenItem& item)
{
    ItemSurvey survey;
    if (!item.found())
        return survey;
    if (item.kind == ItemKind::RecycleBin) {
        surveyRecycleBin(survey);
        return survey;
    }
    const std::wstring extended = Kestrel::extendedLengthPath(item.path);
    if (item.kind == ItemKind::FreeSpace) {
        ULARGE_INTEGER available{};
        if (GetDiskFreeSpaceExW(item.path.c_str(), &available, nullptr, nullptr))
            survey.bytes = available.QuadPart;
    } else if (isLink(item.attributes, reparseTagAt(extended))) {
        // Skipped whole: nothing of it or behind it goes.
    } else if (item.kind == ItemKind::Folder) {
        surveyFolder(extended, item.path, survey);
    } else {
        countFile(extended, survey);
    }
    addWarnings(item, extended, survey);
    return survey;
}

std::vector<std::wstring> describeItems(const std::vector<ChosenItem>& items, ItemDetail detail)
{
    std::vector<std::wstring> lines;
    std::uint64_t found = 0;
    std::uint64_t files = 0;
    std::uint64_t bytes = 0;
    bool erase = false;
    DriveSurvey drives;
    for (const ChosenItem& item : items) {
        if (!item.found()) {
            lines.push_back(L"Error: " + item.problem);
            continue;
        }
        ItemSurvey survey = surveyItem(item);
        drives.addItem(item, survey);
        // The bin is no path: its name says what it is.
        const std::wstring kind = item.kind == ItemKind::RecycleBin ? L"" : kindText(item.kind) + L": ";
        lines.push_back(kind + item.path + L" (" + amountText(item, survey) + L")");
        for (const std::wstring& warning : survey.warnings)
            lines.push_back(L"  Warning: " + warning);
        if (!survey.earlierVersions.empty())
            lines.push_back(L"  Earlier versions: " + survey.earlierVersions);
        // The bin's items are what the question is about: it names no path of its own.
        if (detail == ItemDetail::Contents || item.kind == ItemKind::RecycleBin) {
            for (const std::wstring& content : survey.contents)
                lines.push_back(L"  " + content);
        }
        ++found;
        if (item.kind == ItemKind::File || item.kind == ItemKind::Folder) {
            erase = true;
            files += survey.files;
            bytes += survey.bytes;
        }
    }
    if (erase)
        lines.push_back(countText(found, L"item") + L", " + countText(files, L"file") + L", " + sizeText(bytes));
    for (const std::wstring& line : drives.lines())
        lines.push_back(line);
    return lines;
}
