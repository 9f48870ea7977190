#pragma once

#include "listctrl/ComRefCount.h"

#include <oleidl.h>

namespace Kestrel {

// The source side of a drag the list starts (IDropSource): Escape cancels, releasing both mouse
// buttons drops, and the platform shows its usual cursors.
class CDropSource final : public IDropSource {
public:
    CDropSource() noexcept = default;
    CDropSource(const CDropSource&) = delete;
    CDropSource& operator=(const CDropSource&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** result) noexcept override;
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return refCount_.addRef(); }
    ULONG STDMETHODCALLTYPE Release() noexcept override;

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) noexcept override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) noexcept override;

private:
    ~CDropSource() = default;

    ComRefCount refCount_;
};

} // namespace Kestrel
