#pragma once

// Painting, double-buffered over the clip box: background, rows, rubber band, then the header
// over everything. Only rows and columns that meet the clip box are painted, so the callbacks
// are asked only about cells that show.

#include "framework/SelectedObject.h"
#include "listctrl/ListDrawing.h"

namespace Kestrel {

namespace ListPaintingDetail {
// Theme parts and states of the "HEADER" class.
constexpr int kHeaderItem = 1;
constexpr int kHeaderNormal = 1;
constexpr int kHeaderHot = 2;
constexpr int kHeaderPressed = 3;
// Check-box images of the strip.
constexpr int kCheckClear = 2;
constexpr int kChecked = 3;
constexpr int kChecked3State = 4;
constexpr int kMixed3State = 5;
constexpr int kSortDescending = 0;
constexpr int kSortAscending = 1;
constexpr BYTE kBandAlpha = 180;
// Pixels at 96 DPI: the header's divider lines stop this far from its top and bottom; the sort
// arrow lies this far right of the title's room.
constexpr int kDividerLineInset = 4;
constexpr int kSortArrowGap = 4;
} // namespace ListPaintingDetail

template <typename T>
struct CListImpl<T>::CellState {
    int item = -1;
    ColumnPosition position;
    RECT rect{};
    bool selected = false;
    bool focusCell = false;
    bool listFocused = false;
};

template <typename T>
void CListImpl<T>::doPaint(DCHandle dc)
{
    const RECT clip = dc.clipBox();
    if (IsRectEmpty(&clip))
        return;
    const SavedDCState state(dc);
    paintBackground(dc, clip);
    if (!ready())
        return;
    paintRows(dc, clip);
    if (itemCount() == 0)
        paintEmptyText(dc, clip);
    if (banding())
        paintBand(dc);
    if (showHeader_ && clip.top < headerHeight_)
        paintHeader(dc, clip);
}

template <typename T>
void CListImpl<T>::paintBackground(DCHandle dc, const RECT& clip)
{
    dc.fillSolidRect(clip, colours_.background);
    if (backgroundBitmap_)
        paintBackgroundImage(dc, clip);
}

template <typename T>
void CListImpl<T>::setBackgroundImage(HBITMAP image, bool tile)
{
    backgroundBitmap_.reset(image);
    tileBackground_ = tile;
    this->invalidate();
}

template <typename T>
void CListImpl<T>::paintBackgroundImage(DCHandle dc, const RECT& clip)
{
    BITMAP size{};
    if (!GetObjectW(backgroundBitmap_.get(), sizeof size, &size) || size.bmWidth <= 0 || size.bmHeight <= 0)
        return;
    const MemoryDC image(dc);
    if (!image)
        return;
    const SelectedObject selected(image.get(), backgroundBitmap_.get());
    RECT area = this->clientRect();
    area.top = headerBottom();
    const SavedDCState state(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    auto copy = [&](int x, int y) {
        const RECT placed{x, y, x + size.bmWidth, y + size.bmHeight};
        RECT visible{};
        if (IntersectRect(&visible, &placed, &clip))
            BitBlt(dc, x, y, size.bmWidth, size.bmHeight, image.get(), 0, 0, SRCCOPY);
    };
    if (!tileBackground_) {
        copy(area.left + (area.right - area.left - size.bmWidth) / 2,
             area.top + (area.bottom - area.top - size.bmHeight) / 2);
        return;
    }
    for (int y = area.top; y < area.bottom && y < clip.bottom; y += size.bmHeight) {
        for (int x = area.left; x < area.right && x < clip.right; x += size.bmWidth)
            copy(x, y);
    }
}

// Painted only, over the rows' area below the header: nothing there can be selected or hit,
// and the first row takes its place.
template <typename T>
void CListImpl<T>::paintEmptyText(DCHandle dc, const RECT& clip)
{
    RECT area = this->clientRect();
    area.top = headerBottom();
    RECT shown{};
    if (!IntersectRect(&shown, &area, &clip))
        return;
    const std::wstring text = self().getEmptyText();
    if (text.empty())
        return;
    const SelectedObject font(dc, listFont_.get());
    SetTextColor(dc, colours_.emptyText);
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
              DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

template <typename T>
void CListImpl<T>::paintRows(DCHandle dc, const RECT& clip)
{
    const int count = itemCount();
    const int left = -scrollPosition(SB_HORZ);
    const int right = totalColumnWidth(false) - 1;
    int top = headerBottom();
    for (int item = topItem(); item < count; ++item, top += rowHeight_) {
        const RECT row{left, top, right, top + rowHeight_};
        if (row.bottom <= clip.top)
            continue;
        if (row.top >= clip.bottom || row.left >= clip.right)
            break;
        paintRow(dc, item, row, clip);
    }
}

template <typename T>
void CListImpl<T>::paintRow(DCHandle dc, int item, const RECT& row, const RECT& clip)
{
    CellState cell;
    cell.item = item;
    cell.selected = isSelected(item);
    cell.listFocused = GetFocus() == handle() || editing_;
    if (cell.selected) {
        if (!themed()) {
            dc.fillSolidRect(row, colours_.selection);
        } else {
            const bool focused = cell.listFocused;
            drawRoundedDoubleFrame(dc, row, focused ? colours_.selectionOuterFocused : colours_.selectionOuterUnfocused,
                                   focused ? colours_.selectionInnerFocused : colours_.selectionInnerUnfocused,
                                   colours_.background);
            RECT inner = row;
            InflateRect(&inner, -2, -2);
            drawVerticalGradient(dc, inner, focused ? colours_.selectionTopFocused : colours_.selectionTopUnfocused,
                                 focused ? colours_.selectionBottomFocused : colours_.selectionBottomUnfocused);
        }
    }
    int left = row.left;
    for (ColumnPosition position(0); position < columnEnd(); ++position) {
        const int width = columns_.records[position.index()].width;
        const RECT rect{left, row.top, left + width - 1, row.bottom};
        left += width;
        if (rect.left >= clip.right)
            break;
        if (rect.right < clip.left || rect.right <= rect.left)
            continue;
        cell.position = position;
        cell.rect = rect;
        cell.focusCell = cellFocus_ && isFocusCell(item, position);
        paintCell(dc, cell);
    }
}

template <typename T>
void CListImpl<T>::paintCell(DCHandle dc, const CellState& cell)
{
    const int id = columns_.records[cell.position.index()].id.value();
    const std::wstring text = self().getItemText(cell.item, id);
    const int image = self().getItemImage(cell.item, id);
    const ItemFormat format = self().getItemFormat(cell.item, id);
    const unsigned flags = self().getItemFlags(cell.item, id);
    if (format == FormatCustom) {
        self().drawCustomItem(dc, cell.item, id, cell.rect);
        return;
    }
    COLORREF textColour = colours_.itemText;
    if (!cell.focusCell) {
        COLORREF background = colours_.background;
        if (!self().getItemColours(cell.item, id, background, textColour))
            textColour = colours_.itemText;
        else if (background != colours_.background)
            fillRoundedRect(dc, cell.rect, background, 3);
    } else if (!themed()) {
        dc.fillSolidRect(cell.rect, editing_ ? colours_.background : colours_.focus);
        if (editing_) {
            const Brush frame(CreateSolidBrush(colours_.focus));
            FrameRect(dc, &cell.rect, frame.get());
        }
    } else if (cell.listFocused) {
        drawRoundedDoubleFrame(dc, cell.rect, colours_.selectionOuterFocused, colours_.selectionInnerFocused,
                               colours_.background);
        RECT inner = cell.rect;
        InflateRect(&inner, -2, -2);
        if (editing_)
            dc.fillSolidRect(inner, colours_.background);
        else
            drawVerticalGradient(dc, inner, colours_.focusTop, colours_.focusBottom);
    }

    RECT content = cellContent(cell.rect, cell.position);
    if (itemImages() && image != -1 && !(cell.focusCell && editing_))
        paintImage(dc, image, content, content, text.empty());
    if (content.left < content.right)
        paintCellContent(dc, cell, content, text, format, flags, textColour);
}

template <typename T>
bool CListImpl<T>::paintImage(DCHandle dc, int image, RECT& content, const RECT& clip, bool centred)
{
    const HIMAGELIST images = itemImages();
    int width = 0;
    int height = 0;
    if (!ImageList_GetIconSize(images, &width, &height))
        return false;
    int x = content.left;
    if (centred)
        x += (content.right - content.left - width) / 2 - (themed() ? 1 : 0);
    const int y = content.top + (content.bottom - content.top - height) / 2;
    {
        const SavedDCState state(dc);
        IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
        ImageList_Draw(images, image, dc, x, y, ILD_TRANSPARENT);
    }
    content.left += imageRoom();
    return true;
}

template <typename T>
UINT CListImpl<T>::textFormat(unsigned flags) noexcept
{
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    if (flags & FlagCentre)
        format |= DT_CENTER;
    else if (flags & FlagRight)
        format |= DT_RIGHT;
    return format;
}

template <typename T>
bool CListImpl<T>::isLinkCell(ItemFormat format, unsigned flags, const std::wstring& text) const noexcept
{
    if (flags & FlagReadOnly)
        return false;
    return format == FormatHyperlink || (format == FormatLinkIfText && !text.empty());
}

template <typename T>
std::wstring CListImpl<T>::dateText(int item, int subItem, unsigned flags)
{
    SYSTEMTIME date{};
    if (self().getItemText(item, subItem).empty() || !self().getItemDate(item, subItem, date))
        return {};
    wchar_t dateBuffer[128]{};
    wchar_t timeBuffer[128]{};
    if (!(flags & FlagTimeOnly))
        GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &date, nullptr, dateBuffer, 128);
    if (!(flags & FlagDateOnly))
        GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &date, nullptr, timeBuffer, 128);
    if (flags & FlagDateOnly)
        return dateBuffer;
    if (flags & FlagTimeOnly)
        return timeBuffer;
    return std::wstring(dateBuffer) + L" " + timeBuffer;
}

template <typename T>
void CListImpl<T>::paintCellContent(DCHandle dc, const CellState& cell, RECT content, const std::wstring& text,
                                    ItemFormat format, unsigned flags, COLORREF textColour)
{
    using namespace ListPaintingDetail;
    const ColumnId id = columns_.records[cell.position.index()].id;
    HFONT font = self().getItemFont(cell.item, id.value());
    COLORREF colour = !themed() && cell.selected && !cell.focusCell ? colours_.selectionText : textColour;
    const bool hotLink = (format == FormatHyperlink || format == FormatLinkIfText) && hover_.item == cell.item &&
                         hover_.column == id && !(flags & FlagReadOnly);
    if (hotLink) {
        font = underlinedFont_.get();
        colour = colours_.link;
    }
    const SelectedObject selectedFont(dc, font);
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    const UINT layout = textFormat(flags);
    switch (format) {
    case FormatText:
    case FormatEdit:
    case FormatCombo:
    case FormatHyperlink:
    case FormatLinkIfText:
        if (!text.empty())
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &content, layout);
        break;
    case FormatDateTime: {
        const std::wstring shown = dateText(cell.item, id.value(), flags);
        if (!shown.empty())
            DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &content, layout);
        break;
    }
    case FormatCheckBox:
    case FormatCheckBox3State: {
        const long value = std::wcstol(text.c_str(), nullptr, 10);
        int image = value > 0 ? kChecked : kCheckClear;
        if (format == FormatCheckBox3State)
            image = value > 0 ? kChecked3State : value < 0 ? kMixed3State : kCheckClear;
        const int size = imageStripSize(dpi_).pixels;
        const int x = content.left + (content.right - content.left - size) / 2 - 1;
        const int y = content.top + (content.bottom - content.top - size) / 2;
        ImageList_Draw(strip_.get(), image, dc, x, y, ILD_TRANSPARENT);
        break;
    }
    case FormatProgress: {
        ProgressLook look;
        if (useThemes_ && !(flags & FlagProgressNoTheme))
            look.theme = progressTheme_.get();
        look.outer = colours_.headerShadow;
        look.inner = colours_.headerBackground;
        look.background = colours_.background;
        look.top = colours_.progressTop;
        look.bottom = colours_.progressBottom;
        look.dpi = dpi_;
        drawProgressBar(dc, cell.rect, progressValue(text.c_str()), look);
        break;
    }
    case FormatButton: {
        DrawFrameControl(dc, &content, DFC_BUTTON, DFCS_BUTTONPUSH | (hover_.mouseTracked ? DFCS_PUSHED : 0));
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &content, textFormat(FlagCentre));
        break;
    }
    case FormatCustom:
        break;
    }
}

