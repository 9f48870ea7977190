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
    buttonDown_ = true;
    pressPoint_ = point;
    const POINT origin = paintedOrigin();
    pressDocumentPoint_ = POINT{point.x + origin.x, point.y + origin.y};
    endAnimation();
    SetFocus(handle());
    SetCapture(handle());

    const ListHit hit = hitTest(point);
    pressedOnHeader_ = hit.onHeader;
    if (hit.onHeader) {
        if (hit.divider.valid() && !column(hit.divider)->fixed) {
            SetCursor(dividerCursor_.get());
            resize_.column = hit.divider;
            resize_.startWidth = column(hit.divider)->width;
            resize_.startX = ListMouseDetail::toScreen(handle(), point).x;
        } else if (hit.headerColumn.valid()) {
            pressedHeaderColumn_ = hit.headerColumn;
            this->invalidateRect(RECT{0, 0, this->clientRect().right, headerHeight_});
        }
    }
    if (hit.item < 0) {
        anchorItem_ = -1;
        beganOnEmptyArea_ = true;
        return;
    }
    const bool shift = (keys & MK_SHIFT) != 0;
    const bool control = (keys & MK_CONTROL) != 0;
    // A drag from any column but the first draws a band instead of dragging the rows.
    if (!shift && !control && hit.column != ColumnPosition(0)) {
        beganOnEmptyArea_ = true;
        anchorItem_ = hit.item;
    }
    // A plain press on one of several selected rows may start dragging them: the release decides.
    if (shift || control || !isSelected(hit.item) || selection_.size() < 2)
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
    if (GetCapture() == handle())
        ReleaseCapture();
    // A press on the header ends there, also when a double click's auto-size already ended its resize.
    const bool headerPress = pressedOnHeader_;
    const bool bandPress = groupSelecting_;
    if (headerPress) {
        const ColumnPosition pressed = resizingColumn() ? ColumnPosition() : pressedHeaderColumn_;
        endColumnResize();
        pressedHeaderColumn_ = ColumnPosition();
        this->invalidateRect(RECT{0, 0, this->clientRect().right, headerHeight_});
        if (pressed.valid())
            headerClick(pressed);
    }
    buttonDown_ = false;
    beganOnEmptyArea_ = false;
    pressedOnHeader_ = false;
    pressPoint_ = POINT{};
    pressDocumentPoint_ = POINT{};
    if (bandPress) {
        groupSelecting_ = false;
        this->killTimer(kBandTimer);
        bandRect_ = RECT{};
        this->invalidate();
    }
    if (headerPress || bandPress)
        return;
    const ListHit hit = hitTest(point);
    if (hit.item >= 0 && isSelected(hit.item) && selection_.size() > 1 && !(keys & (MK_SHIFT | MK_CONTROL)))
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
    if (columnId(position) == sortColumn_) {
        sortAscending_ = !sortAscending_;
        self().reverseItems();
    } else {
        sortColumn_ = columnId(position);
        sortAscending_ = true;
        (void)self().sortItems(sortColumn_.value(), true);
    }
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
    if (!(keys & MK_LBUTTON) && buttonDown_) {
        buttonDown_ = false;
        if (GetCapture() == handle())
            ReleaseCapture();
    }
    if (!mouseTracked_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle(), 0};
        mouseTracked_ = _TrackMouseEvent(&track) != FALSE;
    }
    if (!buttonDown_) {
        trackHot(point);
        return;
    }
    if (resizingColumn()) {
        resizeTo(toScreen(handle(), point).x);
        return;
    }
    if (groupSelecting_) {
        updateRubberBand(point);
        return;
    }
    const int dx = std::abs(point.x - pressPoint_.x);
    const int dy = std::abs(point.y - pressPoint_.y);
    if (pressedHeaderColumn_.valid()) {
        if (dx > scaled(kColumnDragThreshold) || dy > scaled(kColumnDragThreshold))
            startColumnDrag(pressedHeaderColumn_);
        return;
    }
    if (dx <= scaled(kDragThreshold) && dy <= scaled(kDragThreshold))
        return;
    if ((beganOnEmptyArea_ || !itemDragEnabled_) && !singleSelection_ && !editing_) {
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
    return horizontalBarNeeded_ && info.nPos >= info.nMax - static_cast<int>(info.nPage) + 1;
}

template <typename T>
void CListImpl<T>::resizeTo(int screenX)
{
    const ListColumn* resized = column(resize_.column);
    if (!resized || resize_.timerRunning)
        return;
    const int width = std::max(0, resize_.startWidth + (screenX - resize_.startX));
    // Shrinking a column with the view at its right end scrolls the view under the mouse: the
    // timer shrinks the column while the mouse stays left of where it started.
    if (atRightEnd() && width < resized->width) {
        resize_.autoScrollStart = screenX;
        resize_.timerRunning = this->setTimer(kResizeTimer, ListMouseDetail::kAutoScrollTimerPeriod);
        return;
    }
    setColumnWidth(resize_.column, width);
}

template <typename T>
void CListImpl<T>::stopResizeTimer() noexcept
{
    this->killTimer(kResizeTimer);
    resize_.timerRunning = false;
}

