#pragma once

#include <windows.h>

namespace Kestrel {

// Owner of one Win32 critical section. Recursive for the owning thread, as critical sections are.
class SectionLock {
public:
    SectionLock() noexcept { InitializeCriticalSection(&section_); }
    ~SectionLock() { DeleteCriticalSection(&section_); }
    SectionLock(const SectionLock&) = delete;
    SectionLock& operator=(const SectionLock&) = delete;

    void enter() noexcept { EnterCriticalSection(&section_); }
    void leave() noexcept { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

// Holds a lock for one scope. Given no lock it does nothing, so optional locking reads the same.
class SectionGuard {
public:
    explicit SectionGuard(SectionLock* lock) noexcept : lock_(lock)
    {
        if (lock_)
            lock_->enter();
    }
    explicit SectionGuard(SectionLock& lock) noexcept : SectionGuard(&lock) {}
    ~SectionGuard()
    {
        if (lock_)
            lock_->leave();
    }
    SectionGuard(const SectionGuard&) = delete;
    SectionGuard& operator=(const SectionGuard&) = delete;

private:
    SectionLock* lock_;
};

} // namespace Kestrel
