#pragma once

#include <windows.h>

// A message box with the program's caption; answers the button pressed (IDYES, IDNO, IDOK).
int showMessage(HWND owner, const wchar_t* text, UINT type) noexcept;
