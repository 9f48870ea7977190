#include "erase/TaskLog.h"

#include "foundation/Logger.h"

namespace {

using Kestrel::LogLevel;

void logPath(LogLevel level, const wchar_t* format, const EraseTask& task)
{
    const std::wstring path = task.path();
    Kestrel::Logger::instance().log(level, format, path.c_str());
}

bool isFreeSpace(const EraseTask& task) noexcept
{
    return task.kind() == ItemKind::FreeSpace;
}

} // namespace

void logTaskStarted(const EraseTask& task)
{
    logPath(LogLevel::Info, L"Start to erase: %s. ", task);
}

void logTaskStopRequested(const EraseTask& task)
{
    logPath(LogLevel::Info, L"Cancel to erase: %s. ", task);
}

void logTaskOutcome(const EraseTask& task)
{
    switch (task.status()) {
    case EraseStatus::Done:
        logPath(LogLevel::Info, isFreeSpace(task) ? L"Free space wiped: %s. " : L"File erased: %s. ", task);
        break;
    case EraseStatus::Aborted:
        logPath(LogLevel::Info, L"Cancel erasing: %s. ", task);
        break;
    case EraseStatus::Failed:
        logPath(LogLevel::Error, isFreeSpace(task) ? L"Failed to wipe free space: %s. " : L"Failed to erase: %s. ",
                task);
        break;
    default:
        return;
    }
    if (!task.warning().empty())
        Kestrel::Logger::instance().log(LogLevel::Warning, L"%s", task.warning().c_str());
}
