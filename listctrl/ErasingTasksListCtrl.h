#pragma once

#include "erase/EraseTask.h"
#include "foundation/SectionLock.h"
#include "framework/UserObject.h"
#include "listctrl/CListImpl.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// The list of erasing tasks in the main dialog: one row per added file, folder, drive's free
// space or Recycle Bin with its path, status, progress bar and "Cancel" link. The rows are EraseTask records held by value and never
// started; the dialog mirrors the running task's status and progress into its row.
//
// Every row operation holds the row lock for its whole length, the repaint request included. The
// lock is recursive: painting asks for cells while an operation of the same thread may hold it.
// An index that is negative or not below the row count makes an operation answer false (or -1)
// and change nothing.
class ErasingTasksListCtrl : public Kestrel::CListImpl<ErasingTasksListCtrl> {
public:
    // Row icons in the list's image strip, in front of the path.
    static constexpr int kFileImage = 10;
    static constexpr int kFolderImage = 11;
    static constexpr int kFreeSpaceImage = 12;
    static constexpr int kRecycleBinImage = 13;
    // A free-space row's path is its drive's root; the Path column says what is wiped there.
    static constexpr const wchar_t* kFreeSpacePrefix = L"Free space on ";

    ErasingTasksListCtrl() = default;
    ~ErasingTasksListCtrl() override = default;

    // Takes over the dialog's placeholder control and sets the list up; 0 when either fails.
    int attach(HWND placeholder);
    // Sets up the list and adds the four columns, the Path column taking the width the others
    // leave; 0 when the list's set-up fails (its images cannot be loaded, say: no columns are
    // added then).
    [[nodiscard]] int initialise();

    // Appends a row; its index, or -1 when no row could be appended.
    int addTask(ItemKind kind, const std::wstring& path, EraseStatus status, double progress, HWND ownerWindow);
    // Appends the rows in order as one change, the bar and the list brought up to date once: each
    // update asks Wine's server to repaint the list and its frame, which a row at a time did
    // 10,000 times for a drop of 5,000 files. The number appended, fewer than given when the rows
    // reach their limit or memory is short.
    int addTasks(const std::vector<EraseTask>& tasks);
    [[nodiscard]] bool copyTask(int row, EraseTask& task);
    // The first row (from the top) that waits, or -1.
    [[nodiscard]] int firstWaitingRow();
    // The first row in progress, or -1.
    [[nodiscard]] int firstRunningRow();
    // Whether a Waiting row of that kind has exactly that path; or any path.
    [[nodiscard]] bool hasWaitingTask(ItemKind kind, const std::wstring& path);
    [[nodiscard]] bool hasWaitingTask(ItemKind kind);
    // Repaints the row (its status, bar and link).
    bool setRowStatus(int row, EraseStatus status);
    // The percentage is stored as given: the bar clamps what it draws. Repaints the row's bar.
    bool setRowProgress(int row, double progress);
    // Takes a finished task's warning and failure into its row, whose cells then show them as
    // their tip.
    bool setRowRemarks(int row, const EraseTask& ended);
    // Adds a sentence to what the row's tip and reason tell, once.
    bool addRowWarning(int row, const std::wstring& sentence);
    // Why the row failed and what it warns of, as its tip shows them; empty for none.
    [[nodiscard]] std::wstring rowReason(int row);
    [[nodiscard]] std::optional<EraseStatus> rowStatus(int row);
    [[nodiscard]] bool isRowRunning(int row);
    [[nodiscard]] bool isRowWaiting(int row);
    // Copies of the Waiting rows, from the top.
    [[nodiscard]] std::vector<EraseTask> waitingTasks();
    // A Failed or Aborted row waits again, as it was added: its reason and progress go. False for
    // a row in any other status.
    bool retryRow(int row);
    // Removes the rows (any order) that are not in progress, and those of every row that ended
    // (Done, Failed, Aborted); the number removed. The rows after move up; the selection goes to
    // the row that took the place of the first one removed, so that Del can be pressed again.
    int removeRows(const std::vector<int>& rows);
    int removeFinishedRows();
    // The selected rows in ascending order. An index the selection holds but the rows do not is
    // skipped: the rows after it are still reported, so that stopping them never misses one.
    void selectedRows(std::vector<int>& rows);
    void reverseRows();

    // Answers to the list's callbacks.
    int getItemCount();
    std::wstring getItemText(int item, int subItem);
    int getItemImage(int item, int subItem);
    // The row's warning, over any of its cells; empty (no tip) for a row without one.
    std::wstring getItemToolTip(int item, int subItem);
    std::wstring getEmptyText() { return kEmptyListText; }
    static constexpr const wchar_t* kEmptyListText =
        L"Drop files and folders here, or use Add File... and Add Folder...";
    // The row icons come from the list's own strip, which follows its DPI.
    HIMAGELIST getItemImageList() { return imageStrip(); }
    void reverseItems() { reverseRows(); }

private:
    enum Column : int { PathColumn = 0, StatusColumn = 1, ProgressColumn = 2, ActionColumn = 3 };

    // The row's record, or null for an index out of range; call with the row lock held.
    [[nodiscard]] EraseTask* row(int index) noexcept;
    [[nodiscard]] int firstRowWith(EraseStatus status);
    [[nodiscard]] bool rowHasStatus(int index, EraseStatus status);
    // After rows were appended: the vertical bar's range and a repaint.
    void showAppendedRows();
    // Removes the rows for which the predicate holds, keeping the running one; the number removed.
    template <typename Predicate>
    int removeRowsWhere(Predicate removes);

    std::vector<EraseTask> rows_;
    Kestrel::SectionLock rowLock_;
};
