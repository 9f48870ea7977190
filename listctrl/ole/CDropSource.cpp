#include "listctrl/ole/CDropSource.h"

namespace Kestrel {

HRESULT CDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) noexcept
{
    if (escapePressed)
        return DRAGDROP_S_CANCEL;
    if (keyState & (MK_LBUTTON | MK_RBUTTON))
        return S_OK;
    return DRAGDROP_S_DROP;
}

HRESULT CDropSource::GiveFeedback(DWORD) noexcept
{
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

} // namespace Kestrel
