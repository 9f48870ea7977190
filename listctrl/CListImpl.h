#pragma once

#include "framework/CDoubleBufferImpl.h"
#include "framework/CWindowImpl.h"
#include "framework/DeviceContext.h"
#include "framework/Dpi.h"
#include "framework/GdiObject.h"
#include "framework/UserObject.h"
#include "listctrl/ListColours.h"
#include "listctrl/CListCombo.h"
#include "listctrl/CListDate.h"
#include "listctrl/CListEdit.h"
#include "listctrl/CTitleTip.h"
#include "listctrl/ColumnId.h"
#include "listctrl/ColumnPosition.h"
#include "listctrl/ListColumn.h"
#include "listctrl/ListDragDrop.h"
#include "listctrl/ListImageStrip.h"
#include "listctrl/ListNotify.h"
#include "listctrl/ListTextInsets.h"

#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

#include <set>
#include <string>
#include <vector>

namespace Kestrel {

// Where a point lies in the list: on the header (a column body, or the divider right of a
// column), or on a row and one of its cells.
struct ListHit {
    bool onHeader = false;
    ColumnPosition headerColumn; // column body under the point
    ColumnPosition divider;      // column whose right edge is under the point
    int item = -1;
    ColumnPosition column;
};

// An owner-drawn report list: a header of columns over rows of cells that it paints itself. It
// stores no rows: T answers the per-cell callbacks below (hiding the defaults given here; the
// calls are resolved at compile time). T may create the window (create) or take over an existing
// control (subclassWindow, then T's initialisation, which ends with CListImpl::initialise).
//
// The parts live in headers named after their concern, included at the end of this one:
// ListSetup.h (initialisation, settings, columns, the window's life), ListCallbacks.h (the
// callbacks' defaults), ListGeometry.h (rows, cells, hit tests, scroll ranges, visibility),
// ListSelection.h (selection, focus cell, notifications), ListPainting.h, ListMouse.h,
// ListKeyboard.h, ListScrolling.h (scroll bars, wheel, smooth scrolling), ListTips.h (item
// tooltip, title tip), ListEditors.h (in-place editors), ListDragDrop.h (column drag).
//
// Columns are addressed two ways: by ColumnPosition (the order on screen, which column drag
// changes) and by ColumnId (ListColumn::id, the position a column was added at). Every callback
// takes an identifier as its subItem, getItemColours and getItemFont included, and so does every
// notification; the list remembers its focus, hot and sort columns by identifier, so that they
// stay with a dragged column. Geometry, painting and hit tests take positions.
//
// Every length the list draws or measures in pixels follows its DPI (the window's, and then the one
// WM_DPICHANGED brings): column widths, margins, row height, images, thresholds. The constants
// below are written as they are at 96 DPI and scaled where they are used.
template <typename T>
class CListImpl : public CWindowImpl<T>, public CDoubleBufferImpl<CListImpl<T>> {
    using Window = CWindowImpl<T>;
    friend class CDoubleBufferImpl<CListImpl<T>>;

public:
    // The list paints all of its client area.
    static constexpr int classBackground = 0;

    static constexpr auto messageMap();

