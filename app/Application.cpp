#include "app/Application.h"

#include "app/HandedPaths.h"
#include "app/LeftoverFillFolderSweep.h"
#include "app/ProductName.h"
#include "app/SecondStart.h"
#include "app/SingleInstance.h"
#include "app/UserTexts.h"
#include "app/WipewellMainDlg.h"
#include "erase/LogFileLimit.h"
#include "foundation/LogFile.h"
#include "foundation/PathUtilities.h"
#include "framework/CAppModule.h"
#include "framework/CMessageLoop.h"

#include <exception>

namespace {

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

int runApplication(const wchar_t* arguments, int showCommand)
{
    Kestrel::CMessageLoop loop;
    const LoopRegistration registration(loop);
    // The per-user folder under the temporary folder is the one thing made before the instance
    // test; a second instance whose items went over leaves nothing else behind: no log line, no
    // log file change.
    static_cast<void>(Kestrel::tempDataFolder());
    // Made whole here: a relative path means this process's current folder, not the running one's.
    const HandedItems items = handedItems(arguments);

    // Held until the dialog has gone: a later start then finds the mutex free and starts anew.
    SingleInstance instance(kInstanceName);
    if (instance.isAnotherRunning() && !tookThePlaceOfTheRunningInstance(instance, items, kHandOverWaits))
        return kExitAnotherInstance;

    const std::wstring logPath = Kestrel::logFilePath();
    limitLogFile(logPath);
    Kestrel::addLogWriters(logPath);
    Kestrel::logStart(Kestrel::kProductName);
    // Only now, with its lines going to the log, and by the first instance alone. Waited for
    // after the window has gone.
    const LeftoverFillFolderSweep leftoverSweep;

    WipewellMainDlg dialog;
    if (!dialog.create(nullptr, 0))
        return kExitFailed;
    // Only rows: nothing starts before the user presses Erase! and answers Yes.
    dialog.addHandedItems(items);
    dialog.showWindow(showCommand);
    return loop.run();
}

int runReportingFailure(const std::function<int()>& body)
{
    try {
        return body();
    } catch (const std::exception&) {
        MessageBoxW(nullptr, UserTexts::kFailure, Kestrel::kProductName, MB_ICONERROR);
        return kExitFailed;
    }
}
