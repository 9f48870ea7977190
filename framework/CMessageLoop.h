#pragma once

#include "framework/CIdleHandler.h"
#include "framework/CMessageFilter.h"

#include <windows.h>

#include <vector>

namespace Kestrel {

// The message loop of one user-interface thread. Filters see each message before it is
// dispatched; idle handlers run once each time the queue runs empty. The loop does not own the
// objects registered with it, and they may come and go while it runs.
class CMessageLoop {
public:
    CMessageLoop() = default;
    CMessageLoop(const CMessageLoop&) = delete;
    CMessageLoop& operator=(const CMessageLoop&) = delete;

    void addMessageFilter(CMessageFilter* filter);
    // Removing an object that is not registered does nothing.
    void removeMessageFilter(CMessageFilter* filter) noexcept;
    void addIdleHandler(CIdleHandler* handler);
    void removeIdleHandler(CIdleHandler* handler) noexcept;

    // Runs until the quit message arrives and answers its exit code (its wParam). Throws what a
    // window procedure of this thread kept (see HandlerFailure.h), right after its dispatch.
    int run();

    // The message being handled by the loop (the last one it fetched).
    [[nodiscard]] const MSG& currentMessage() const noexcept { return message_; }

private:
    // Offers the message to the filters, the most recently added first.
    bool preTranslateMessage(MSG& message);
    void runIdleHandlers();
    // Whether handling the message makes the idle work due again. Mouse moves, paints and the
    // system timer (caret blink) arrive all the time while the user does nothing: they do not.
    [[nodiscard]] static bool rearmsIdleWork(const MSG& message) noexcept;
    // Drops the places that objects left during a walk, once no walk runs.
    void compact() noexcept;

    // Objects that leave while a walk runs (a filter that destroys its window unregisters itself)
    // leave an empty place, so that a walk needs no copy of the list for every message.
    std::vector<CMessageFilter*> filters_;
    std::vector<CIdleHandler*> idleHandlers_;
    int walks_ = 0;
    MSG message_{};
};

} // namespace Kestrel
