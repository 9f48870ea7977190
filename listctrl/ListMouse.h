#pragma once

// The mouse: presses and releases with their selection rules and cell actions, double click and
// column auto-size, column resizing (with auto-scroll at the right end), the rubber band, hot
// tracking of header columns and links, and leaving the control.

#include <cstdlib>

namespace Kestrel {

namespace ListMouseDetail {
// Pixels at 96 DPI.
constexpr int kDragThreshold = 3;       // how far the mouse moves before a press becomes a drag
constexpr int kColumnDragThreshold = 4; // how far a pressed header column moves before it is dragged
constexpr int kAutoSizeMargin = 20;     // what an auto-sized column adds to its widest text
constexpr UINT kAutoScrollTimerPeriod = 20;
constexpr DWORD kAutoScrollInterval = 10;

inline POINT toScreen(HWND window, POINT point) noexcept
{
    ClientToScreen(window, &point);
    return point;
}

// Where the mouse is now, in the window's client coordinates.
inline POINT pointerIn(HWND window) noexcept
{
    POINT pointer{};
    GetCursorPos(&pointer);
    ScreenToClient(window, &pointer);
    return pointer;
}
} // namespace ListMouseDetail

template <typename T>
void CListImpl<T>::onLButtonDown(UINT keys, POINT point)
{
    hideTitleTip();
    press_.reset();
    press_.buttonDown = true;
    press_.point = point;
    const POINT origin = paintedOrigin();
    press_.documentPoint = POINT{point.x + origin.x, point.y + origin.y};
    endAnimation();
    SetFocus(handle());
    SetCapture(handle());

    const ListHit hit = hitTest(point);
    if (hit.onHeader) {
        press_.mode = PressMode::Header;
        if (hit.divider.valid() && !column(hit.divider)->fixed) {
            SetCursor(dividerCursor_.get());
            press_.resize.column = hit.divider;
            press_.resize.startWidth = column(hit.divider)->width;
            press_.resize.startX = ListMouseDetail::toScreen(handle(), point).x;
        } else if (hit.headerColumn.valid()) {
            press_.headerColumn = hit.headerColumn;
            this->invalidateRect(RECT{0, 0, this->clientRect().right, headerHeight_});
        }
    }
    if (hit.item < 0) {
        setAnchor(-1);
        if (!hit.onHeader)
            press_.mode = PressMode::EmptyArea;
        return;
    }
    const bool shift = (keys & MK_SHIFT) != 0;
    const bool control = (keys & MK_CONTROL) != 0;
    press_.mode = PressMode::Rows;
    // A drag from any column but the first draws a band instead of dragging the rows.
    if (!shift && !control && hit.column != ColumnPosition(0)) {
        press_.mode = PressMode::EmptyArea;
        setAnchor(hit.item);
    }
    // A plain press on one of several selected rows may start dragging them: the release decides.
    if (shift || control || !isSelected(hit.item) || selection_.rows.size() < 2)
        selectItem(hit.item, hit.column, keys);
    if (hit.column.valid())
        cellAction(hit.item, hit.column);
}

template <typename T>
bool CListImpl<T>::toggleCheckBox(int item, ColumnPosition position)
{
    const int id = columnId(position).value();
    const ItemFormat format = self().getItemFormat(item, id);
    if (format != FormatCheckBox && format != FormatCheckBox3State)
        return false;
    if (self().getItemFlags(item, id) & FlagReadOnly)
        return false;
    const long value = std::wcstol(self().getItemText(item, id).c_str(), nullptr, 10);
    const wchar_t* next = nullptr;
    if (format == FormatCheckBox)
        next = value <= 0 ? L"1" : L"0";
    else
        next = value < 0 ? L"0" : value == 0 ? L"1" : L"-1";
    self().setItemText(item, id, next);
    notifyParent(item, ColumnId(id), ItemModified);
    this->invalidateRect(itemRect(item));
    return true;
}

template <typename T>
bool CListImpl<T>::cellAction(int item, ColumnPosition position)
{
    if (toggleCheckBox(item, position))
        return false;
    const int id = columnId(position).value();
    const ItemFormat format = self().getItemFormat(item, id);
    const unsigned flags = self().getItemFlags(item, id);
    if (flags & FlagReadOnly)
        return false;
    if (isLinkCell(format, flags, self().getItemText(item, id))) {
        SetCursor(handCursor_.get());
        notifyParent(item, ColumnId(id), LinkClicked);
        return true;
    }
    if (format == FormatButton) {
        notifyParent(item, ColumnId(id), ButtonClicked);
        this->invalidateRect(itemRect(item));
    }
    return false;
}

template <typename T>
void CListImpl<T>::onLButtonUp(UINT keys, POINT point)
{
    // A press on the header ends there, also when a double click's auto-size already ended its resize.
    const PressMode mode = press_.mode;
    const ColumnPosition clicked = resizingColumn() ? ColumnPosition() : press_.headerColumn;
    endPress();
    if (mode == PressMode::Header) {
        this->invalidateRect(RECT{0, 0, this->clientRect().right, headerHeight_});
        if (clicked.valid())
            headerClick(clicked);
        return;
    }
    if (mode == PressMode::Band) {
        this->invalidate();
        // Said once, when the band is let go: the parent follows what it selected.
        notifyParent(selection_.focusItem, ColumnId(), SelectionChanged);
        return;
    }
    const ListHit hit = hitTest(point);
    if (hit.item >= 0 && isSelected(hit.item) && selection_.rows.size() > 1 && !(keys & (MK_SHIFT | MK_CONTROL)))
        selectItem(hit.item, hit.column, 0);
    notifyParent(hit.item, columnId(hit.column), LeftClick);
}

template <typename T>
void CListImpl<T>::onLButtonDblClk(UINT keys, POINT point)
{
    this->sendMessage(WM_LBUTTONDOWN, keys, MAKELPARAM(point.x, point.y));
    const ListHit hit = hitTest(point);
    if (hit.onHeader && hit.divider.valid()) {
        autoSizeColumn(hit.divider);
        // The replayed press started a resize from the old width: the next move would undo the fit.
        endColumnResize();
    }
    notifyParent(hit.item, columnId(hit.column), DoubleClick);
}

template <typename T>
void CListImpl<T>::autoSizeColumn(ColumnPosition position)
{
    const ListColumn* sized = column(position);
    if (!sized || sized->fixed)
        return;
    const ClientDC dc(handle());
    const SelectedObject font(dc.get(), listFont_.get());
    auto textWidth = [&dc](const std::wstring& text) {
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    const HIMAGELIST images = itemImages();
    int imageWidth = 0;
    int imageHeight = 0;
    if (images)
        ImageList_GetIconSize(images, &imageWidth, &imageHeight);
    const int id = sized->id.value();
    const int margin = scaled(ListMouseDetail::kAutoSizeMargin);
    int width = textWidth(sized->title) + margin;
    const int count = itemCount();
    for (int item = 0; item < count; ++item) {
        int cell = textWidth(self().getItemText(item, id));
        if (images && self().getItemImage(item, id) != -1)
            cell += imageWidth;
        width = std::max(width, cell + margin);
    }
    setColumnWidth(position, width);
}

template <typename T>
void CListImpl<T>::headerClick(ColumnPosition position)
{
    if (!showHeader_ || !sortEnabled_ || !column(position))
        return;
    const HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    sortBy(columnId(position));
    SetCursor(previous);
    clearSelection();
}

template <typename T>
void CListImpl<T>::onRButtonDown(UINT keys, POINT point)
{
    endAnimation();
    SetFocus(handle());
    hideTitleTip();
    const ListHit hit = hitTest(point);
    if (hit.item >= 0 && !isSelected(hit.item))
        selectItem(hit.item, hit.column, keys);
}

template <typename T>
void CListImpl<T>::onRButtonUp(UINT, POINT point)
{
    const ListHit hit = hitTest(point);
    if (hit.item < 0)
        clearSelection();
    notifyParent(hit.item, columnId(hit.column), RightClick);
}

template <typename T>
void CListImpl<T>::onMouseMove(UINT keys, POINT point)
{
    using namespace ListMouseDetail;
    if (!(keys & MK_LBUTTON) && press_.buttonDown) {
        press_.buttonDown = false;
        if (GetCapture() == handle())
            ReleaseCapture();
    }
    if (!hover_.mouseTracked) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle(), 0};
        hover_.mouseTracked = _TrackMouseEvent(&track) != FALSE;
    }
    if (!press_.buttonDown) {
        trackHot(point);
        return;
    }
    if (resizingColumn()) {
        resizeTo(toScreen(handle(), point).x);
        return;
    }
    if (press_.mode == PressMode::Band) {
        updateRubberBand(point);
        return;
    }
    const int dx = std::abs(point.x - press_.point.x);
    const int dy = std::abs(point.y - press_.point.y);
    if (press_.headerColumn.valid()) {
        if (dx > scaled(kColumnDragThreshold) || dy > scaled(kColumnDragThreshold))
            startColumnDrag(press_.headerColumn);
        return;
    }
    if (dx <= scaled(kDragThreshold) && dy <= scaled(kDragThreshold))
        return;
    // A drag from the header past its columns draws a band too, as one from the empty area does.
    const bool rowsMayMove = press_.mode == PressMode::Rows && itemDragEnabled_;
    if (!rowsMayMove && !singleSelection_ && !editing_) {
        startRubberBand();
        updateRubberBand(point);
    }
}

