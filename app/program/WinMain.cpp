#include "app/Application.h"
#include "app/UserInterfaceThread.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showCommand)
{
    const UserInterfaceThread thread(instance);
    return runReportingFailure([&] { return runApplication(commandLine, showCommand); });
}
