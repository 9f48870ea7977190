#pragma once

#include "listctrl/ole/ComObject.h"

#include <oleidl.h>

namespace Kestrel {

// The source side of a drag the list starts (IDropSource): Escape cancels, releasing both mouse
// buttons drops, and the platform shows its usual cursors.
class CDropSource final : public ComObject<IDropSource, IID_IDropSource> {
public:
    CDropSource() noexcept = default;

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) noexcept override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) noexcept override;

private:
    ~CDropSource() override = default;
};

} // namespace Kestrel
