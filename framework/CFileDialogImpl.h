#pragma once

#include "framework/CWindow.h"
#include "framework/HandlerFailure.h"

#include <windows.h>
#include <commdlg.h>

namespace Kestrel {

// The platform's open-file dialog (GetOpenFileNameW, Explorer style) run for a class T, which
// fills the description (openFileName()) before doModal: buffer, filter, flags. The dialog's hook
// hands T the end of its initialisation:
//     void onInitDone()
// This template's version centres the dialog over its owner; T may declare its own. Every other
// notification gets the platform's default behaviour.
//
//     class OpenDialog : public Kestrel::CFileDialogImpl<OpenDialog> { ... };
//     OpenDialog dialog;   // fills openFileName().lpstrFile and nMaxFile
//     if (dialog.doModal(GetActiveWindow())) ...
template <typename T>
class CFileDialogImpl {
public:
    CFileDialogImpl(const CFileDialogImpl&) = delete;
    CFileDialogImpl& operator=(const CFileDialogImpl&) = delete;

    // Runs the dialog modally over the owner; true when the user confirmed. After false,
    // extendedError() tells a cancel (0) from a failure (FNERR_BUFFERTOOSMALL, CDERR_...). A hook
    // handler that failed has its exception thrown from here once the dialog has gone.
    [[nodiscard]] bool doModal(HWND owner)
    {
        ofn_.hwndOwner = owner;
        ofn_.Flags |= OFN_EXPLORER | OFN_ENABLEHOOK;
        ofn_.lpfnHook = hookProc;
        ofn_.lCustData = reinterpret_cast<LPARAM>(this);
        const bool confirmed = GetOpenFileNameW(&ofn_) != FALSE;
        extendedError_ = confirmed ? 0 : CommDlgExtendedError();
        dialog_.detach();
        rethrowHandlerFailure();
        return confirmed;
    }

    [[nodiscard]] DWORD extendedError() const noexcept { return extendedError_; }

    // The dialog window (the hook's parent) is known while the dialog runs.
    void onInitDone() const noexcept { static_cast<void>(dialog_.centerWindow()); }

protected:
    CFileDialogImpl() noexcept { ofn_.lStructSize = sizeof ofn_; }

    [[nodiscard]] OPENFILENAMEW& openFileName() noexcept { return ofn_; }

private:
    // With OFN_EXPLORER the hook is the procedure of an empty child dialog inside the real one:
    // it answers 0 for everything, which leaves the platform's processing as it is.
    static UINT_PTR CALLBACK hookProc(HWND hook, UINT message, WPARAM, LPARAM lParam) noexcept
    {
        if (message == WM_INITDIALOG) {
            const auto& description = *reinterpret_cast<const OPENFILENAMEW*>(lParam);
            auto* self = reinterpret_cast<CFileDialogImpl*>(description.lCustData);
            self->dialog_.attach(GetParent(hook));
            SetWindowLongPtrW(hook, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
            return 0;
        }
        if (message != WM_NOTIFY || reinterpret_cast<const NMHDR*>(lParam)->code != CDN_INITDONE)
            return 0;
        auto* self = reinterpret_cast<CFileDialogImpl*>(GetWindowLongPtrW(hook, DWLP_USER));
        if (!self)
            return 0;
        try {
            static_cast<T&>(*self).onInitDone();
        } catch (...) {
            keepHandlerFailure();
        }
        return 0;
    }

    OPENFILENAMEW ofn_{};
    CWindow dialog_;
    DWORD extendedError_ = 0;
};

} // namespace Kestrel
