#pragma once

#include "foundation/SectionLock.h"

#include <windows.h>

#include <map>

namespace Kestrel {

class CMessageLoop;

// The application module: the instance handle, the main thread, and each user-interface
// thread's message loop, so that a window created anywhere can reach the loop of its thread.
// The map is the only state here that other threads touch; it is guarded by the module's lock.
class CAppModule {
public:
    CAppModule() = default;
    CAppModule(const CAppModule&) = delete;
    CAppModule& operator=(const CAppModule&) = delete;

    // The module of the process.
    [[nodiscard]] static CAppModule& instance() noexcept;

    // Records the instance handle; the calling thread becomes the main thread.
    void initialise(HINSTANCE instance) noexcept;
    // Forgets the instance, the main thread and every registered loop.
    void terminate() noexcept;

    // Registers the calling thread's loop; false when the thread has one already (or for null).
    [[nodiscard]] bool addMessageLoop(CMessageLoop* loop);
    // Forgets the calling thread's loop, if it has one.
    void removeMessageLoop() noexcept;
    // The loop registered for the thread, or null when it has none.
    [[nodiscard]] CMessageLoop* getMessageLoop(DWORD threadId = GetCurrentThreadId()) const noexcept;

    [[nodiscard]] HINSTANCE instanceHandle() const noexcept { return instance_; }
    [[nodiscard]] DWORD mainThreadId() const noexcept { return mainThreadId_; }

private:
    HINSTANCE instance_ = nullptr;
    DWORD mainThreadId_ = 0;
    mutable SectionLock lock_;
    std::map<DWORD, CMessageLoop*> loops_;
};

} // namespace Kestrel
