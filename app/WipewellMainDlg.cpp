#include "app/WipewellMainDlg.h"

#include "app/EraseQuestion.h"
#include "app/HelpPage.h"
#include "app/MessageBox.h"
#include "app/TaskbarFlash.h"
#include "app/UserTexts.h"
#include "app/WipewellAboutDlg.h"
#include "foundation/Logger.h"
#include "framework/CAppModule.h"
#include "framework/CMessageLoop.h"
#include "framework/WindowClass.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

namespace {

Kestrel::CMessageLoop* threadLoop() noexcept
{
    return Kestrel::CAppModule::instance().getMessageLoop();
}

} // namespace

WipewellMainDlg::WipewellMainDlg()
    : scheduler_(
          taskList_, [](EraseTask& task) { return task.start(); },
          [this](bool run) { switchProgressClock(run); },
          [this](const StatusTally& outcome) { onQueueEnded(outcome); })
{
}

WipewellMainDlg::~WipewellMainDlg()
{
    destroyWindow();
}

bool WipewellMainDlg::preTranslateMessage(MSG& message)
{
    if (!isWindow())
        return false;
    if (tooltip_.isWindow())
        tooltip_.sendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
    if (message.hwnd == taskList_.handle() && handleTaskListKey(message))
        return true;
    const HWND focusBefore = GetFocus();
    const bool handled = IsDialogMessageW(handle(), &message) != FALSE;
    followFocus(focusBefore);
    return handled;
}

// A click moves the focus past the dialog manager, which then leaves the default button where
// it was: Enter on a clicked Stop Selected would press the button focused before. Moved again its
// way, the focus makes the button that has it the default one, or none for the list.
void WipewellMainDlg::followFocus(HWND focusBefore)
{
    const HWND focus = GetFocus();
    if (focus != focusBefore && focus && IsChild(handle(), focus))
        moveFocusTo(focus);
}

bool WipewellMainDlg::onInitDialog(HWND, LPARAM)
{
    layout_.capture(handle(), kAnchors);
    layout_.setMinimumClientSize(handle(), kMinimumClient);
    sendMessage(DM_SETDEFID, kNoDefaultCommand);
    static_cast<void>(centerWindow());
    setIcons();
    if (Kestrel::CMessageLoop* loop = threadLoop())
        loop->addMessageFilter(this);
    attachControls();
    createTooltip();
    DragAcceptFiles(handle(), TRUE);
    // The dialog manager's default focus does not make the focused button the default one, and
    // Enter would then press nothing from Add File...; moved this way, it does.
    moveFocusTo(addFileButton_.handle());
    return false;
}

void WipewellMainDlg::moveFocusTo(HWND control)
{
    sendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

void WipewellMainDlg::setIcons()
{
    icons_.set(handle(), Kestrel::moduleInstance(), IDI_PROGRAM, layout_.dpi());
}

void WipewellMainDlg::onDpiChanged(Kestrel::Dpi dpi, const RECT& suggested)
{
    layout_.apply(handle(), dpi, suggested);
    setIcons();
    taskList_.setDpi(dpi);
}

void WipewellMainDlg::onSize(UINT, SIZE)
{
    layout_.resize(handle());
}

void WipewellMainDlg::onGetMinMaxInfo(MINMAXINFO* limits)
{
    if (limits)
        layout_.limit(handle(), *limits);
}

void WipewellMainDlg::attachControls()
{
    addFileButton_.attach(getDlgItem(IDC_ADD_FILE));
    addFolderButton_.attach(getDlgItem(IDC_ADD_FOLDER));
    addFreeSpaceButton_.attach(getDlgItem(IDC_ADD_FREE_SPACE));
    addRecycleBinButton_.attach(getDlgItem(IDC_ADD_RECYCLE_BIN));
    stopSelectedButton_.attach(getDlgItem(IDC_STOP_SELECTED));
    eraseButton_.attach(getDlgItem(IDOK));
    helpButton_.attach(getDlgItem(IDC_SHOW_HELP));
    aboutButton_.attach(getDlgItem(ID_APP_ABOUT));
    reasonLine_.attach(getDlgItem(IDC_ROW_REASON));
    // A list that could not load its artwork still holds and reports the rows.
    static_cast<void>(taskList_.attach(getDlgItem(IDC_TASK_LIST)));
    taskList_.setFocusSubItem(true);
}

void WipewellMainDlg::createTooltip()
{
    tooltip_.attach(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, handle(), nullptr, Kestrel::moduleInstance(),
                                    nullptr));
    if (!tooltip_.handle())
        return;
    tooltip_.sendMessage(TTM_ACTIVATE, TRUE);
    addTool(addFileButton_, UserTexts::kAddFileTip);
    addTool(addFolderButton_, UserTexts::kAddFolderTip);
    addTool(addFreeSpaceButton_, UserTexts::kAddFreeSpaceTip);
    addTool(addRecycleBinButton_, UserTexts::kAddRecycleBinTip);
    addTool(helpButton_, UserTexts::kHelpTip);
    addTool(aboutButton_, UserTexts::kAboutTip);
    addTool(stopSelectedButton_, UserTexts::kStopSelectedTip);
    addTool(eraseButton_, UserTexts::kEraseTip);
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
    if (Kestrel::CMessageLoop* loop = threadLoop())
        loop->removeMessageFilter(this);
}

