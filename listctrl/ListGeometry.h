#pragma once

// Rows, cells and columns on screen: hit tests, scroll ranges and visibility. A list whose
// settings are not loaded (row height 0, after a failed initialisation) has no visible rows and
// hits none: every division by the row height is behind ready().

#include <algorithm>

namespace Kestrel {

namespace ListGeometryDetail {
using namespace ListTextInsets;
// Pixels at 96 DPI. A header title keeps this margin on its right, and room for the sort arrow when it shows.
constexpr int kHeaderTitleMargin = 5;
constexpr int kSortArrowRoom = 15;
// How far left and right of a column's right edge its divider can be grabbed.
constexpr int kDividerGripLeft = 5;
constexpr int kDividerGripRight = 4;
} // namespace ListGeometryDetail

template <typename T>
const ListColumn* CListImpl<T>::column(ColumnPosition position) const noexcept
{
    return position.valid() && position < columnEnd() ? &columns_.records[position.index()] : nullptr;
}

template <typename T>
ColumnPosition CListImpl<T>::columnPosition(ColumnId id) const noexcept
{
    if (!id.valid())
        return {};
    for (ColumnPosition position(0); position < columnEnd(); ++position) {
        if (columns_.records[position.index()].id == id)
            return position;
    }
    return {};
}

template <typename T>
ColumnId CListImpl<T>::columnId(ColumnPosition position) const noexcept
{
    const ListColumn* found = column(position);
    return found ? found->id : ColumnId();
}

template <typename T>
int CListImpl<T>::columnLeft(ColumnPosition position) const noexcept
{
    int left = 0;
    for (ColumnPosition before(0); before < position && before < columnEnd(); ++before)
        left += columns_.records[before.index()].width;
    return left;
}

template <typename T>
int CListImpl<T>::totalColumnWidth(bool recalc) noexcept
{
    if (recalc)
        columns_.totalWidth = columnLeft(columnEnd());
    return columns_.totalWidth;
}

template <typename T>
RECT CListImpl<T>::columnExtent(ColumnPosition position) const noexcept
{
    const ListColumn* found = column(position);
    if (!found)
        return RECT{};
    const int left = columnLeft(position) - scrollPosition(SB_HORZ);
    return RECT{left, 0, left + found->width, 0};
}

template <typename T>
int CListImpl<T>::topItem()
{
    return ready() ? scrollPosition(SB_VERT) / rowHeight_ : 0;
}

// Page steps, the bottom end and thumb drags leave vertical positions between rows, while the rows
// are painted from the top row down; whatever is measured against the painted rows (the rubber
// band) takes its document coordinates from here.
template <typename T>
POINT CListImpl<T>::paintedOrigin()
{
    return POINT{scrollPosition(SB_HORZ), topItem() * rowHeight_};
}

template <typename T>
int CListImpl<T>::visibleItemCount(bool partial)
{
    if (!ready())
        return 0;
    const int area = std::max(0, static_cast<int>(this->clientRect().bottom) - headerBottom());
    int rows = area / rowHeight_;
    if (partial && area % rowHeight_ != 0)
        ++rows;
    return std::max(rows, 1);
}

template <typename T>
RECT CListImpl<T>::itemRect(int item)
{
    if (!ready() || item < 0 || item >= itemCount())
        return RECT{};
    const RECT client = this->clientRect();
    const int top = headerBottom() + (item - topItem()) * rowHeight_;
    return RECT{client.left, top, std::min(totalColumnWidth(false) - 1, static_cast<int>(client.right)),
                top + rowHeight_};
}

template <typename T>
RECT CListImpl<T>::cellRect(int item, ColumnPosition position)
{
    const RECT row = itemRect(item);
    if (IsRectEmpty(&row) || !column(position))
        return RECT{};
    const RECT extent = columnExtent(position);
    return RECT{extent.left, row.top, extent.right, row.bottom};
}

// Hidden columns that follow are skipped so that the last of them is the one to resize, which
// lets the user widen it again.
template <typename T>
ColumnPosition CListImpl<T>::dividerAt(int x) const noexcept
{
    using namespace ListGeometryDetail;
    for (ColumnPosition position(0); position < columnEnd(); ++position) {
        const int right = columnExtent(position).right;
        if (x >= right - scaled(kDividerGripLeft) && x <= right + scaled(kDividerGripRight)) {
            while (column(position.movedBy(1)) && column(position.movedBy(1))->width == 0)
                ++position;
            return position;
        }
    }
    return {};
}

template <typename T>
RECT CListImpl<T>::cellContent(const RECT& painted, ColumnPosition position) const noexcept
{
    using namespace ListGeometryDetail;
    RECT content = painted;
    content.left += scaled(position == ColumnPosition(0) ? kFirstColumnIndent : kColumnIndent) + scaled(kContentMargin);
    content.right -= scaled(kContentMargin);
    return content;
}

template <typename T>
RECT CListImpl<T>::headerContent(const RECT& item, ColumnPosition position, bool arrow) const noexcept
{
    using namespace ListGeometryDetail;
    RECT content = cellContent(item, position);
    content.right = item.right - scaled(kHeaderTitleMargin) - (arrow ? scaled(kSortArrowRoom) : 0);
    OffsetRect(&content, 0, 1);
    return content;
}

template <typename T>
RECT CListImpl<T>::headerTextRect(ColumnPosition position)
{
    const ListColumn* shown = column(position);
    if (!shown || !showHeader_)
        return RECT{};
    const RECT extent = columnExtent(position);
    RECT content = headerContent(RECT{extent.left, 0, extent.right, headerHeight_}, position, showsSortArrow(*shown));
    if (shown->image != -1)
        content.left += imageRoom();
    return content;
}

template <typename T>
bool CListImpl<T>::showsSortArrow(const ListColumn& shown) const noexcept
{
    return sortEnabled_ && columns_.sortColumn == shown.id && !shown.fixed && shown.width >= imageStripSize(dpi_).pixels;
}

template <typename T>
int CListImpl<T>::imageRoom()
{
    int width = 0;
    int height = 0;
    if (!itemImages() || !ImageList_GetIconSize(itemImages(), &width, &height))
        return 0;
    return width + scaled(ListGeometryDetail::kImageGap);
}

template <typename T>
ListHit CListImpl<T>::hitTest(POINT point)
{
    ListHit hit;
    auto columnAt = [this](int x) {
        for (ColumnPosition position(0); position < columnEnd(); ++position) {
            const RECT extent = columnExtent(position);
            if (x >= extent.left && x < extent.right)
                return position;
        }
        return ColumnPosition();
    };
    if (!ready())
        return hit;
    if (showHeader_ && point.y >= 0 && point.y < headerHeight_) {
        hit.onHeader = true;
        hit.divider = dividerAt(point.x);
        hit.headerColumn = columnAt(point.x);
        return hit;
    }
    if (point.y < headerBottom())
        return hit;
    const int item = topItem() + (point.y - headerBottom()) / rowHeight_;
    if (item < itemCount()) {
        hit.item = item;
        hit.column = columnAt(point.x);
    }
    return hit;
}

template <typename T>
void CListImpl<T>::setScrollPosition(int bar, int position)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    info.nPos = std::max(position, 0);
    const int before = scrollPosition(bar);
    SetScrollInfo(handle(), bar, &info, TRUE);
    if (scrollPosition(bar) != before)
        refreshHotAfterScroll();
}

