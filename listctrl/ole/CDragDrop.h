#pragma once

#include "framework/GdiObject.h"
#include "listctrl/ole/CDataObjectT.h"
#include "listctrl/ole/CDropSource.h"
#include "listctrl/ole/CDropTargetT.h"
#include "listctrl/ole/ComPtr.h"

namespace Kestrel {

// The OLE drag and drop of one list window: its registered drop target and, when the list also
// starts drags, the drop source and data object those drags carry. Without a registered target
// (the platform refuses it where only COM, not OLE, was initialised) the list has no drag and
// drop at all.
class CDragDrop {
public:
    CDragDrop() noexcept = default;
    ~CDragDrop() { revoke(); }
    CDragDrop(const CDragDrop&) = delete;
    CDragDrop& operator=(const CDragDrop&) = delete;

    // Registers the list's window as a drop target and, with asSource, makes what the list's own
    // drags need. False when the platform refused the target; then nothing is held.
    template <typename T>
        requires DropTargetClient<T> && DragDataSource<T>
    [[nodiscard]] bool setup(T& list, HWND window, bool asSource) noexcept
    {
        revoke();
        ComPtr<CDropTarget> target = makeComObject<CDropTargetT<T>>(list, window);
        if (!target || FAILED(RegisterDragDrop(window, target.get()))) {
            if (target)
                target->detach();
            return false;
        }
        window_ = window;
        target_ = std::move(target);
        if (asSource) {
            source_ = makeComObject<CDropSource>();
            data_ = makeComObject<CDataObjectT<T>>(list);
        }
        return true;
    }

    [[nodiscard]] bool registered() const noexcept { return static_cast<bool>(target_); }
    // Adds a format the list accepts in drops; false without a target or memory.
    [[nodiscard]] bool acceptFormat(CLIPFORMAT format) noexcept;
    // Adds a format the list's drags carry, rendered by the list when a target asks; false
    // without a data object or memory.
    [[nodiscard]] bool offerFormat(CLIPFORMAT format) noexcept;

    // Runs the platform's modal drag of the list's data with this image (the cursor at offset in
    // it, transparent the colour not drawn); the effect of the drop, none when it was cancelled or
    // refused, or the list starts no drags. The drag runs without an image when the platform's
    // image helper is missing (Wine has none). Wherever the target registered, the drag runs:
    // OLE is initialised for its duration when the thread has only COM.
    DWORD startDrag(Bitmap image, POINT offset, COLORREF transparent, DWORD allowedEffects) noexcept;

    // Revokes the target and lets go of everything; the objects are told that the list is going,
    // since OLE or a target may hold them a little longer.
    void revoke() noexcept;

private:
    HWND window_ = nullptr;
    ComPtr<CDropTarget> target_;
    ComPtr<CDropSource> source_;
    ComPtr<CDataObject> data_;
};

} // namespace Kestrel
