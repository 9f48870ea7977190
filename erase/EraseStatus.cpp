#include "erase/EraseStatus.h"

std::wstring statusText(EraseStatus status)
{
    switch (status) {
    case EraseStatus::Waiting:
        return L"Waiting";
    case EraseStatus::InProgress:
        return L"In Progress";
    case EraseStatus::Done:
        return L"Done";
    case EraseStatus::Failed:
        return L"Failed";
    case EraseStatus::Aborted:
        return L"Aborted";
    }
    return {};
}
