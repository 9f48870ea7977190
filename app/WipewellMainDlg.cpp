#include "app/WipewellMainDlg.h"

#include "app/HelpPage.h"
#include "app/MessageBox.h"
#include "app/WipewellAboutDlg.h"
#include "framework/CAppModule.h"
#include "framework/CMessageLoop.h"
#include "framework/WindowClass.h"

#include <commctrl.h>
#include <shellapi.h>

namespace {

constexpr const wchar_t* kNothingWaitingText = L"There is not task waiting for erasing. ";

Kestrel::CMessageLoop* threadLoop() noexcept
{
    return Kestrel::CAppModule::instance().getMessageLoop();
}

} // namespace

bool WipewellMainDlg::preTranslateMessage(MSG& message)
{
    if (!isWindow())
        return false;
    if (tooltip_.isWindow())
        tooltip_.sendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
    return IsDialogMessageW(handle(), &message) != FALSE;
}

bool WipewellMainDlg::onInitDialog(HWND, LPARAM)
{
    static_cast<void>(centerWindow());
    setIcons();
    if (Kestrel::CMessageLoop* loop = threadLoop()) {
        loop->addMessageFilter(this);
        loop->addIdleHandler(this);
    }
    attachButtons();
    createTooltip();
    DragAcceptFiles(handle(), TRUE);
    return true;
}

void WipewellMainDlg::setIcons()
{
    const HINSTANCE module = Kestrel::moduleInstance();
    bigIcon_ = Kestrel::loadIcon(module, IDI_PROGRAM, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    smallIcon_ =
        Kestrel::loadIcon(module, IDI_PROGRAM, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    setIcon(bigIcon_.get(), true);
    setIcon(smallIcon_.get(), false);
}

void WipewellMainDlg::attachButtons()
{
    addFileButton_.attach(getDlgItem(IDC_ADD_FILE));
    addFolderButton_.attach(getDlgItem(IDC_ADD_FOLDER));
    stopSelectedButton_.attach(getDlgItem(IDC_STOP_SELECTED));
    eraseButton_.attach(getDlgItem(IDOK));
    helpButton_.attach(getDlgItem(IDC_SHOW_HELP));
    aboutButton_.attach(getDlgItem(ID_APP_ABOUT));
}

void WipewellMainDlg::createTooltip()
{
    tooltip_.attach(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, handle(), nullptr, Kestrel::moduleInstance(),
                                    nullptr));
    if (!tooltip_.handle())
        return;
    tooltip_.sendMessage(TTM_ACTIVATE, TRUE);
    addTool(addFileButton_, L"Add or drag and drop files into erasing tasks");
    addTool(addFolderButton_, L"Add or drag and drop folder into erasing tasks");
    addTool(helpButton_, L"Help");
    addTool(aboutButton_, L"About Kestrel Wipewell");
    addTool(stopSelectedButton_, L"Stop the selected erasing tasks");
    addTool(eraseButton_, L"Start erasing tasks now");
}

// Identified by the button's handle and not subclassed: the mouse messages reach the tip
// through the message filter.
void WipewellMainDlg::addTool(const Kestrel::CWindow& button, const wchar_t* text) const
{
    TTTOOLINFOW tool{};
    // The version 2 record: both the old and the version 6 common controls accept it.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = handle();
    tool.uId = reinterpret_cast<UINT_PTR>(button.handle());
    tool.lpszText = const_cast<wchar_t*>(text); // the tip keeps a copy
    tooltip_.sendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void WipewellMainDlg::onDestroy()
{
    if (Kestrel::CMessageLoop* loop = threadLoop()) {
        loop->removeMessageFilter(this);
        loop->removeIdleHandler(this);
    }
}

void WipewellMainDlg::onAbout()
{
    WipewellAboutDlg about;
    about.doModal(GetActiveWindow());
}

void WipewellMainDlg::onErase()
{
    showMessage(handle(), kNothingWaitingText, MB_OK);
}

void WipewellMainDlg::onCancel()
{
    closeDialog(IDCANCEL);
}

void WipewellMainDlg::onAddFile()
{
}

void WipewellMainDlg::onAddFolder()
{
}

void WipewellMainDlg::onStopSelected()
{
}

void WipewellMainDlg::onHelp()
{
    openHelpPage();
}

void WipewellMainDlg::closeDialog(int exitCode)
{
    destroyWindow();
    PostQuitMessage(exitCode);
}
