#pragma once

// Initialisation, settings, columns, and the messages of the window's life (creation, focus,
// size, system changes, timers, destruction).

#include <cstddef>

namespace Kestrel {

namespace ListSetupDetail {
constexpr UINT kDividerCursor = 203;
constexpr UINT kHandCursor = 204;
constexpr DWORD kRemovedStyle = WS_BORDER | LVS_REPORT;
constexpr UINT kToolTipMaxWidth = 0x7fff;
// Pixels at 96 DPI: a row is the text's height and this much more; a header item that shows only
// its image is the image's width and this much more.
constexpr int kRowPadding = 6;
constexpr int kImageColumnPadding = 5;

// Centred clears left and right, right clears left, date-only clears time-only; the number
// options clear upper case, and without a number option its sign and empty options go; "no
// date" clears the date and time options.
inline unsigned normaliseFlags(unsigned flags) noexcept
{
    if (flags & FlagCentre)
        flags &= ~(FlagLeft | FlagRight);
    if (flags & FlagRight)
        flags &= ~FlagLeft;
    if (flags & FlagDateOnly)
        flags &= ~FlagTimeOnly;
    if (flags & (FlagEditNumber | FlagEditFloat))
        flags &= ~FlagEditUpperCase;
    else
        flags &= ~(FlagEditNegative | FlagEditNull);
    if (flags & FlagEditNoDate)
        flags &= ~(FlagDateOnly | FlagTimeOnly | FlagEditSeconds);
    return flags;
}
} // namespace ListSetupDetail

template <typename T>
int CListImpl<T>::initialise()
{
    using namespace ListSetupDetail;
    const HINSTANCE module = self().resourceModule();
    dpi_ = Dpi::ofWindow(handle());
    strip_ = loadImageStrip(module, dpi_);
    if (!strip_)
        return 0;
    if (!loadCursors())
        return 0;
    if (!loadSettings())
        return 0;
    this->modifyStyle(kRemovedStyle, WS_CLIPCHILDREN);
    this->modifyStyleEx(WS_EX_CLIENTEDGE, WS_EX_STATICEDGE, SWP_FRAMECHANGED);
    registerDropTarget();
    toolTip_.reset(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, handle(), nullptr, moduleInstance(), nullptr));
    if (!toolTip_)
        return 0;
    SendMessageW(toolTip_.get(), TTM_SETMAXTIPWIDTH, 0, kToolTipMaxWidth);
    // The control the list took over may have set its own scroll bars while its style changed.
    resetScrollBars(SB_BOTH, -1, true);
    this->invalidate();
    return 1;
}

// The cursor files hold 32, 48 and 64 pixel images; the system picks the nearest to its own cursor
// size at the list's DPI (which a user may have made larger).
template <typename T>
bool CListImpl<T>::loadCursors()
{
    using namespace ListSetupDetail;
    const HINSTANCE module = self().resourceModule();
    const int size = systemMetric(SM_CXCURSOR, dpi_);
    CursorHandle divider(
        static_cast<HCURSOR>(LoadImageW(module, MAKEINTRESOURCEW(kDividerCursor), IMAGE_CURSOR, size, size, 0)));
    CursorHandle hand(
        static_cast<HCURSOR>(LoadImageW(module, MAKEINTRESOURCEW(kHandCursor), IMAGE_CURSOR, size, size, 0)));
    if (!divider || !hand)
        return false;
    dividerCursor_ = std::move(divider);
    handCursor_ = std::move(hand);
    return true;
}

