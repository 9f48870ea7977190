#include "console/ConsoleLog.h"

#include "console/FailureReason.h"
#include "erase/LogFileLimit.h"
#include "foundation/DebugOutputLogWriter.h"
#include "foundation/FileLogWriter.h"
#include "foundation/LogFile.h"

#include <memory>

FailureReason& setUpConsoleLog()
{
    const std::wstring path = Kestrel::logFilePath();
    limitLogFile(path);
    auto reason = std::make_unique<FailureReason>();
    FailureReason& kept = *reason;
    Kestrel::Logger& logger = Kestrel::Logger::instance();
    logger.addWriter(std::make_unique<Kestrel::DebugOutputLogWriter>(2));
    logger.addWriter(std::make_unique<Kestrel::FileLogWriter>(2, path));
    logger.addWriter(std::move(reason));
    return kept;
}
