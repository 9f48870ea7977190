#include "console/FailureReason.h"

namespace {

const std::wstring kErrorStart = L"ERROR: \t";

// "ERROR: \tFailed to open: C:\\x. \r\n" gives "Failed to open: C:\\x".
std::wstring messageOf(const std::wstring& line)
{
    std::wstring message = line.substr(kErrorStart.size());
    for (const std::wstring end : {L"\r\n", L". "}) {
        if (message.size() >= end.size() && message.compare(message.size() - end.size(), end.size(), end) == 0)
            message.resize(message.size() - end.size());
    }
    return message;
}

} // namespace

void FailureReason::arm()
{
    const Kestrel::SectionGuard guard(lock_);
    reason_.clear();
    armed_ = true;
}

std::wstring FailureReason::take()
{
    const Kestrel::SectionGuard guard(lock_);
    armed_ = false;
    return std::move(reason_);
}

bool FailureReason::write(const std::wstring& line)
{
    const Kestrel::SectionGuard guard(lock_);
    if (armed_ && reason_.empty() && line.compare(0, kErrorStart.size(), kErrorStart) == 0)
        reason_ = messageOf(line);
    return true;
}
