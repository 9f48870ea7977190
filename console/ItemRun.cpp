#include "console/ItemRun.h"

#include "console/KeptFolder.h"
#include "console/ProgressLine.h"
#include "console/StopRequest.h"
#include "erase/TaskRunner.h"
#include "framework/UserObject.h"

#include <cwctype>

namespace {

// How often the progress line is brought up to date while the worker runs.
constexpr DWORD kProgressInterval = 100; // milliseconds

// The line names the item first; a reason that names it again ("File not found: C:\\x") says
// only what happened ("File not found").
std::wstring withoutPath(std::wstring reason, const std::wstring& path)
{
    const std::wstring named = L": " + path;
    const std::size_t at = reason.find(named);
    if (at == std::wstring::npos)
        return reason;
    const std::size_t end = at + named.size();
    if (end == reason.size())
        return reason.erase(at);
    // "Failed to open: C:\\x. The file is in use ..." says "Failed to open: the file is in use ...".
    if (reason.compare(end, 2, L". ") == 0 && end + 2 < reason.size()) {
        reason[end + 2] = static_cast<wchar_t>(std::towlower(reason[end + 2]));
        return reason.erase(at + 2, named.size());
    }
    return reason;
}

} // namespace

std::wstring resultLine(const std::wstring& path, const ItemOutcome& outcome)
{
    std::wstring line = statusText(outcome.status) + L": " + path;
    for (const std::wstring& remark : {withoutPath(outcome.reason, path), outcome.warning}) {
        if (!remark.empty())
            line += L" (" + remark + L")";
    }
    return line;
}

namespace {

// What stays of an item a stop cut short, so that nobody takes the kept name for an intact file.
std::wstring stoppedPartWay(ItemKind kind)
{
    if (kind == ItemKind::File)
        return L"stopped part-way: it stays under its name, partly overwritten; the same command finishes it";
    if (kind == ItemKind::Folder)
        return L"stopped part-way: what was not erased yet stays, a file perhaps partly overwritten under its "
               L"name; the same command finishes it";
    return {};
}

} // namespace

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
    const std::optional<DWORD> code =
        failure && failure->error != ERROR_SUCCESS ? std::optional<DWORD>(failure->error) : std::nullopt;
    if (told->status() == EraseStatus::Aborted)
        return {EraseStatus::Aborted, stoppedPartWay(kind), told->warning(), code, told->readBack()};
    std::wstring reason = failure ? failure->message : std::wstring();
    if (told->status() == EraseStatus::Failed && kind == ItemKind::Folder) {
        if (const auto kept = keptForLinks(path))
            reason = *kept;
    }
    return {told->status(), reason, told->warning(), code, told->readBack()};
}
