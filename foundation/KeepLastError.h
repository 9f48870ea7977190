#pragma once

#include <windows.h>

namespace Kestrel {

// Puts the thread's last error back when the scope ends, so that releasing a handle between a
// failing call and its report cannot change what is reported.
class KeepLastError {
public:
    KeepLastError() noexcept : error_(GetLastError()) {}
    ~KeepLastError() { SetLastError(error_); }
    KeepLastError(const KeepLastError&) = delete;
    KeepLastError& operator=(const KeepLastError&) = delete;

private:
    DWORD error_;
};

} // namespace Kestrel
