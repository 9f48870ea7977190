#include "app/Application.h"
#include "app/UserInterfaceThread.h"
#include "erase/PlaceholderExposure.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showCommand)
{
    exposeCloudPlaceholders();
    const UserInterfaceThread thread(instance);
    return runReportingFailure([&] { return runApplication(commandLine, showCommand); });
}
