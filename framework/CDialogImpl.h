#pragma once

#include "framework/CWindowImplBase.h"
#include "framework/HandlerFailure.h"
#include "framework/MessageMap.h"
#include "framework/WindowClass.h"

namespace Kestrel {

// A dialog made from the dialog template resource T::templateId, whose messages go to T's static
// message map. A handled message answers TRUE with its result in DWLP_MSGRESULT (or, for
// WM_INITDIALOG and the few messages the dialog manager reads directly, as the answer itself);
// a message the map leaves gets the dialog manager's default processing.
//
//     class AboutDlg : public Kestrel::CDialogImpl<AboutDlg> {
//     public:
//         static constexpr UINT templateId = 100;
//         static constexpr auto messageMap()
//         {
//             return Kestrel::messageMapOf<AboutDlg>(
//                 Kestrel::onMessage<WM_INITDIALOG, &AboutDlg::onInitDialog>,
//                 Kestrel::onCommand<IDOK, &AboutDlg::onClose>,
//                 Kestrel::onCommand<IDCANCEL, &AboutDlg::onClose>);
//         }
//     private:
//         bool onInitDialog(HWND, LPARAM) { return true; }
//         void onClose(const Kestrel::Command& command) { endDialog(command.id); }
//     };
//
//     AboutDlg about;
//     about.doModal(GetActiveWindow());
template <typename T>
class CDialogImpl : public CWindowImplBase {
public:
    // Creates the dialog modeless; null when this object has a window already or creation
    // failed. initParam reaches the WM_INITDIALOG handler. A handler that failed during the
    // creation has its exception thrown from here.
    [[nodiscard]] HWND create(HWND parent, LPARAM initParam = 0)
    {
        if (handle())
            return nullptr;
        HWND window = nullptr;
        {
            CreationScope scope(*this, nullptr);
            window = CreateDialogParamW(moduleInstance(), MAKEINTRESOURCEW(T::templateId), parent, dialogProc,
                                        initParam);
        }
        rethrowHandlerFailure();
        return window;
    }

    // Runs the dialog modally and answers what endDialog was given; -1 when the dialog could not
    // be created. A handler that failed ends the run; its exception is thrown from here.
    INT_PTR doModal(HWND parent = GetActiveWindow(), LPARAM initParam = 0)
    {
        if (handle())
            return -1;
        INT_PTR result = -1;
        {
            CreationScope scope(*this, nullptr);
            modal_ = true;
            result = DialogBoxParamW(moduleInstance(), MAKEINTRESOURCEW(T::templateId), parent, dialogProc, initParam);
            modal_ = false;
        }
        rethrowHandlerFailure();
        return result;
    }

    // Ends a modal run with the result; the window goes when the run returns. (A modeless
    // dialog ends with destroyWindow.)
    void endDialog(INT_PTR result) const noexcept { EndDialog(handle(), result); }

    bool processWindowMessage(Message& message) override
    {
        return processMessageMap(static_cast<T&>(*this), message);
    }

protected:
    CDialogImpl() noexcept = default;
};

} // namespace Kestrel
