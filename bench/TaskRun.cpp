#include "bench/TaskRun.h"

#include <windows.h>

#include <memory>

namespace {

// Fine enough to split a run of a second or more into its parts, coarse enough that the waking
// thread takes no noticeable share of a 2-core machine from the worker.
constexpr DWORD kWatchMilliseconds = 5;

double processCpuSeconds()
{
    FILETIME creation{}, exit{}, kernel{}, user{};
    if (!GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user))
        return 0;
    const auto value = [](const FILETIME& time) {
        return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
    };
    return value(kernel) + value(user);
}

LRESULT CALLBACK receiverProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_ERASE_TASK_FINISHED) {
        PostQuitMessage(static_cast<int>(wParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The message-only window that receives the finished message; destroyed with the object.
class Receiver {
public:
    Receiver()
    {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = receiverProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"KestrelEraseBench";
        if (!GetClassInfoExW(windowClass.hInstance, windowClass.lpszClassName, &windowClass))
            RegisterClassExW(&windowClass);
        window_ = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  windowClass.hInstance, nullptr);
    }
    ~Receiver()
    {
        if (window_)
            DestroyWindow(window_);
    }
    Receiver(const Receiver&) = delete;
    Receiver& operator=(const Receiver&) = delete;

    [[nodiscard]] HWND handle() const noexcept { return window_; }

private:
    HWND window_ = nullptr;
};

// True once the finished message has been handled (its receiver posts the quit).
bool pumpUntilQuit()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            return true;
        DispatchMessageW(&message);
    }
    return false;
}

} // namespace

std::optional<TaskRun> runTask(ItemKind kind, const std::wstring& path, const TaskWatcher& watcher)
{
    const Receiver receiver;
    if (!receiver.handle())
        return std::nullopt;
    const double cpuStarted = processCpuSeconds();
    const LONGLONG started = counterNow();
    auto task = std::make_unique<EraseTask>(kind, path, EraseStatus::InProgress, 0.0, receiver.handle());
    if (!task->start())
        return std::nullopt;
    while (!pumpUntilQuit()) {
        watcher(*task, secondsOf(counterNow() - started));
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kWatchMilliseconds, QS_ALLINPUT);
    }
    TaskRun run;
    run.seconds = secondsOf(counterNow() - started);
    run.cpuSeconds = processCpuSeconds() - cpuStarted;
    run.status = task->status();
    return run;
}

LONGLONG counterNow() noexcept
{
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

double secondsOf(LONGLONG ticks) noexcept
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}
