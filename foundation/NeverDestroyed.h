#pragma once

#include <utility>

namespace Kestrel {

// Holds one object that lives until the process ends: its destructor never runs, not even in the
// exit handlers. For an object that other threads may still use while the process ends, after
// those handlers have run; the system takes back its memory and handles with the process.
template <typename T>
class NeverDestroyed {
public:
    template <typename... Args>
    explicit NeverDestroyed(Args&&... args) : object_(std::forward<Args>(args)...)
    {
    }
    // Leaves the object as it is: a union member is destroyed only when its owner says so.
    ~NeverDestroyed() {}
    NeverDestroyed(const NeverDestroyed&) = delete;
    NeverDestroyed& operator=(const NeverDestroyed&) = delete;

    [[nodiscard]] T& get() noexcept { return object_; }

private:
    union {
        T object_;
    };
};

} // namespace Kestrel
