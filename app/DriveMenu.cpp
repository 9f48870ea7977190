#include "app/DriveMenu.h"

#include "app/DriveChoiceText.h"
#include "app/DriveSurvey.h"
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

// How long the menu waits for the drives: most answer at once, and a user who pressed the button
// expects the menu within a moment. Under a loaded Wine a drive took more than 1.5 s now and then.
constexpr DWORD kDriveAnswerBound = 2500; // milliseconds

struct Offer {
    std::wstring root;
    std::wstring text;
    bool choosable;
};

std::vector<Offer> offersOf(const std::vector<DriveSurvey::Answer>& answers,
                            const std::function<bool(const std::wstring&)>& isWaiting)
{
    std::vector<Offer> offers;
    for (const DriveSurvey::Answer& answer : answers) {
        if (!answer.answered)
            offers.push_back({answer.root, answer.root + L"  " + UserTexts::kDriveNotAnswering, false});
        else if (answer.drive)
            offers.push_back({answer.root, shownAsIs(driveChoiceText(*answer.drive)), !isWaiting(answer.root)});
    }
    return offers;
}

Kestrel::MenuHandle driveMenu(const std::vector<Offer>& offers)
{
    Kestrel::MenuHandle menu(CreatePopupMenu());
    if (!menu)
        return menu;
    if (offers.empty())
        AppendMenuW(menu.get(), MF_STRING | MF_GRAYED, 0, UserTexts::kNoWipeableDrive);
    UINT command = kFirstDriveCommand;
    for (const Offer& offer : offers)
        AppendMenuW(menu.get(), MF_STRING | (offer.choosable ? 0 : MF_GRAYED), command++, offer.text.c_str());
    return menu;
}

} // namespace

std::optional<std::wstring> chooseDriveBelow(HWND button, const std::function<bool(const std::wstring&)>& isWaiting)
{
    const DriveSurvey survey;
    const std::vector<Offer> offers = offersOf(survey.answersWithin(kDriveAnswerBound), isWaiting);
    const Kestrel::MenuHandle menu = driveMenu(offers);
    RECT buttonRect{};
    if (!menu || !GetWindowRect(button, &buttonRect))
        return std::nullopt;
    // The button stays in sight: the menu opens below it, or above it near the screen's end.
    TPMPARAMS keepClear{sizeof keepClear, buttonRect};
    const UINT chosen = static_cast<UINT>(TrackPopupMenuEx(
        menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_RETURNCMD | TPM_NONOTIFY, buttonRect.left,
        buttonRect.bottom, GetParent(button), &keepClear));
    if (chosen < kFirstDriveCommand || chosen - kFirstDriveCommand >= offers.size() ||
        !offers[chosen - kFirstDriveCommand].choosable)
        return std::nullopt;
    return offers[chosen - kFirstDriveCommand].root;
}
