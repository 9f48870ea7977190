#pragma once

#include "app/DriveMenu.h"
#include "app/DropFileTarget.h"
#include "app/EraseScheduler.h"
#include "app/HandedPaths.h"
#include "app/TaskRowMenu.h"
#include "erase/EraseTask.h"
#include "framework/CDialogImpl.h"
#include "framework/CMessageFilter.h"
#include "framework/CWindow.h"
#include "framework/DialogDpiLayout.h"
#include "framework/WindowIcons.h"
#include "listctrl/ErasingTasksListCtrl.h"
#include "listctrl/ListNotify.h"
#include "resources/ProgramResources.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

// The program's main window: a modeless dialog with the command buttons, the list of erasing
// tasks, and the scheduler that erases the Waiting rows one at a time from the top. Its clock is
// a 50 ms timer, and its workers report with a message to the dialog. A close while a task runs
// hides the window until the worker has reported. Closing posts the quit message with the cancel
// command's identifier, 2, the process's exit code.
class WipewellMainDlg : public Kestrel::CDialogImpl<WipewellMainDlg>,
                        public Kestrel::CMessageFilter,
                        public Kestrel::DropFileTarget<WipewellMainDlg> {
public:
    static constexpr UINT templateId = IDD_MAIN;
    static constexpr UINT_PTR kProgressTimer = 1001;
    static constexpr UINT kProgressPeriod = 50; // milliseconds

    static constexpr auto messageMap()
    {
        using Dlg = WipewellMainDlg;
        return Kestrel::messageMapOf<Dlg>(
            Kestrel::onMessage<WM_INITDIALOG, &Dlg::onInitDialog>,
            Kestrel::onMessage<WM_DESTROY, &Dlg::onDestroy>,
            Kestrel::onMessage<WM_TIMER, &Dlg::onTimer>,
            Kestrel::onMessage<WM_COPYDATA, &Dlg::onCopyData>,
            Kestrel::onMessage<WM_DPICHANGED, &Dlg::onDpiChanged>,
            Kestrel::onMessage<WM_SIZE, &Dlg::onSize>,
            Kestrel::onMessage<WM_GETMINMAXINFO, &Dlg::onGetMinMaxInfo>,
            TaskListContextMenu{},
            Kestrel::onRegisteredMessage<&WM_ERASE_TASK_FINISHED, &Dlg::onEraseTaskFinished>,
            Kestrel::onCommand<ID_APP_ABOUT, &Dlg::onAbout>,
            Kestrel::onCommand<IDOK, &Dlg::onErase>,
            Kestrel::onCommand<IDCANCEL, &Dlg::onCancel>,
            Kestrel::onCommand<IDC_ADD_FILE, &Dlg::onAddFile>,
            Kestrel::onCommand<IDC_ADD_FOLDER, &Dlg::onAddFolder>,
            Kestrel::onCommand<IDC_ADD_FREE_SPACE, &Dlg::onAddFreeSpace>,
            Kestrel::onCommand<IDC_ADD_RECYCLE_BIN, &Dlg::onAddRecycleBin>,
            Kestrel::onCommand<IDC_STOP_SELECTED, &Dlg::onStopSelected>,
            Kestrel::onCommand<IDC_SHOW_HELP, &Dlg::onHelp>,
            Kestrel::onNotify<IDC_TASK_LIST, Kestrel::LinkClicked, &Dlg::onTaskLinkClicked>,
            Kestrel::onNotify<IDC_TASK_LIST, Kestrel::SelectionChanged, &Dlg::showRowReason>,
            Kestrel::onNotify<IDC_TASK_LIST, Kestrel::LeftClick, &Dlg::showRowReason>,
            Kestrel::onNotify<IDC_TASK_LIST, Kestrel::RightClick, &Dlg::onTaskRightClick>,
            Kestrel::chainTo<Kestrel::DropFileTarget<Dlg>>);
    }

    WipewellMainDlg();
    // Destroys the window first, while every member still exists.
    ~WipewellMainDlg() override;

    // Relays mouse messages to the button tips and runs the dialog keys (Tab, Enter, Esc). Enter
    // presses the push button that has the focus, and nothing when none has it: a second Enter
    // after the first one's question must not erase the list. In the task list Del removes the
    // selected rows that are not in progress, and Shift+F10 and the menu key open the row menu.
    bool preTranslateMessage(MSG& message) override;

    // Append a Waiting row for an existing file, or folder; false (and nothing said) for an empty
    // or missing path, one no name can hold, or one of the other kind. The path is asked in its
    // extended-length form, as the erase reads it, so its length does not matter.
    bool addFile(const std::wstring& path);
    bool addFolder(const std::wstring& path);
    // Appends a Waiting row for the free space of the drive with that root ("D:\"); false (and
    // nothing said) when the drive cannot be wiped (erase/WipeableDrive.h) or its free space waits
    // already.
    bool addFreeSpace(const std::wstring& root);
    // Appends a Waiting row for this user's Recycle Bin, which tells what it holds now
    // ("Recycle Bin (12 items, 340 MB)"); false when a Recycle Bin row waits already.
    bool addRecycleBin();
    // A shell drop, last dropped item first: each path as a folder or a file row.
    bool onDropFiles(const std::vector<std::wstring>& paths);
    // What a start of the program was given, from its command line or a later start: its paths,
    // its drives or the Recycle Bin (addHandedPaths, addHandedDrives, addHandedRecycleBin).
    void addHandedItems(const HandedItems& items);

private:
    friend class MainDialogAccess;

    // Where each control goes when the window is resized: the list takes the room, the buttons
    // keep to their corners, the reason line runs along the bottom below the list.
    static constexpr Kestrel::ControlAnchor kAnchors[] = {
        {IDOK, Kestrel::AnchorRight | Kestrel::AnchorTop},
        {IDC_QUEUE_OUTCOME, Kestrel::AnchorLeft | Kestrel::AnchorRight | Kestrel::AnchorTop},
        {IDC_TASK_LIST, Kestrel::kAnchorAll},
        {IDC_ROW_REASON, Kestrel::AnchorLeft | Kestrel::AnchorRight | Kestrel::AnchorBottom},
        {IDC_SHOW_HELP, Kestrel::AnchorRight | Kestrel::AnchorBottom},
        {ID_APP_ABOUT, Kestrel::AnchorRight | Kestrel::AnchorBottom},
    };
    // The smallest client area, in dialog units: the buttons' row whole, and a few rows of the list.
    static constexpr SIZE kMinimumClient{400, 180};
    // The dialog's default command, which no control has: Enter with the focus on the list (or on
    // anything but a push button) presses nothing, where the dialog manager's default would have
    // been Erase!'s IDOK.
    static constexpr WPARAM kNoDefaultCommand = 0x7FFF;

    // The task list's context menu (right click, Shift+F10, the menu key); a context menu asked
    // elsewhere (the caption's) goes on to the system.
    struct TaskListContextMenu {
        template <typename Self>
        static bool route(Self& dialog, Kestrel::Message& message)
        {
            if (message.id != WM_CONTEXTMENU)
                return false;
            const auto [window, point] = Kestrel::MessageArgs<WM_CONTEXTMENU>::unpack(message.wParam, message.lParam);
            if (window != dialog.taskList_.handle())
                return false;
            dialog.onTaskListMenu(point);
            message.result = 0;
            return true;
        }
    };

    // Paths, in order: each whole path that exists as a folder or a file row ("Added: "
    // logged), every other one skipped with a "Skipped: " line. Nothing is added while the
    // dialog is closing.
    void addHandedPaths(const std::vector<std::wstring>& paths);
    // Drives from the free-space switch, in order, each in any form driveRootOf reads: its free
    // space as a row ("Added: " and the root logged), or a "Skipped: " line.
    void addHandedDrives(const std::vector<std::wstring>& words);
    // The Recycle Bin from its switch: a row, with "Added: " and the row's text logged, or a
    // "Skipped: " line.
    void addHandedRecycleBin();

    bool onInitDialog(HWND defaultFocus, LPARAM initParam);
    void onDestroy();
    void onTimer(UINT_PTR id);
    // A later start's paths or drives (PathHandOver.h); a malformed block is refused whole and
    // logged.
    bool onCopyData(HWND sender, const COPYDATASTRUCT* data);
    // Moved to a monitor of another scale: the window, its controls, its icons and the list
    // follow the new DPI.
    void onDpiChanged(Kestrel::Dpi dpi, const RECT& suggested);
    void onSize(UINT kind, SIZE client);
    void onGetMinMaxInfo(MINMAXINFO* limits);
    void onEraseTaskFinished();
    // How the run went, in the line above the list, and the taskbar's flash for a user who is
    // elsewhere.
    void onQueueEnded(const StatusTally& outcome);
    void onAbout();
    void onErase();
    void onCancel();
    void onAddFile();
    void onAddFolder();
    // Opens the menu of the wipeable drives below the button.
    void onAddFreeSpace();
    // An empty bin is said to be empty and gets no row.
    void onAddRecycleBin();
    void onStopSelected();
    void onHelp();
    LRESULT onTaskLinkClicked(const Kestrel::ListNotifyInfo& info);

    // The task rows (WipewellMainDlgRows.cpp): the reason line, the row menu, Del.
    // The focus row's reason (why it failed, what it warns of) in the line below the list, which a
    // keyboard user sees as the selection moves and a screen reader reads as the line's name.
    void showRowReason();
    // Del, Shift+F10 and the menu key in the list; true when the key was the list's menu's or Del's.
    [[nodiscard]] bool handleTaskListKey(const MSG& message);
    void onTaskRightClick(const Kestrel::ListNotifyInfo& info);
    // Where WM_CONTEXTMENU says a menu was asked with the keyboard: it opens below the focus row.
    static constexpr POINT kMenuBelowFocusRow{-1, -1};
    // Opens the row menu at the point (screen coordinates), or below the focus row.
    void onTaskListMenu(POINT screen);
    [[nodiscard]] TaskRowOffer rowOffer();
    void copyRowReason();
    void openLog();
    // Failed and Aborted rows among the selected wait again; a run under way takes them in turn.
    void retrySelectedRows();
    // The selected rows that are not in progress go.
    void removeSelectedRows();
    void clearFinishedRows();

    [[nodiscard]] bool addHandedPath(const std::wstring& path);
    // A row of the kind the path names, file or folder; false when it names neither.
    bool addItem(const std::wstring& path);
    bool appendRow(ItemKind kind, const std::wstring& path);
    // The open-file dialog and the folder browser; false when the user did not confirm.
    bool selectFiles(const std::wstring& filter, std::vector<std::wstring>& paths);
    bool selectFolder(HWND owner, std::wstring& path, const std::wstring& initialFolder);

    void setIcons();
    void attachControls();
    void createTooltip();
    // Moves the keyboard focus as Tab does: a push button that gets it becomes the default one,
    // so that Enter presses it and not Erase!.
    void moveFocusTo(HWND control);
    // Moves the focus again as Tab does when handling a message moved it.
    void followFocus(HWND focusBefore);
    void addTool(const Kestrel::CWindow& button, const wchar_t* text) const;
    // Asks whether to stop the running task and exit.
    bool askToExit();
    void switchProgressClock(bool run);
    // Releases the task, destroys the window and posts the quit message; while a worker still
    // runs, only after it has reported.
    void closeDialog(int exitCode);
    void finishClosing();

    Kestrel::CWindow addFileButton_;
    Kestrel::CWindow addFolderButton_;
    Kestrel::CWindow addFreeSpaceButton_;
    Kestrel::CWindow addRecycleBinButton_;
    Kestrel::CWindow stopSelectedButton_;
    Kestrel::CWindow eraseButton_;
    Kestrel::CWindow helpButton_;
    Kestrel::CWindow aboutButton_;
    Kestrel::CWindow reasonLine_;
    // Owned by the dialog window, so the system destroys it with the dialog.
    Kestrel::CWindow tooltip_;
    ErasingTasksListCtrl taskList_;
    EraseScheduler scheduler_;
    int exitCode_ = IDCANCEL;
    Kestrel::DialogDpiLayout layout_;
    Kestrel::WindowIcons icons_;
    // Opens after the drives have answered, while the window goes on.
    DriveMenu driveMenu_;
};