template <typename T>
int CListImpl<T>::loadSettings()
{
    using namespace ListSetupDetail;
    colours_ = ListColours::fromSystem();
    headerClipboardFormat_ = static_cast<WORD>(RegisterClipboardFormatW(L"HEADERCLIPBOARDFORMAT"));
    UINT lines = 3;
    if (SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0))
        wheelScrollLines_ = lines;

    LOGFONTW description{};
    if (!messageFont(dpi_, description))
        return 0;
    Font font(CreateFontIndirectW(&description));
    description.lfUnderline = TRUE;
    Font underlined(CreateFontIndirectW(&description));
    if (!font || !underlined)
        return 0;
    listFont_ = std::move(font);
    underlinedFont_ = std::move(underlined);

    SIZE text{};
    {
        const ClientDC dc(handle());
        const SelectedObject selected(dc.get(), listFont_.get());
        GetTextExtentPoint32W(dc.get(), L"Height", 6, &text);
    }
    rowHeight_ = text.cy + scaled(kRowPadding);
    headerHeight_ = rowHeight_;
    // Their height follows the header's, and their size the DPI, as the title tip's does below.
    dragDrop_.recreateArrows(headerHeight_, dpi_);

    headerTheme_.reset(useThemes_ ? OpenThemeData(handle(), L"HEADER") : nullptr);
    progressTheme_.reset(useThemes_ ? OpenThemeData(handle(), L"PROGRESS") : nullptr);
    // Without its tip the list still works: cut-off text just stays cut off.
    (void)titleTip_.create(handle());
    return 1;
}

template <typename T>
ColumnId CListImpl<T>::addColumn(const std::wstring& title, int width, int image, bool fixed, ItemFormat format,
                                 unsigned flags)
{
    ListColumn added;
    added.title = title;
    added.width = width;
    added.fixed = fixed;
    added.format = format;
    added.image = image;
    added.id = ColumnId(columnCount());
    if (image != -1 && title.empty()) {
        flags |= FlagCentre;
        int imageWidth = 0;
        int imageHeight = 0;
        if (itemImages() && ImageList_GetIconSize(itemImages(), &imageWidth, &imageHeight))
            added.width = imageWidth + scaled(ListSetupDetail::kImageColumnPadding);
    }
    added.flags = ListSetupDetail::normaliseFlags(flags);
    columns_.records.push_back(std::move(added));
    const ColumnId id = columns_.records.back().id;
    fitStretchColumn();
    resetScrollBars(SB_BOTH, -1, true);
    this->invalidate();
    return id;
}

template <typename T>
void CListImpl<T>::setColumnWidth(ColumnPosition position, int width)
{
    if (!column(position) || column(position)->fixed)
        return;
    columns_.stretchHeld = true;
    columns_.records[position.index()].width = std::max(width, 0);
    resetScrollBars(SB_BOTH, -1, true);
    this->invalidate();
}

template <typename T>
void CListImpl<T>::setStretchColumn(ColumnId id, int minimumWidth)
{
    columns_.stretch = id;
    columns_.stretchMinimum = minimumWidth;
    fitStretchColumn();
}

// A vertical bar that comes or goes narrows or widens the client area: the stretch column follows
// (WM_SIZE), so that a list that fills its width never gets a horizontal bar for it.
template <typename T>
void CListImpl<T>::fitStretchColumn()
{
    const ColumnPosition position = columnPosition(columns_.stretch);
    if (!position.valid() || columns_.stretchHeld)
        return;
    ListColumn& stretched = columns_.records[position.index()];
    const int others = columnLeft(columnEnd()) - stretched.width;
    const int width = std::max(scaled(columns_.stretchMinimum), static_cast<int>(this->clientRect().right) - others);
    if (width == stretched.width)
        return;
    stretched.width = width;
    resetScrollBars(SB_BOTH, -1, true);
    this->invalidate();
}

template <typename T>
void CListImpl<T>::setDpi(Dpi dpi)
{
    if (dpi == dpi_ || !ready())
        return;
    const Dpi before = dpi_;
    const int top = topItem();
    const int horizontal = scrollPosition(SB_HORZ);
    hideTitleTip();
    endAnimation();
    dpi_ = dpi;
    if (ImageList strip = loadImageStrip(self().resourceModule(), dpi_))
        strip_ = std::move(strip);
    // Cursors that cannot be loaded at the new size stay at the old one.
    (void)loadCursors();
    // Widths keep their share: a column the user made a third of the list stays a third of it.
    for (ListColumn& each : columns_.records)
        each.width = dpi_.rescale(each.width, before);
    if (!loadSettings())
        return;
    fitStretchColumn();
    resetScrollBars(SB_VERT, top * rowHeight_, true);
    resetScrollBars(SB_HORZ, dpi_.rescale(horizontal, before), true);
    this->invalidate();
}

