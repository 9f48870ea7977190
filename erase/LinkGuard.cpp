#include "erase/LinkGuard.h"

#include "foundation/Logger.h"

bool pathIsLink(const std::wstring& path)
{
    return isLink(GetFileAttributesW(path.c_str()));
}

void reportSkippedLink(const std::wstring& path)
{
    Kestrel::Logger::instance().log(Kestrel::LogLevel::Error, L"Skipped link: %s. ", path.c_str());
}
