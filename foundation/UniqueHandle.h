#pragma once

#include "foundation/KeepLastError.h"

#include <windows.h>

namespace Kestrel {

// Closing functions for the owners below. Each keeps the thread's last error as it was, so an
// owner that goes out of scope between a failing call and its report cannot change the report.
struct KernelHandleCloser {
    static void close(HANDLE handle) noexcept
    {
        const KeepLastError keep;
        CloseHandle(handle);
    }
};

struct FindHandleCloser {
    static void close(HANDLE handle) noexcept
    {
        const KeepLastError keep;
        FindClose(handle);
    }
};

// Sole owner of one Win32 handle. The value that means "no handle" is part of the type, because
// the kernel uses two: CreateThread and CreateMutexW answer NULL on failure, CreateFileW and
// FindFirstFileW answer INVALID_HANDLE_VALUE.
template <typename Closer, HANDLE (*invalidValue)() noexcept>
class BasicUniqueHandle {
public:
    BasicUniqueHandle() noexcept = default;
    explicit BasicUniqueHandle(HANDLE handle) noexcept : handle_(handle) {}
    ~BasicUniqueHandle() { reset(); }

    BasicUniqueHandle(const BasicUniqueHandle&) = delete;
    BasicUniqueHandle& operator=(const BasicUniqueHandle&) = delete;
    BasicUniqueHandle(BasicUniqueHandle&& other) noexcept : handle_(other.release()) {}
    BasicUniqueHandle& operator=(BasicUniqueHandle&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    [[nodiscard]] HANDLE get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != invalidValue(); }

    // Gives the handle up without closing it.
    [[nodiscard]] HANDLE release() noexcept
    {
        const HANDLE handle = handle_;
        handle_ = invalidValue();
        return handle;
    }

    // Closes the held handle (if any) and takes the new one.
    void reset(HANDLE handle = invalidValue()) noexcept
    {
        const HANDLE old = handle_;
        handle_ = handle;
        if (old != invalidValue() && old != handle)
            Closer::close(old);
    }

    // For functions that hand a new handle out through a pointer; the old one is closed first.
    [[nodiscard]] HANDLE* put() noexcept
    {
        reset();
        return &handle_;
    }

private:
    HANDLE handle_ = invalidValue();
};

namespace UniqueHandleDetail {
inline HANDLE nullHandle() noexcept { return nullptr; }
inline HANDLE invalidHandle() noexcept { return INVALID_HANDLE_VALUE; }
} // namespace UniqueHandleDetail

// Threads, mutexes, events: NULL means none.
using UniqueHandle = BasicUniqueHandle<KernelHandleCloser, UniqueHandleDetail::nullHandle>;
// Files from CreateFileW: INVALID_HANDLE_VALUE means none.
using UniqueFileHandle = BasicUniqueHandle<KernelHandleCloser, UniqueHandleDetail::invalidHandle>;
// Searches from FindFirstFileW, closed with FindClose: INVALID_HANDLE_VALUE means none.
using UniqueFindHandle = BasicUniqueHandle<FindHandleCloser, UniqueHandleDetail::invalidHandle>;

} // namespace Kestrel
