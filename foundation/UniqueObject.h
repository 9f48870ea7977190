#pragma once

#include "foundation/KeepLastError.h"

namespace Kestrel {

// Sole owner of one system object: a kernel handle, a search, a user-interface or GDI object, a
// global memory block. The policy names the handle type, the value that means "none" (the kernel
// uses two: CreateThread answers NULL on failure, CreateFileW INVALID_HANDLE_VALUE) and the
// function that frees it:
//
//     struct Policy {
//         using Handle = ...;
//         static Handle none() noexcept;
//         static void free(Handle) noexcept;
//     };
//
// Freeing keeps the thread's last error, so an owner that goes out of scope between a failing
// call and its report cannot change the report. The plain handle is the borrowing name: a
// function that only uses an object takes the handle, never the owner.
template <typename Policy>
class UniqueObject {
public:
    using Handle = typename Policy::Handle;

    UniqueObject() noexcept = default;
    explicit UniqueObject(Handle object) noexcept : object_(object) {}
    ~UniqueObject() { reset(); }

    UniqueObject(const UniqueObject&) = delete;
    UniqueObject& operator=(const UniqueObject&) = delete;
    UniqueObject(UniqueObject&& other) noexcept : object_(other.release()) {}
    UniqueObject& operator=(UniqueObject&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    [[nodiscard]] Handle get() const noexcept { return object_; }
    explicit operator bool() const noexcept { return object_ != Policy::none(); }

    // Gives the object up without freeing it.
    [[nodiscard]] Handle release() noexcept
    {
        const Handle object = object_;
        object_ = Policy::none();
        return object;
    }

    // Frees the held object (if any) and takes the new one.
    void reset(Handle object = Policy::none()) noexcept
    {
        const Handle old = object_;
        object_ = object;
        if (old != Policy::none() && old != object) {
            const KeepLastError keep;
            Policy::free(old);
        }
    }

    // For functions that hand a new object out through a pointer; the old one is freed first.
    [[nodiscard]] Handle* put() noexcept
    {
        reset();
        return &object_;
    }

private:
    Handle object_ = Policy::none();
};

// The policy of objects that null means none of and one function frees.
template <typename HandleType, auto Free>
struct FreedWith {
    using Handle = HandleType;
    static Handle none() noexcept { return nullptr; }
    static void free(Handle object) noexcept { Free(object); }
};

} // namespace Kestrel