template <typename T>
bool CListImpl<T>::atRightEnd() const noexcept
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(handle(), SB_HORZ, &info);
    return scrolling_.horizontalBarNeeded && info.nPos >= info.nMax - static_cast<int>(info.nPage) + 1;
}

template <typename T>
void CListImpl<T>::resizeTo(int screenX)
{
    const ListColumn* resized = column(press_.resize.column);
    if (!resized || press_.resize.timerRunning)
        return;
    const int width = std::max(0, press_.resize.startWidth + (screenX - press_.resize.startX));
    // Shrinking a column with the view at its right end scrolls the view under the mouse: the
    // timer shrinks the column while the mouse stays left of where it started.
    if (atRightEnd() && width < resized->width) {
        press_.resize.autoScrollStart = screenX;
        press_.resize.timerRunning = this->setTimer(kResizeTimer, ListMouseDetail::kAutoScrollTimerPeriod);
        return;
    }
    setColumnWidth(press_.resize.column, width);
}

template <typename T>
void CListImpl<T>::stopResizeTimer() noexcept
{
    this->killTimer(kResizeTimer);
    press_.resize.timerRunning = false;
}

template <typename T>
void CListImpl<T>::endColumnResize() noexcept
{
    stopResizeTimer();
    press_.resize = ColumnResize{};
}

