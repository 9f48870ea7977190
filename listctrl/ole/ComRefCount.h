#pragma once

#include <windows.h>

#include <atomic>

namespace Kestrel {

// The reference count of one of our COM objects, which starts at the creator's reference. It also
// keeps the number of our COM objects alive in the process, so that a leak of any of them can be
// seen (by a test, or by a debugger at exit).
class ComRefCount {
public:
    ComRefCount() noexcept { ++liveObjects_; }
    ~ComRefCount() { --liveObjects_; }
    ComRefCount(const ComRefCount&) = delete;
    ComRefCount& operator=(const ComRefCount&) = delete;

    ULONG addRef() noexcept { return ++count_; }
    // The count left; the owner deletes itself at 0.
    [[nodiscard]] ULONG release() noexcept { return --count_; }

    [[nodiscard]] static long liveObjects() noexcept { return liveObjects_; }

private:
    // Atomic: OLE and the drag-image helper may release our objects from other threads.
    std::atomic<ULONG> count_{1};
    static inline std::atomic<long> liveObjects_{0};
};

} // namespace Kestrel
