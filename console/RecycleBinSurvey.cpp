#include "console/RecycleBinSurvey.h"

#include "console/SizeText.h"
#include "erase/LinkGuard.h"
#include "erase/RecycleBin.h"
#include "erase/RecycleRecord.h"
#include "foundation/ExtendedPath.h"

namespace {

// Where the item was deleted from, or where it lies in the bin when its record does not say.
std::wstring placeOf(const RecycledItem& item)
{
    if (item.record.present() && !isLink(item.record.attributes, item.record.reparseTag)) {
        if (const auto record = readRecycleRecord(item.pathOf(item.record)))
            return record->originalPath;
    }
    return Kestrel::displayPath(item.pathOf(item.content.present() ? item.content : item.record));
}

std::wstring lineOf(const RecycledItem& item)
{
    const BinEntry& content = item.content;
    if (!content.present())
        return L"Record without its item: " + placeOf(item) + L" (" + sizeTextInBrackets(item.record.bytes) + L")";
    if (isLink(content.attributes, content.reparseTag))
        return L"Skipped link: " + Kestrel::displayPath(item.pathOf(content));
    const bool folder = (content.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return (folder ? L"Folder: " : L"File: ") + placeOf(item) + L" (" + sizeTextInBrackets(content.bytes) + L")";
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
