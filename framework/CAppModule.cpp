#include "framework/CAppModule.h"

namespace Kestrel {

CAppModule& CAppModule::instance() noexcept
{
    static CAppModule module;
    return module;
}

void CAppModule::initialise(HINSTANCE instance) noexcept
{
    instance_ = instance;
    mainThreadId_ = GetCurrentThreadId();
}

void CAppModule::terminate() noexcept
{
    SectionGuard guard(lock_);
    loops_.clear();
    instance_ = nullptr;
    mainThreadId_ = 0;
}

bool CAppModule::addMessageLoop(CMessageLoop* loop)
{
    if (!loop)
        return false;
    SectionGuard guard(lock_);
    return loops_.emplace(GetCurrentThreadId(), loop).second;
}

void CAppModule::removeMessageLoop() noexcept
{
    SectionGuard guard(lock_);
    loops_.erase(GetCurrentThreadId());
}

CMessageLoop* CAppModule::getMessageLoop(DWORD threadId) const noexcept
{
    SectionGuard guard(lock_);
    const auto found = loops_.find(threadId);
    return found == loops_.end() ? nullptr : found->second;
}

} // namespace Kestrel
