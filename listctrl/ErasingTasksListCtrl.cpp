#include "listctrl/ErasingTasksListCtrl.h"

#include <algorithm>
#include <new>

namespace {

// Column widths in pixels at 96 DPI. The Path column takes what the others leave of the list's
// width, but never less than its minimum.
constexpr int kPathWidth = 300;
constexpr int kPathMinimumWidth = 100;
constexpr int kStatusWidth = 100;
constexpr int kProgressWidth = 110;
constexpr int kActionWidth = 60;
// The rows never grow past this many: beyond it an append is refused.
constexpr std::size_t kMaximumRows = 0x1FFFFFF;

} // namespace

int ErasingTasksListCtrl::attach(HWND placeholder)
{
    if (!subclassWindow(placeholder))
        return 0;
    return initialise();
}

int ErasingTasksListCtrl::initialise()
{
    if (!CListImpl::initialise())
        return 0;
    const Kestrel::Dpi at = dpi();
    addColumn(L"Path", at.scale(kPathWidth), -1, false, Kestrel::FormatText, 0);
    addColumn(L"Status", at.scale(kStatusWidth), -1, false, Kestrel::FormatText, 0);
    addColumn(L"Progress", at.scale(kProgressWidth), -1, false, Kestrel::FormatProgress, 0);
    addColumn(L"Action", at.scale(kActionWidth), -1, false, Kestrel::FormatLinkIfText, 0);
    setStretchColumn(Kestrel::ColumnId(PathColumn), kPathMinimumWidth);
    return 1;
}

int ErasingTasksListCtrl::addTask(ItemKind kind, const std::wstring& path, EraseStatus status, double progress,
                                  HWND ownerWindow)
{
    Kestrel::SectionGuard guard(rowLock_);
    int index = -1;
    if (rows_.size() < kMaximumRows) {
        try {
            rows_.emplace_back(kind, path, status, progress, ownerWindow);
            index = static_cast<int>(rows_.size()) - 1;
        } catch (const std::bad_alloc&) {
            // The list stays as it was; the caller learns from -1.
        }
    }
    if (index >= 0)
        showAppendedRows();
    return index;
}

int ErasingTasksListCtrl::addTasks(const std::vector<EraseTask>& tasks)
{
    Kestrel::SectionGuard guard(rowLock_);
    int added = 0;
    try {
        for (const EraseTask& task : tasks) {
            if (rows_.size() >= kMaximumRows)
                break;
            rows_.push_back(task);
            ++added;
        }
    } catch (const std::bad_alloc&) {
        // The rows appended so far stay; the caller learns how many from the count.
    }
    if (added > 0)
        showAppendedRows();
    return added;
}

void ErasingTasksListCtrl::showAppendedRows()
{
    // Only the row count changed, so the horizontal bar stays as the columns left it; the
    // vertical bar is drawn once, with the next paint.
    resetScrollBars(SB_VERT, -1, false, false);
    invalidate();
}

bool ErasingTasksListCtrl::copyTask(int index, EraseTask& task)
{
    Kestrel::SectionGuard guard(rowLock_);
    const EraseTask* record = row(index);
    if (!record)
        return false;
    task = *record;
    return true;
}

int ErasingTasksListCtrl::firstWaitingRow()
{
    if (getItemCount() == 0)
        return -1;
    return firstRowWith(EraseStatus::Waiting);
}

int ErasingTasksListCtrl::firstRunningRow()
{
    return firstRowWith(EraseStatus::InProgress);
}

bool ErasingTasksListCtrl::hasWaitingTask(ItemKind kind, const std::wstring& path)
{
    Kestrel::SectionGuard guard(rowLock_);
    return std::any_of(rows_.begin(), rows_.end(), [&](const EraseTask& task) {
        return task.status() == EraseStatus::Waiting && task.kind() == kind && task.path() == path;
    });
}

