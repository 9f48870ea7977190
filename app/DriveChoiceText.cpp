#include "app/DriveChoiceText.h"

#include <cstdio>
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
    constexpr const wchar_t* kUnits[] = {L"KB", L"MB", L"GB", L"TB", L"PB", L"EB"};
    if (bytes < 1024)
        return std::to_wstring(bytes) + L" bytes";
    double value = static_cast<double>(bytes) / 1024.0;
    std::size_t unit = 0;
    // Rounded as it is shown: 1023.96 KB would read "1024 KB".
    while (value >= 1023.5 && unit + 1 < std::size(kUnits)) {
        value /= 1024.0;
        ++unit;
    }
    wchar_t number[32]{};
    std::swprintf(number, std::size(number), value < 99.95 ? L"%.1f" : L"%.0f", value);
    return number + std::wstring(L" ") + kUnits[unit];
}