// The record moves, identifier and all: callbacks, notifications and the focus, hot and sort
// columns, which all name it by identifier, keep addressing the same data.
template <typename T>
void CListImpl<T>::moveColumn(ColumnPosition from, ColumnPosition to)
{
    if (!column(from) || !column(to) || from == to)
        return;
    ListColumn moved = std::move(columns_.records[from.index()]);
    columns_.records.erase(columns_.records.begin() + from.value());
    columns_.records.insert(columns_.records.begin() + to.value(), std::move(moved));
    this->invalidate();
}

// Sorting by the sort column again reverses the rows.
template <typename T>
void CListImpl<T>::sortBy(ColumnId id)
{
    if (id == columns_.sortColumn) {
        columns_.sortAscending = !columns_.sortAscending;
        self().reverseItems();
    } else {
        columns_.sortColumn = id;
        columns_.sortAscending = true;
        (void)self().sortItems(id.value(), true);
    }
}

template <typename T>
void CListImpl<T>::setFocusSubItem(bool on)
{
    cellFocus_ = on;
    this->invalidate();
}

template <typename T>
void CListImpl<T>::setShowHeader(bool on)
{
    showHeader_ = on;
    resetScrollBars(SB_BOTH, -1, false);
    this->invalidate();
}

template <typename T>
void CListImpl<T>::setUseThemes(bool on)
{
    useThemes_ = on;
    this->invalidate();
}

template <typename T>
int CListImpl<T>::onCreate(WPARAM, LPARAM)
{
    return self().initialise() ? 0 : -1;
}

template <typename T>
void CListImpl<T>::onDestroy()
{
    for (const UINT_PTR timer : {kEditTimer, kBandTimer, kAnimationTimer})
        this->killTimer(timer);
    stopResizeTimer();
    closeEditors();
    titleTip_.destroyWindow();
    toolTip_.reset();
    endAnimation();
    dragDrop_.release();
}

template <typename T>
void CListImpl<T>::onFocusChange()
{
    this->invalidate();
}

template <typename T>
void CListImpl<T>::onSize(UINT, SIZE)
{
    endAnimation();
    if (editing_)
        SetFocus(handle());
    // A scroll bar that comes or goes changes only the client area; the parent's resize changes
    // the window, and a stretch column whose width was set takes the room again.
    RECT window{};
    GetWindowRect(handle(), &window);
    const SIZE windowSize{window.right - window.left, window.bottom - window.top};
    if (windowSize.cx != columns_.windowSize.cx || windowSize.cy != columns_.windowSize.cy) {
        columns_.windowSize = windowSize;
        columns_.stretchHeld = false;
    }
    resetScrollBars(SB_BOTH, -1, false);
    fitStretchColumn();
    this->invalidate();
}

template <typename T>
void CListImpl<T>::onSettingsChange()
{
    if (loadSettings()) {
        resetScrollBars(SB_BOTH, -1, true);
        this->invalidate();
    }
}

template <typename T>
void CListImpl<T>::onTimer(UINT_PTR id)
{
    switch (id) {
    case kResizeTimer:
        onResizeTimer();
        break;
    case kEditTimer:
        this->killTimer(kEditTimer);
        ensureItemVisible(selection_.focusItem, focusPosition());
        if (selection_.focusItem >= 0 && focusPosition().valid())
            editItem(selection_.focusItem, focusPosition());
        break;
    case kBandTimer:
        onBandTimer();
        break;
    case kAnimationTimer:
        onAnimationTimer();
        break;
    default:
        // A timer of the control the list took over.
        this->defWindowProc(WM_TIMER, id, 0);
        break;
    }
}

} // namespace Kestrel