bool ErasingTasksListCtrl::hasWaitingTask(ItemKind kind)
{
    Kestrel::SectionGuard guard(rowLock_);
    return std::any_of(rows_.begin(), rows_.end(), [&](const EraseTask& task) {
        return task.status() == EraseStatus::Waiting && task.kind() == kind;
    });
}

bool ErasingTasksListCtrl::setRowStatus(int index, EraseStatus status)
{
    Kestrel::SectionGuard guard(rowLock_);
    EraseTask* record = row(index);
    if (!record)
        return false;
    record->setStatus(status);
    // The status, the bar and the link all lie in the row: the rest of the list stays as it is.
    invalidateRect(itemRect(index));
    return true;
}

bool ErasingTasksListCtrl::setRowProgress(int index, double progress)
{
    Kestrel::SectionGuard guard(rowLock_);
    EraseTask* record = row(index);
    if (!record)
        return false;
    if (record->progress() == progress)
        return true;
    record->setProgress(progress);
    // Called every 50 ms while a task runs: only the bar is painted again, not the whole list.
    invalidateRect(cellRect(index, columnPosition(Kestrel::ColumnId(ProgressColumn))));
    return true;
}

bool ErasingTasksListCtrl::setRowRemarks(int index, const EraseTask& ended)
{
    Kestrel::SectionGuard guard(rowLock_);
    EraseTask* record = row(index);
    if (!record)
        return false;
    record->addWarning(ended.warning());
    record->setFailure(ended.failure());
    record->setReadBackTally(ended.readBackTally());
    return true;
}

bool ErasingTasksListCtrl::addRowWarning(int index, const std::wstring& sentence)
{
    Kestrel::SectionGuard guard(rowLock_);
    EraseTask* record = row(index);
    if (!record)
        return false;
    record->addWarning(sentence);
    return true;
}

std::wstring ErasingTasksListCtrl::rowReason(int index)
{
    Kestrel::SectionGuard guard(rowLock_);
    const EraseTask* record = row(index);
    return record ? record->remarks() : std::wstring();
}

std::optional<EraseStatus> ErasingTasksListCtrl::rowStatus(int index)
{
    Kestrel::SectionGuard guard(rowLock_);
    const EraseTask* record = row(index);
    return record ? std::optional(record->status()) : std::nullopt;
}

std::vector<EraseTask> ErasingTasksListCtrl::waitingTasks()
{
    Kestrel::SectionGuard guard(rowLock_);
    std::vector<EraseTask> waiting;
    for (const EraseTask& task : rows_) {
        if (task.status() == EraseStatus::Waiting)
            waiting.push_back(task);
    }
    return waiting;
}

bool ErasingTasksListCtrl::retryRow(int index)
{
    Kestrel::SectionGuard guard(rowLock_);
    EraseTask* record = row(index);
    if (!record || (record->status() != EraseStatus::Failed && record->status() != EraseStatus::Aborted))
        return false;
    // A fresh record: the reason and warnings of the last run would otherwise stay with the next.
    EraseTask fresh(record->kind(), record->path(), EraseStatus::Waiting, 0.0, record->ownerWindow());
    *record = fresh;
    invalidateRect(itemRect(index));
    return true;
}

template <typename Predicate>
int ErasingTasksListCtrl::removeRowsWhere(Predicate removes)
{
    Kestrel::SectionGuard guard(rowLock_);
    std::vector<EraseTask> kept;
    kept.reserve(rows_.size());
    int firstRemoved = -1;
    for (std::size_t index = 0; index < rows_.size(); ++index) {
        const EraseTask& task = rows_[index];
        // The running row stays until its worker has reported.
        if (task.status() != EraseStatus::InProgress && removes(static_cast<int>(index), task)) {
            if (firstRemoved < 0)
                firstRemoved = static_cast<int>(index);
            continue;
        }
        kept.push_back(task);
    }
    const int removed = static_cast<int>(rows_.size() - kept.size());
    if (removed == 0)
        return 0;
    rows_.swap(kept);
    // The selection named rows by their old places.
    clearSelection();
    resetScrollBars(SB_VERT, -1, false, false);
    const int count = static_cast<int>(rows_.size());
    if (count > 0)
        selectItem(std::min(firstRemoved, count - 1), Kestrel::ColumnPosition(0), 0);
    invalidate();
    return removed;
}

