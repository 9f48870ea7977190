#include "console/TaskRun.h"

#include "console/FailureReason.h"
#include "console/ProgressLine.h"
#include "console/StopRequest.h"
#include "erase/TaskLog.h"
#include "foundation/Logger.h"
#include "foundation/UniqueObject.h"

#include <memory>

namespace {

// How often the progress line is brought up to date while the worker runs.
constexpr DWORD kProgressInterval = 100; // milliseconds

void destroyWindow(HWND window) noexcept
{
    DestroyWindow(window);
}
using MessageWindow = Kestrel::UniqueObject<Kestrel::FreedWith<HWND, &destroyWindow>>;

// A window that only receives messages: the worker's finished message needs an owner window.
// Nothing is dispatched to it; the wait takes the message from the queue itself.
MessageWindow makeMessageWindow()
{
    return MessageWindow(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                         GetModuleHandleW(nullptr), nullptr));
}

} // namespace

std::wstring resultLine(const std::wstring& path, const ItemOutcome& outcome)
{
    std::wstring line = statusText(outcome.status) + L": " + path;
    for (const std::wstring* remark : {&outcome.reason, &outcome.warning}) {
        if (!remark->empty())
            line += L" (" + *remark + L")";
    }
    return line;
}

ItemOutcome TaskRun::run(ItemKind kind, const std::wstring& path)
{
    const MessageWindow owner = makeMessageWindow();
    // On the heap, as the window's running record: should the wait fail, the record is left to
    // its worker rather than freed under it.
    auto task = std::make_unique<EraseTask>(kind, path, EraseStatus::InProgress, 0.0, owner.get());
    reason_.arm();
    if (!owner || !task->start()) {
        Kestrel::Logger::instance().log(Kestrel::LogLevel::Error, L"Failed to start erase.");
        task->setStatus(EraseStatus::Failed);
        logTaskOutcome(*task);
        return {EraseStatus::Failed, reason_.take(), {}};
    }
    logTaskStarted(*task);
    if (!waitForFinish(*task, owner.get())) {
        static_cast<void>(task.release());
        return {EraseStatus::Failed, reason_.take(), {}};
    }
    progress_.clear();
    ItemOutcome outcome{task->status(), reason_.take(), task->warning()};
    logTaskOutcome(*task);
    return outcome;
}

bool TaskRun::waitForFinish(EraseTask& task, HWND owner)
{
    bool stopAsked = false;
    for (;;) {
        // The stop event stays signalled once set: after the request it is no longer waited on.
        const HANDLE stopEvent = stop_.event();
        const DWORD handles = stopAsked || stopEvent == nullptr ? 0 : 1;
        const DWORD woke = MsgWaitForMultipleObjects(handles, &stopEvent, FALSE, kProgressInterval, QS_ALLINPUT);
        if (woke == WAIT_FAILED)
            return false;
        if (!stopAsked && stop_.requested()) {
            stopAsked = true;
            if (task.requestAbort())
                logTaskStopRequested(task);
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_ERASE_TASK_FINISHED && message.hwnd == owner)
                return true;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        progress_.show(task.progress(), task.path());
    }
}