    // --- Callbacks: T hides the ones it answers. subItem is always a column identifier. ---
    int getItemCount() { return 0; }
    std::wstring getItemText(int /*item*/, int /*subItem*/) { return {}; }
    int getItemImage(int /*item*/, int /*subItem*/) { return -1; }
    ItemFormat getItemFormat(int /*item*/, int subItem);
    unsigned getItemFlags(int /*item*/, int subItem);
    bool getItemColours(int item, int subItem, COLORREF& background, COLORREF& text);
    HFONT getItemFont(int /*item*/, int /*subItem*/) { return listFont_.get(); }
    std::wstring getItemToolTip(int /*item*/, int /*subItem*/) { return {}; }
    // The one line shown, centred and greyed, while the list has no row; none by default.
    std::wstring getEmptyText() { return {}; }
    bool getItemDate(int item, int subItem, SYSTEMTIME& date);
    bool getItemComboList(int item, int subItem, std::vector<std::wstring>& list);
    bool setItemText(int /*item*/, int /*subItem*/, const std::wstring& /*text*/) { return false; }
    bool setItemDate(int item, int subItem, const SYSTEMTIME& date);
    bool sortItems(int /*subItem*/, bool /*ascending*/) { return false; }
    // The base holds no rows: there is nothing to reverse.
    void reverseItems() {}
    void drawCustomItem(DCHandle /*dc*/, int /*item*/, int /*subItem*/, const RECT& /*cell*/) {}
    // The module the image strip and cursors are loaded from.
    HINSTANCE resourceModule() { return moduleInstance(); }
    // The row and header images: by default the list set with setItemImageList.
    HIMAGELIST getItemImageList() { return itemImages_; }

    // --- Set-up (ListSetup.h) ---
    // Non-zero when every step worked; stops at the first that fails (what is done stays done).
    [[nodiscard]] int initialise();
    // Colours, fonts, row height, themes; non-zero on success. Runs again on system changes.
    [[nodiscard]] int loadSettings();
    // Appends a column of a width in pixels at the list's DPI; answers its identifier.
    ColumnId addColumn(const std::wstring& title, int width, int image = -1, bool fixed = false,
                       ItemFormat format = FormatText, unsigned flags = 0);
    [[nodiscard]] int columnCount() const noexcept { return static_cast<int>(columns_.records.size()); }
    // The column at a display position, or null.
    [[nodiscard]] const ListColumn* column(ColumnPosition position) const noexcept;
    // Where the column of an identifier is, or none; and the reverse.
    [[nodiscard]] ColumnPosition columnPosition(ColumnId id) const noexcept;
    [[nodiscard]] ColumnId columnId(ColumnPosition position) const noexcept;
    // The row and header images; the list borrows it, T keeps it alive and sized for the list's DPI.
    void setItemImageList(HIMAGELIST images) noexcept { itemImages_ = images; }
    // The list's own images (sort arrows, check boxes, and the file and folder) at its DPI; a
    // DPI change replaces it.
    [[nodiscard]] HIMAGELIST imageStrip() const noexcept { return strip_.get(); }
    // Moves the column at a display position to another; it keeps its identifier, and with it
    // the focus, hot and sort column stay on it.
    void moveColumn(ColumnPosition from, ColumnPosition to);
    // Sets a column's width (refused for a fixed column). A width set here is chosen: no column
    // stretches until the list's window is resized, when the stretch column takes the room again,
    // so that a wider window shows more of it instead of the columns after it going out of view.
    void setColumnWidth(ColumnPosition position, int width);
    // The column (identifier) that takes the width the other columns leave of the client area,
    // never less than the minimum (pixels at 96 DPI): at once, and when the list's size or DPI
    // changes, except while a chosen width holds.
    void setStretchColumn(ColumnId id, int minimumWidth);
    // The DPI the list is drawn at; initialisation takes the window's.
    [[nodiscard]] Dpi dpi() const noexcept { return dpi_; }
    // Rebuilds the list for another DPI: fonts, row height, images, every column width in
    // proportion (the stretch column takes what the others leave), the companions; repaints.
    void setDpi(Dpi dpi);
    void setFocusSubItem(bool on);
    void setShowHeader(bool on);
    void setSingleSelection(bool on) noexcept { singleSelection_ = on; }
    void setSortEnabled(bool on) noexcept { sortEnabled_ = on; }
    void setSmoothScrolling(bool on) noexcept { scrolling_.smooth = on; }
    void setItemDragEnabled(bool on) noexcept { itemDragEnabled_ = on; }
    // A picture under the rows, tiled from the top left or centred once; the list owns it.
    void setBackgroundImage(HBITMAP image, bool tile);
    // Takes effect for the header at once; theme handles are reopened on the next settings load.
    void setUseThemes(bool on);
    [[nodiscard]] bool usesThemes() const noexcept { return useThemes_; }
    [[nodiscard]] const CTitleTip& titleTip() const noexcept { return titleTip_; }
    [[nodiscard]] int rowHeight() const noexcept { return rowHeight_; }
    [[nodiscard]] int headerHeight() const noexcept { return headerHeight_; }