template <typename T>
void CListImpl<T>::onResizeTimer()
{
    const ListColumn* resized = column(press_.resize.column);
    POINT cursor{};
    GetCursorPos(&cursor);
    if (!resized || cursor.x > press_.resize.autoScrollStart || !atRightEnd()) {
        stopResizeTimer();
        if (resized) {
            press_.resize.startX = cursor.x;
            press_.resize.startWidth = resized->width;
        }
        return;
    }
    const int shrink = press_.resize.autoScrollStart - static_cast<int>(cursor.x);
    setColumnWidth(press_.resize.column, std::max(0, resized->width - shrink));
}

template <typename T>
void CListImpl<T>::startRubberBand()
{
    press_.mode = PressMode::Band;
    press_.band = RECT{};
}

template <typename T>
void CListImpl<T>::updateRubberBand(POINT point)
{
    auto stretch = [this, point] {
        const POINT origin = paintedOrigin();
        const POINT current{point.x + origin.x, point.y + origin.y};
        press_.band = RECT{std::min(press_.documentPoint.x, current.x), std::min(press_.documentPoint.y, current.y),
                         std::max(press_.documentPoint.x, current.x), std::max(press_.documentPoint.y, current.y)};
    };
    stretch();
    if (IsRectEmpty(&press_.band))
        return;
    rebuildBandSelection();
    (void)this->setTimer(kBandTimer, ListMouseDetail::kAutoScrollTimerPeriod);
    const DWORD now = GetTickCount();
    if (now - press_.lastAutoScroll >= ListMouseDetail::kAutoScrollInterval) {
        press_.lastAutoScroll = now;
        const RECT client = this->clientRect();
        const int vertical = scrollPosition(SB_VERT);
        const int horizontal = scrollPosition(SB_HORZ);
        bool scrolled = true;
        if (point.y < headerBottom() && vertical > 0)
            resetScrollBars(SB_VERT, std::max(0, vertical - rowHeight_), false);
        else if (point.y > client.bottom)
            resetScrollBars(SB_VERT, vertical + rowHeight_, false);
        else if (point.x < client.left && horizontal > 0)
            resetScrollBars(SB_HORZ, std::max(0, horizontal - scaled(kHorizontalLine)), false);
        else if (point.x > client.right)
            resetScrollBars(SB_HORZ, horizontal + scaled(kHorizontalLine), false);
        else
            scrolled = false;
        if (scrolled) {
            stretch();
            rebuildBandSelection();
        }
    }
    this->invalidate();
    this->updateWindow();
}

