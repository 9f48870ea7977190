#include "app/UserInterfaceThread.h"

#include "framework/CAppModule.h"

#include <commctrl.h>
#include <ole2.h>

UserInterfaceThread::UserInterfaceThread(HINSTANCE instance) noexcept
    : oleInitialised_(SUCCEEDED(OleInitialize(nullptr)))
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    Kestrel::CAppModule::instance().initialise(instance);
}

UserInterfaceThread::~UserInterfaceThread()
{
    Kestrel::CAppModule::instance().terminate();
    if (oleInitialised_)
        OleUninitialize();
}
