#include "app/StartupLog.h"

#include "foundation/DebugOutputLogWriter.h"
#include "foundation/FileLogWriter.h"
#include "foundation/FileSpec.h"
#include "foundation/Logger.h"
#include "foundation/OutputLogWriter.h"
#include "foundation/PathUtilities.h"

#include <memory>

std::wstring logFilePath()
{
    return Kestrel::joinPath(Kestrel::userDataFolder(), L"KWW.log");
}

void limitLogFile(const std::wstring& path)
{
    Kestrel::FileSpec file(path);
    if (file.exists() && file.fileSize() < kLogFileLimit)
        return;
    // createFile empties an existing file and makes a missing one; a failure is logged by it.
    static_cast<void>(file.createFile());
}

void addLogWriters(const std::wstring& path)
{
    auto output = std::make_unique<Kestrel::OutputLogWriter>(1);
    auto file = std::make_unique<Kestrel::FileLogWriter>(2, path);
    auto debugOutput = std::make_unique<Kestrel::DebugOutputLogWriter>(2);
    Kestrel::Logger& logger = Kestrel::Logger::instance();
    logger.addWriter(std::move(output));
    logger.addWriter(std::move(debugOutput));
    logger.addWriter(std::move(file));
}
