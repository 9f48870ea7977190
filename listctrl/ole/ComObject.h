#pragma once

#include "listctrl/ole/ComRefCount.h"

#include <windows.h>

namespace Kestrel {

// IUnknown for one of our COM objects that implements one interface besides it: the reference
// count, the answer of QueryInterface, and the deletion at the last Release. The destructor is
// virtual, so the object deletes itself whatever class it was made as.
template <typename Interface, const IID& implemented>
class ComObject : public Interface {
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID asked, void** result) noexcept override
    {
        if (!result)
            return E_POINTER;
        if (IsEqualIID(asked, IID_IUnknown) || IsEqualIID(asked, implemented)) {
            *result = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *result = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return refCount_.addRef(); }
    ULONG STDMETHODCALLTYPE Release() noexcept override
    {
        const ULONG left = refCount_.release();
        if (left == 0)
            delete this;
        return left;
    }

protected:
    ComObject() noexcept = default;
    virtual ~ComObject() = default;

private:
    ComRefCount refCount_;
};

} // namespace Kestrel
