#include "app/Application.h"

#include "app/HandedPaths.h"
#include "app/PathHandOver.h"
#include "app/ProductName.h"
#include "app/SingleInstance.h"
#include "app/UserTexts.h"
#include "app/WipewellMainDlg.h"
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

// Explorer starts one copy of the program per selected item, all at once: the copy that took the
// instance mutex may not have made its window yet when the others look for it, so they look
// again for this long before they give up.
constexpr DWORD kMainWindowWait = 5000;   // milliseconds
constexpr DWORD kLookAgainAfter = 50;     // milliseconds
// The running instance checks each path on the disk before it answers; a hung one is given up
// on sooner (SMTO_ABORTIFHUNG).
constexpr UINT kHandOverAnswerWait = 10000; // milliseconds

// Explorer lets the process it started take the foreground, not the running instance; yet a
// window restored or activated from here is activated on the running instance's own thread.
// This start passes its right on before it touches the window.
HandOver offerItems(HWND window, const HandedItems& items)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    AllowSetForegroundWindow(process);
    return handItemsOver(window, items, kHandOverAnswerWait);
}

// A second start: the running instance's window gets this start's paths or drives, and comes to
// the front. The running instance may end between the mutex test and the hand-over, and then no
// window takes them: this start takes its place instead (true), holding the mutex now, so that
// they go to a window of its own.
bool tookThePlaceOfTheRunningInstance(SingleInstance& instance, const HandedItems& items)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const HWND window = SingleInstance::findMainWindow(Kestrel::kProductName);
        // No window yet counts as a window not ready yet: both are looked for again. Paths that
        // found no answer are not sent again: a slow window may still take them, and would then
        // show them twice.
        const HandOver outcome = window ? offerItems(window, items) : HandOver::Refused;
        // A window that went away while it was offered them counts as none.
        const bool windowGone = !IsWindow(window);
        if (!windowGone && outcome != HandOver::Refused) {
            SingleInstance::bringToFront(window);
            return false;
        }
        if (windowGone && !instance.isAnotherRunning())
            return true;
        if (GetTickCount() - start >= kMainWindowWait) {
            SingleInstance::bringToFront(window);
            return false;
        }
        Sleep(kLookAgainAfter);
    }
}

} // namespace

int runApplication(const wchar_t* arguments, int showCommand)
{
    Kestrel::CMessageLoop loop;
    const LoopRegistration registration(loop);
    // The per-user folder under the temporary folder is the one thing made before the instance
    // test; a second instance leaves nothing else behind: no log line, no log file change.
    static_cast<void>(Kestrel::tempDataFolder());
    // Made whole here: a relative path means this process's current folder, not the running one's.
    const HandedItems items = handedItems(arguments);

    // Held until the dialog has gone: a later start then finds the mutex free and starts anew.
    SingleInstance instance(kInstanceName);
    if (instance.isAnotherRunning() && !tookThePlaceOfTheRunningInstance(instance, items))
        return kExitAnotherInstance;

    const std::wstring logPath = Kestrel::logFilePath();
    Kestrel::limitLogFile(logPath);
    Kestrel::addLogWriters(logPath);

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
