#include "listctrl/CListDate.h"

#include "listctrl/ListColumn.h"

#include <commctrl.h>

#include <cwchar>
#include <cstdio>

namespace Kestrel {

namespace {

std::wstring localeText(LCTYPE type)
{
    wchar_t text[80]{};
    if (!GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, static_cast<int>(sizeof text / sizeof text[0])))
        return {};
    return text;
}

DWORD pickerStyle(unsigned flags) noexcept
{
    DWORD style = 0;
    if (flags & FlagTimeOnly)
        style |= DTS_TIMEFORMAT;
    else
        style |= DTS_SHORTDATEFORMAT;
    if (flags & FlagEditNoDate)
        style |= DTS_SHOWNONE;
    return style;
}

} // namespace

bool CListDate::open(HWND list, int item, ColumnId column, const RECT& cell, const SYSTEMTIME* date, unsigned flags,
                     HFONT font)
{
    if (!createControl(list, DATETIMEPICK_CLASSW, pickerStyle(flags), cell, L"", font))
        return false;
    setFormat(flags);
    if (date)
        sendMessage(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(date));
    else if (flags & FlagEditNoDate)
        sendMessage(DTM_SETSYSTEMTIME, GDT_NONE, 0);
    begin(item, column);
    return true;
}

void CListDate::setFormat(unsigned flags) const
{
    if (flags & FlagDateOnly)
        return;
    const std::wstring time = localeText((flags & FlagEditSeconds) ? LOCALE_STIMEFORMAT : LOCALE_SSHORTTIME);
    if (time.empty())
        return;
    const std::wstring format = (flags & FlagTimeOnly) ? time : localeText(LOCALE_SSHORTDATE) + L" " + time;
    sendMessage(DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(format.c_str()));
}

bool CListDate::endsOn(WPARAM key) const noexcept
{
    return (key == VK_RETURN || key == VK_ESCAPE || key == VK_TAB || key == VK_DELETE) && !droppedCalendar();
}

bool CListDate::keepsFocus(HWND next) noexcept
{
    if (!next)
        return false;
    // The picker's own parts: its check box, its up-down control.
    if (IsChild(handle(), next))
        return true;
    // The calendar, which a picker may still be about to show.
    const auto calendar = reinterpret_cast<HWND>(sendMessage(DTM_GETMONTHCAL));
    if (!calendar || next != calendar)
        return false;
    if (calendarWatch_.handle() != calendar) {
        calendarWatch_.unsubclassWindow();
        static_cast<void>(calendarWatch_.subclassWindow(calendar));
    }
    return true;
}

LRESULT CListDate::CalendarWatch::onKillFocus(HWND next)
{
    const LRESULT result = defWindowProc(WM_KILLFOCUS, reinterpret_cast<WPARAM>(next), 0);
    picker_.onCalendarLostFocus(next);
    return result;
}

void CListDate::onCalendarLostFocus(HWND next)
{
    if (!isOpen() || next == handle() || IsChild(handle(), next))
        return;
    // A calendar that the picker closes (its button pressed again, a day chosen) passes the
    // focus to its owner, the list, on the way.
    if (closingCalendar_ > 0)
        static_cast<void>(postMessage(kTakeFocusBack));
    else
        finish(0);
}

void CListDate::onTakeFocusBack() noexcept
{
    if (isOpen() && GetFocus() != handle())
        SetFocus(handle());
}

bool CListDate::date(SYSTEMTIME& date) const noexcept
{
    return sendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date)) == GDT_VALID;
}

std::wstring CListDate::text() const
{
    SYSTEMTIME value{};
    if (!date(value))
        return {};
    wchar_t text[32]{};
    std::swprintf(text, sizeof text / sizeof text[0], L"%04d%02d%02d%02d%02d%02d", value.wYear, value.wMonth,
                  value.wDay, value.wHour, value.wMinute, value.wSecond);
    return text;
}

} // namespace Kestrel