template <typename T>
void CListImpl<T>::endColumnResize() noexcept
{
    stopResizeTimer();
    resize_ = ColumnResize{};
}

template <typename T>
void CListImpl<T>::onResizeTimer()
{
    const ListColumn* resized = column(resize_.column);
    POINT cursor{};
    GetCursorPos(&cursor);
    if (!resized || cursor.x > resize_.autoScrollStart || !atRightEnd()) {
        stopResizeTimer();
        if (resized) {
            resize_.startX = cursor.x;
            resize_.startWidth = resized->width;
        }
        return;
    }
    setColumnWidth(resize_.column, std::max(0, resized->width - (resize_.autoScrollStart - static_cast<int>(cursor.x))));
}

template <typename T>
void CListImpl<T>::startRubberBand()
{
    groupSelecting_ = true;
    bandRect_ = RECT{};
}

template <typename T>
void CListImpl<T>::updateRubberBand(POINT point)
{
    auto stretch = [this, point] {
        const POINT origin = paintedOrigin();
        const POINT current{point.x + origin.x, point.y + origin.y};
        bandRect_ = RECT{std::min(pressDocumentPoint_.x, current.x), std::min(pressDocumentPoint_.y, current.y),
                         std::max(pressDocumentPoint_.x, current.x), std::max(pressDocumentPoint_.y, current.y)};
    };
    stretch();
    if (IsRectEmpty(&bandRect_))
        return;
    rebuildBandSelection();
    (void)this->setTimer(kBandTimer, ListMouseDetail::kAutoScrollTimerPeriod);
    const DWORD now = GetTickCount();
    if (now - lastAutoScroll_ >= ListMouseDetail::kAutoScrollInterval) {
        lastAutoScroll_ = now;
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
    selection_.clear();
    anchorItem_ = -1;
    if (!ready() || bandRect_.left >= totalColumnWidth(false))
        return;
    auto rowAt = [this](int y) {
        const int offset = y - headerBottom();
        return offset >= 0 ? offset / rowHeight_ : (offset - rowHeight_ + 1) / rowHeight_;
    };
    const int first = std::max(rowAt(bandRect_.top), 0);
    const int last = std::min(rowAt(bandRect_.bottom), itemCount() - 1);
    for (int item = first; item <= last; ++item)
        selection_.insert(selection_.end(), item);
    if (first <= last) {
        anchorItem_ = first;
        focusItem_ = last;
        focusColumn_ = ColumnId();
    }
}

template <typename T>
void CListImpl<T>::onBandTimer()
{
    if (!groupSelecting_) {
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
        if (hot != hotHeaderColumn_) {
            hotHeaderColumn_ = hot;
            this->invalidateRect(RECT{0, 0, this->clientRect().right, headerHeight_});
        }
    }
    if (hit.item < 0 || !hit.column.valid()) {
        if (hotItem_ >= 0)
            updateItemToolTip(-1, ColumnPosition());
        setHotCell(-1, ColumnId(), repaint);
        return;
    }
    // The tooltip's tool changes with the cell only: setting it again would restart its delay.
    if (hit.item != hotItem_ || columnId(hit.column) != hotColumn_)
        updateItemToolTip(hit.item, hit.column);
    setHotCell(hit.item, columnId(hit.column), repaint);
}

// A scroll moves other cells under a resting mouse; no move will come to say so. While the mouse is
// in the list (leave-tracking on) what is hot, and the cursor, follow the pointer at once.
template <typename T>
void CListImpl<T>::refreshHotAfterScroll()
{
    if (!mouseTracked_ || buttonDown_)
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
    if (item == hotItem_ && hotColumn == hotColumn_)
        return;
    auto repaintIfLink = [this, repaint](int row, ColumnId at) {
        if (repaint == HotRepaint::None || row < 0 || !at.valid() || row >= itemCount())
            return;
        const int id = at.value();
        if (isLinkCell(self().getItemFormat(row, id), self().getItemFlags(row, id), self().getItemText(row, id)))
            this->invalidateRect(itemRect(row));
    };
    repaintIfLink(hotItem_, hotColumn_);
    hotItem_ = item;
    hotColumn_ = hotColumn;
    repaintIfLink(hotItem_, hotColumn_);
}

template <typename T>
void CListImpl<T>::onMouseLeave()
{
    mouseTracked_ = false;
    if (hotHeaderColumn_.valid()) {
        hotHeaderColumn_ = ColumnPosition();
        this->invalidateRect(RECT{0, 0, this->clientRect().right, headerHeight_});
    }
    hotItem_ = -1;
    hotColumn_ = ColumnId();
    this->invalidate();
}

template <typename T>
void CListImpl<T>::onCancelMode()
{
    if (GetCapture() == handle())
        ReleaseCapture();
    hideTitleTip();
    dragDrop_.hideArrows();
    draggedColumn_ = ColumnPosition();
    pressedHeaderColumn_ = ColumnPosition();
    // Without the capture no button release will come: a band or a resize would run on.
    endColumnResize();
    if (groupSelecting_) {
        groupSelecting_ = false;
        this->killTimer(kBandTimer);
        bandRect_ = RECT{};
    }
    buttonDown_ = false;
    pressedOnHeader_ = false;
    this->invalidate();
}

} // namespace Kestrel