    // --- Geometry and scrolling (ListGeometry.h) ---
    // bars: SB_HORZ, SB_VERT or SB_BOTH; position < 0 keeps the position; recalc recomputes the
    // total column width. A bar whose range, page, position and visibility stay is left alone.
    // Without redraw a changed bar is drawn with the window's next paint instead of at once.
    void resetScrollBars(int bars, int position = -1, bool recalc = true, bool redraw = true);
    [[nodiscard]] bool isItemVisible(int item, ColumnPosition position = {}, bool partial = false);
    void ensureItemVisible(int item, ColumnPosition position = {});
    [[nodiscard]] ListHit hitTest(POINT client);
    // The rectangle of a row (client coordinates, the visible part of the columns), or empty.
    [[nodiscard]] RECT itemRect(int item);
    // The rectangle of a cell (client coordinates), or empty.
    [[nodiscard]] RECT cellRect(int item, ColumnPosition position);
    // Where a cell's text is drawn: the cell less its margins and its image (client coordinates).
    [[nodiscard]] RECT textRect(int item, ColumnPosition position);
    // Where a header item's title is drawn (client coordinates).
    [[nodiscard]] RECT headerTextRect(ColumnPosition position);
    [[nodiscard]] int topItem();
    [[nodiscard]] bool isScrollAnimating() const noexcept { return static_cast<bool>(animation_.bitmap); }
    [[nodiscard]] int visibleItemCount(bool partial = false);

    // --- Selection (ListSelection.h) ---
    // Selects as a click with the given key flags (MK_SHIFT, MK_CONTROL) on a cell does.
    void selectItem(int item, ColumnPosition position, UINT keyFlags);
    void selectAll();
    void clearSelection();
    [[nodiscard]] bool isSelected(int item) const noexcept { return selection_.rows.count(item) != 0; }
    [[nodiscard]] const std::set<int>& selectedItems() const noexcept { return selection_.rows; }
    // The focus row when it is selected, else the lowest selected row, else -1; position gets
    // where the focus column is with cell focus on, else none.
    [[nodiscard]] int getFocusItem(ColumnPosition* position = nullptr) const noexcept;
    // Sends a list notification about a cell (or a row, with no column) to the parent.
    void notifyParent(int item, ColumnId id, ListNotifyCode code);
    // Opens the in-place editor of the focus cell when its format has one, it shows whole, the
    // list has the keyboard focus and the cell is not read-only.
    void editItem(int item, ColumnPosition position);
    [[nodiscard]] bool isEditing() const noexcept { return editing_; }

    using Window::handle;
    using Window::clientRect;
    using Window::invalidate;
    using Window::sendMessage;

protected:
    CListImpl() = default;
    ~CListImpl() override = default;

    T& self() noexcept { return static_cast<T&>(*this); }

private:
    // Relays every mouse message to the item tooltip, and lets it go on to the handlers.
    struct RelayMouseToToolTip {
        template <typename Self>
        static bool route(Self& list, Message& message)
        {
            if (message.id >= WM_MOUSEFIRST && message.id <= WM_MOUSELAST)
                static_cast<CListImpl&>(list).relayToToolTip(message);
            return false;
        }
    };
    // EditDone comes from an in-place editor whatever its identifier.
    struct OnEditDone {
        template <typename Self>
        static bool route(Self& list, Message& message)
        {
            if (message.id != WM_NOTIFY || !message.lParam)
                return false;
            const auto* header = reinterpret_cast<const NMHDR*>(message.lParam);
            if (header->code != static_cast<UINT>(EditDone))
                return false;
            static_cast<CListImpl&>(list).onEditDone(*reinterpret_cast<const ListNotifyInfo*>(header));
            message.result = 0;
            return true;
        }
    };

