#pragma once

#include "erase/EraseStatus.h"
#include "erase/ReadBackTally.h"
#include "foundation/FailureCollector.h"
#include "foundation/UniqueHandle.h"

#include <windows.h>

#include <atomic>
#include <optional>
#include <string>
#include <utility>

class DiskKeeps;
// What the user added: a file or folder (only the task list's icon tells them apart; the worker
// decides by the item's directory entry), the free space of a drive, whose path is the drive's
// root ("D:\\"), or this user's Recycle Bin on every fixed drive, whose path is only its
// description ("Recycle Bin (12 items, 340 MB)"): the worker finds its items anew.
enum class ItemKind : int { File = 0, Folder = 1, FreeSpace = 2, RecycleBin = 3 };

// "EraseTaskFinished", registered during static initialisation. wParam is the final status (2, 3
// or 4), lParam 0. Registering the same name again anywhere yields the same value.
extern const UINT WM_ERASE_TASK_FINISHED;

// One erasing task. A row of the task list holds one by value and never starts it; the running
// task is a heap copy of a row whose start() gives it one worker thread. Until the finished
// message arrives the worker writes progress and status while the owner's thread polls them and
// may request a stop, without a lock: each of those fields is one atomic value.
class EraseTask {
public:
    explicit EraseTask(ItemKind kind = ItemKind::File, std::wstring path = {},
                       EraseStatus status = EraseStatus::Waiting, double progress = 0.0,
                       HWND ownerWindow = nullptr);
    // Copies are taken of rows, which never own a worker: a copy owns no thread handle, and an
    // assignment leaves the target's own handle as it is.
    EraseTask(const EraseTask& other);
    EraseTask& operator=(const EraseTask& other);
    // A part of a running task that its worker erases through another routine (an item of the
    // Recycle Bin): a stop of the whole stops the part, and the part's progress moves the whole's
    // from `fromPercent` over `spanPercent`. It is never started itself.
    EraseTask(EraseTask& whole, std::wstring path, double fromPercent, double spanPercent);
    // Closes the thread handle if the worker did not (it always does before its message).
    ~EraseTask() = default;

    [[nodiscard]] ItemKind kind() const noexcept { return kind_; }
    [[nodiscard]] std::wstring path() const { return path_; }
    [[nodiscard]] EraseStatus status() const noexcept { return status_.load(); }
    [[nodiscard]] double progress() const noexcept { return progress_.load(); }
    [[nodiscard]] HWND ownerWindow() const noexcept { return ownerWindow_; }
    [[nodiscard]] bool abortRequested() const noexcept
    {
        return part_.whole ? part_.whole->abortRequested() : abortRequested_.load();
    }
    void setStatus(EraseStatus status) noexcept { status_.store(status); }
    void setProgress(double percent) noexcept
    {
        progress_.store(percent);
        if (part_.whole)
            part_.whole->setProgress(part_.from + part_.span * percent / 100.0);
    }

    // Starts the worker, which wipes the drive's free space for a FreeSpace task, erases the
    // Recycle Bin's items for a RecycleBin task, and otherwise
    // erases the path with the folder routine when its directory entry is a folder's and with the
    // file routine otherwise. False when no thread could be created,
    // and when this record's worker still runs (nothing is started then); the status is not
    // touched.
    [[nodiscard]] bool start();
    // Asks a running task to stop after its current chunk or listing entry; false, and no
    // effect, unless the status is InProgress. Does not wait.
    bool requestAbort() noexcept;
    // Posts WM_ERASE_TASK_FINISHED with the status to the owner window; false when there is none.
    bool postFinished(EraseStatus status) const noexcept;

    // What the user should know besides the status: what stays where the erase cannot reach (a
    // cloud service's copies, a compressed file's old clusters); empty when nothing does. The
    // worker adds to it before finish(), whose message hands the record over, and the owner
    // reads it only after that message, as it reads the final status.
    [[nodiscard]] const std::wstring& warning() const noexcept { return warning_; }
    // Adds the sentence unless the warning holds it already: one warning per task, however many
    // of its files it concerns. A part adds it to its whole.
    void addWarning(const std::wstring& sentence);
    // Why a Failed task failed: the first failure its worker reported (the line the log got for
    // it); nothing for a task that did not fail. Set and read as the warning is.
    [[nodiscard]] const std::optional<Kestrel::ReportedFailure>& failure() const noexcept { return failure_; }
    void setFailure(std::optional<Kestrel::ReportedFailure> failure) { failure_ = std::move(failure); }
    // The reason, then the warning, then for a task that overwrote anything how much of it was
    // read back ("Read back: yes."), as a row's tip shows them; empty when there is none of them.
    [[nodiscard]] std::wstring remarks() const;
    // What the drives the task touches keep, learnt by its worker while it runs (a part's is its
    // whole's); null outside a run. A copy of the task has none.
    [[nodiscard]] DiskKeeps* diskKeeps() const noexcept
    {
        return part_.whole ? part_.whole->diskKeeps() : diskKeeps_;
    }
    void setDiskKeeps(DiskKeeps* keeps) noexcept { diskKeeps_ = keeps; }

    // How much of what the worker writes it reads back; a part reads as its whole does.
    [[nodiscard]] VerifyMode verifyMode() const noexcept { return part_.whole ? part_.whole->verifyMode() : verifyMode_; }
    void setVerifyMode(VerifyMode mode) noexcept { verifyMode_ = mode; }
    // How much was read back of each file or stream the worker overwrote; set and read as the
    // warning is. A part counts into its whole.
    [[nodiscard]] ReadBackExtent readBack() const noexcept { return readBack_.extent(); }
    [[nodiscard]] bool overwroteAny() const noexcept { return !readBack_.empty(); }
    [[nodiscard]] const ReadBackTally& readBackTally() const noexcept { return readBack_; }
    void setReadBackTally(const ReadBackTally& tally) noexcept { readBack_ = tally; }
    void noteReadBack(ReadBackExtent extent) noexcept;

private:
    template <typename Routine>
    friend DWORD runWorker(LPVOID parameter, Routine routine) noexcept;

    // The exit code of a worker killed because it could not be resumed (it never ran).
    static constexpr DWORD kResumeFailedExitCode = static_cast<DWORD>(-1);

    // The last steps of every worker: the status, the thread handle closed, the message posted.
    // After it the worker must not touch the record: the receiver destroys it.
    void finish(EraseStatus status) noexcept;

    ItemKind kind_;
    std::wstring path_;
    std::atomic<EraseStatus> status_;
    std::atomic<double> progress_;
    HWND ownerWindow_;
    std::wstring warning_;
    std::optional<Kestrel::ReportedFailure> failure_;
    DiskKeeps* diskKeeps_ = nullptr; // the worker's own, for the length of its routine
    VerifyMode verifyMode_ = VerifyMode::Sample;
    ReadBackTally readBack_;
    std::atomic<bool> abortRequested_{false};
    // Set by start, cleared by the worker once it no longer touches the thread handle.
    std::atomic<bool> workerRunning_{false};
    Kestrel::UniqueHandle threadHandle_;
    // Set only for a part; a copy is a task of its own.
    struct Part {
        EraseTask* whole = nullptr;
        double from = 0.0;
        double span = 0.0;
    } part_;
};
