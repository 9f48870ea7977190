#pragma once

#include "listctrl/CListEditorImpl.h"

#include <commctrl.h>

#include <string>

namespace Kestrel {

// The in-place editor of DateTime cells: the platform's date and time picker. Enter, Escape, Tab
// and Delete end it while its calendar is closed. EditDone carries the date and, as text, the date
// written as the list stores it ("%04d%02d%02d%02d%02d%02d"); both are empty when the picker's
// "no date" box is cleared.
//
// Cell options it reads (ItemFlags):
// - FlagDateOnly: the date in the short date format; FlagTimeOnly: the time only; neither: both;
// - FlagEditSeconds: the time shows its seconds (else the short time format);
// - FlagEditNoDate: a check box lets the user leave the cell without a date.
class CListDate : public CListEditorImpl<CListDate> {
public:
    static constexpr UINT controlId = 3;

    static constexpr auto messageMap()
    {
        return messageMapOf<CListDate>(onMessage<kTakeFocusBack, &CListDate::onTakeFocusBack>,
                                       onMessage<WM_LBUTTONDOWN, &CListDate::mayCloseCalendar<WM_LBUTTONDOWN>>,
                                       onMessage<WM_NOTIFY, &CListDate::mayCloseCalendar<WM_NOTIFY>>,
                                       chainTo<CListEditorImpl<CListDate>>);
    }

    CListDate() noexcept = default;
    ~CListDate() override { close(); }

    // Opens over the cell (list client coordinates) with the cell's date; without one, with the
    // current time (or no date, where allowed).
    [[nodiscard]] bool open(HWND list, int item, ColumnId column, const RECT& cell, const SYSTEMTIME* date,
                            unsigned flags, HFONT font);

private:
    friend class CListEditorImpl<CListDate>;

    static constexpr UINT kTakeFocusBack = WM_APP + 1;

    // Some pickers give their drop-down calendar the focus. Then the edit ends when the focus
    // leaves the calendar for another window, unless the picker itself closes the calendar (in
    // one of the messages where it may): then the picker takes the focus back.
    class CalendarWatch : public CWindowImpl<CalendarWatch> {
    public:
        static constexpr auto messageMap()
        {
            return messageMapOf<CalendarWatch>(onMessage<WM_KILLFOCUS, &CalendarWatch::onKillFocus>);
        }
        explicit CalendarWatch(CListDate& picker) noexcept : picker_(picker) {}

    private:
        LRESULT onKillFocus(HWND next);
        CListDate& picker_;
    };

    [[nodiscard]] bool endsOn(WPARAM key) const noexcept;
    // Starts watching the calendar when the focus moves there.
    [[nodiscard]] bool keepsFocus(HWND next) noexcept;
    [[nodiscard]] std::wstring text() const;
    [[nodiscard]] bool date(SYSTEMTIME& date) const noexcept;

    // The drop-down calendar while it shows, else null. (Some pickers keep a hidden calendar.)
    [[nodiscard]] HWND droppedCalendar() const noexcept
    {
        const auto calendar = reinterpret_cast<HWND>(sendMessage(DTM_GETMONTHCAL));
        return calendar && IsWindowVisible(calendar) ? calendar : nullptr;
    }
    void setFormat(unsigned flags) const;
    void onCalendarLostFocus(HWND next);
    void onTakeFocusBack() noexcept;

    template <UINT Message>
    LRESULT mayCloseCalendar(WPARAM wParam, LPARAM lParam)
    {
        ++closingCalendar_;
        const LRESULT result = defWindowProc(Message, wParam, lParam);
        --closingCalendar_;
        return result;
    }

    CalendarWatch calendarWatch_{*this};
    int closingCalendar_ = 0; // messages of the picker on the stack in which it may close the calendar
};

} // namespace Kestrel