    static constexpr UINT_PTR kResizeTimer = 1001;
    static constexpr UINT_PTR kEditTimer = 1002;
    static constexpr UINT_PTR kBandTimer = 1003;
    static constexpr UINT_PTR kAnimationTimer = 1004;
    // Pixels of a horizontal line step (at 96 DPI).
    static constexpr int kHorizontalLine = 5;

    // --- Message handlers ---
    int onCreate(WPARAM, LPARAM);
    void onDestroy();
    void onFocusChange();
    LRESULT onGetDlgCode() { return DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS; }
    void onSize(UINT, SIZE);
    void onHScroll(UINT request, int thumb, HWND bar);
    void onVScroll(UINT request, int thumb, HWND bar);
    void onCancelMode();
    void onLButtonDown(UINT keys, POINT point);
    void onLButtonUp(UINT keys, POINT point);
    void onLButtonDblClk(UINT keys, POINT point);
    void onRButtonDown(UINT keys, POINT point);
    void onRButtonUp(UINT keys, POINT point);
    void onMouseMove(UINT keys, POINT point);
    void onMouseLeave();
    bool onSetCursor(WPARAM window, LPARAM hitAndMessage);
    void onMouseWheel(UINT keys, short delta, POINT screen);
    void onTimer(UINT_PTR id);
    LRESULT onKeyDown(WPARAM key, LPARAM flags);
    LRESULT onSysKeyDown(WPARAM key, LPARAM flags);
    void onSettingsChange();
    // A child window has no rectangle to take: it keeps the place its parent gives it.
    void onDpiChanged(Dpi dpi, const RECT& /*suggested*/) { setDpi(dpi); }
    // A child window hears of its parent's new DPI after the parent has handled it.
    void onParentDpiChanged() { setDpi(Dpi::ofWindow(handle())); }
    void onEditDone(const ListNotifyInfo& info);
    template <UINT Message>
    LRESULT onEditorColour(WPARAM dc, LPARAM control)
    {
        return this->defWindowProc(Message, dc, control);
    }
    void relayToToolTip(const Message& message);

    // The divider and hand cursors at the size for the DPI; false, keeping the ones held, when
    // either cannot be loaded.
    [[nodiscard]] bool loadCursors();

    // --- Geometry helpers ---
    [[nodiscard]] int scaled(int pixels) const noexcept { return dpi_.scale(pixels); }
    [[nodiscard]] HIMAGELIST itemImages() { return self().getItemImageList(); }
    [[nodiscard]] bool ready() const noexcept { return rowHeight_ > 0; }
    [[nodiscard]] int headerBottom() const noexcept { return showHeader_ ? headerHeight_ : 0; }
    [[nodiscard]] int itemCount() { return self().getItemCount(); }
    [[nodiscard]] int columnLeft(ColumnPosition position) const noexcept;
    [[nodiscard]] ColumnPosition columnEnd() const noexcept { return ColumnPosition(columnCount()); }
    [[nodiscard]] int totalColumnWidth(bool recalc) noexcept;
    [[nodiscard]] int scrollPosition(int bar) const noexcept { return GetScrollPos(handle(), bar); }
    void setScrollPosition(int bar, int position);
    // Sets the bar unless it already shows what is wanted; true when it was set.
    bool applyScrollInfo(int bar, const SCROLLINFO& wanted, bool redraw);
    // Horizontal extent of a column in client coordinates (right exclusive).
    [[nodiscard]] RECT columnExtent(ColumnPosition position) const noexcept;
    [[nodiscard]] ColumnPosition dividerAt(int x) const noexcept;
    // The part of a painted cell (its right edge on the divider) that content is drawn in: less
    // the indent and the margins that painting and the title tip share.
    [[nodiscard]] RECT cellContent(const RECT& painted, ColumnPosition position) const noexcept;
    // Whether the header item shows the sort arrow: the sort column, when sorting is on and the
    // arrow fits.
    [[nodiscard]] bool showsSortArrow(const ListColumn& shown) const noexcept;
    // The header item's title area; arrow: room kept for the sort arrow.
    [[nodiscard]] RECT headerContent(const RECT& item, ColumnPosition position, bool arrow) const noexcept;
    // What a row or header image takes of the content's width: the image and the gap after it.
    [[nodiscard]] int imageRoom();
    void fitStretchColumn();
    // The document point at the client's top-left corner as the rows are painted.
    [[nodiscard]] POINT paintedOrigin();

