#include "app/HelpPage.h"

#include "foundation/PathUtilities.h"

#include <windows.h>
#include <shellapi.h>

std::wstring helpPagePath()
{
    return Kestrel::moduleFolder() + L"help\\help.html";
}

void openHelpPage()
{
    ShellExecuteW(nullptr, L"open", helpPagePath().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
