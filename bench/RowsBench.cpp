// A shell drop of many files on the main dialog, and the erase of dropped files one task each.
//
// The drop: N existing files of 4 KiB sent to the dialog as one WM_DROPFILES, as the shell sends
// it (no messages pumped between the rows), then the message queue pumped until it is empty.
// Four runs over the same paths in one invocation:
//
//   listing  their folder listed once: what the file system takes to say what N entries are
//   vector   the existence checks a drop made before it asked each path in its extended-length
//            form, with EraseTask records appended to a std::vector
//   hidden   the dialog created from its template and never shown
//   shown    the dialog shown, as the user sees it
//
// The erase: M other files of 4 KiB dropped on the shown dialog and erased as after Erase! and
// Yes, each its own task, timed from the first start to the last row's end; against M such files
// erased by the bare sequence of platform calls (BareErase.h), the floor of that work. The two
// take turns of 100 files.
//
//     rows_bench.exe FOLDER [N] [M]        (N 5,000 and M 1,000 unless given)
//
// prints one line per drop run (add_s, pump_s, total_s, ratios to the baselines), the messages
// the shown list received per added row (counted in a separate run with a hook), and the erase's
// milliseconds per file with their ratio to the bare erase's.
#include "tests/app/MainDialogAccess.h"
#include "tests/app/ShellDrop.h"
#include "tests/support/MessagePump.h"

#include "app/WipewellMainDlg.h"
#include "bench/BareErase.h"
#include "foundation/PathUtilities.h"
#include "foundation/UniqueHandle.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr DWORD kFileBytes = 4096;

double wallSeconds()
{
    LARGE_INTEGER frequency{}, now{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool makeFiles(const std::wstring& folder, int count, std::vector<std::wstring>& paths)
{
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    const std::string content(kFileBytes, 'k');
    for (int index = 0; index < count; ++index) {
        std::wstring path = folder + L"\\dropped-" + std::to_wstring(index) + L".dat";
        const Kestrel::UniqueFileHandle file(
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file || !WriteFile(file.get(), content.data(), kFileBytes, &written, nullptr) || written != kFileBytes)
            return false;
        paths.push_back(std::move(path));
    }
    return true;
}

struct Timing {
    double add = 0;
    double pump = 0;
    int pumped = 0;
    int rows = 0;
    [[nodiscard]] double total() const noexcept { return add + pump; }
};

Timing listingRun(const std::wstring& folder)
{
    Timing timing;
    const double start = wallSeconds();
    WIN32_FIND_DATAW entry;
    const Kestrel::UniqueFindHandle search(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (search) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ++timing.rows;
        } while (FindNextFileW(search.get(), &entry));
    }
    timing.add = wallSeconds() - start;
    return timing;
}

Timing vectorRun(const std::vector<std::wstring>& paths)
{
    Timing timing;
    std::vector<EraseTask> rows;
    const double start = wallSeconds();
    for (const std::wstring& path : paths) {
        if (Kestrel::pathIsDirectory(path) || !Kestrel::pathExists(path))
            continue;
        rows.emplace_back(ItemKind::File, path, EraseStatus::Waiting, 0.0, nullptr);
    }
    timing.add = wallSeconds() - start;
    timing.rows = static_cast<int>(rows.size());
    return timing;
}

// The drop's memory belongs to the dialog once sent, as the shell's does.
void drop(WipewellMainDlg& dialog, const std::vector<std::wstring>& paths)
{
    dialog.sendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(KestrelTest::shellDrop(paths)));
}

bool dialogRun(const std::vector<std::wstring>& paths, bool shown, Timing& timing)
{
    WipewellMainDlg dialog;
    if (!dialog.create(nullptr))
        return false;
    if (shown)
        dialog.showWindow(SW_SHOWNORMAL);
    KestrelTest::drainMessages();
    const double start = wallSeconds();
    drop(dialog, paths);
    const double added = wallSeconds();
    timing.pumped = KestrelTest::drainMessages();
    timing.add = added - start;
    timing.pump = wallSeconds() - added;
    timing.rows = MainDialogAccess::taskList(dialog).getItemCount();
    return true;
}

// Messages the list window receives while the rows are added and the queue is emptied, sent and
// posted alike, counted by a hook on the thread.
HWND countedWindow = nullptr;
int sizes = 0;
int frames = 0;
int paints = 0;
int erases = 0;
int others = 0;

void count(HWND window, UINT message)
{
    if (window != countedWindow)
        return;
    switch (message) {
    case WM_SIZE:
        ++sizes;
        break;
    case WM_NCPAINT:
        ++frames;
        break;
    case WM_PAINT:
        ++paints;
        break;
    case WM_ERASEBKGND:
        ++erases;
        break;
    default:
        ++others;
        break;
    }
}

LRESULT CALLBACK sentHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const CWPSTRUCT& sent = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        count(sent.hwnd, sent.message);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK postedHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const MSG& posted = *reinterpret_cast<const MSG*>(lParam);
        count(posted.hwnd, posted.message);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct Hook {
    HHOOK handle;
    Hook(int kind, HOOKPROC procedure) : handle(SetWindowsHookExW(kind, procedure, nullptr, GetCurrentThreadId()))
    {
    }
    ~Hook()
    {
        if (handle)
            UnhookWindowsHookEx(handle);
    }
    Hook(const Hook&) = delete;
    Hook& operator=(const Hook&) = delete;
};

