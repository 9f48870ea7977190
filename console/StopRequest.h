#pragma once

#include "foundation/UniqueHandle.h"

#include <windows.h>

// Ctrl+C and Ctrl+Break while kww runs: instead of ending the process in the middle of an item
// (which would leave a file half overwritten under its own name, with no line about it), they
// ask the run to stop. The system calls the handler on a thread of its own; the run waits on
// event() and reads requested(). One per process, installed for the object's life.
class StopRequest {
public:
    StopRequest();
    ~StopRequest();
    StopRequest(const StopRequest&) = delete;
    StopRequest& operator=(const StopRequest&) = delete;

    [[nodiscard]] bool requested() const noexcept;
    // Signalled (and left signalled) once a stop is requested.
    [[nodiscard]] HANDLE event() const noexcept { return event_.get(); }

private:
    Kestrel::UniqueHandle event_;
    bool installed_ = false;
};