// Rows under the band, limited to the rows that exist: a band dragged above the first row
// must not select rows -1, -2, ... (readers of the selection stop at the first such index).
template <typename T>
void CListImpl<T>::rebuildBandSelection()
{
    if (!ready() || press_.band.left >= totalColumnWidth(false)) {
        selectBandRows(0, -1);
        return;
    }
    auto rowAt = [this](int y) {
        const int offset = y - headerBottom();
        return offset >= 0 ? offset / rowHeight_ : (offset - rowHeight_ + 1) / rowHeight_;
    };
    const int first = std::max(rowAt(press_.band.top), 0);
    selectBandRows(first, std::min(rowAt(press_.band.bottom), itemCount() - 1));
}

template <typename T>
void CListImpl<T>::onBandTimer()
{
    if (!banding()) {
        this->killTimer(kBandTimer);
        return;
    }
    updateRubberBand(ListMouseDetail::pointerIn(handle()));
}

template <typename T>
void CListImpl<T>::trackHot(POINT point)
{
    const ListHit hit = hitTest(point);
    followPointer(hit, HotRepaint::ChangedLinks);
    if (const HCURSOR cursor = cursorFor(hit))
        SetCursor(cursor);
    if (hit.item < 0 || !hit.column.valid())
        hideTitleTip();
    else
        offerTitleTip(hit.item, hit.column, point);
}

template <typename T>
void CListImpl<T>::followPointer(const ListHit& hit, HotRepaint repaint)
{
    if (themed()) {
        const ColumnPosition hot = hit.onHeader ? hit.headerColumn : ColumnPosition();
        if (hot != hover_.headerColumn) {
            hover_.headerColumn = hot;
            this->invalidateRect(RECT{0, 0, this->clientRect().right, headerHeight_});
        }
    }
    if (hit.item < 0 || !hit.column.valid()) {
        if (hover_.item >= 0)
            updateItemToolTip(-1, ColumnPosition());
        setHotCell(-1, ColumnId(), repaint);
        return;
    }
    // The tooltip's tool changes with the cell only: setting it again would restart its delay.
    if (hit.item != hover_.item || columnId(hit.column) != hover_.column)
        updateItemToolTip(hit.item, hit.column);
    setHotCell(hit.item, columnId(hit.column), repaint);
}

