#pragma once

#include <string>

// The user guide ships beside the program (help\help.html) and works offline.
[[nodiscard]] std::wstring helpPagePath();

// Opens the guide in the user's browser; nothing is reported when that fails.
void openHelpPage();
