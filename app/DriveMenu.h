#pragma once

#include "app/DriveSurvey.h"
#include "framework/CWindowImpl.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

// The menu that Add Free Space... opens: the wipeable drives (erase/WipeableDrive.h), each as its
// letter, label, file system and free space, shown below the button (above it where the screen
// ends below). A press asks the drives and returns at once, so that the window goes on (painting,
// taking the end of a task) while they answer; the menu opens when all have answered or a moment
// has passed, a drive still silent then greyed as not answering, and so is one whose free space
// already waits (isWaiting). The root ("D:\") of the drive the user chose goes to `chosen`; none
// goes when the menu closes without a choice. With no drive to offer, the menu's one item says so
// and cannot be chosen. The menu's own message-only window takes the drives' answers.
class DriveMenu : public Kestrel::CWindowImpl<DriveMenu> {
public:
    using IsWaiting = std::function<bool(const std::wstring& root)>;
    using Chosen = std::function<void(const std::wstring& root)>;

    static constexpr UINT kDriveAnswered = WM_APP + 1;
    static constexpr UINT_PTR kBoundTimer = 1;

    static constexpr auto messageMap()
    {
        return Kestrel::messageMapOf<DriveMenu>(Kestrel::onMessage<kDriveAnswered, &DriveMenu::onDriveAnswered>,
                                                Kestrel::onMessage<WM_TIMER, &DriveMenu::onTimer>);
    }

    DriveMenu() = default;
    ~DriveMenu() override;
    DriveMenu(const DriveMenu&) = delete;
    DriveMenu& operator=(const DriveMenu&) = delete;

    // Asks the drives for the menu below the button; a press while they are asked does nothing.
    void openBelow(HWND button, IsWaiting isWaiting, Chosen chosen);

private:
    void onDriveAnswered();
    void onTimer(UINT_PTR id);
    void show();

    std::unique_ptr<DriveSurvey> survey_; // made with the window, on the first press
    HWND button_ = nullptr;
    IsWaiting isWaiting_;
    Chosen chosen_;
    bool asking_ = false;
};
