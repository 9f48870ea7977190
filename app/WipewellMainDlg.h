#pragma once

#include "framework/CDialogImpl.h"
#include "framework/CIdleHandler.h"
#include "framework/CMessageFilter.h"
#include "framework/CWindow.h"
#include "framework/IconHandle.h"
#include "resources/ProgramResources.h"

#include <windows.h>

// The program's main window: a modeless dialog with the command buttons and the erasing tasks.
// Closing it (close box, Alt+F4, Esc) posts the quit message with the cancel command's
// identifier, 2, which becomes the process's exit code.
class WipewellMainDlg : public Kestrel::CDialogImpl<WipewellMainDlg>,
                        public Kestrel::CMessageFilter,
                        public Kestrel::CIdleHandler {
public:
    static constexpr UINT templateId = IDD_MAIN;

    static constexpr auto messageMap()
    {
        return Kestrel::messageMapOf<WipewellMainDlg>(
            Kestrel::onMessage<WM_INITDIALOG, &WipewellMainDlg::onInitDialog>,
            Kestrel::onMessage<WM_DESTROY, &WipewellMainDlg::onDestroy>,
            Kestrel::onCommand<ID_APP_ABOUT, &WipewellMainDlg::onAbout>,
            Kestrel::onCommand<IDOK, &WipewellMainDlg::onErase>,
            Kestrel::onCommand<IDCANCEL, &WipewellMainDlg::onCancel>,
            Kestrel::onCommand<IDC_ADD_FILE, &WipewellMainDlg::onAddFile>,
            Kestrel::onCommand<IDC_ADD_FOLDER, &WipewellMainDlg::onAddFolder>,
            Kestrel::onCommand<IDC_STOP_SELECTED, &WipewellMainDlg::onStopSelected>,
            Kestrel::onCommand<IDC_SHOW_HELP, &WipewellMainDlg::onHelp>);
    }

    WipewellMainDlg() = default;

    // Relays mouse messages to the button tips and runs the dialog keys (Tab, Enter, Esc).
    bool preTranslateMessage(MSG& message) override;
    bool onIdle() override { return false; }

    [[nodiscard]] HWND tooltip() const noexcept { return tooltip_.handle(); }

private:
    bool onInitDialog(HWND defaultFocus, LPARAM initParam);
    void onDestroy();
    void onAbout();
    void onErase();
    void onCancel();
    void onAddFile();
    void onAddFolder();
    void onStopSelected();
    void onHelp();

    void setIcons();
    void attachButtons();
    void createTooltip();
    void addTool(const Kestrel::CWindow& button, const wchar_t* text) const;
    void closeDialog(int exitCode);

    Kestrel::CWindow addFileButton_;
    Kestrel::CWindow addFolderButton_;
    Kestrel::CWindow stopSelectedButton_;
    Kestrel::CWindow eraseButton_;
    Kestrel::CWindow helpButton_;
    Kestrel::CWindow aboutButton_;
    // Owned by the dialog window, so the system destroys it with the dialog.
    Kestrel::CWindow tooltip_;
    Kestrel::IconHandle bigIcon_;
    Kestrel::IconHandle smallIcon_;
};
