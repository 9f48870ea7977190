// The main dialog's cost while it erases: the user-interface thread's CPU time (thread times, not
// wall time) while one 1 GiB file is erased with the 50 ms progress refresh running, as a share
// of the erase's wall time. Run with 1 row and with 10,000 rows in the list, the dialog shown:
//
//     refresh_bench.exe FOLDER
//
// prints one line per run: rows=... wall_s=... ui_cpu_s=... share_percent=... refreshes=...
#include "tests/app/MainDialogAccess.h"
#include "tests/support/MessagePump.h"
#include "tests/support/SparseFile.h"

#include "app/WipewellMainDlg.h"
#include "foundation/UniqueHandle.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr std::uint64_t kFileBytes = std::uint64_t{1} << 30;

double seconds(const FILETIME& time)
{
    ULARGE_INTEGER value{};
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 1e7;
}

double threadCpuSeconds()
{
    FILETIME creation{}, exit{}, kernel{}, user{};
    GetThreadTimes(GetCurrentThread(), &creation, &exit, &kernel, &user);
    return seconds(kernel) + seconds(user);
}

double wallSeconds()
{
    LARGE_INTEGER frequency{}, now{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Counts the refreshes: each timer tick of the dialog that reaches its window procedure.
int refreshes = 0;

void pumpUntilIdle(WipewellMainDlg& dialog, bool untilTaskEnds)
{
    const auto countRefreshes = [&dialog](MSG& message) {
        if (message.message == WM_TIMER && message.hwnd == dialog.handle() &&
            message.wParam == WipewellMainDlg::kProgressTimer)
            ++refreshes;
        return false;
    };
    KestrelTest::drainMessages(countRefreshes);
    if (untilTaskEnds)
        KestrelTest::pumpUntil([&dialog] { return !MainDialogAccess::currentTask(dialog); }, INFINITE, countRefreshes);
}

int run(const std::wstring& folder, int rows)
{
    const std::wstring path = folder + L"\\refresh-bench.bin";
    if (!KestrelTest::writeSparse(path, kFileBytes)) {
        std::fwprintf(stderr, L"cannot make %ls\n", path.c_str());
        return 1;
    }
    WipewellMainDlg dialog;
    if (!dialog.create(nullptr)) {
        std::fwprintf(stderr, L"cannot create the dialog\n");
        return 1;
    }
    ErasingTasksListCtrl& list = MainDialogAccess::taskList(dialog);
    list.addTask(ItemKind::File, path, EraseStatus::Waiting, 0.0, dialog);
    for (int row = 1; row < rows; ++row) {
        const std::wstring done = L"C:\\Users\\someone\\Documents\\Projects\\archive\\item-" + std::to_wstring(row) + L".dat";
        list.addTask(ItemKind::File, done, EraseStatus::Done, 100.0, dialog);
    }
    dialog.showWindow(SW_SHOWNORMAL);
    pumpUntilIdle(dialog, false);

    refreshes = 0;
    const double cpuStart = threadCpuSeconds();
    const double wallStart = wallSeconds();
    if (!MainDialogAccess::startNextTask(dialog)) {
        std::fwprintf(stderr, L"the task did not start\n");
        return 1;
    }
    pumpUntilIdle(dialog, true);
    const double wall = wallSeconds() - wallStart;
    // Kernel and user time are summed separately at each end: equal readings may differ by a
    // rounding below zero.
    const double cpu = std::max(0.0, threadCpuSeconds() - cpuStart);

    std::wprintf(L"rows=%d wall_s=%.2f ui_cpu_s=%.3f share_percent=%.2f refreshes=%d status=%ls\n", rows, wall, cpu,
                 100.0 * cpu / wall, refreshes, list.getItemText(0, 1).c_str());
    std::fflush(stdout);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fwprintf(stderr, L"usage: refresh_bench FOLDER\n");
        return 2;
    }
    for (const int rows : {1, 10000}) {
        if (const int failed = run(argv[1], rows))
            return failed;
    }
    return 0;
}
