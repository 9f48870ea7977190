#pragma once

// Initialisation, settings, columns, and the messages of the window's life (creation, focus,
// size, system changes, timers, destruction).

#include <cstddef>

namespace Kestrel {

namespace ListSetupDetail {
constexpr UINT kImageStrip = 1010;
constexpr UINT kDividerCursor = 203;
constexpr UINT kHandCursor = 204;
constexpr COLORREF kMaskColour = RGB(255, 0, 255);
constexpr DWORD kRemovedStyle = WS_BORDER | LVS_REPORT;
constexpr UINT kToolTipMaxWidth = 0x7fff;
// The message font from the record as Windows XP defined it (without iPaddedBorderWidth),
// which every later version accepts.
constexpr UINT kNonClientMetricsSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);

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
    checkBoxImages_.reset(ImageList_LoadImageW(module, MAKEINTRESOURCEW(kImageStrip), 16, 0, kMaskColour,
                                               IMAGE_BITMAP, LR_CREATEDIBSECTION));
    if (!checkBoxImages_)
        return 0;
    dividerCursor_.reset(static_cast<HCURSOR>(
        LoadImageW(module, MAKEINTRESOURCEW(kDividerCursor), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE)));
    handCursor_.reset(static_cast<HCURSOR>(
        LoadImageW(module, MAKEINTRESOURCEW(kHandCursor), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE)));
    if (!dividerCursor_ || !handCursor_)
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

template <typename T>
int CListImpl<T>::loadSettings()
{
    using namespace ListSetupDetail;
    colours_ = ListColours::fromSystem();
    headerClipboardFormat_ = static_cast<WORD>(RegisterClipboardFormatW(L"HEADERCLIPBOARDFORMAT"));
    UINT lines = 3;
    if (SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0))
        wheelScrollLines_ = lines;

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = kNonClientMetricsSize;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0))
        return 0;
    Font font(CreateFontIndirectW(&metrics.lfMessageFont));
    metrics.lfMessageFont.lfUnderline = TRUE;
    Font underlined(CreateFontIndirectW(&metrics.lfMessageFont));
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
    const int previousRowHeight = rowHeight_;
    rowHeight_ = text.cy + 6;
    headerHeight_ = rowHeight_;
    if (rowHeight_ != previousRowHeight)
        dragDrop_.recreateArrows(headerHeight_);

    headerTheme_.reset(useThemes_ ? OpenThemeData(handle(), L"HEADER") : nullptr);
    progressTheme_.reset(useThemes_ ? OpenThemeData(handle(), L"PROGRESS") : nullptr);
    // Without its tip the list still works: cut-off text just stays cut off.
    (void)titleTip_.create(handle());
    titleTipItem_ = -1;
    titleTipSubItem_ = -1;
    return 1;
}

template <typename T>
int CListImpl<T>::addColumn(const std::wstring& title, int width, int image, bool fixed, ItemFormat format,
                            unsigned flags)
{
    ListColumn added;
    added.title = title;
    added.width = width;
    added.fixed = fixed;
    added.format = format;
    added.image = image;
    added.index = columnCount();
    if (image != -1 && title.empty()) {
        flags |= FlagCentre;
        int imageWidth = 0;
        int imageHeight = 0;
        if (itemImages_ && ImageList_GetIconSize(itemImages_, &imageWidth, &imageHeight))
            added.width = imageWidth + 5;
    }
    added.flags = ListSetupDetail::normaliseFlags(flags);
    columns_.push_back(std::move(added));
    resetScrollBars(SB_BOTH, -1, true);
    this->invalidate();
    return columns_.back().index;
}

template <typename T>
void CListImpl<T>::setColumnWidth(int position, int width)
{
    if (!column(position) || column(position)->fixed)
        return;
    columns_[static_cast<std::size_t>(position)].width = std::max(width, 0);
    resetScrollBars(SB_BOTH, -1, true);
    this->invalidate();
}

template <typename T>
void CListImpl<T>::moveColumn(int from, int to)
{
    if (!column(from) || !column(to) || from == to)
        return;
    ListColumn moved = std::move(columns_[static_cast<std::size_t>(from)]);
    columns_.erase(columns_.begin() + from);
    columns_.insert(columns_.begin() + to, std::move(moved));
    this->invalidate();
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
    animationBitmap_.reset();
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
    resetScrollBars(SB_BOTH, -1, false);
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
        ensureItemVisible(focusItem_, focusSubItem_);
        if (focusItem_ >= 0 && focusSubItem_ >= 0)
            editItem(focusItem_, focusSubItem_);
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
