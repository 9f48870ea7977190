#include "app/WipewellMainDlg.h"

#include "app/HelpPage.h"
#include "app/MessageBox.h"
#include "app/WipewellAboutDlg.h"
#include "foundation/Logger.h"
#include "framework/CAppModule.h"
#include "framework/CMessageLoop.h"
#include "framework/WindowClass.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

namespace {

using Kestrel::LogLevel;

constexpr const wchar_t* kNothingWaitingText = L"There is not task waiting for erasing. ";
constexpr const wchar_t* kConfirmEraseText =
    L"Are you sure to erase the files and folders? \r\nYou will not be able to undo this operation! \r\n\r\n"
    L"Please close all applications which may use the files you want to erase before you click Yes. ";
constexpr const wchar_t* kConfirmExitText = L"Are you sure to abort the erasing task and exit? ";

Kestrel::CMessageLoop* threadLoop() noexcept
{
    return Kestrel::CAppModule::instance().getMessageLoop();
}

template <typename... Args>
void log(LogLevel level, const wchar_t* format, Args... args)
{
    Kestrel::Logger::instance().log(level, format, args...);
}

} // namespace

WipewellMainDlg::~WipewellMainDlg()
{
    destroyWindow();
    if (workerRunning_)
        static_cast<void>(currentTask_.release());
}

bool WipewellMainDlg::preTranslateMessage(MSG& message)
{
    if (!isWindow())
        return false;
    if (tooltip_.isWindow())
        tooltip_.sendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
    const HWND focusBefore = GetFocus();
    const bool handled = IsDialogMessageW(handle(), &message) != FALSE;
    followFocus(focusBefore);
    return handled;
}

// A click moves the focus past the dialog manager, which then leaves the default button where
// it was: Enter on a clicked Stop Selected would press Erase!. Moved again its way, the focus
// makes the button that has it the default one, or Erase! again for the list.
void WipewellMainDlg::followFocus(HWND focusBefore)
{
    const HWND focus = GetFocus();
    if (focus != focusBefore && focus && IsChild(handle(), focus))
        moveFocusTo(focus);
}

