// list_paint_bench   paints a list window of 50 visible rows over a list of 100,000 rows (at the
//                    top, the middle and the bottom) and one progress row as the task list
//                    repaints it every 50 ms, and the same window over an empty list: time per
//                    paint and callback calls per paint, and their ratios to the empty list.
// Prints a small table for scripts/bench.
#include "listctrl/CListImpl.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kRows = 100000;
constexpr int kVisibleRows = 50;
constexpr int kPaints = 200;

// Rows as the task list has them: a path, a status, a progress bar and a link.
class BenchList : public Kestrel::CListImpl<BenchList> {
public:
    int getItemCount()
    {
        ++calls;
        return rows;
    }
    std::wstring getItemText(int item, int subItem)
    {
        ++calls;
        switch (subItem) {
        case 0:
            return L"C:\\Users\\someone\\Documents\\reports\\quarter-" + std::to_wstring(item) + L".xlsx";
        case 1:
            return L"Waiting";
        case 2:
            return std::to_wstring(item % 101) + L".500000";
        default:
            return L"Cancel";
        }
    }
    int getItemImage(int, int subItem)
    {
        ++calls;
        return subItem == 0 ? 10 : -1;
    }

    int rows = 0;
    long long calls = 0;
};

class Host : public Kestrel::CWindowImpl<Host> {
public:
    static constexpr auto messageMap() { return Kestrel::messageMapOf<Host>(); }
};

double now()
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Measure {
    double secondsPerPaint;
    double callsPerPaint;
};

// Whole client area, as WM_PAINT after a full invalidation paints it.
Measure fullPaints(BenchList& list)
{
    list.calls = 0;
    const double start = now();
    for (int paint = 0; paint < kPaints; ++paint) {
        list.invalidate();
        list.updateWindow();
    }
    return {(now() - start) / kPaints, static_cast<double>(list.calls) / kPaints};
}

// One row invalidated, as a progress update of the running row.
Measure rowPaints(BenchList& list, int item)
{
    const RECT row = list.itemRect(item);
    list.calls = 0;
    const double start = now();
    for (int paint = 0; paint < kPaints; ++paint) {
        InvalidateRect(list.handle(), &row, FALSE);
        list.updateWindow();
    }
    return {(now() - start) / kPaints, static_cast<double>(list.calls) / kPaints};
}

void print(const char* name, const Measure& measure, const Measure& baseline)
{
    std::printf("%-22s %10.3f %10.1f %10.3f %10.1f\n", name, measure.secondsPerPaint * 1000.0, measure.callsPerPaint,
                measure.secondsPerPaint / baseline.secondsPerPaint, measure.callsPerPaint / baseline.callsPerPaint);
}

} // namespace

int wmain()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    Host host;
    if (!host.create(nullptr, RECT{0, 0, 900, 1200}, L"list_paint_bench", WS_POPUP | WS_VISIBLE))
        return 1;
    BenchList list;
    if (!list.create(host.handle(), RECT{0, 0, 600, 100}, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 1007))
        return 1;
    Kestrel::ImageList images(ImageList_LoadImageW(Kestrel::moduleInstance(), MAKEINTRESOURCEW(1010), 16, 0,
                                                   RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION));
    list.setItemImageList(images.get());
    list.addColumn(L"Path", 300);
    list.addColumn(L"Status", 100);
    list.addColumn(L"Progress", 110, -1, false, Kestrel::FormatProgress);
    list.addColumn(L"Action", 60, -1, false, Kestrel::FormatLinkIfText);
    list.setFocusSubItem(true);
    // A client area of exactly 50 rows under the header.
    const int frame = (list.windowRect().bottom - list.windowRect().top) - list.clientRect().bottom;
    SetWindowPos(list.handle(), nullptr, 0, 0, 620, list.headerHeight() + kVisibleRows * list.rowHeight() + frame,
                 SWP_NOMOVE | SWP_NOZORDER);

    const Measure empty = fullPaints(list);
    list.rows = kRows;
    list.resetScrollBars(SB_BOTH);
    list.selectItem(3, Kestrel::ColumnPosition(0), 0);
    const Measure top = fullPaints(list);
    list.ensureItemVisible(kRows / 2 + kVisibleRows - 1);
    const Measure middle = fullPaints(list);
    list.ensureItemVisible(kRows - 1);
    const Measure bottom = fullPaints(list);
    list.ensureItemVisible(0);
    const Measure progress = rowPaints(list, 2);

    std::printf("list paint: %d visible rows of %d, %d paints each, %d x %d pixels\n", list.visibleItemCount(),
                kRows, kPaints, static_cast<int>(list.clientRect().right), static_cast<int>(list.clientRect().bottom));
    std::printf("%-22s %10s %10s %10s %10s\n", "paint", "ms/paint", "calls", "time/empty", "calls/empty");
    print("empty list (baseline)", empty, empty);
    print("100,000 rows, top", top, empty);
    print("100,000 rows, middle", middle, empty);
    print("100,000 rows, bottom", bottom, empty);
    print("one progress row", progress, empty);
    std::fflush(stdout);
    // The windows stay up until the process ends: taking a visible window down waits for a
    // window manager that the virtual display does not have.
    ExitProcess(0);
}
