#pragma once

#include "listctrl/ole/CDropTarget.h"

#include <concepts>

namespace Kestrel {

// What a list answers to the drop target registered for its window. Points are in the list's
// client coordinates; the format and medium are those of the drag's accepted data.
template <typename T>
concept DropTargetClient = requires(T& list, const FORMATETC& format, const STGMEDIUM& medium, DWORD value,
                                    POINT point) {
    // The effects (DROPEFFECT_ bits) the list would take here.
    { list.queryDropEffect(format, medium, value, point) } noexcept -> std::same_as<DWORD>;
    // The drag left the list or ended without a drop on it.
    { list.endDropHover() } noexcept;
    // The data is dropped with that effect; false when the list refuses it.
    { list.dropData(format, medium, value, point) } noexcept -> std::same_as<bool>;
};

// The drop target of one list window; detach() before the list goes.
template <DropTargetClient T>
class CDropTargetT final : public CDropTarget {
public:
    CDropTargetT(T& list, HWND window) noexcept : CDropTarget(window), list_(list) {}

private:
    ~CDropTargetT() override = default;

    DWORD queryEffect(const FORMATETC& format, const STGMEDIUM& medium, DWORD keyState, POINT client) noexcept override
    {
        return list_.queryDropEffect(format, medium, keyState, client);
    }
    void leave() noexcept override
    {
        list_.endDropHover();
    }
    bool drop(const FORMATETC& format, const STGMEDIUM& medium, DWORD effect, POINT client) noexcept override
    {
        return list_.dropData(format, medium, effect, client);
    }

    T& list_;
};

} // namespace Kestrel