bool WipewellMainDlg::onInitDialog(HWND, LPARAM)
{
    layout_.capture(handle());
    static_cast<void>(centerWindow());
    setIcons();
    if (Kestrel::CMessageLoop* loop = threadLoop()) {
        loop->addMessageFilter(this);
        loop->addIdleHandler(this);
    }
    attachControls();
    createTooltip();
    DragAcceptFiles(handle(), TRUE);
    // The dialog manager's default focus does not make the focused button the default one, and
    // Enter would then press Erase! from Add File...; moved this way, it does.
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

void WipewellMainDlg::attachControls()
{
    addFileButton_.attach(getDlgItem(IDC_ADD_FILE));
    addFolderButton_.attach(getDlgItem(IDC_ADD_FOLDER));
    stopSelectedButton_.attach(getDlgItem(IDC_STOP_SELECTED));
    eraseButton_.attach(getDlgItem(IDOK));
    helpButton_.attach(getDlgItem(IDC_SHOW_HELP));
    aboutButton_.attach(getDlgItem(ID_APP_ABOUT));
    currentTask_.reset();
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

bool WipewellMainDlg::startNextTask()
{
    if (closing_ || exitQuestionOpen_ || workerRunning_ || taskList_.firstRunningRow() >= 0)
        return false;
    const int row = taskList_.firstWaitingRow();
    if (row < 0)
        return false;
    taskList_.setRowStatus(row, EraseStatus::InProgress);
    currentTask_ = std::make_unique<EraseTask>();
    if (!taskList_.copyTask(row, *currentTask_)) {
        taskList_.setRowStatus(row, EraseStatus::Failed);
        return false;
    }
    static_cast<void>(setTimer(kProgressTimer, kProgressPeriod));
    if (currentTask_->start()) {
        workerRunning_ = true;
        log(LogLevel::Info, L"Start to erase: %s. ", currentTask_->path().c_str());
        return true;
    }
    log(LogLevel::Error, L"Failed to start erase.");
    // The record as well as the row: nothing may take a task without a worker for a running one.
    currentTask_->setStatus(EraseStatus::Failed);
    taskList_.setRowStatus(row, EraseStatus::Failed);
    return false;
}

void WipewellMainDlg::onTimer(UINT_PTR id)
{
    if (id != kProgressTimer)
        return;
    const int row = taskList_.firstRunningRow();
    if (row < 0)
        return;
    if (currentTask_ && currentTask_->status() == EraseStatus::InProgress)
        taskList_.setRowProgress(row, currentTask_->progress());
}

void WipewellMainDlg::onEraseTaskFinished()
{
    if (!currentTask_)
        return;
    workerRunning_ = false;
    killTimer(kProgressTimer);
    recordOutcome(taskList_.firstRunningRow(), *currentTask_);
    currentTask_.reset();
    if (closing_)
        finishClosing();
    else
        startNextTask();
}

void WipewellMainDlg::recordOutcome(int row, const EraseTask& task)
{
    const std::wstring path = task.path();
    switch (task.status()) {
    case EraseStatus::Done:
        taskList_.setRowProgress(row, 100.0);
        taskList_.setRowStatus(row, EraseStatus::Done);
        log(LogLevel::Info, L"File erased: %s. ", path.c_str());
        break;
    case EraseStatus::Aborted:
        taskList_.setRowProgress(row, 0.0);
        taskList_.setRowStatus(row, EraseStatus::Aborted);
        log(LogLevel::Info, L"Cancel erasing: %s. ", path.c_str());
        break;
    case EraseStatus::Failed:
        taskList_.setRowProgress(row, 0.0);
        taskList_.setRowStatus(row, EraseStatus::Failed);
        log(LogLevel::Error, L"Failed to erase: %s. ", path.c_str());
        break;
    default:
        break;
    }
}

void WipewellMainDlg::onAbout()
{
    WipewellAboutDlg about;
    about.doModal(GetActiveWindow());
}

void WipewellMainDlg::onErase()
{
    if (taskList_.firstWaitingRow() < 0) {
        showMessage(handle(), kNothingWaitingText, MB_OK);
        return;
    }
    if (showMessage(handle(), kConfirmEraseText, MB_YESNO | MB_ICONQUESTION) == IDYES)
        startNextTask();
}

void WipewellMainDlg::onCancel()
{
    if (closing_ || !confirmExit())
        return;
    closeDialog(IDCANCEL);
}

void WipewellMainDlg::onStopSelected()
{
    std::vector<int> rows;
    taskList_.selectedRows(rows);
    for (const int row : rows)
        stopRow(row);
}

LRESULT WipewellMainDlg::onTaskLinkClicked(const Kestrel::ListNotifyInfo& info)
{
    if (info.item < 0 || info.item >= taskList_.getItemCount())
        return -1;
    stopRow(info.item);
    return 0;
}

void WipewellMainDlg::stopRow(int row)
{
    if (taskList_.isRowRunning(row)) {
        stopCurrentTask();
    } else if (taskList_.isRowWaiting(row)) {
        taskList_.setRowStatus(row, EraseStatus::Aborted);
        taskList_.setRowProgress(row, 0.0);
    }
}

void WipewellMainDlg::onHelp()
{
    openHelpPage();
}

bool WipewellMainDlg::stopCurrentTask()
{
    // The worker may end between any two looks at its status: only the request's own answer says
    // whether the task was still running to be stopped.
    if (!currentTask_ || !currentTask_->requestAbort())
        return false;
    killTimer(kProgressTimer);
    log(LogLevel::Info, L"Cancel to erase: %s. ", currentTask_->path().c_str());
    return true;
}

bool WipewellMainDlg::confirmExit()
{
    if (taskList_.firstRunningRow() < 0)
        return true;
    if (!askToExit()) {
        // A task that ended while the question was open started nothing: the queue goes on now.
        startNextTask();
        return false;
    }
    stopCurrentTask();
    return true;
}

bool WipewellMainDlg::askToExit()
{
    // The box runs its own message loop, in which the running task may end; a task started there
    // would be cut short part-way by a Yes.
    exitQuestionOpen_ = true;
    const bool yes = showMessage(handle(), kConfirmExitText, MB_YESNO | MB_ICONQUESTION) == IDYES;
    exitQuestionOpen_ = false;
    return yes;
}

void WipewellMainDlg::closeDialog(int exitCode)
{
    exitCode_ = exitCode;
    if (workerRunning_) {
        // Closing: the window stays (hidden) to receive the worker's report, and no task starts.
        closing_ = true;
        showWindow(SW_HIDE);
        return;
    }
    finishClosing();
}

void WipewellMainDlg::finishClosing()
{
    currentTask_.reset();
    destroyWindow();
    PostQuitMessage(exitCode_);
}