    // --- Selection helpers ---
    // What a row's look owes to the selection, the focus cell and the view: taken before a change,
    // so that only the rows the change touched are repainted after it, once. Only the rows in view
    // are kept: a key press costs a screen of rows, not a copy of a selection of thousands.
    struct RowLook {
        int top = 0;                      // the first row in view
        std::vector<bool> selectedInView; // from top on
        int focusItem = -1;
        ColumnId focusColumn;
        POINT scroll{};
    };
    [[nodiscard]] RowLook rowLook();
    // The rows whose selection or focus changed since, or the whole view when it scrolled.
    void repaintChangedRows(const RowLook& before);
    // selectItem without the repaint, for a change that repaints once when it is whole.
    void changeSelection(int item, ColumnPosition position, UINT keyFlags);
    // ensureItemVisible without the repaint; true when the view moved.
    bool scrollIntoView(int item, ColumnPosition position);
    // Rows first..last become the selection (none when last < first), as a band selects them.
    void selectBandRows(int first, int last);
    void setFocusCell(int item, ColumnPosition position) noexcept;
    // The row a shift-click extends the selection from.
    void setAnchor(int item) noexcept { selection_.anchor = item; }
    [[nodiscard]] bool isFocusCell(int item, ColumnPosition position) const noexcept
    {
        return item == selection_.focusItem && position.valid() && columnId(position) == selection_.focusColumn;
    }
    // Where the focus column is now (none without one).
    [[nodiscard]] ColumnPosition focusPosition() const noexcept { return columnPosition(selection_.focusColumn); }
    [[nodiscard]] bool cellFullyVisible(int item, ColumnPosition position);
    // The cell action of a press (check box, link, button); true when a link was clicked.
    bool cellAction(int item, ColumnPosition position);
    // A check box cell's next text, as a click or Space toggles it.
    [[nodiscard]] bool toggleCheckBox(int item, ColumnPosition position);

    // --- Painting (ListPainting.h) ---
    void doPaint(DCHandle dc);
    [[nodiscard]] bool themed() const noexcept { return useThemes_ && headerTheme_; }
    void paintBackground(DCHandle dc, const RECT& clip);
    void paintBackgroundImage(DCHandle dc, const RECT& clip);
    void paintRows(DCHandle dc, const RECT& clip);
    void paintRow(DCHandle dc, int item, const RECT& row, const RECT& clip);
    struct CellState;
    void paintCell(DCHandle dc, const CellState& cell);
    void paintCellContent(DCHandle dc, const CellState& cell, RECT content, const std::wstring& text,
                          ItemFormat format, unsigned flags, COLORREF textColour);
    // The image of a cell or header item; answers whether it was drawn (content moves right).
    bool paintImage(DCHandle dc, int image, RECT& content, const RECT& clip, bool centred);
    void paintBand(DCHandle dc);
    void paintEmptyText(DCHandle dc, const RECT& clip);
    void paintHeader(DCHandle dc, const RECT& clip);
    void paintHeaderColumn(DCHandle dc, ColumnPosition position, const RECT& rect);
    // A header item as the header paints it, pressed: the column drag's image.
    [[nodiscard]] Bitmap headerItemImage(ColumnPosition position);
    [[nodiscard]] static UINT textFormat(unsigned flags) noexcept;
    [[nodiscard]] std::wstring dateText(int item, int subItem, unsigned flags);
    [[nodiscard]] bool isLinkCell(ItemFormat format, unsigned flags, const std::wstring& text) const noexcept;