bool countRun(const std::vector<std::wstring>& paths)
{
    WipewellMainDlg dialog;
    if (!dialog.create(nullptr))
        return false;
    dialog.showWindow(SW_SHOWNORMAL);
    KestrelTest::drainMessages();
    countedWindow = MainDialogAccess::taskList(dialog).handle();
    {
        const Hook sent(WH_CALLWNDPROC, sentHook);
        const Hook posted(WH_GETMESSAGE, postedHook);
        if (!sent.handle || !posted.handle)
            return false;
        drop(dialog, paths);
        KestrelTest::drainMessages();
    }
    const double rows = static_cast<double>(paths.size());
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    GetScrollInfo(countedWindow, SB_VERT, &info);
    std::wprintf(L"per_row: size=%.3f ncpaint=%.3f paint=%.3f erasebkgnd=%.3f other=%.3f "
                 L"(vertical range %d, page %u)\n",
                 sizes / rows, frames / rows, paints / rows, erases / rows, others / rows, info.nMax, info.nPage);
    return true;
}

void print(const wchar_t* name, const Timing& timing, const Timing& listing, const Timing& vector, const Timing& hidden)
{
    std::wprintf(L"%-7ls rows=%d add_s=%.3f pump_s=%.3f pumped=%d total_s=%.3f x_listing=%.1f x_vector=%.1f "
                 L"x_hidden=%.2f\n",
                 name, timing.rows, timing.add, timing.pump, timing.pumped, timing.total(),
                 timing.total() / std::max(listing.total(), 1e-6), timing.total() / std::max(vector.total(), 1e-6),
                 timing.total() / std::max(hidden.total(), 1e-6));
    std::fflush(stdout);
}

// The files are erased in turns of this many, the window's and the bare sequence's alternating,
// so that a disk that slows down or speeds up meanwhile weighs on both alike.
constexpr int kErasedPerTurn = 100;

// The dropped rows erased one after another by the dialog's own scheduler, each as its own task;
// answers the seconds from the first start to the last row's end.
bool windowErase(WipewellMainDlg& dialog, const std::vector<std::wstring>& paths, double& seconds)
{
    drop(dialog, paths);
    KestrelTest::drainMessages();
    const double start = wallSeconds();
    if (!MainDialogAccess::startNextTask(dialog) ||
        !KestrelTest::pumpUntil([&dialog] { return MainDialogAccess::currentTask(dialog) == nullptr; }, INFINITE))
        return false;
    seconds = wallSeconds() - start;
    return true;
}

int doneRows(WipewellMainDlg& dialog)
{
    ErasingTasksListCtrl& list = MainDialogAccess::taskList(dialog);
    EraseTask task;
    int done = 0;
    for (int row = 0; row < list.getItemCount(); ++row)
        done += list.copyTask(row, task) && task.status() == EraseStatus::Done ? 1 : 0;
    return done;
}

bool eraseRun(const std::wstring& folder, int count)
{
    WipewellMainDlg dialog;
    if (!dialog.create(nullptr))
        return false;
    dialog.showWindow(SW_SHOWNORMAL);
    double windowSeconds = 0;
    double bareSeconds = 0;
    int bareGone = 0;
    for (int turn = 0; turn * kErasedPerTurn < count; ++turn) {
        const int files = std::min(kErasedPerTurn, count - turn * kErasedPerTurn);
        const std::wstring turnFolder = folder + L"\\turn-" + std::to_wstring(turn);
        std::vector<std::wstring> dropped;
        std::vector<std::wstring> bare;
        if (!makeFiles(turnFolder, files, dropped) || !makeFiles(turnFolder + L"\\bare", files, bare))
            return false;
        double seconds = 0;
        if (!windowErase(dialog, dropped, seconds))
            return false;
        windowSeconds += seconds;
        const double start = wallSeconds();
        // The folder itself goes too: one item more than the files.
        bareGone += static_cast<int>(eraseBare(turnFolder + L"\\bare")) - 1;
        bareSeconds += wallSeconds() - start;
    }
    const double windowMs = 1000.0 * windowSeconds / count;
    const double bareMs = 1000.0 * bareSeconds / count;
    std::wprintf(L"erase   files=%d done=%d bare_done=%d window_ms_per_file=%.2f bare_ms_per_file=%.2f x_bare=%.2f\n",
                 count, doneRows(dialog), bareGone, windowMs, bareMs, windowMs / std::max(bareMs, 1e-6));
    std::fflush(stdout);
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2 || argc > 4) {
        std::fwprintf(stderr, L"usage: rows_bench FOLDER [N] [M]\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    const int count = argc >= 3 ? std::max(1, _wtoi(argv[2])) : 5000;
    const int erased = argc == 4 ? std::max(1, _wtoi(argv[3])) : 1000;
    const std::wstring dropFolder = folder + L"\\drop";
    std::vector<std::wstring> paths;
    if (!makeFiles(dropFolder, count, paths)) {
        std::fwprintf(stderr, L"cannot make the files in %ls\n", folder.c_str());
        return 1;
    }
    // The first pass warms the file system's caches for the runs that are compared.
    static_cast<void>(vectorRun(paths));
    const Timing listing = listingRun(dropFolder);
    const Timing vector = vectorRun(paths);
    Timing hidden;
    Timing shown;
    if (!dialogRun(paths, false, hidden) || !dialogRun(paths, true, shown)) {
        std::fwprintf(stderr, L"cannot create the dialog\n");
        return 1;
    }
    print(L"listing", listing, listing, vector, hidden);
    print(L"vector", vector, listing, vector, hidden);
    print(L"hidden", hidden, listing, vector, hidden);
    print(L"shown", shown, listing, vector, hidden);
    if (!countRun(paths)) {
        std::fwprintf(stderr, L"cannot count the messages\n");
        return 1;
    }
    if (!eraseRun(folder, erased)) {
        std::fwprintf(stderr, L"cannot erase the files in %ls\n", folder.c_str());
        return 1;
    }
    return 0;
}
