#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

// The menu that Add Free Space... opens: the wipeable drives (erase/WipeableDrive.h), each as its
// letter, label, file system and free space, shown below the button (above it where the screen
// ends below). A drive that has not answered within a moment is shown greyed as not answering, and
// so is one whose free space already waits (isWaiting). The root ("D:\") of the drive the user
// chose, or nothing when none was chosen. With no drive to offer, the menu's one item says so and
// cannot be chosen.
[[nodiscard]] std::optional<std::wstring> chooseDriveBelow(HWND button,
                                                           const std::function<bool(const std::wstring&)>& isWaiting);