    // --- Editors (ListEditors.h) ---
    void closeEditors() noexcept;

    // --- Mouse (ListMouse.h) ---
    void endPress() noexcept;
    // A column drag's loop takes the mouse: the press ends and the header shows it at once.
    void endPressForDrag();
    [[nodiscard]] bool banding() const noexcept { return press_.mode == PressMode::Band; }
    void startRubberBand();
    void updateRubberBand(POINT client);
    void rebuildBandSelection();
    void trackHot(POINT point);
    // After a move the link cells whose hot state changes are repainted; a scroll repaints the
    // whole view itself, and a smooth scroll's frames must not be painted over.
    enum class HotRepaint { ChangedLinks, None };
    // The hot header column, hot cell and item tooltip for what lies under the mouse.
    void followPointer(const ListHit& hit, HotRepaint repaint);
    void refreshHotAfterScroll();
    // The divider or hand cursor a point asks for, or null for the window's own.
    [[nodiscard]] HCURSOR cursorFor(const ListHit& hit);
    void setHotCell(int item, ColumnId hotColumn, HotRepaint repaint);
    void headerClick(ColumnPosition position);
    // Sorts the rows by a column (ListSetup.h).
    void sortBy(ColumnId id);
    void autoSizeColumn(ColumnPosition position);
    [[nodiscard]] bool resizingColumn() const noexcept { return press_.resize.column.valid(); }
    void resizeTo(int screenX);
    void onResizeTimer();
    void stopResizeTimer() noexcept;
    void endColumnResize() noexcept;
    [[nodiscard]] bool atRightEnd() const noexcept;
    void onBandTimer();
    // A header column pressed and dragged farther than 4 pixels starts a column drag here.
    void startColumnDrag(ColumnPosition position) { dragDrop_.startColumnDrag(position); }
    // Where the list registers as a drop target (for column drag); a refusal leaves the rest working.
    void registerDropTarget() { static_cast<void>(dragDrop_.registerTarget(headerClipboardFormat_)); }

    // --- Keyboard (ListKeyboard.h) ---
    bool handleKey(UINT key);
    void moveFocusTo(int item, ColumnPosition position, bool control, bool shift);
    // Moves the focus to the dialog's next control, or with back to the previous one.
    void leaveByTab(bool back);
    void typeAhead(wchar_t letter, DWORD time);

    // --- Scrolling (ListScrolling.h) ---
    void scrollVerticallyTo(int position, bool animate);
    void startAnimation(int oldTop, int newTop);
    void onAnimationTimer();
    void endAnimation();

    // --- Item tooltip and title tip (ListTips.h) ---
    void updateItemToolTip(int item, ColumnPosition position);
    void offerTitleTip(int item, ColumnPosition position, POINT point);
    void hideTitleTip();

    // --- State, by concern. Each part writes its own group only and resets it in one place. ---

    // Settings: switches T sets, and what the settings load (ListSetup.h).
    bool showHeader_ = true;
    bool useThemes_ = true;
    bool sortEnabled_ = false;
    bool singleSelection_ = false;
    bool cellFocus_ = false;
    bool itemDragEnabled_ = false;
    Bitmap backgroundBitmap_;
    bool tileBackground_ = false;
    Dpi dpi_;
    int rowHeight_ = 0; // 0 until the settings are loaded: the list is not ready to show rows
    int headerHeight_ = 0;
    ListColours colours_ = ListColours::fromSystem(); // read again with the settings
    ThemeHandle headerTheme_;
    ThemeHandle progressTheme_;
    CursorHandle dividerCursor_;
    CursorHandle handCursor_;
    Font listFont_;
    Font underlinedFont_;
    ImageList strip_;
    HIMAGELIST itemImages_ = nullptr;
    WORD headerClipboardFormat_ = 0;
    UINT wheelScrollLines_ = 3;

