#pragma once

#include "listctrl/ole/ComPtr.h"
#include "listctrl/ole/ComObject.h"
#include "listctrl/ole/StorageMedium.h"

#include <oleidl.h>
#include <shobjidl.h>

#include <vector>

namespace Kestrel {

// The list window's side of OLE drag and drop (IDropTarget). It accepts a drag that carries one of
// its formats (the first the data can give, in the order they were added), keeps that format's
// data for the whole drag, lets the list say which effects it would take at each point, and
// limits them by the keys held: Control and Shift ask for a link, Control alone a copy, Shift
// alone a move; without keys the first of copy, move and link the list takes. The platform's
// drag-image helper, when it exists, draws the dragged image over the window.
class CDropTarget : public ComObject<IDropTarget, IID_IDropTarget> {
public:
    // Adds a format the target accepts; false when memory is short.
    [[nodiscard]] bool acceptFormat(CLIPFORMAT format) noexcept;
    // The list is going: a drag still under way (OLE may hold the target a little longer) is
    // refused from now on, and the list is not called any more.
    void detach() noexcept { detached_ = true; }

    // The effect that the keys held leave of the effects the list would take.
    [[nodiscard]] static DWORD limitEffect(DWORD listEffects, DWORD keyState) noexcept;

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) noexcept override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) noexcept override;
    HRESULT STDMETHODCALLTYPE DragLeave() noexcept override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) noexcept override;

protected:
    explicit CDropTarget(HWND window) noexcept;
    ~CDropTarget() override = default;

    // The effects (DROPEFFECT_ bits) the list would take for this data at this client point.
    [[nodiscard]] virtual DWORD queryEffect(const FORMATETC& format, const STGMEDIUM& medium, DWORD keyState,
                                            POINT client) noexcept = 0;
    // The drag left the window or ended without a drop on it.
    virtual void leave() noexcept = 0;
    // The data dropped with the effect chosen; false when the list refused it after all.
    [[nodiscard]] virtual bool drop(const FORMATETC& format, const STGMEDIUM& medium, DWORD effect,
                                    POINT client) noexcept = 0;

private:
    [[nodiscard]] DWORD currentEffect(DWORD keyState, POINTL point, DWORD allowed) noexcept;
    [[nodiscard]] DWORD dropData(IDataObject* data, DWORD effect, POINT client) noexcept;
    [[nodiscard]] POINT toClient(POINTL point) const noexcept;
    void forget() noexcept;

    HWND window_;
    ComPtr<IDropTargetHelper> imageHelper_;
    std::vector<FORMATETC> formats_;
    bool detached_ = false;
    bool accepting_ = false;
    FORMATETC format_{};
    StorageMedium medium_;
};

} // namespace Kestrel
