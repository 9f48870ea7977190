#include "erase/LeftoverFillFolders.h"

#include "erase/FillFolder.h"
#include "foundation/ExtendedPath.h"
#include "foundation/Logger.h"

#include <vector>

void clearLeftoverFillFolders(const std::wstring& root)
{
    std::vector<std::wstring> removed, kept;
    removeLeftoverFillFolders(root, removed, kept);
    Kestrel::Logger& logger = Kestrel::Logger::instance();
    for (const std::wstring& path : removed)
        logger.log(Kestrel::LogLevel::Info, L"Removed an earlier fill folder: %s. ", Kestrel::displayPath(path).c_str());
    for (const std::wstring& path : kept)
        logger.log(Kestrel::LogLevel::Error, L"Kept a folder that is not the program's fill folder: %s. ",
                   Kestrel::displayPath(path).c_str());
}