    // The columns in display order, the one that stretches, and the sort (ListSetup.h; the
    // measured total width in ListGeometry.h).
    struct Columns {
        std::vector<ListColumn> records;
        ColumnId stretch; // none when none was named
        int stretchMinimum = 0; // pixels at 96 DPI
        bool stretchHeld = false; // a width was chosen since the window was last resized
        SIZE windowSize{};      // the list window's, as last sized
        int totalWidth = 0;     // of all columns, as last measured
        ColumnId sortColumn;
        bool sortAscending = true;
    };
    Columns columns_;

    // The selected rows, the anchor a shift-click extends from, and the focus cell
    // (ListSelection.h).
    struct Selection {
        std::set<int> rows;
        int anchor = -1;
        int focusItem = -1;
        ColumnId focusColumn;
        void reset() { *this = Selection{}; }
    };
    Selection selection_;

    // What the left button started, from the press to the release or a cancel-mode; endPress ends
    // every kind (ListMouse.h).
    enum class PressMode {
        None,
        Header,    // on the header: a column body (headerColumn), a divider (resize) or past them
        Rows,      // on a row's first column: a drag would move the rows
        EmptyArea, // below the rows, or on another column: a drag draws a band
        Band,      // the band is drawn
    };
    // Resizing a column by its divider.
    struct ColumnResize {
        ColumnPosition column; // none while no column is resized
        int startWidth = 0;
        int startX = 0; // screen x the width follows from
        bool timerRunning = false;
        int autoScrollStart = 0; // screen x where shrinking at the right end began
    };
    struct Press {
        PressMode mode = PressMode::None;
        // A band outlives the button when the release was missed; it ends at the next release.
        bool buttonDown = false;
        POINT point{};         // client coordinates
        POINT documentPoint{}; // as the rows are painted
        ColumnPosition headerColumn;
        ColumnResize resize;
        RECT band{}; // document coordinates
        DWORD lastAutoScroll = 0;
        void reset() { *this = Press{}; }
    };
    Press press_;

    // What lies under the mouse: the hot header column and the hot cell, which the item tooltip
    // follows (ListMouse.h).
    struct Hover {
        bool mouseTracked = false; // leave-tracking is on
        ColumnPosition headerColumn;
        int item = -1;
        ColumnId column;
        void reset() { *this = Hover{}; }
    };
    Hover hover_;
    OwnedWindow toolTip_;
    CTitleTip titleTip_;

    // Scroll bars and the wheel, and the smooth scroll's animation (ListGeometry.h,
    // ListScrolling.h).
    struct Scrolling {
        bool smooth = true;
        bool horizontalBarNeeded = false;
    };
    Scrolling scrolling_;
    // endAnimation ends one; started lasts until the scroll bar's end of scroll.
    struct Animation {
        Bitmap bitmap; // the rows before and after, one above the other; empty while none runs
        int height = 0;
        int position = 0;
        int step = 0;
        int steps = 0;
        bool up = false;
        int distance = 0;
        bool started = false;
    };
    Animation animation_;

    // The rows' search by typed letters (ListKeyboard.h).
    struct TypeAhead {
        std::wstring prefix;
        DWORD time = 0;
        bool started = false;
    };
    TypeAhead typeAhead_;

    // The in-place editors (ListEditors.h).
    bool editing_ = false;
    CListEdit edit_;
    CListCombo combo_;
    CListDate date_;

