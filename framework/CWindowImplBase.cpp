#include "framework/CWindowImplBase.h"

#include "framework/HandlerFailure.h"
#include "foundation/KeepLastError.h"

namespace Kestrel {

namespace {

thread_local CWindowImplBase* pendingOwner = nullptr;

template <typename Pointer>
Pointer readLong(HWND window, int index) noexcept
{
    return reinterpret_cast<Pointer>(GetWindowLongPtrW(window, index));
}

template <typename Pointer>
void writeLong(HWND window, int index, Pointer value) noexcept
{
    SetWindowLongPtrW(window, index, reinterpret_cast<LONG_PTR>(value));
}

} // namespace

CWindowImplBase::CreationScope::CreationScope(CWindowImplBase& owner, WNDPROC previous) noexcept : owner_(owner)
{
    owner_.previousProc_ = previous;
    pendingOwner = &owner_;
}

CWindowImplBase::CreationScope::~CreationScope()
{
    // A creation that failed before the first message leaves the owner pending.
    if (pendingOwner == &owner_)
        pendingOwner = nullptr;
}

CWindowImplBase::~CWindowImplBase()
{
    KeepLastError keep;
    if (pendingOwner == this)
        pendingOwner = nullptr;
    const HWND window = handle();
    if (!window)
        return;
    if (installedProc_ && unsubclassWindow())
        return;
    // From here on the window's messages find no object and get the default processing.
    writeLong(window, GWLP_USERDATA, nullptr);
    detach();
    if (!installedProc_)
        DestroyWindow(window);
}

void CWindowImplBase::onFinalMessage(HWND)
{
}

bool CWindowImplBase::subclassWindow(HWND window) noexcept
{
    if (handle() || !window || !IsWindow(window) || GetWindowLongPtrW(window, GWLP_USERDATA) != 0)
        return false;
    const WNDPROC ours = getWindowProc();
    writeLong(window, GWLP_USERDATA, this);
    SetLastError(ERROR_SUCCESS);
    const auto previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ours)));
    if (!previous && GetLastError() != ERROR_SUCCESS) {
        KeepLastError keep;
        writeLong(window, GWLP_USERDATA, nullptr);
        return false;
    }
    previousProc_ = previous;
    installedProc_ = ours;
    attach(window);
    return true;
}

HWND CWindowImplBase::unsubclassWindow() noexcept
{
    const HWND window = handle();
    if (!window || !installedProc_ || readLong<WNDPROC>(window, GWLP_WNDPROC) != installedProc_)
        return nullptr;
    writeLong(window, GWLP_WNDPROC, previousProc_);
    writeLong(window, GWLP_USERDATA, nullptr);
    installedProc_ = nullptr;
    previousProc_ = nullptr;
    return detach();
}

CWindowImplBase* CWindowImplBase::ownerOf(HWND window) noexcept
{
    if (auto* owner = readLong<CWindowImplBase*>(window, GWLP_USERDATA))
        return owner;
    CWindowImplBase* owner = pendingOwner;
    if (owner) {
        pendingOwner = nullptr;
        owner->bind(window);
    }
    return owner;
}

void CWindowImplBase::bind(HWND window) noexcept
{
    attach(window);
    writeLong(window, GWLP_USERDATA, this);
}

void CWindowImplBase::release(HWND window) noexcept
{
    if (installedProc_ && readLong<WNDPROC>(window, GWLP_WNDPROC) == installedProc_)
        writeLong(window, GWLP_WNDPROC, previousProc_);
    writeLong(window, GWLP_USERDATA, nullptr);
    installedProc_ = nullptr;
    detach();
    finished_ = true;
}

void CWindowImplBase::leave(HWND window) noexcept
{
    if (--depth_ > 0 || !finished_)
        return;
    finished_ = false;
    try {
        onFinalMessage(window);
    } catch (...) {
        keepHandlerFailure();
    }
}

CWindowImplBase::Outcome CWindowImplBase::dispatch(Message& message) noexcept
{
    try {
        return processWindowMessage(message) ? Outcome::Handled : Outcome::NotHandled;
    } catch (...) {
        keepHandlerFailure();
        message.result = 0;
        return Outcome::Failed;
    }
}

LRESULT CWindowImplBase::callPrevious(HWND window, UINT id, WPARAM wParam, LPARAM lParam) const noexcept
{
    if (!previousProc_)
        return DefWindowProcW(window, id, wParam, lParam);
    return CallWindowProcW(previousProc_, window, id, wParam, lParam);
}

LRESULT CALLBACK CWindowImplBase::windowProc(HWND window, UINT id, WPARAM wParam, LPARAM lParam) noexcept
{
    CWindowImplBase* self = ownerOf(window);
    if (!self)
        return DefWindowProcW(window, id, wParam, lParam);

    ++self->depth_;
    LRESULT result = 0;
    if (id == WM_NCDESTROY) {
        // The last message belongs to the previous procedure (a control frees its data here);
        // the map never sees it: onFinalMessage is the place for last work.
        result = self->callPrevious(window, id, wParam, lParam);
        self->release(window);
    } else {
        Message message{window, id, wParam, lParam};
        if (self->dispatch(message) == Outcome::NotHandled)
            result = self->callPrevious(window, id, wParam, lParam);
        else
            result = message.result;
    }
    self->leave(window);
    return result;
}

INT_PTR CALLBACK CWindowImplBase::dialogProc(HWND window, UINT id, WPARAM wParam, LPARAM lParam) noexcept
{
    CWindowImplBase* self = ownerOf(window);
    if (!self)
        return FALSE;

    ++self->depth_;
    INT_PTR answer = FALSE;
    if (id == WM_NCDESTROY) {
        self->release(window);
    } else {
        Message message{window, id, wParam, lParam};
        switch (self->dispatch(message)) {
        case Outcome::NotHandled:
            break;
        case Outcome::Handled:
            answer = dialogAnswer(message);
            break;
        case Outcome::Failed:
            if (self->modal_)
                EndDialog(window, -1);
            answer = TRUE;
            break;
        }
    }
    self->leave(window);
    return answer;
}

// A dialog procedure answers TRUE for a handled message and leaves the result in DWLP_MSGRESULT,
// except for these messages, whose result is the procedure's own answer.
INT_PTR CWindowImplBase::dialogAnswer(const Message& message) noexcept
{
    switch (message.id) {
    case WM_INITDIALOG:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return message.result;
    default:
        SetWindowLongPtrW(message.window, DWLP_MSGRESULT, message.result);
        return TRUE;
    }
}

} // namespace Kestrel
