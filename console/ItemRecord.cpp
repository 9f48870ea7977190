#include "console/ItemRecord.h"

#include "console/ItemSurvey.h"
#include "erase/ReadBack.h"

FILETIME timeNow() noexcept
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return now;
}

ItemRecord recordOf(const ChosenItem& item)
{
    ItemRecord record;
    record.kind = item.kind;
    record.path = item.path;
    record.started = timeNow();
    if (!item.found()) {
        record.result = L"skipped";
        record.errorMessage = item.problem;
        return record;
    }
    const ItemSurvey survey = surveyItem(item);
    record.files = survey.files;
    record.bytes = survey.bytes;
    if (item.kind == ItemKind::Folder)
        record.contents = survey.contents;
    return record;
}

void completeRecord(ItemRecord& record, const ItemOutcome& outcome)
{
    record.ended = timeNow();
    record.warning = outcome.warning;
    record.readBack = outcome.readBack;
    switch (outcome.status) {
    case EraseStatus::Done:
        record.result = outcome.warning.empty() ? L"erased" : L"erased_with_warnings";
        if (outcome.readBack != ReadBackExtent::None)
            record.verified = true;
        return;
    case EraseStatus::Aborted:
        record.result = L"aborted";
        return;
    default:
        record.result = L"failed";
        record.errorCode = outcome.errorCode;
        record.errorMessage = outcome.reason;
        if (outcome.errorCode == kReadBackDiffers)
            record.verified = false;
        return;
    }
}
