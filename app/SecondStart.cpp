#include "app/SecondStart.h"

#include "app/MessageBox.h"
#include "app/PathHandOver.h"
#include "app/ProductName.h"
#include "app/UserTexts.h"
#include "erase/RecycleBin.h"
#include "foundation/DriveRoot.h"
#include "foundation/FileLogWriter.h"
#include "foundation/LogFile.h"
#include "foundation/Logger.h"
#include "foundation/OutputLogWriter.h"

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr DWORD kLookAgainAfter = 50; // milliseconds
// The box names this many and counts the rest; the log names every one.
constexpr std::size_t kItemsInTheBox = 10;
// A longer path is shown by its beginning and its end, which tell the user the most.
constexpr std::size_t kLongestShownPath = 100;
constexpr std::size_t kShownPathBeginning = 40;

// The log's writers, as a first start has them, for the lines of one scope. A later start keeps
// none otherwise: the running instance logs what it is handed, and owns the cutting of the file.
class LogWritersForAWhile {
public:
    LogWritersForAWhile()
    {
        auto output = std::make_unique<Kestrel::OutputLogWriter>(1);
        auto file = std::make_unique<Kestrel::FileLogWriter>(2, Kestrel::logFilePath());
        writers_ = {output.get(), file.get()};
        Kestrel::Logger::instance().addWriter(std::move(output));
        Kestrel::Logger::instance().addWriter(std::move(file));
    }
    ~LogWritersForAWhile()
    {
        for (const Kestrel::LogWriter* writer : writers_)
            static_cast<void>(Kestrel::Logger::instance().removeWriter(writer));
    }
    LogWritersForAWhile(const LogWritersForAWhile&) = delete;
    LogWritersForAWhile& operator=(const LogWritersForAWhile&) = delete;

private:
    std::vector<const Kestrel::LogWriter*> writers_;
};

// Explorer lets the process it started take the foreground, not the running instance; yet a
// window restored or activated from here is activated on the running instance's own thread.
// This start passes its right on before it touches the window.
HandOver offerItems(HWND window, const HandedItems& items, UINT answerWait)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    AllowSetForegroundWindow(process);
    return handItemsOver(window, items, answerWait);
}

// What was not handed over, named as the running window would have named it: a drive by its
// root, the Recycle Bin by its name. Empty words never travel and are left out.
std::vector<std::wstring> namesOf(const HandedItems& items)
{
    if (items.recycleBin)
        return {kRecycleBinName};
    std::vector<std::wstring> names;
    for (const std::wstring& word : items.words) {
        if (!word.empty())
            names.push_back(items.freeSpace ? Kestrel::driveRootOf(word).value_or(word) : word);
    }
    return names;
}

std::wstring shownPath(const std::wstring& path)
{
    if (path.size() <= kLongestShownPath)
        return path;
    const std::size_t ending = kLongestShownPath - kShownPathBeginning - 3;
    return path.substr(0, kShownPathBeginning) + L"..." + path.substr(path.size() - ending);
}

std::wstring boxText(const std::vector<std::wstring>& names, const HandedItems& items)
{
    std::wstring text = items.recycleBin  ? UserTexts::kRecycleBinNotHandedOver
                        : items.freeSpace ? UserTexts::kDrivesNotHandedOver
                                          : UserTexts::kPathsNotHandedOver;
    text += L"\r\n\r\n";
    for (std::size_t index = 0; index < names.size() && index < kItemsInTheBox; ++index)
        text += shownPath(names[index]) + L"\r\n";
    if (names.size() > kItemsInTheBox)
        text += L"and " + std::to_wstring(names.size() - kItemsInTheBox) + L" more\r\n";
    return text + L"\r\n" + UserTexts::kNotHandedOverAdvice;
}

// Logged first: the box waits for the user, who may never answer it.
void reportNotHandedOver(const HandedItems& items)
{
    const std::vector<std::wstring> names = namesOf(items);
    if (names.empty())
        return;
    {
        const LogWritersForAWhile writers;
        Kestrel::logStart(std::wstring(Kestrel::kProductName) + L" (a second start)");
        for (const std::wstring& name : names)
            Kestrel::Logger::instance().log(Kestrel::LogLevel::Error, L"Not handed over to the running window: %s. ",
                                            name.c_str());
    }
    showMessage(nullptr, boxText(names, items).c_str(), MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

} // namespace

bool tookThePlaceOfTheRunningInstance(SingleInstance& instance, const HandedItems& items, const HandOverWaits& waits)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const HWND window = SingleInstance::findMainWindow(Kestrel::kProductName);
        // No window yet counts as a window not ready yet: both are looked for again. Items that
        // found no answer are not sent again: a slow window may still take them, and would then
        // show them twice. Windows also answers nothing for a window that runs at a higher
        // integrity level and does not accept the message.
        const HandOver outcome = window ? offerItems(window, items, waits.forAnAnswer) : HandOver::Refused;
        // A window that went away while it was offered them counts as none.
        const bool windowGone = !IsWindow(window);
        if (!windowGone && outcome != HandOver::Refused) {
            if (outcome == HandOver::NoAnswer)
                reportNotHandedOver(items);
            SingleInstance::bringToFront(window);
            return false;
        }
        if (windowGone && !instance.isAnotherRunning())
            return true;
        if (GetTickCount() - start >= waits.forTheWindow) {
            reportNotHandedOver(items);
            SingleInstance::bringToFront(window);
            return false;
        }
        Sleep(kLookAgainAfter);
    }
}
