#include "erase/LinkGuard.h"

#include "foundation/Logger.h"

DWORD reparseTagOf(HANDLE handle, DWORD attributes) noexcept
{
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return 0;
    FILE_ATTRIBUTE_TAG_INFO info{};
    if (!GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &info, sizeof info))
        return 0;
    return info.ReparseTag;
}

void reportSkippedLink(const std::wstring& path)
{
    Kestrel::Logger::instance().log(Kestrel::LogLevel::Error, L"Skipped link: %s. ", path.c_str());
}

void reportSkippedLink(const std::wstring& path, DWORD attributes, DWORD tag)
{
    if (reparseKindOf(attributes, tag) != ReparseKind::Link || tag == 0 || IsReparseTagNameSurrogate(tag)) {
        reportSkippedLink(path);
        return;
    }
    Kestrel::Logger::instance().log(Kestrel::LogLevel::Error,
                                    L"Skipped reparse point of an unknown kind (tag 0x%08lX): %s. ", tag, path.c_str());
}

void reportSkippedHardLink(const std::wstring& path)
{
    Kestrel::Logger::instance().log(Kestrel::LogLevel::Error, L"Skipped hard-linked file: %s. ", path.c_str());
}
