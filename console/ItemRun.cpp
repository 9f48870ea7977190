#include "console/ItemRun.h"

#include "console/ProgressLine.h"
#include "console/StopRequest.h"
#include "erase/TaskRunner.h"
#include "framework/UserObject.h"

namespace {

// How often the progress line is brought up to date while the worker runs.
constexpr DWORD kProgressInterval = 100; // milliseconds

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

ItemOutcome runItem(ItemKind kind, const std::wstring& path, StopRequest& stop, ProgressLine& progress,
                    VerifyMode verify)
{
    // The finished message needs an owner; the runner takes it from the queue itself.
    const Kestrel::OwnedWindow owner(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                                     GetModuleHandleW(nullptr), nullptr));
    TaskRunner runner([&owner](EraseTask& task) { return owner && task.start(); });
    EraseTask item(kind, path, EraseStatus::InProgress, 0.0, owner.get());
    item.setVerifyMode(verify);
    const EraseTask* ended = runner.run(item, kProgressInterval, stop.event(), [&](const EraseTask& task) {
                                            if (stop.requested())
                                                runner.requestStop();
                                            progress.show(task.progress(), task.path());
                                        });
    progress.clear();
    // A start that failed is kept in the runner's record; a wait that failed leaves nothing to read.
    const EraseTask* told = ended ? ended : runner.running() ? nullptr : runner.task();
    if (!told)
        return {EraseStatus::Failed, {}, {}, {}, ReadBackExtent::None};
    const auto& failure = told->failure();
    return {told->status(), failure ? failure->message : std::wstring(), told->warning(),
            failure && failure->error != ERROR_SUCCESS ? std::optional<DWORD>(failure->error) : std::nullopt,
            told->readBack()};
}
