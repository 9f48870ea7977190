#include "listctrl/ole/CDropTarget.h"

#include <shlguid.h>

namespace Kestrel {

namespace {

POINT toPoint(POINTL point) noexcept
{
    return POINT{point.x, point.y};
}

} // namespace

CDropTarget::CDropTarget(HWND window) noexcept : window_(window)
{
    // Without the helper the drag simply shows no image over this window.
    if (FAILED(CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDropTargetHelper,
                                imageHelper_.putVoid())))
        imageHelper_.reset();
}

bool CDropTarget::acceptFormat(CLIPFORMAT format) noexcept
{
    try {
        formats_.push_back(FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
        return true;
    } catch (...) {
        return false;
    }
}

DWORD CDropTarget::limitEffect(DWORD listEffects, DWORD keyState) noexcept
{
    const bool control = keyState & MK_CONTROL;
    const bool shift = keyState & MK_SHIFT;
    DWORD required = DROPEFFECT_NONE;
    if (control && shift)
        required = DROPEFFECT_LINK;
    else if (control)
        required = DROPEFFECT_COPY;
    else if (shift)
        required = DROPEFFECT_MOVE;
    if (required != DROPEFFECT_NONE)
        return (listEffects & required) ? required : DROPEFFECT_NONE;
    for (const DWORD effect : {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK}) {
        if (listEffects & effect)
            return effect;
    }
    return DROPEFFECT_NONE;
}

HRESULT CDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) noexcept
{
    if (!data || !effect)
        return E_INVALIDARG;
    forget();
    for (const FORMATETC& format : formats_) {
        FORMATETC request = format;
        StorageMedium medium;
        if (SUCCEEDED(data->GetData(&request, medium.put()))) {
            format_ = format;
            medium_ = std::move(medium);
            accepting_ = true;
            break;
        }
    }
    *effect = currentEffect(keyState, point, *effect);
    if (imageHelper_) {
        POINT screen = toPoint(point);
        imageHelper_->DragEnter(window_, data, &screen, *effect);
    }
    return S_OK;
}

HRESULT CDropTarget::DragOver(DWORD keyState, POINTL point, DWORD* effect) noexcept
{
    if (!effect)
        return E_INVALIDARG;
    *effect = currentEffect(keyState, point, *effect);
    if (imageHelper_) {
        POINT screen = toPoint(point);
        imageHelper_->DragOver(&screen, *effect);
    }
    return S_OK;
}

HRESULT CDropTarget::DragLeave() noexcept
{
    if (imageHelper_)
        imageHelper_->DragLeave();
    if (!detached_)
        leave();
    forget();
    return S_OK;
}

HRESULT CDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) noexcept
{
    if (!data || !effect)
        return E_INVALIDARG;
    DWORD chosen = currentEffect(keyState, point, *effect);
    if (imageHelper_) {
        POINT screen = toPoint(point);
        imageHelper_->Drop(data, &screen, chosen);
    }
    if (chosen != DROPEFFECT_NONE)
        chosen = dropData(data, chosen, toClient(point));
    if (chosen == DROPEFFECT_NONE && !detached_)
        leave();
    forget();
    *effect = chosen;
    return S_OK;
}

DWORD CDropTarget::currentEffect(DWORD keyState, POINTL point, DWORD allowed) noexcept
{
    if (!accepting_ || detached_)
        return DROPEFFECT_NONE;
    // An effect the source does not allow would be one it cannot carry out.
    const DWORD listEffects = queryEffect(format_, medium_.get(), keyState, toClient(point)) & allowed;
    return limitEffect(listEffects, keyState);
}

// The data is fetched again for the drop: what was read on entering only showed what it is.
DWORD CDropTarget::dropData(IDataObject* data, DWORD effect, POINT client) noexcept
{
    FORMATETC request = format_;
    StorageMedium medium;
    if (FAILED(data->GetData(&request, medium.put())))
        return DROPEFFECT_NONE;
    return drop(format_, medium.get(), effect, client) ? effect : DROPEFFECT_NONE;
}

POINT CDropTarget::toClient(POINTL point) const noexcept
{
    POINT client = toPoint(point);
    ScreenToClient(window_, &client);
    return client;
}

void CDropTarget::forget() noexcept
{
    accepting_ = false;
    format_ = FORMATETC{};
    medium_.reset();
}

} // namespace Kestrel