int ErasingTasksListCtrl::removeRows(const std::vector<int>& rows)
{
    return removeRowsWhere([&rows](int index, const EraseTask&) {
        return std::find(rows.begin(), rows.end(), index) != rows.end();
    });
}

int ErasingTasksListCtrl::removeFinishedRows()
{
    return removeRowsWhere([](int, const EraseTask& task) {
        const EraseStatus status = task.status();
        return status == EraseStatus::Done || status == EraseStatus::Failed || status == EraseStatus::Aborted;
    });
}

bool ErasingTasksListCtrl::isRowRunning(int index)
{
    return rowHasStatus(index, EraseStatus::InProgress);
}

bool ErasingTasksListCtrl::isRowWaiting(int index)
{
    return rowHasStatus(index, EraseStatus::Waiting);
}

void ErasingTasksListCtrl::selectedRows(std::vector<int>& rows)
{
    Kestrel::SectionGuard guard(rowLock_);
    rows.clear();
    const int count = static_cast<int>(rows_.size());
    for (const int item : selectedItems()) {
        if (item >= 0 && item < count)
            rows.push_back(item);
    }
}

void ErasingTasksListCtrl::reverseRows()
{
    Kestrel::SectionGuard guard(rowLock_);
    std::reverse(rows_.begin(), rows_.end());
}

int ErasingTasksListCtrl::getItemCount()
{
    Kestrel::SectionGuard guard(rowLock_);
    return static_cast<int>(rows_.size());
}

std::wstring ErasingTasksListCtrl::getItemText(int item, int subItem)
{
    EraseTask task;
    if (!copyTask(item, task))
        return {};
    switch (subItem) {
    case PathColumn:
        return task.kind() == ItemKind::FreeSpace ? kFreeSpacePrefix + task.path() : task.path();
    case StatusColumn:
        return statusText(task.status());
    case ProgressColumn:
        // Read back as a number by the bar; "%f", as 42.500000.
        return std::to_wstring(task.progress());
    case ActionColumn: {
        const EraseStatus status = task.status();
        return status == EraseStatus::Waiting || status == EraseStatus::InProgress ? L"Cancel" : L"";
    }
    default:
        return {};
    }
}

int ErasingTasksListCtrl::getItemImage(int item, int subItem)
{
    Kestrel::SectionGuard guard(rowLock_);
    const EraseTask* record = row(item);
    if (!record || subItem != PathColumn)
        return -1;
    switch (record->kind()) {
    case ItemKind::Folder:
        return kFolderImage;
    case ItemKind::FreeSpace:
        return kFreeSpaceImage;
    case ItemKind::RecycleBin:
        return kRecycleBinImage;
    default:
        return kFileImage;
    }
}

std::wstring ErasingTasksListCtrl::getItemToolTip(int item, int)
{
    return rowReason(item);
}

EraseTask* ErasingTasksListCtrl::row(int index) noexcept
{
    if (index < 0 || index >= static_cast<int>(rows_.size()))
        return nullptr;
    return &rows_[static_cast<std::size_t>(index)];
}

int ErasingTasksListCtrl::firstRowWith(EraseStatus status)
{
    Kestrel::SectionGuard guard(rowLock_);
    const auto found = std::find_if(rows_.begin(), rows_.end(),
                                    [status](const EraseTask& task) { return task.status() == status; });
    return found == rows_.end() ? -1 : static_cast<int>(found - rows_.begin());
}

bool ErasingTasksListCtrl::rowHasStatus(int index, EraseStatus status)
{
    Kestrel::SectionGuard guard(rowLock_);
    const EraseTask* record = row(index);
    return record && record->status() == status;
}
