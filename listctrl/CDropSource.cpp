#include "listctrl/CDropSource.h"

namespace Kestrel {

HRESULT CDropSource::QueryInterface(REFIID id, void** result) noexcept
{
    return answerInterface<IDropSource>(this, id, IID_IDropSource, result);
}

ULONG CDropSource::Release() noexcept
{
    const ULONG left = refCount_.release();
    if (left == 0)
        delete this;
    return left;
}

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
