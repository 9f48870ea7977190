#include "app/WipewellMainDlg.h"

#include "app/ClipboardText.h"
#include "foundation/LogFile.h"

#include <shellapi.h>

#include <vector>

// The task rows beyond adding and erasing them: why the focus row failed, in the line below the
// list; the row menu (right click, Shift+F10, the menu key) to copy that reason, open the log,
// retry, remove and clear finished rows; and Del, which removes as the menu's Remove does. A row
// in progress is never removed: its worker reports to it.

// The row menu opens on the key press, once: the system would also make a menu of the menu key's
// release (DefWindowProc's WM_CONTEXTMENU), which is therefore kept from the list, as is the F10
// release after Shift+F10, which would otherwise open the window's system menu.
bool WipewellMainDlg::handleTaskListKey(const MSG& message)
{
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    switch (message.message) {
    case WM_KEYDOWN:
        if (message.wParam == VK_DELETE)
            removeSelectedRows();
        else if (message.wParam == VK_APPS)
            onTaskListMenu(kMenuBelowFocusRow);
        return message.wParam == VK_DELETE || message.wParam == VK_APPS;
    case WM_KEYUP:
        return message.wParam == VK_APPS;
    case WM_SYSKEYDOWN:
        if (message.wParam == VK_F10 && shift)
            onTaskListMenu(kMenuBelowFocusRow);
        return message.wParam == VK_F10 && shift;
    case WM_SYSKEYUP:
        return message.wParam == VK_F10 && shift;
    default:
        return false;
    }
}

void WipewellMainDlg::showRowReason()
{
    const std::wstring reason = taskList_.rowReason(taskList_.getFocusItem());
    // Set only when it changes: a screen reader announces each new name of the line.
    if (reasonLine_.windowText() == reason)
        return;
    static_cast<void>(reasonLine_.setWindowText(reason.c_str()));
}

void WipewellMainDlg::onTaskRightClick(const Kestrel::ListNotifyInfo&)
{
    showRowReason();
    const DWORD where = GetMessagePos();
    onTaskListMenu(POINT{static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))});
}

void WipewellMainDlg::onTaskListMenu(POINT screen)
{
    if (screen.x == kMenuBelowFocusRow.x && screen.y == kMenuBelowFocusRow.y) {
        // From the keyboard: below the focus row's start, or at the list's top corner.
        const int focus = taskList_.getFocusItem();
        RECT row = focus >= 0 ? taskList_.itemRect(focus) : RECT{};
        if (IsRectEmpty(&row))
            row = RECT{0, 0, 0, taskList_.headerHeight()};
        screen = POINT{row.left, row.bottom};
        ClientToScreen(taskList_.handle(), &screen);
    }
    switch (chooseTaskRowCommand(handle(), screen, rowOffer())) {
    case TaskRowCommand::CopyReason:
        copyRowReason();
        break;
    case TaskRowCommand::OpenLog:
        openLog();
        break;
    case TaskRowCommand::Retry:
        retrySelectedRows();
        break;
    case TaskRowCommand::Remove:
        removeSelectedRows();
        break;
    case TaskRowCommand::ClearFinished:
        clearFinishedRows();
        break;
    case TaskRowCommand::None:
        break;
    }
}

TaskRowOffer WipewellMainDlg::rowOffer()
{
    TaskRowOffer offer;
    offer.reason = !taskList_.rowReason(taskList_.getFocusItem()).empty();
    std::vector<int> rows;
    taskList_.selectedRows(rows);
    for (const int row : rows) {
        const std::optional<EraseStatus> status = taskList_.rowStatus(row);
        offer.retry = offer.retry || status == EraseStatus::Failed || status == EraseStatus::Aborted;
        offer.remove = offer.remove || (status && status != EraseStatus::InProgress);
    }
    for (int row = 0; row < taskList_.getItemCount() && !offer.clearFinished; ++row) {
        const std::optional<EraseStatus> status = taskList_.rowStatus(row);
        offer.clearFinished =
            status == EraseStatus::Done || status == EraseStatus::Failed || status == EraseStatus::Aborted;
    }
    return offer;
}

void WipewellMainDlg::copyRowReason()
{
    const std::wstring reason = taskList_.rowReason(taskList_.getFocusItem());
    if (!reason.empty())
        static_cast<void>(copyTextToClipboard(handle(), reason));
}

// The log with the program the user opens such files with (Notepad, by default).
void WipewellMainDlg::openLog()
{
    ShellExecuteW(handle(), L"open", Kestrel::logFilePath().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void WipewellMainDlg::retrySelectedRows()
{
    std::vector<int> rows;
    taskList_.selectedRows(rows);
    for (const int row : rows)
        static_cast<void>(taskList_.retryRow(row));
    showRowReason();
}

void WipewellMainDlg::removeSelectedRows()
{
    std::vector<int> rows;
    taskList_.selectedRows(rows);
    if (taskList_.removeRows(rows) > 0)
        showRowReason();
}

void WipewellMainDlg::clearFinishedRows()
{
    if (taskList_.removeFinishedRows() > 0)
        showRowReason();
}
