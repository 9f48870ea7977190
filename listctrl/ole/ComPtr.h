#pragma once

#include <objbase.h>

#include <new>
#include <utility>

namespace Kestrel {

// Holds one reference to a COM object: AddRef on copy, Release when it goes. Interface pointers
// are borrowed as plain pointers (get()); an owner is what keeps the object alive.
template <typename Interface>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Takes a new reference of its own to the object.
    explicit ComPtr(Interface* object) noexcept : object_(object)
    {
        if (object_)
            object_->AddRef();
    }
    ~ComPtr() { reset(); }

    ComPtr(const ComPtr& other) noexcept : ComPtr(other.object_) {}
    template <typename Other>
    ComPtr(const ComPtr<Other>& other) noexcept : ComPtr(other.get())
    {
    }
    ComPtr(ComPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(object_, other.object_);
        return *this;
    }

    // Adopts a reference the caller already holds (a new object's first one).
    [[nodiscard]] static ComPtr adopt(Interface* object) noexcept
    {
        ComPtr owner;
        owner.object_ = object;
        return owner;
    }

    [[nodiscard]] Interface* get() const noexcept { return object_; }
    Interface* operator->() const noexcept { return object_; }
    Interface& operator*() const noexcept { return *object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }

    // Gives the reference up to the caller, who must release it.
    [[nodiscard]] Interface* detach() noexcept { return std::exchange(object_, nullptr); }

    void reset() noexcept
    {
        if (Interface* object = std::exchange(object_, nullptr))
            object->Release();
    }

    // For functions that hand out a new reference through a pointer (CoCreateInstance,
    // QueryInterface); the old one is released first.
    [[nodiscard]] Interface** put() noexcept
    {
        reset();
        return &object_;
    }
    [[nodiscard]] void** putVoid() noexcept { return reinterpret_cast<void**>(put()); }

private:
    Interface* object_ = nullptr;
};

// Creates one of our COM objects with its first reference held by the result; null when memory
// or the constructor failed, since the COM methods that create objects must not throw.
template <typename Object, typename... Args>
[[nodiscard]] ComPtr<Object> makeComObject(Args&&... args) noexcept
{
    try {
        return ComPtr<Object>::adopt(new Object(std::forward<Args>(args)...));
    } catch (...) {
        return nullptr;
    }
}

} // namespace Kestrel
