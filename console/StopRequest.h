#pragma once

#include "console/SessionEndWindow.h"

#include <windows.h>

// Ctrl+C and Ctrl+Break while kww runs: instead of ending the process in the middle of an item
// (which would leave a file half overwritten under its own name, with no line about it), they
// ask the run to stop. The system calls the handler on a thread of its own; the run waits on
// event() and reads requested(). One per process, installed for the object's life.
//
// Closing the console, logging off and shutting down ask the same, but Windows ends the process
// as soon as the handler (or, for the session's end, the window procedure) returns, or once its
// allowance has passed: there the handler waits until the run has written its last line, which
// the end of this object says, and then ends the process itself with the stop's exit code.
class StopRequest {
public:
    StopRequest();
    ~StopRequest();
    StopRequest(const StopRequest&) = delete;
    StopRequest& operator=(const StopRequest&) = delete;

    [[nodiscard]] bool requested() const noexcept;
    // Signalled (and left signalled) once a stop is requested.
    [[nodiscard]] HANDLE event() const noexcept;

private:
    bool installed_ = false;
    SessionEndWindow sessionEnd_;
};