// SetScrollInfo draws the bar at once even when nothing about it changed; under Wine each of
// those drawings goes to the X server, and a drop of a thousand files, one row and one reset at a
// time within a single handler, spent nearly all its time there.
template <typename T>
bool CListImpl<T>::applyScrollInfo(int bar, const SCROLLINFO& wanted, bool redraw)
{
    SCROLLINFO current{};
    current.cbSize = sizeof current;
    current.fMask = SIF_ALL;
    if (GetScrollInfo(handle(), bar, &current)) {
        const bool shown = (this->style() & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) != 0;
        // A bar without range keeps a page of at most one (the system clips it) and is hidden.
        const bool samePage = current.nPage == wanted.nPage || wanted.nMax == 0;
        if (current.nMin == wanted.nMin && current.nMax == wanted.nMax && samePage &&
            ((wanted.fMask & SIF_POS) == 0 || current.nPos == wanted.nPos) && shown == (wanted.nMax > 0))
            return false;
    }
    SetScrollInfo(handle(), bar, &wanted, redraw);
    return true;
}

template <typename T>
void CListImpl<T>::resetScrollBars(int bars, int position, bool recalc, bool redraw)
{
    const RECT client = this->clientRect();
    const POINT before{scrollPosition(SB_HORZ), scrollPosition(SB_VERT)};
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    if (position >= 0) {
        info.fMask |= SIF_POS;
        info.nPos = position;
    }
    bool changed = false;
    if (bars == SB_VERT || bars == SB_BOTH) {
        const int page = std::max(0, static_cast<int>(client.bottom) - headerBottom());
        int range = itemCount() * rowHeight_ + headerBottom();
        if (range <= page + headerBottom())
            range = 0;
        info.nMax = range;
        info.nPage = static_cast<UINT>(page);
        changed = applyScrollInfo(SB_VERT, info, redraw) || changed;
    }
    if (bars == SB_HORZ || bars == SB_BOTH) {
        const int page = std::max(0, static_cast<int>(client.right));
        int range = std::max(0, totalColumnWidth(recalc) - 1);
        if (range <= page)
            range = 0;
        info.nMax = range;
        info.nPage = static_cast<UINT>(page);
        changed = applyScrollInfo(SB_HORZ, info, redraw) || changed;
        scrolling_.horizontalBarNeeded = range > 0;
    }
    // The bars lie in the frame: the frame joins the next paint.
    if (changed && !redraw)
        RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    if (scrollPosition(SB_HORZ) != before.x || scrollPosition(SB_VERT) != before.y)
        refreshHotAfterScroll();
}

