#include "erase/StatusTally.h"

void StatusTally::count(EraseStatus status) noexcept
{
    if (status == EraseStatus::Done)
        ++done;
    else if (status == EraseStatus::Failed)
        ++failed;
    else if (status == EraseStatus::Aborted)
        ++aborted;
}

std::wstring StatusTally::text() const
{
    return std::to_wstring(done) + L" done, " + std::to_wstring(failed) + L" failed, " + std::to_wstring(aborted) +
           L" aborted";
}