// A scroll moves other cells under a resting mouse; no move will come to say so. While the mouse is
// in the list (leave-tracking on) what is hot, and the cursor, follow the pointer at once.
template <typename T>
void CListImpl<T>::refreshHotAfterScroll()
{
    if (!hover_.mouseTracked || press_.buttonDown)
        return;
    const POINT pointer = ListMouseDetail::pointerIn(handle());
    const RECT client = this->clientRect();
    // Until its leave message arrives, the mouse may already be outside.
    followPointer(PtInRect(&client, pointer) ? hitTest(pointer) : ListHit{}, HotRepaint::None);
    this->sendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

template <typename T>
HCURSOR CListImpl<T>::cursorFor(const ListHit& hit)
{
    if (hit.divider.valid() && !column(hit.divider)->fixed)
        return dividerCursor_.get();
    if (hit.item < 0 || !hit.column.valid())
        return nullptr;
    const int id = columnId(hit.column).value();
    return isLinkCell(self().getItemFormat(hit.item, id), self().getItemFlags(hit.item, id),
                      self().getItemText(hit.item, id))
               ? handCursor_.get()
               : nullptr;
}

// The system sets a cursor before every move: answered with the window's own arrow, the hand or
// divider that the move then sets would flicker.
template <typename T>
bool CListImpl<T>::onSetCursor(WPARAM window, LPARAM hitAndMessage)
{
    HCURSOR cursor = nullptr;
    if (reinterpret_cast<HWND>(window) == handle() && LOWORD(hitAndMessage) == HTCLIENT)
        cursor = cursorFor(hitTest(ListMouseDetail::pointerIn(handle())));
    if (!cursor)
        return this->defWindowProc(WM_SETCURSOR, window, hitAndMessage) != 0;
    SetCursor(cursor);
    return true;
}

template <typename T>
void CListImpl<T>::setHotCell(int item, ColumnId hotColumn, HotRepaint repaint)
{
    if (item == hover_.item && hotColumn == hover_.column)
        return;
    auto repaintIfLink = [this, repaint](int row, ColumnId at) {
        if (repaint == HotRepaint::None || row < 0 || !at.valid() || row >= itemCount())
            return;
        const int id = at.value();
        if (isLinkCell(self().getItemFormat(row, id), self().getItemFlags(row, id), self().getItemText(row, id)))
            this->invalidateRect(itemRect(row));
    };
    repaintIfLink(hover_.item, hover_.column);
    hover_.item = item;
    hover_.column = hotColumn;
    repaintIfLink(hover_.item, hover_.column);
}

template <typename T>
void CListImpl<T>::onMouseLeave()
{
    if (hover_.headerColumn.valid())
        this->invalidateRect(RECT{0, 0, this->clientRect().right, headerHeight_});
    hover_.reset();
    this->invalidate();
}

template <typename T>
void CListImpl<T>::onCancelMode()
{
    hideTitleTip();
    dragDrop_.cancelColumnDrag();
    // Without the capture no button release will come: a band or a resize would run on.
    endPress();
    this->invalidate();
}

// Everything a press leaves behind goes here: the capture, the resize and band timers, and the
// press's state.
template <typename T>
void CListImpl<T>::endPress() noexcept
{
    if (GetCapture() == handle())
        ReleaseCapture();
    stopResizeTimer();
    this->killTimer(kBandTimer);
    press_.reset();
}

// The pressed header item shows unpressed before the drag loop starts.
template <typename T>
void CListImpl<T>::endPressForDrag()
{
    endPress();
    this->invalidateRect(RECT{0, 0, this->clientRect().right, headerHeight_});
    this->updateWindow();
}

} // namespace Kestrel
