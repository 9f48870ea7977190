#include "console/RecycleBinSurvey.h"

#include "console/SizeText.h"
#include "erase/LinkGuard.h"
#include "erase/RecycleBin.h"
#include "erase/RecycleRecord.h"
#include "foundation/ExtendedPath.h"

namespace {

// Where the item was deleted from, or where it lies in the bin when its record does not say; a
// record whose path runs past its end says so, and the item is named by its place in the bin.
struct Place {
    std::wstring path;
    bool damagedRecord = false;
};

Place placeOf(const RecycledItem& item)
{
    Place place{Kestrel::displayPath(item.pathOf(item.content.present() ? item.content : item.record))};
    if (item.record.present() && !isLink(item.record.attributes, item.record.reparseTag)) {
        if (const auto record = readRecycleRecord(item.pathOf(item.record))) {
            if (!record->damaged)
                place.path = record->originalPath;
            place.damagedRecord = record->damaged;
        }
    }
    return place;
}

// "(12 bytes)", or "(12 bytes, its record is damaged)".
std::wstring sizeOf(std::uint64_t bytes, const Place& place)
{
    return L" (" + sizeTextInBrackets(bytes) + (place.damagedRecord ? L", its record is damaged)" : L")");
}

std::wstring lineOf(const RecycledItem& item)
{
    const BinEntry& content = item.content;
    if (!content.present()) {
        const Place place = placeOf(item);
        return L"Record without its item: " + place.path + sizeOf(item.record.bytes, place);
    }
    if (isLink(content.attributes, content.reparseTag))
        return L"Skipped link: " + Kestrel::displayPath(item.pathOf(content));
    const bool folder = (content.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const Place place = placeOf(item);
    return (folder ? L"Folder: " : L"File: ") + place.path + sizeOf(content.bytes, place);
}

} // namespace

void surveyRecycleBin(ItemSurvey& survey)
{
    const RecycleBinContent bin = findRecycleBin();
    survey.files = bin.items.size();
    survey.bytes = bin.bytes();
    for (const RecycledItem& item : bin.items)
        survey.contents.push_back(lineOf(item));
    survey.warnings = bin.problems;
}
