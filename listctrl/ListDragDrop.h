#pragma once

// The list's OLE drag and drop: columns reordered by dragging a header item along the header,
// and files dropped over the list handed to its parent. The list holds one CListDragDrop and calls
// it from its initialisation, settings, mouse, cancel-mode and destruction handlers; the drag asks
// the list only through the side it is given (CListImpl::ColumnDragSide):
//     HWND window() const                      the list's window
//     int headerHeight() const                 0 while no header shows
//     ColumnPosition columnEnd() const         one past the last column
//     bool hasColumn(ColumnPosition) const
//     RECT columnExtent(ColumnPosition) const  a column's left and right edges (client coordinates)
//     Bitmap headerItemImage(ColumnPosition)   the header item as the header paints it, pressed
//     COLORREF background() const              the colour around the header item in the drag image
//     void endPress()                          the drag loop takes the mouse: the press ends
//     void moveColumn(ColumnPosition from, ColumnPosition to)

#include "framework/GdiObject.h"
#include "listctrl/CDropArrows.h"
#include "listctrl/ColumnPosition.h"
#include "listctrl/ole/CDragDrop.h"
#include "listctrl/ole/FileDropHandOver.h"
#include "listctrl/ole/GlobalMemory.h"

#include <cstddef>
#include <cstring>
#include <utility>

namespace Kestrel {

template <typename Side>
class CListDragDrop {
public:
    explicit CListDragDrop(Side list) noexcept : list_(list) {}
    CListDragDrop(const CListDragDrop&) = delete;
    CListDragDrop& operator=(const CListDragDrop&) = delete;

    // Registers the list's window as a drop target for its header format and for files. False when
    // the platform refused (without OLE initialised on the thread): drag and drop then stays off
    // and the rest of the list works as before.
    bool registerTarget(CLIPFORMAT headerFormat) noexcept
    {
        headerFormat_ = headerFormat;
        if (!dragDrop_.setup(*this, list_.window(), true))
            return false;
        // The header format first: a drag that carries both is a column drag.
        return dragDrop_.acceptFormat(headerFormat) && dragDrop_.acceptFormat(CF_HDROP) &&
               dragDrop_.offerFormat(headerFormat);
    }

    // The arrows' height follows the header's, and their size the list's DPI.
    void recreateArrows(int headerHeight, Dpi dpi) noexcept
    {
        static_cast<void>(arrows_.create(list_.window(), headerHeight, dpi));
    }

    void hideArrows() const noexcept { arrows_.hide(); }

    // The list's window is going.
    void release() noexcept
    {
        dragDrop_.revoke();
        arrows_.destroyWindow();
    }

    // Drags the header item at a display position until the drop; the drop on this list's header
    // moves the column. Nothing happens while the list is no drop target.
    void startColumnDrag(ColumnPosition position) noexcept
    {
        if (!dragDrop_.registered() || !list_.hasColumn(position))
            return;
        dragged_ = position;
        Bitmap image = list_.headerItemImage(position);
        BITMAP size{};
        GetObjectW(image.get(), sizeof size, &size);
        hideArrows();
        list_.endPress();
        dragDrop_.startDrag(std::move(image), POINT{size.bmWidth / 2, size.bmHeight / 2}, list_.background(),
                            DROPEFFECT_MOVE);
        hideArrows();
        dragged_ = ColumnPosition();
    }

    // The list lost the mouse: a drop that still comes moves nothing.
    void cancelColumnDrag() noexcept
    {
        hideArrows();
        dragged_ = ColumnPosition();
    }

    // --- What the drop target and the data object ask of the list ---

    DWORD queryDropEffect(const FORMATETC& format, const STGMEDIUM& medium, DWORD, POINT client) noexcept
    {
        if (format.cfFormat == CF_HDROP)
            return fileDropEffects(list_.window(), medium);
        const ColumnPosition insertion = columnDropPosition(format, medium, client);
        if (!insertion.valid()) {
            hideArrows();
            return DROPEFFECT_NONE;
        }
        showArrowsAt(insertion);
        return DROPEFFECT_MOVE;
    }

    void endDropHover() noexcept { hideArrows(); }

    bool dropData(const FORMATETC& format, const STGMEDIUM& medium, DWORD, POINT client) noexcept
    {
        if (format.cfFormat == CF_HDROP)
            return handFileDropToParent(list_.window(), medium);
        hideArrows();
        const ColumnPosition insertion = columnDropPosition(format, medium, client);
        if (!insertion.valid())
            return false;
        const ColumnPosition from = dragged_;
        // The insertion gap counts the dragged column itself; left of the gap once it is taken out.
        list_.moveColumn(from, from < insertion ? insertion.movedBy(-1) : insertion);
        return true;
    }

    bool renderDragData(const FORMATETC& format, STGMEDIUM& medium) noexcept
    {
        if (format.cfFormat != headerFormat_)
            return false;
        const HWND window = list_.window();
        medium.tymed = TYMED_HGLOBAL;
        medium.hGlobal = copyToGlobalMemory(&window, sizeof window).release();
        medium.pUnkForRelease = nullptr;
        return medium.hGlobal != nullptr;
    }

private:
    // The gap a dragged column would go to at this point: the column under the point when the
    // point is left of its middle, else the next one. -1 when the data is not this list's column
    // drag, the point is off the header, or the column would stay where it is.
    ColumnPosition columnDropPosition(const FORMATETC& format, const STGMEDIUM& medium, POINT client) const noexcept
    {
        const ColumnPosition dragged = dragged_;
        if (format.cfFormat != headerFormat_ || !namesThisList(medium) || !list_.hasColumn(dragged))
            return {};
        if (client.y < 0 || client.y >= list_.headerHeight())
            return {};
        for (ColumnPosition position(0); position < list_.columnEnd(); ++position) {
            const RECT extent = list_.columnExtent(position);
            if (client.x < extent.left || client.x >= extent.right)
                continue;
            const bool leftHalf = client.x < (extent.left + extent.right) / 2;
            const ColumnPosition insertion = leftHalf ? position : position.movedBy(1);
            return insertion == dragged || insertion == dragged.movedBy(1) ? ColumnPosition() : insertion;
        }
        return {};
    }

    // A drag between two lists carries the other list's window: it moves nothing here.
    bool namesThisList(const STGMEDIUM& medium) const noexcept
    {
        if (medium.tymed != TYMED_HGLOBAL)
            return false;
        const GlobalLockScope view(medium.hGlobal);
        if (!view || view.size() < sizeof(HWND))
            return false;
        HWND named = nullptr;
        std::memcpy(&named, view.data(), sizeof named);
        return named == list_.window();
    }

    void showArrowsAt(ColumnPosition insertion) const noexcept
    {
        const ColumnPosition end = list_.columnEnd();
        const int x = insertion < end ? list_.columnExtent(insertion).left : list_.columnExtent(end.movedBy(-1)).right;
        POINT screen{x, list_.headerHeight() / 2};
        ClientToScreen(list_.window(), &screen);
        arrows_.showAt(screen);
    }

    Side list_;
    CDragDrop dragDrop_;
    CDropArrows arrows_;
    CLIPFORMAT headerFormat_ = 0;
    ColumnPosition dragged_; // the header item being dragged, from its press to its drop
};

} // namespace Kestrel