template <typename T>
void CListImpl<T>::paintBand(DCHandle dc)
{
    const RECT client = this->clientRect();
    const POINT origin = paintedOrigin();
    RECT band = press_.band;
    OffsetRect(&band, -origin.x, -origin.y);
    if (origin.y == 0)
        band.top = std::max(band.top, static_cast<LONG>(headerBottom()));
    IntersectRect(&band, &band, &client);
    if (IsRectEmpty(&band))
        return;
    const bool look = themed();
    const int width = band.right - band.left;
    const int height = band.bottom - band.top;
    const MemoryDC fill(dc);
    const Bitmap bitmap(CreateCompatibleBitmap(dc, width, height));
    if (fill && bitmap) {
        const SelectedObject selected(fill.get(), bitmap.get());
        DCHandle(fill.get()).fillSolidRect(RECT{0, 0, width, height}, look ? colours_.selection : colours_.focus);
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, ListPaintingDetail::kBandAlpha, 0};
        AlphaBlend(dc, band.left, band.top, width, height, fill.get(), 0, 0, width, height, blend);
    }
    const Brush frame(CreateSolidBrush(look ? colours_.selection : colours_.itemText));
    FrameRect(dc, &band, frame.get());
}

template <typename T>
void CListImpl<T>::paintHeader(DCHandle dc, const RECT& clip)
{
    using namespace ListPaintingDetail;
    const RECT client = this->clientRect();
    // The columns scroll with the rows; the fill, the space after the last column and the frame
    // belong to the header as it shows.
    const RECT visible{0, 0, client.right, headerHeight_};
    if (!themed())
        dc.fillSolidRect(visible, colours_.headerBackground);
    RECT header = visible;
    OffsetRect(&header, -scrollPosition(SB_HORZ), 0);
    int left = header.left;
    bool anyWidth = false;
    for (ColumnPosition position(0); position < columnEnd(); ++position) {
        const int width = columns_.records[position.index()].width;
        const RECT rect{left, header.top, left + width, header.bottom};
        left += width;
        anyWidth = anyWidth || width > 0;
        if (rect.right < clip.left)
            continue;
        if (rect.left > clip.right)
            break;
        paintHeaderColumn(dc, position, rect);
    }
    if (themed()) {
        RECT rest{header.left + totalColumnWidth(false), header.top, visible.right + 2, header.bottom};
        if (rest.left < rest.right)
            DrawThemeBackground(headerTheme_.get(), dc, kHeaderItem, kHeaderNormal, &rest, nullptr);
    } else if (anyWidth) {
        RECT frame = visible;
        frame.right += 2;
        draw3dFrame(dc, frame, colours_.headerHighlight, colours_.headerShadow);
    }
}

