#include "app/DriveChoiceText.h"

#include <shlwapi.h>

#include <iterator>

std::wstring driveChoiceText(const WipeableDrive& drive)
{
    std::wstring text = drive.root + L"  ";
    if (!drive.label.empty())
        text += drive.label + L" ";
    return text + L"(" + drive.fileSystem + L"), " + byteCountText(drive.freeBytes) + L" free";
}

std::wstring byteCountText(std::uint64_t bytes)
{
    // Explorer's own wording and the user's decimal point. StrFormatByteSizeEx says the same with
    // a choice of rounding, but Wine lacks it (the call aborts the process).
    wchar_t text[32]{};
    if (!StrFormatByteSizeW(static_cast<LONGLONG>(bytes), text, static_cast<UINT>(std::size(text))))
        return std::to_wstring(bytes) + L" bytes";
    return text;
}
