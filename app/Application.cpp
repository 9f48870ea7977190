#include "app/Application.h"

#include "app/ProductName.h"
#include "app/SingleInstance.h"
#include "app/StartupLog.h"
#include "app/WipewellMainDlg.h"
#include "foundation/PathUtilities.h"
#include "framework/CAppModule.h"
#include "framework/CMessageLoop.h"

#include <exception>

namespace {

constexpr const wchar_t* kFailureText =
    L"Sorry. Some errors occur and this application will be closed. Please relaunch it. ";

// The calling thread's loop, known to the module for as long as this object lives.
class LoopRegistration {
public:
    explicit LoopRegistration(Kestrel::CMessageLoop& loop)
        : registered_(Kestrel::CAppModule::instance().addMessageLoop(&loop))
    {
    }
    ~LoopRegistration()
    {
        if (registered_)
            Kestrel::CAppModule::instance().removeMessageLoop();
    }
    LoopRegistration(const LoopRegistration&) = delete;
    LoopRegistration& operator=(const LoopRegistration&) = delete;

private:
    bool registered_;
};

} // namespace

int runApplication(const wchar_t*, int showCommand)
{
    Kestrel::CMessageLoop loop;
    const LoopRegistration registration(loop);
    static_cast<void>(Kestrel::tempDataFolder());

    // Nothing else may be set up before this test: a second instance leaves no trace.
    SingleInstance instance(kInstanceName);
    if (instance.isAnotherRunning()) {
        SingleInstance::bringToFront(FindWindowW(nullptr, Kestrel::kProductName));
        return kExitAnotherInstance;
    }

    const std::wstring logPath = logFilePath();
    limitLogFile(logPath);
    addLogWriters(logPath);

    WipewellMainDlg dialog;
    if (!dialog.create(nullptr, 0))
        return kExitFailed;
    dialog.showWindow(showCommand);
    return loop.run();
}

int runReportingFailure(const std::function<int()>& body)
{
    try {
        return body();
    } catch (const std::exception&) {
        MessageBoxW(nullptr, kFailureText, Kestrel::kProductName, MB_ICONERROR);
        return kExitFailed;
    }
}