template <typename T>
bool CListImpl<T>::isItemVisible(int item, ColumnPosition position, bool partial)
{
    if (!ready() || item < 0 || item >= itemCount())
        return false;
    const int top = topItem();
    if (item < top || item >= top + visibleItemCount(partial))
        return false;
    if (cellFocus_ && position.valid()) {
        if (!column(position))
            return false;
        const RECT extent = columnExtent(position);
        const RECT client = this->clientRect();
        if (extent.left < client.left || extent.right > client.right)
            return false;
    }
    return true;
}

template <typename T>
void CListImpl<T>::ensureItemVisible(int item, ColumnPosition position)
{
    if (scrollIntoView(item, position))
        this->invalidate();
}

template <typename T>
bool CListImpl<T>::scrollIntoView(int item, ColumnPosition position)
{
    if (!ready() || item < 0 || item >= itemCount())
        return false;
    const POINT before{scrollPosition(SB_HORZ), scrollPosition(SB_VERT)};
    if (!isItemVisible(item, position, false)) {
        const int top = topItem();
        const int visible = visibleItemCount(false);
        if (item < top)
            setScrollPosition(SB_VERT, item * rowHeight_);
        else if (item >= top + visible)
            setScrollPosition(SB_VERT, (item - visible + 1) * rowHeight_);
        if (cellFocus_ && column(position)) {
            const RECT extent = columnExtent(position);
            const RECT client = this->clientRect();
            int offset = 0;
            if (extent.left < client.left)
                offset = extent.left - client.left;
            else if (extent.right > client.right)
                offset = extent.right - client.right;
            if (offset != 0)
                setScrollPosition(SB_HORZ, scrollPosition(SB_HORZ) + offset);
        }
    }
    return scrollPosition(SB_HORZ) != before.x || scrollPosition(SB_VERT) != before.y;
}

} // namespace Kestrel
