#include "foundation/LogFile.h"

#include "foundation/DebugOutputLogWriter.h"
#include "foundation/FileLogWriter.h"
#include "foundation/FileSpec.h"
#include "foundation/Logger.h"
#include "foundation/OutputLogWriter.h"
#include "foundation/PathUtilities.h"

#include <memory>

namespace Kestrel {

std::wstring logFilePath()
{
    return joinPath(userDataFolder(), L"KWW.log");
}

void addLogWriters(const std::wstring& path)
{
    auto output = std::make_unique<OutputLogWriter>(1);
    auto file = std::make_unique<FileLogWriter>(2, path);
    auto debugOutput = std::make_unique<DebugOutputLogWriter>(2);
    Logger& logger = Logger::instance();
    logger.addWriter(std::move(output));
    logger.addWriter(std::move(debugOutput));
    logger.addWriter(std::move(file));
}

} // namespace Kestrel
