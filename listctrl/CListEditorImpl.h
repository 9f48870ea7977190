#pragma once

#include "framework/CWindowImpl.h"
#include "listctrl/ColumnId.h"
#include "listctrl/ListNotify.h"

#include <windows.h>

#include <string>

namespace Kestrel {

// What the list's in-place editors share. An editor is one of the platform's controls, created
// over a cell as a child of the list and taken over by subclassing. It lives until it loses the
// focus or an ending key is pressed; then it hides, sends EditDone (WM_NOTIFY) to the list with
// the key (0 for the loss of focus), its text and date, the row and the column identifier, and
// destroys its window. The list may open an editor again, or close it, while it handles EditDone,
// but must not delete the editor object then.
//
// T's destructor calls close(), so that the window goes while T is still whole for its last
// messages. T supplies, for this class only (befriend it):
//     static constexpr UINT controlId     the editor's child window identifier
//     bool endsOn(WPARAM key) const       whether a key press ends the edit
//     bool keepsFocus(HWND next)          whether the focus moving there stays within the editor
//     std::wstring text() const           the text EditDone carries
//     bool date(SYSTEMTIME&) const        the date EditDone carries; false for none
template <typename T>
class CListEditorImpl : public CWindowImpl<T> {
public:
    static constexpr auto messageMap()
    {
        return messageMapOf<CListEditorImpl>(onMessage<WM_GETDLGCODE, &CListEditorImpl::onGetDlgCode>,
                                             onMessage<WM_KEYDOWN, &CListEditorImpl::onKeyDown>,
                                             onMessage<WM_KILLFOCUS, &CListEditorImpl::onKillFocus>);
    }

    [[nodiscard]] bool isOpen() const noexcept { return open_; }
    [[nodiscard]] int item() const noexcept { return item_; }
    [[nodiscard]] ColumnId column() const noexcept { return column_; }

    // Ends the edit without a word to the list: for a list that goes away.
    void close() noexcept
    {
        open_ = false;
        if (this->handle())
            this->destroyWindow();
    }

protected:
    CListEditorImpl() noexcept = default;

    // Creates the control over the cell (list client coordinates) and takes it over. An editor
    // still open is closed first, without notification.
    [[nodiscard]] bool createControl(HWND list, const wchar_t* className, DWORD style, const RECT& rect,
                                     const wchar_t* text, HFONT font) noexcept
    {
        close();
        const HWND control = CreateWindowExW(0, className, text, WS_CHILD | WS_CLIPSIBLINGS | style, rect.left,
                                             rect.top, rect.right - rect.left, rect.bottom - rect.top, list,
                                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(T::controlId)),
                                             moduleInstance(), nullptr);
        if (!control)
            return false;
        if (!this->subclassWindow(control)) {
            DestroyWindow(control);
            return false;
        }
        this->sendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return true;
    }

    // Shows the control with the focus, as the editor of the cell.
    void begin(int item, ColumnId column) noexcept
    {
        item_ = item;
        column_ = column;
        open_ = true;
        ShowWindow(this->handle(), SW_SHOW);
        SetFocus(this->handle());
    }

    // Ends the edit: focus back to the list (after a key), EditDone, the window gone.
    void finish(WORD key)
    {
        if (!open_)
            return;
        open_ = false;
        const HWND window = this->handle();
        const HWND list = GetParent(window);
        const std::wstring text = self().text();
        SYSTEMTIME date{};
        const bool hasDate = self().date(date);
        const HWND focus = GetFocus();
        if (focus == window || IsChild(window, focus))
            SetFocus(list);
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ListNotifyInfo info{NMHDR{window, T::controlId, static_cast<UINT>(EditDone)}, item_, column_.value(), key,
                            text.c_str(), hasDate ? &date : nullptr};
        SendMessageW(list, WM_NOTIFY, T::controlId, reinterpret_cast<LPARAM>(&info));
        // Unless the list closed this edit or opened the next one meanwhile.
        if (this->handle() == window)
            this->destroyWindow();
    }

private:
    // Inside a dialog, Enter, Escape and Tab would otherwise go to the dialog's buttons and
    // focus order instead of ending the edit.
    LRESULT onGetDlgCode(WPARAM wParam, LPARAM lParam) noexcept
    {
        return this->defWindowProc(WM_GETDLGCODE, wParam, lParam) | DLGC_WANTALLKEYS;
    }

    LRESULT onKeyDown(WPARAM key, LPARAM flags)
    {
        if (open_ && self().endsOn(key)) {
            finish(static_cast<WORD>(key));
            return 0;
        }
        return this->defWindowProc(WM_KEYDOWN, key, flags);
    }

    LRESULT onKillFocus(HWND next)
    {
        const LRESULT result = this->defWindowProc(WM_KILLFOCUS, reinterpret_cast<WPARAM>(next), 0);
        if (open_ && !self().keepsFocus(next))
            finish(0);
        return result;
    }

    T& self() noexcept { return static_cast<T&>(*this); }

    bool open_ = false;
    int item_ = -1;
    ColumnId column_;
};

} // namespace Kestrel
