#include "foundation/FailureCollector.h"

namespace Kestrel {

namespace {

thread_local FailureCollector* armed = nullptr;

} // namespace

FailureCollector::FailureCollector() noexcept : outer_(armed)
{
    armed = this;
}

FailureCollector::~FailureCollector()
{
    armed = outer_;
}

void FailureCollector::noteFileError(DWORD error, const std::wstring& path)
{
    if (armed && !armed->first_)
        armed->first_ = ReportedFailure{error, path, {}};
}

void FailureCollector::noteErrorLine(const std::wstring& message)
{
    if (!armed || (armed->first_ && !armed->first_->message.empty()))
        return;
    if (!armed->first_)
        armed->first_.emplace();
    // The line of a noted file error comes right after it; another line starts its own failure.
    armed->first_->message = message;
    constexpr std::wstring_view kClosing = L". ";
    if (message.ends_with(kClosing))
        armed->first_->message.resize(message.size() - kClosing.size());
}

} // namespace Kestrel
