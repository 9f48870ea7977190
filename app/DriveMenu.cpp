#include "app/DriveMenu.h"

#include "app/DriveChoiceText.h"
#include "app/UserTexts.h"
#include "framework/UserObject.h"

#include <vector>

namespace {

// The command of the first drive's item; 0 is what the menu answers when nothing was chosen.
constexpr UINT kFirstDriveCommand = 1;

// A label's "&" would otherwise underline the letter after it and be lost.
std::wstring shownAsIs(const std::wstring& text)
{
    std::wstring shown;
    for (const wchar_t character : text) {
        shown += character;
        if (character == L'&')
            shown += L'&';
    }
    return shown;
}

Kestrel::MenuHandle driveMenu(const std::vector<WipeableDrive>& drives)
{
    Kestrel::MenuHandle menu(CreatePopupMenu());
    if (!menu)
        return menu;
    if (drives.empty())
        AppendMenuW(menu.get(), MF_STRING | MF_GRAYED, 0, UserTexts::kNoWipeableDrive);
    UINT command = kFirstDriveCommand;
    for (const WipeableDrive& drive : drives)
        AppendMenuW(menu.get(), MF_STRING, command++, shownAsIs(driveChoiceText(drive)).c_str());
    return menu;
}

} // namespace

std::optional<std::wstring> chooseDriveBelow(HWND button)
{
    const std::vector<WipeableDrive> drives = wipeableDrives();
    const Kestrel::MenuHandle menu = driveMenu(drives);
    RECT buttonRect{};
    if (!menu || !GetWindowRect(button, &buttonRect))
        return std::nullopt;
    // The button stays in sight: the menu opens below it, or above it near the screen's end.
    TPMPARAMS keepClear{sizeof keepClear, buttonRect};
    const UINT chosen = static_cast<UINT>(TrackPopupMenuEx(
        menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_RETURNCMD | TPM_NONOTIFY, buttonRect.left,
        buttonRect.bottom, GetParent(button), &keepClear));
    if (chosen < kFirstDriveCommand || chosen - kFirstDriveCommand >= drives.size())
        return std::nullopt;
    return drives[chosen - kFirstDriveCommand].root;
}
