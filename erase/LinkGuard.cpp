#include "erase/LinkGuard.h"

#include "foundation/Logger.h"

void reportSkippedLink(const std::wstring& path)
{
    Kestrel::Logger::instance().log(Kestrel::LogLevel::Error, L"Skipped link: %s. ", path.c_str());
}

void reportSkippedHardLink(const std::wstring& path)
{
    Kestrel::Logger::instance().log(Kestrel::LogLevel::Error, L"Skipped hard-linked file: %s. ", path.c_str());
}