void WipewellMainDlg::switchProgressClock(bool run)
{
    if (run)
        static_cast<void>(setTimer(kProgressTimer, kProgressPeriod));
    else
        killTimer(kProgressTimer);
}

void WipewellMainDlg::onTimer(UINT_PTR id)
{
    if (id == kProgressTimer)
        scheduler_.showProgress();
}

void WipewellMainDlg::onEraseTaskFinished()
{
    if (scheduler_.taskFinished()) {
        finishClosing();
        return;
    }
    showRowReason();
}

// The line stays until the next run ends, so that a user who comes back later still reads it.
void WipewellMainDlg::onQueueEnded(const StatusTally& outcome)
{
    SetDlgItemTextW(handle(), IDC_QUEUE_OUTCOME, (L"Last run: " + outcome.text()).c_str());
    flashUnlessInFront(handle());
}

void WipewellMainDlg::onAbout()
{
    WipewellAboutDlg about;
    about.doModal(GetActiveWindow());
}

void WipewellMainDlg::onErase()
{
    if (!scheduler_.hasWaitingRow()) {
        showMessage(handle(), UserTexts::kNothingWaiting, MB_OK);
        return;
    }
    const std::wstring question = eraseQuestion(taskList_.waitingTasks());
    if (showMessage(handle(), question.c_str(), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES)
        scheduler_.startNextTask();
}

void WipewellMainDlg::onCancel()
{
    if (scheduler_.isClosing() || !scheduler_.confirmExit([this] { return askToExit(); }))
        return;
    closeDialog(IDCANCEL);
}

void WipewellMainDlg::onStopSelected()
{
    std::vector<int> rows;
    taskList_.selectedRows(rows);
    for (const int row : rows)
        scheduler_.stopRow(row);
}

LRESULT WipewellMainDlg::onTaskLinkClicked(const Kestrel::ListNotifyInfo& info)
{
    if (info.item < 0 || info.item >= taskList_.getItemCount())
        return -1;
    scheduler_.stopRow(info.item);
    return 0;
}

void WipewellMainDlg::onHelp()
{
    openHelpPage();
}

bool WipewellMainDlg::askToExit()
{
    return showMessage(handle(), UserTexts::kConfirmExit, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void WipewellMainDlg::closeDialog(int exitCode)
{
    exitCode_ = exitCode;
    if (!scheduler_.beginClosing()) {
        // The window stays (hidden) to receive the worker's report.
        showWindow(SW_HIDE);
        return;
    }
    finishClosing();
}

void WipewellMainDlg::finishClosing()
{
    scheduler_.release();
    destroyWindow();
    PostQuitMessage(exitCode_);
}
