#include "listctrl/ole/CDragDrop.h"

#include <shlguid.h>
#include <ole2.h>
#include <shlobj.h>

namespace Kestrel {

namespace {

// Gives the image to the platform's drag-image helper for this data; null when there is no helper
// or it did not take the image.
ComPtr<IDragSourceHelper> attachImage(Bitmap& image, POINT offset, COLORREF transparent, IDataObject* data) noexcept
{
    BITMAP info{};
    if (!image || !GetObjectW(image.get(), sizeof info, &info))
        return nullptr;
    ComPtr<IDragSourceHelper> helper;
    if (FAILED(CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDragSourceHelper,
                                helper.putVoid())))
        return nullptr;
    SHDRAGIMAGE description{};
    description.sizeDragImage = SIZE{info.bmWidth, info.bmHeight};
    description.ptOffset = offset;
    description.hbmpDragImage = image.get();
    description.crColorKey = transparent;
    if (FAILED(helper->InitializeFromBitmap(&description, data)))
        return nullptr;
    // The helper owns the bitmap once it has taken it.
    static_cast<void>(image.release());
    return helper;
}

} // namespace

bool CDragDrop::acceptFormat(CLIPFORMAT format) noexcept
{
    return target_ && target_->acceptFormat(format);
}

bool CDragDrop::offerFormat(CLIPFORMAT format) noexcept
{
    return data_ && data_->offerFormat(format);
}

DWORD CDragDrop::startDrag(Bitmap image, POINT offset, COLORREF transparent, DWORD allowedEffects) noexcept
{
    if (!data_ || !source_)
        return DROPEFFECT_NONE;
    // Held until the drag ends: the helper draws the image while it runs.
    const ComPtr<IDragSourceHelper> helper = attachImage(image, offset, transparent, data_.get());
    DWORD effect = DROPEFFECT_NONE;
    if (DoDragDrop(data_.get(), source_.get(), allowedEffects, &effect) != DRAGDROP_S_DROP)
        return DROPEFFECT_NONE;
    return effect;
}

void CDragDrop::revoke() noexcept
{
    if (target_) {
        RevokeDragDrop(window_);
        target_->detach();
    }
    if (data_)
        data_->detach();
    target_.reset();
    source_.reset();
    data_.reset();
    window_ = nullptr;
}

} // namespace Kestrel
