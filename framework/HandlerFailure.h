#pragma once

namespace Kestrel {

// An exception must not cross the system's frames between a window procedure and our own code:
// user32 was not built to unwind. The procedures catch it, keep the first one per thread here,
// and the next frame of ours that regains control (the message loop after a dispatch, a modal
// run when it returns) throws it again, so it still reaches the entry function's handler.

// Keeps the exception being handled; call only inside a catch block. Later failures are dropped
// while one is kept: the first one is the cause.
void keepHandlerFailure() noexcept;

// Whether a failure is kept for this thread.
[[nodiscard]] bool hasHandlerFailure() noexcept;

// Throws the kept failure, if there is one, and forgets it.
void rethrowHandlerFailure();

} // namespace Kestrel
