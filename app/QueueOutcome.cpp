#include "app/QueueOutcome.h"

void QueueOutcome::count(EraseStatus status) noexcept
{
    if (status == EraseStatus::Done)
        ++done;
    else if (status == EraseStatus::Failed)
        ++failed;
    else if (status == EraseStatus::Aborted)
        ++aborted;
}

std::wstring queueOutcomeText(const QueueOutcome& outcome)
{
    return L"Last run: " + std::to_wstring(outcome.done) + L" done, " + std::to_wstring(outcome.failed) +
           L" failed, " + std::to_wstring(outcome.aborted) + L" aborted";
}
