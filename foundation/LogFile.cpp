#include "foundation/LogFile.h"

#include "foundation/DebugOutputLogWriter.h"
#include "foundation/FileLogWriter.h"
#include "foundation/FileSpec.h"
#include "foundation/Logger.h"
#include "foundation/OutputLogWriter.h"
#include "foundation/PathUtilities.h"

#include <cwchar>
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

namespace {

// The local time's distance from UTC now, in minutes (east positive); 0 when it is not known.
long utcOffsetMinutes()
{
    TIME_ZONE_INFORMATION zone{};
    const DWORD kind = GetTimeZoneInformation(&zone);
    if (kind == TIME_ZONE_ID_INVALID)
        return 0;
    long bias = zone.Bias;
    if (kind == TIME_ZONE_ID_DAYLIGHT)
        bias += zone.DaylightBias;
    else if (kind == TIME_ZONE_ID_STANDARD)
        bias += zone.StandardBias;
    return -bias;
}

} // namespace

void logStart(const std::wstring& program)
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const long offset = utcOffsetMinutes();
    const long distance = offset < 0 ? -offset : offset;
    wchar_t when[48]{};
    std::swprintf(when, sizeof when / sizeof when[0], L"%04u-%02u-%02u %02u:%02u:%02u (UTC%lc%02ld:%02ld)",
                  unsigned{now.wYear}, unsigned{now.wMonth}, unsigned{now.wDay}, unsigned{now.wHour},
                  unsigned{now.wMinute}, unsigned{now.wSecond}, offset < 0 ? L'-' : L'+', distance / 60,
                  distance % 60);
    Logger::instance().log(LogLevel::Info, L"%s started %s. ", program.c_str(), when);
}

} // namespace Kestrel
