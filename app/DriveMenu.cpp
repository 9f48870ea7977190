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
// The window goes on meanwhile.
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

DriveMenu::~DriveMenu()
{
    // The survey's askers post to this window: it goes first, then the survey waits its moment.
    destroyWindow();
}

void DriveMenu::openBelow(HWND button, IsWaiting isWaiting, Chosen chosen)
{
    if (asking_)
        return;
    if (!handle() && !create(HWND_MESSAGE, RECT{}, L"", 0))
        return;
    if (!survey_)
        survey_ = std::make_unique<DriveSurvey>(handle(), kDriveAnswered);
    button_ = button;
    isWaiting_ = std::move(isWaiting);
    chosen_ = std::move(chosen);
    asking_ = true;
    survey_->ask();
    if (survey_->allAnswered() || !setTimer(kBoundTimer, kDriveAnswerBound))
        show();
}

void DriveMenu::onDriveAnswered()
{
    if (asking_ && survey_->allAnswered())
        show();
}

void DriveMenu::onTimer(UINT_PTR id)
{
    if (id == kBoundTimer && asking_)
        show();
}

void DriveMenu::show()
{
    killTimer(kBoundTimer);
    asking_ = false;
    // A window that went out of sight meanwhile (closed while erasing) opens no menu.
    if (!IsWindowVisible(button_))
        return;
    const std::vector<Offer> offers = offersOf(survey_->answers(), isWaiting_);
    const Kestrel::MenuHandle menu = driveMenu(offers);
    RECT buttonRect{};
    if (!menu || !GetWindowRect(button_, &buttonRect))
        return;
    // The button stays in sight: the menu opens below it, or above it near the screen's end.
    TPMPARAMS keepClear{sizeof keepClear, buttonRect};
    const UINT chosen = static_cast<UINT>(TrackPopupMenuEx(
        menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_RETURNCMD | TPM_NONOTIFY, buttonRect.left,
        buttonRect.bottom, GetParent(button_), &keepClear));
    if (chosen < kFirstDriveCommand || chosen - kFirstDriveCommand >= offers.size() ||
        !offers[chosen - kFirstDriveCommand].choosable)
        return;
    chosen_(offers[chosen - kFirstDriveCommand].root);
}
