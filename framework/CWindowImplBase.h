#pragma once

#include "framework/CWindow.h"
#include "framework/Message.h"

#include <windows.h>

namespace Kestrel {

// What CWindowImpl and CDialogImpl share: binding a window to its object, the window and dialog
// procedures (the noexcept boundary between user32 and our handlers), subclassing, and the
// final-message hook. The object is found through the window's GWLP_USERDATA, which is set on
// the window's first message and cleared when the window goes (or the object does).
class CWindowImplBase : public CWindow {
public:
    CWindowImplBase(const CWindowImplBase&) = delete;
    CWindowImplBase& operator=(const CWindowImplBase&) = delete;

    // The virtual operations, in this order.

    // Offers a message to the window's map: true when a handler took it, with its answer in
    // message.result.
    virtual bool processWindowMessage(Message& message) = 0;
    // A window still alive when its object goes is let go first: a subclassed window gets its
    // previous procedure back, a window or dialog of our own is destroyed.
    virtual ~CWindowImplBase();
    // The procedure that subclassing installs.
    [[nodiscard]] virtual WNDPROC getWindowProc() const noexcept { return windowProc; }
    // Runs once, after WM_NCDESTROY has been handled and the object let go of the window (and
    // after every message of the window still on the stack has returned). The object may delete
    // itself here.
    virtual void onFinalMessage(HWND window);

    // Takes over an existing window of this thread: every message goes to the map first, and what
    // the map does not take goes to the window's previous procedure. False when this object has
    // a window already, the window does not exist, or something else keeps a value in its
    // GWLP_USERDATA.
    [[nodiscard]] bool subclassWindow(HWND window) noexcept;
    // Gives a subclassed window its previous procedure back and lets go of it. Null when that
    // cannot be done: not subclassed, or another procedure was installed over ours since.
    HWND unsubclassWindow() noexcept;

    // The default processing of a message for this window: the previous procedure of a
    // subclassed window, DefWindowProcW for one of our own. For a handler that adds to it.
    LRESULT defWindowProc(UINT id, WPARAM wParam, LPARAM lParam) noexcept
    {
        return callPrevious(handle(), id, wParam, lParam);
    }

protected:
    CWindowImplBase() noexcept = default;

    static LRESULT CALLBACK windowProc(HWND window, UINT id, WPARAM wParam, LPARAM lParam) noexcept;
    static INT_PTR CALLBACK dialogProc(HWND window, UINT id, WPARAM wParam, LPARAM lParam) noexcept;

    // For the time of one creation call (CreateWindowExW, CreateDialogParamW, DialogBoxParamW),
    // the next unbound window that reaches our procedures on this thread belongs to the owner.
    // That is the window being created: its first message (before WM_NCCREATE, or before
    // WM_SETFONT for a dialog) comes while the call runs, and before any other window of ours.
    class CreationScope {
    public:
        // previous: the default procedure of the window (DefWindowProcW; null for dialogs).
        CreationScope(CWindowImplBase& owner, WNDPROC previous) noexcept;
        ~CreationScope();
        CreationScope(const CreationScope&) = delete;
        CreationScope& operator=(const CreationScope&) = delete;

    private:
        CWindowImplBase& owner_;
    };

    // Set by CDialogImpl while a modal run lasts: a failing handler then ends the run with -1.
    bool modal_ = false;

private:
    enum class Outcome { NotHandled, Handled, Failed };

    [[nodiscard]] static CWindowImplBase* ownerOf(HWND window) noexcept;
    [[nodiscard]] static INT_PTR dialogAnswer(const Message& message) noexcept;
    Outcome dispatch(Message& message) noexcept;
    LRESULT callPrevious(HWND window, UINT id, WPARAM wParam, LPARAM lParam) const noexcept;
    void bind(HWND window) noexcept;
    void release(HWND window) noexcept;
    // Ends one message of the window; runs the final hook when it was the outermost one after
    // the window went. The object must not be touched after this call.
    void leave(HWND window) noexcept;

    WNDPROC previousProc_ = nullptr;
    WNDPROC installedProc_ = nullptr; // ours, while a window is subclassed
    int depth_ = 0;                   // messages of the window on the stack
    bool finished_ = false;           // the window went; the final hook is due
};

} // namespace Kestrel
