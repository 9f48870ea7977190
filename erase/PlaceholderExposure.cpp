#include "erase/PlaceholderExposure.h"

#include <windows.h>

namespace {

// Named as Microsoft's ntifs.h names it.
constexpr CHAR kExposePlaceholders = 2; // PHCM_EXPOSE_PLACEHOLDERS

using SetPlaceholderMode = CHAR(NTAPI*)(CHAR mode);

} // namespace

void exposeCloudPlaceholders() noexcept
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll)
        return;
    // The previous mode, or a negative error, is of no use: a process that cannot change its mode
    // still sees placeholders as Windows shows them to most programs, exposed.
    if (const auto setMode = reinterpret_cast<SetPlaceholderMode>(
            reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "RtlSetProcessPlaceholderCompatibilityMode"))))
        static_cast<void>(setMode(kExposePlaceholders));
}
