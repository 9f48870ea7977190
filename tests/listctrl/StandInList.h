#pragma once

#include "framework/CWindowImpl.h"
#include "framework/GdiObject.h"
#include "listctrl/ListNotify.h"

#include <optional>
#include <string>
#include <vector>

namespace KestrelTest {

// What one EditDone notification carried, copied while it was sent.
struct EditDoneRecord {
    int item = -1;
    int subItem = -1;
    WORD exitKey = 0;
    std::wstring text;
    std::optional<SYSTEMTIME> date;
    bool senderAlive = false; // the editor's window still existed while it notified
};

struct MouseRecord {
    UINT message = 0;
    WPARAM wParam = 0;
    POINT point{};
};

// Plays the list for the title tip and the editors: a window with a vertical scroll bar (a
// non-client area to hit) that records the mouse messages and EditDone notifications it gets.
class StandInList : public Kestrel::CWindowImpl<StandInList> {
public:
    static constexpr auto messageMap()
    {
        return Kestrel::messageMapOf<StandInList>(
            Kestrel::onMessage<WM_NOTIFY, &StandInList::onNotify>,
            Kestrel::onMessage<WM_MOUSEMOVE, &StandInList::onMouse<WM_MOUSEMOVE>>,
            Kestrel::onMessage<WM_LBUTTONDOWN, &StandInList::onMouse<WM_LBUTTONDOWN>>,
            Kestrel::onMessage<WM_NCLBUTTONDOWN, &StandInList::onMouse<WM_NCLBUTTONDOWN>>);
    }

    // The one stand-in of the run, visible and active at screen (100, 100), nothing recorded yet.
    // It lives as long as the process: under Wine without a window manager, destroying an active
    // window waits two seconds for one.
    static StandInList& fresh()
    {
        static StandInList list;
        if (!list.handle())
            static_cast<void>(list.create(nullptr, RECT{100, 100, 420, 300}, L"List",
                                          WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_CLIPCHILDREN));
        list.editDone.clear();
        list.mouse.clear();
        return list;
    }

    std::vector<EditDoneRecord> editDone;
    std::vector<MouseRecord> mouse;

private:
    void onNotify(WPARAM, LPARAM lParam)
    {
        const auto& info = *reinterpret_cast<const Kestrel::ListNotifyInfo*>(lParam);
        if (static_cast<int>(info.header.code) != Kestrel::EditDone)
            return;
        editDone.push_back({info.item, info.subItem, info.exitKey, info.text ? info.text : L"",
                            info.date ? std::optional(*info.date) : std::nullopt,
                            IsWindow(info.header.hwndFrom) != FALSE});
    }

    template <UINT Message>
    void onMouse(WPARAM wParam, LPARAM lParam)
    {
        mouse.push_back({Message, wParam, POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}});
    }
};

// The system's message font, in which the list draws and edits its cells.
inline Kestrel::Font messageFont()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return Kestrel::Font();
    return Kestrel::Font(CreateFontIndirectW(&metrics.lfMessageFont));
}

} // namespace KestrelTest
