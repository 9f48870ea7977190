#pragma once

#include "framework/CDialogImpl.h"
#include "framework/CHyperLink.h"
#include "framework/DialogDpiLayout.h"
#include "framework/WindowIcons.h"
#include "resources/AboutDialog.h"

#include <string>

// The About box: product name and version, the program icon, and a link to the help page's
// section about the program. Run modally; OK or Enter ends it with 1, the close box or Esc with 2.
class WipewellAboutDlg : public Kestrel::CDialogImpl<WipewellAboutDlg> {
public:
    static constexpr UINT templateId = IDD_ABOUT;

    static constexpr auto messageMap()
    {
        return Kestrel::messageMapOf<WipewellAboutDlg>(
            Kestrel::onMessage<WM_INITDIALOG, &WipewellAboutDlg::onInitDialog>,
            Kestrel::onMessage<WM_DPICHANGED, &WipewellAboutDlg::onDpiChanged>,
            Kestrel::onCommand<IDOK, &WipewellAboutDlg::onOk>,
            Kestrel::onCommand<IDCANCEL, &WipewellAboutDlg::onCancel>);
    }

    // Where the link leads: the local help page beside the program, at its About section (it
    // works offline).
    [[nodiscard]] static std::wstring linkTarget();

    [[nodiscard]] const Kestrel::CHyperLink& link() const noexcept { return link_; }

private:
    bool onInitDialog(HWND defaultFocus, LPARAM initParam);
    void onDpiChanged(Kestrel::Dpi dpi, const RECT& suggested);
    // The program icon in the title bar and in the box, at the sizes for the box's DPI.
    void setIcons();
    void onOk() const noexcept { endDialog(1); }
    void onCancel() const noexcept { endDialog(2); }

    Kestrel::CHyperLink link_;
    Kestrel::DialogDpiLayout layout_;
    // The window shows them until it is gone, which is before this object goes.
    Kestrel::WindowIcons icons_;
};