template <typename T>
Bitmap CListImpl<T>::headerItemImage(ColumnPosition position)
{
    const ListColumn* shown = column(position);
    if (!shown)
        return {};
    const RECT rect{0, 0, shown->width, headerHeight_};
    const ClientDC screen(handle());
    const MemoryDC memory(screen.get());
    Bitmap image(CreateCompatibleBitmap(screen.get(), rect.right, rect.bottom));
    if (!memory || !image)
        return {};
    const SelectedObject selected(memory.get(), image.get());
    const DCHandle dc = memory.get();
    dc.fillSolidRect(rect, colours_.headerBackground);
    paintHeaderColumn(dc, position, rect);
    if (!themed())
        draw3dFrame(dc, rect, colours_.headerHighlight, colours_.headerShadow);
    return image;
}

template <typename T>
void CListImpl<T>::paintHeaderColumn(DCHandle dc, ColumnPosition position, const RECT& rect)
{
    using namespace ListPaintingDetail;
    const ListColumn& shown = columns_.records[position.index()];
    if (!themed()) {
        if (position == press_.headerColumn)
            dc.fillSolidRect(rect, colours_.headerPressed);
        const int inset = scaled(kDividerLineInset);
        drawVerticalLine(dc, rect.right - 1, rect.top + inset, headerHeight_ - inset, colours_.headerShadow);
        drawVerticalLine(dc, rect.right, rect.top + inset, headerHeight_ - inset, colours_.headerHighlight);
    } else {
        const int state = position == press_.headerColumn ? kHeaderPressed
                          : position == hover_.headerColumn   ? kHeaderHot
                                                           : kHeaderNormal;
        DrawThemeBackground(headerTheme_.get(), dc, kHeaderItem, state, &rect, nullptr);
    }
    const int arrowSize = imageStripSize(dpi_).pixels;
    const bool arrow = showsSortArrow(shown);
    RECT content = headerContent(rect, position, arrow);
    if (itemImages() && shown.image != -1)
        paintImage(dc, shown.image, content, RECT{rect.left, rect.top, rect.right - 2, rect.bottom},
                   shown.title.empty());
    if (content.left < content.right && !shown.title.empty()) {
        const SelectedObject font(dc, listFont_.get());
        SetTextColor(dc, colours_.headerText);
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, shown.title.c_str(), static_cast<int>(shown.title.size()), &content, textFormat(shown.flags));
    }
    if (arrow) {
        const SavedDCState state(dc);
        IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
        ImageList_Draw(strip_.get(), columns_.sortAscending ? kSortAscending : kSortDescending, dc,
                       content.right + scaled(kSortArrowGap), (headerHeight_ - arrowSize) / 2, ILD_TRANSPARENT);
    }
}

} // namespace Kestrel