    // What the column drag may ask of the list (ListDragDrop.h), and no more.
    class ColumnDragSide {
    public:
        explicit ColumnDragSide(CListImpl& list) noexcept : list_(&list) {}
        [[nodiscard]] HWND window() const noexcept { return list_->handle(); }
        [[nodiscard]] int headerHeight() const noexcept { return list_->headerBottom(); }
        [[nodiscard]] ColumnPosition columnEnd() const noexcept { return list_->columnEnd(); }
        [[nodiscard]] bool hasColumn(ColumnPosition position) const noexcept
        {
            return list_->column(position) != nullptr;
        }
        [[nodiscard]] RECT columnExtent(ColumnPosition position) const noexcept { return list_->columnExtent(position); }
        [[nodiscard]] Bitmap headerItemImage(ColumnPosition position) { return list_->headerItemImage(position); }
        [[nodiscard]] COLORREF background() const noexcept { return list_->colours_.background; }
        void endPress() { list_->endPressForDrag(); }
        void moveColumn(ColumnPosition from, ColumnPosition to) { list_->moveColumn(from, to); }

    private:
        CListImpl* list_;
    };
    // Column drag and files dropped over the list (ListDragDrop.h).
    CListDragDrop<ColumnDragSide> dragDrop_{ColumnDragSide(*this)};
};

template <typename T>
constexpr auto CListImpl<T>::messageMap()
{
    using L = CListImpl<T>;
    return messageMapOf<L>(
        onMessage<WM_CREATE, &L::onCreate>,
        onMessage<WM_DESTROY, &L::onDestroy>,
        onMessage<WM_SETFOCUS, &L::onFocusChange>,
        onMessage<WM_KILLFOCUS, &L::onFocusChange>,
        onMessage<WM_GETDLGCODE, &L::onGetDlgCode>,
        onMessage<WM_SIZE, &L::onSize>,
        onMessage<WM_HSCROLL, &L::onHScroll>,
        onMessage<WM_VSCROLL, &L::onVScroll>,
        onMessage<WM_CANCELMODE, &L::onCancelMode>,
        RelayMouseToToolTip{},
        onMessage<WM_LBUTTONDOWN, &L::onLButtonDown>,
        onMessage<WM_LBUTTONUP, &L::onLButtonUp>,
        onMessage<WM_LBUTTONDBLCLK, &L::onLButtonDblClk>,
        onMessage<WM_RBUTTONDOWN, &L::onRButtonDown>,
        onMessage<WM_RBUTTONUP, &L::onRButtonUp>,
        onMessage<WM_MOUSEMOVE, &L::onMouseMove>,
        onMessage<WM_MOUSELEAVE, &L::onMouseLeave>,
        onMessage<WM_SETCURSOR, &L::onSetCursor>,
        onMessage<WM_MOUSEWHEEL, &L::onMouseWheel>,
        onMessage<WM_TIMER, &L::onTimer>,
        onMessage<WM_KEYDOWN, &L::onKeyDown>,
        onMessage<WM_SYSKEYDOWN, &L::onSysKeyDown>,
        onMessage<WM_SETTINGCHANGE, &L::onSettingsChange>,
        onMessage<WM_SYSCOLORCHANGE, &L::onSettingsChange>,
        onMessage<WM_FONTCHANGE, &L::onSettingsChange>,
        onMessage<WM_THEMECHANGED, &L::onSettingsChange>,
        onMessage<WM_DPICHANGED, &L::onDpiChanged>,
        onMessage<kDpiChangedAfterParent, &L::onParentDpiChanged>,
        OnEditDone{},
        onMessage<WM_CTLCOLORLISTBOX, &L::template onEditorColour<WM_CTLCOLORLISTBOX>>,
        onMessage<WM_CTLCOLOREDIT, &L::template onEditorColour<WM_CTLCOLOREDIT>>,
        chainTo<CDoubleBufferImpl<L>>);
}

} // namespace Kestrel

#include "listctrl/ListCallbacks.h"
#include "listctrl/ListEditors.h"
#include "listctrl/ListGeometry.h"
#include "listctrl/ListKeyboard.h"
#include "listctrl/ListMouse.h"
#include "listctrl/ListPainting.h"
#include "listctrl/ListScrolling.h"
#include "listctrl/ListSelection.h"
#include "listctrl/ListSetup.h"
#include "listctrl/ListTips.h"
