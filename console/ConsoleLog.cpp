#include "console/ConsoleLog.h"

#include "erase/LogFileLimit.h"
#include "foundation/DebugOutputLogWriter.h"
#include "foundation/FileLogWriter.h"
#include "foundation/LogFile.h"

#include <memory>

void setUpConsoleLog()
{
    const std::wstring path = Kestrel::logFilePath();
    limitLogFile(path);
    Kestrel::Logger& logger = Kestrel::Logger::instance();
    logger.addWriter(std::make_unique<Kestrel::DebugOutputLogWriter>(2));
    logger.addWriter(std::make_unique<Kestrel::FileLogWriter>(2, path));
    Kestrel::logStart(L"kww");
}
