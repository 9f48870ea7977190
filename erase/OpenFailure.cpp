#include "erase/OpenFailure.h"

#include "erase/FileHolders.h"
#include "foundation/ExtendedPath.h"
#include "foundation/FailureCollector.h"
#include "foundation/Logger.h"

#include <algorithm>
#include <vector>

namespace {

// Each question to the Restart Manager opens a session of its own; a user needs a few names to know
// what to close, not all of them.
constexpr std::size_t kNamesShown = 3;

const wchar_t* nounOf(OpenedItem item) noexcept
{
    return item == OpenedItem::Folder ? L"folder" : L"file";
}

// " (A, B, C and 2 more)", or nothing when no program is named.
std::wstring holdersPart(std::vector<std::wstring> names)
{
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    if (names.empty())
        return {};
    std::wstring part = L" (";
    for (std::size_t shown = 0; shown < std::min(names.size(), kNamesShown); ++shown)
        part += (shown == 0 ? L"" : L", ") + names[shown];
    if (names.size() > kNamesShown)
        part += L" and " + std::to_wstring(names.size() - kNamesShown) + L" more";
    return part + L")";
}

// The system's own words for any other error, as one sentence; its code when it has none.
std::wstring systemReason(DWORD error)
{
    // A message longer than this fails the call, and the code stands in for it.
    std::wstring reason(512, L'\0');
    reason.resize(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                 reason.data(), static_cast<DWORD>(reason.size()), nullptr));
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' ' ||
                               reason.back() == L'.'))
        reason.pop_back();
    if (reason.empty())
        reason = L"Windows error " + std::to_wstring(error);
    return reason + L". ";
}

} // namespace

std::wstring openFailureReason(const std::wstring& path, DWORD error, OpenedItem item)
{
    const std::wstring noun = nounOf(item);
    switch (error) {
    case ERROR_SUCCESS:
        return {};
    case ERROR_SHARING_VIOLATION:
        return L"The " + noun + L" is in use by another program" + holdersPart(programsHolding(path)) + L". ";
    case ERROR_LOCK_VIOLATION:
        return L"Another program has locked a part of the " + noun + holdersPart(programsHolding(path)) + L". ";
    case ERROR_ACCESS_DENIED:
        return L"Access to the " + noun + L" is denied. ";
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return L"The " + noun + L" is no longer there. ";
    default:
        return systemReason(error);
    }
}

void reportOpenFailure(const std::wstring& path, DWORD error, OpenedItem item)
{
    const std::wstring display = Kestrel::displayPath(path);
    const std::wstring reason = openFailureReason(display, error, item);
    // The task carries the code with the line, for a caller that reports it as data.
    Kestrel::FailureCollector::noteFileError(error, display);
    Kestrel::Logger::instance().log(Kestrel::LogLevel::Error, L"Failed to open: %s. %s", display.c_str(),
                                    reason.c_str());
}
