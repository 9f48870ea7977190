// Adding many rows at once, as a shell drop of N files does: the main dialog's onDropFiles with N
// existing files in one call (no messages pumped between the rows), then the message queue pumped
// until it is empty. Three runs over the same paths in one invocation:
//
//   vector  the same existence checks and EraseTask records appended to a std::vector
//   hidden  the dialog created from its template and never shown
//   shown   the dialog shown, as the user sees it
//
//     rows_bench.exe FOLDER [N]
//
// prints one line per run (add_s, pump_s, total_s, ratios of shown to the two baselines) and the
// messages the shown list received per added row, counted in a separate run with a hook.
#include "tests/app/MainDialogAccess.h"
#include "tests/support/MessagePump.h"

#include "app/WipewellMainDlg.h"
#include "foundation/PathUtilities.h"
#include "foundation/UniqueHandle.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

double wallSeconds()
{
    LARGE_INTEGER frequency{}, now{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool makeFiles(const std::wstring& folder, int count, std::vector<std::wstring>& paths)
{
    for (int index = 0; index < count; ++index) {
        std::wstring path = folder + L"\\dropped-" + std::to_wstring(index) + L".dat";
        const Kestrel::UniqueFileHandle file(
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
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

bool dialogRun(const std::vector<std::wstring>& paths, bool shown, Timing& timing)
{
    WipewellMainDlg dialog;
    if (!dialog.create(nullptr))
        return false;
    if (shown)
        dialog.showWindow(SW_SHOWNORMAL);
    KestrelTest::drainMessages();
    const double start = wallSeconds();
    static_cast<void>(dialog.onDropFiles(paths));
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
        static_cast<void>(dialog.onDropFiles(paths));
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

void print(const wchar_t* name, const Timing& timing, const Timing& vector, const Timing& hidden)
{
    std::wprintf(L"%-6ls rows=%d add_s=%.3f pump_s=%.3f pumped=%d total_s=%.3f x_vector=%.1f x_hidden=%.2f\n", name,
                 timing.rows, timing.add, timing.pump, timing.pumped, timing.total(),
                 timing.total() / std::max(vector.total(), 1e-6), timing.total() / std::max(hidden.total(), 1e-6));
    std::fflush(stdout);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2 || argc > 3) {
        std::fwprintf(stderr, L"usage: rows_bench FOLDER [N]\n");
        return 2;
    }
    const int count = argc == 3 ? std::max(1, _wtoi(argv[2])) : 2000;
    std::vector<std::wstring> paths;
    if (!makeFiles(argv[1], count, paths)) {
        std::fwprintf(stderr, L"cannot make the files in %ls\n", argv[1]);
        return 1;
    }
    // The first pass warms the file system's caches for the runs that are compared.
    static_cast<void>(vectorRun(paths));
    const Timing vector = vectorRun(paths);
    Timing hidden;
    Timing shown;
    if (!dialogRun(paths, false, hidden) || !dialogRun(paths, true, shown)) {
        std::fwprintf(stderr, L"cannot create the dialog\n");
        return 1;
    }
    print(L"vector", vector, vector, hidden);
    print(L"hidden", hidden, vector, hidden);
    print(L"shown", shown, vector, hidden);
    if (!countRun(paths)) {
        std::fwprintf(stderr, L"cannot count the messages\n");
        return 1;
    }
    return 0;
}
