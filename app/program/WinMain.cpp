#include "app/Application.h"
#include "framework/CAppModule.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showCommand)
{
    static_cast<void>(CoInitialize(nullptr));
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    Kestrel::CAppModule& module = Kestrel::CAppModule::instance();
    module.initialise(instance);

    const int exitCode = runReportingFailure([&] { return runApplication(commandLine, showCommand); });

    module.terminate();
    CoUninitialize();
    return exitCode;
}
