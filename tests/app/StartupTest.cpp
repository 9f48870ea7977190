#include "tests/app/MainDialogAccess.h"
#include "tests/app/MessageBoxAnswerer.h"
#include "tests/support/CurrentFolder.h"
#include "tests/support/LogCapture.h"
#include "tests/support/LogGate.h"
#include "tests/support/MessagePump.h"
#include "tests/support/ScratchFolder.h"

#include "app/Application.h"
#include "app/SecondStart.h"
#include "app/SingleInstance.h"
#include "app/UserInterfaceThread.h"
#include "app/UserTexts.h"
#include "app/WipewellMainDlg.h"
#include "erase/LogFileLimit.h"
#include "foundation/FileLogWriter.h"
#include "foundation/FileSpec.h"
#include "foundation/LogFile.h"
#include "foundation/UniqueHandle.h"
#include "framework/CAppModule.h"
#include "framework/UserObject.h"
#include "listctrl/ole/CDataObjectT.h"
#include "listctrl/ole/CDropSource.h"

#include <gtest/gtest.h>
#include <ole2.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <process.h>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using KestrelTest::MessageBoxAnswerer;
using KestrelTest::CurrentFolder;
using KestrelTest::ScratchFolder;

std::string bytesOfSize(std::uint64_t size)
{
    return std::string(static_cast<std::size_t>(size), 'x');
}

// A log of exactly the limit is emptied; one byte less is kept and appended to; none is created.
TEST(StartupLogTest, LogIsEmptiedAtTheLimitKeptBelowItAndCreatedWhenMissing)
{
    ScratchFolder folder;
    const std::wstring atLimit = folder / L"at.log";
    const std::wstring belowLimit = folder / L"below.log";
    const std::wstring missing = folder / L"missing.log";
    ASSERT_TRUE(KestrelTest::writeFile(atLimit, bytesOfSize(Kestrel::kLogFileLimit)));
    ASSERT_TRUE(KestrelTest::writeFile(belowLimit, bytesOfSize(Kestrel::kLogFileLimit - 1)));

    limitLogFile(atLimit);
    limitLogFile(belowLimit);
    limitLogFile(missing);

    EXPECT_EQ(Kestrel::FileSpec(atLimit).fileSize(), 0u);
    EXPECT_EQ(Kestrel::FileSpec(belowLimit).fileSize(), Kestrel::kLogFileLimit - 1);
    ASSERT_TRUE(Kestrel::FileSpec(missing).exists());
    EXPECT_EQ(Kestrel::FileSpec(missing).fileSize(), 0u);

    Kestrel::FileLogWriter writer(2, belowLimit);
    ASSERT_TRUE(writer.write(L"Info: \tStart to erase: C:\\a. \r\n"));
    const std::string content = KestrelTest::readFile(belowLimit);
    EXPECT_EQ(content.size(), Kestrel::kLogFileLimit - 1 + 31);
    EXPECT_EQ(content.substr(0, 4), "xxxx");
    EXPECT_EQ(content.substr(content.size() - 31), "Info: \tStart to erase: C:\\a. \r\n");
}

// The first instance's window is minimised; the second start restores it, changes nothing in
// the log and answers -1. (The foreground part is checked from another process in the
// end-to-end test: within one process the window is in front anyway.)
TEST(StartupTest, SecondInstanceRestoresTheFirstWindowAndLeavesTheLogAlone)
{
    Kestrel::CAppModule::instance().initialise(GetModuleHandleW(nullptr));
    WipewellMainDlg first;
    ASSERT_TRUE(first.create(nullptr));
    first.showWindow(SW_SHOWMINIMIZED);
    ASSERT_TRUE(IsIconic(first));
    SingleInstance firstInstance(kInstanceName);
    ASSERT_FALSE(firstInstance.isAnotherRunning()) << "another Kestrel Wipewell runs in this session";

    const std::wstring log = Kestrel::logFilePath();
    const bool logExisted = Kestrel::FileSpec(log).exists();
    const std::uint64_t logSize = logExisted ? Kestrel::FileSpec(log).fileSize() : 0;

    EXPECT_EQ(runApplication(L"", SW_SHOWNORMAL), kExitAnotherInstance);

    EXPECT_FALSE(IsIconic(first));
    EXPECT_TRUE(IsWindowVisible(first));
    ASSERT_EQ(Kestrel::FileSpec(log).exists(), logExisted);
    if (logExisted) {
        EXPECT_EQ(Kestrel::FileSpec(log).fileSize(), logSize);
    }
    EXPECT_EQ(Kestrel::CAppModule::instance().getMessageLoop(), nullptr);
    Kestrel::CAppModule::instance().terminate();
}

// A second start with paths hands them to the first instance's main window, not to a box of
// it or to a folder window that carry the same caption; the relative path is made whole against
// the second start's current folder, and the first window comes forward restored.
TEST(StartupTest, SecondStartHandsItsPathsToTheFirstWindow)
{
    SingleInstance firstInstance(kInstanceName);
    static_cast<void>(firstInstance.isAnotherRunning()); // this process is the first
    Kestrel::CAppModule::instance().initialise(GetModuleHandleW(nullptr));
    ScratchFolder folder;
    const std::wstring relative = folder / L"rel.txt";
    ASSERT_TRUE(KestrelTest::writeFile(relative, "r"));
    WipewellMainDlg first;
    ASSERT_TRUE(first.create(nullptr));
    first.showWindow(SW_SHOWMINIMIZED);
    const Kestrel::OwnedWindow ownedBox(CreateWindowExW(0, WC_DIALOG, L"Kestrel Wipewell", WS_POPUP | WS_VISIBLE, 0,
                                                         0, 100, 100, first, nullptr, nullptr, nullptr));
    const Kestrel::OwnedWindow folderWindow(CreateWindowExW(0, L"STATIC", L"Kestrel Wipewell", WS_OVERLAPPEDWINDOW,
                                                             0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(ownedBox && folderWindow);
    KestrelTest::LogCapture log;
    int exitCode = 0;
    {
        const CurrentFolder current(folder.path());
        exitCode = runApplication((L"rel.txt \"\" \"" + folder / L"missing.txt" + L"\"").c_str(), SW_SHOWNORMAL);
    }

    EXPECT_EQ(exitCode, kExitAnotherInstance);
    EraseTask task;
    ASSERT_TRUE(MainDialogAccess::taskList(first).copyTask(0, task));
    EXPECT_EQ(task.path(), relative);
    EXPECT_EQ(task.kind(), ItemKind::File);
    EXPECT_EQ(task.status(), EraseStatus::Waiting);
    EXPECT_EQ(MainDialogAccess::taskList(first).getItemCount(), 1);
    EXPECT_EQ(MainDialogAccess::currentTask(first), nullptr);
    EXPECT_EQ(log.count(L"\tSkipped: "), 1u);
    EXPECT_TRUE(log.contains(L"ERROR: \tSkipped: " + folder / L"missing.txt" + L". \r\n"));
    EXPECT_FALSE(IsIconic(first));
    Kestrel::CAppModule::instance().terminate();
}

constexpr const wchar_t* kOwnProcessVariable = L"KWW_TEST_OWN_PROCESS";

// A first start leaves its log writers in the process logger for good: the test that makes one
// runs in a process of its own, which writes where this one writes; its exit code, or -1.
int runInOwnProcess(const wchar_t* filter)
{
    wchar_t self[MAX_PATH]{};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring quoted = L"\"" + std::wstring(self) + L"\"";
    const std::wstring filterArgument = L"--gtest_filter=" + std::wstring(filter);
    SetEnvironmentVariableW(kOwnProcessVariable, L"1");
    std::fflush(nullptr);
    const intptr_t code = _wspawnl(_P_WAIT, self, quoted.c_str(), L"--gtest_brief=1", filterArgument.c_str(), nullptr);
    SetEnvironmentVariableW(kOwnProcessVariable, nullptr);
    return static_cast<int>(code);
}

TEST(StartupTest, ASecondStartTakesThePlaceOfAFirstInstanceThatEndsBeforeItsHandOver)
{
    EXPECT_EQ(runInOwnProcess(L"OwnProcess.*"), 0);
}

// The first instance is a mutex without a window; it ends while the second start, which found it
// running, is held at its "I am running." line. No window takes the paths, so the second start
// holds the mutex now and opens its own window with them, as a first start does.
TEST(OwnProcess, SecondStartOpensItsOwnWindowWithItsPathsWhenTheFirstEndedMeanwhile)
{
    if (!GetEnvironmentVariableW(kOwnProcessVariable, nullptr, 0))
        GTEST_SKIP() << "runs in the process that StartupTest starts";
    Kestrel::CAppModule::instance().initialise(GetModuleHandleW(nullptr));
    ScratchFolder folder;
    const std::wstring file = folder / L"kept.txt";
    ASSERT_TRUE(KestrelTest::writeFile(file, "kept"));
    auto first = std::make_unique<SingleInstance>(kInstanceName);
    ASSERT_FALSE(first->isAnotherRunning()) << "another Kestrel Wipewell runs in this session";
    KestrelTest::LogCapture log;
    KestrelTest::LogGate found(L"I am running.");

    bool heldMutex = false;
    bool closed = false;
    std::thread firstEnds([&] {
        if (!found.waitUntilHeld(10000))
            return;
        first.reset();
        found.release();
        const bool added = KestrelTest::pumpUntil([&] { return log.contains(L"Info: \tAdded: " + file + L". "); }, 10000);
        const Kestrel::UniqueHandle mutex(OpenMutexW(SYNCHRONIZE, FALSE, kInstanceName));
        heldMutex = static_cast<bool>(mutex);
        // Closed in any case, so that the second start's loop ends.
        const HWND window = SingleInstance::findMainWindow(L"Kestrel Wipewell");
        closed = window && PostMessageW(window, WM_COMMAND, IDCANCEL, 0) && added;
    });
    const int exitCode = runApplication((L"\"" + file + L"\"").c_str(), SW_SHOWNORMAL);
    firstEnds.join();

    EXPECT_TRUE(heldMutex);
    EXPECT_TRUE(closed);
    EXPECT_EQ(exitCode, IDCANCEL);
    EXPECT_EQ(KestrelTest::readFile(file), "kept");
    Kestrel::CAppModule::instance().terminate();
}

// A dialog window that answers a hand-over only once the event in its user data is set.
LRESULT CALLBACK busyWithCopyData(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA)
        WaitForSingleObject(reinterpret_cast<HANDLE>(GetWindowLongPtrW(window, GWLP_USERDATA)), 60000);
    return DefDlgProcW(window, message, wParam, lParam);
}

// A running window that refuses the items, then one too busy to answer (a hung one cannot be
// tested in one process: the search by caption asks a window of its own process for its text).
// Each time the later start names every item on a line of its own in KWW.log, and the first ten,
// shortened, in a box.
TEST(StartupTest, ItemsThatTheRunningWindowDidNotTakeAreNamedInABoxAndInTheLog)
{
    SingleInstance firstInstance(kInstanceName);
    static_cast<void>(firstInstance.isAnotherRunning()); // this process is the first
    SingleInstance second(kInstanceName);
    ASSERT_TRUE(second.isAnotherRunning());
    limitLogFile(Kestrel::logFilePath()); // as the first instance made it
    constexpr HandOverWaits kShortWaits{200, 200};
    MessageBoxAnswerer answerer;
    KestrelTest::LogCapture log;
    {
        const Kestrel::OwnedWindow refusing(CreateWindowExW(0, WC_DIALOG, L"Kestrel Wipewell", WS_POPUP, 0, 0, 100, 100,
                                                            nullptr, nullptr, nullptr, nullptr));
        EXPECT_FALSE(tookThePlaceOfTheRunningInstance(second, {true, {L"d:\"", L"Q:"}}, kShortWaits));
    }
    std::vector<std::wstring> paths{L"C:\\" + std::wstring(300, L'x') + L"\\end.txt"};
    for (int index = 0; index < 11; ++index)
        paths.push_back(L"C:\\handed\\" + std::to_wstring(index) + L".txt");
    const Kestrel::UniqueHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::atomic<HWND> busy = nullptr;
    std::thread busyThread([&] {
        const Kestrel::OwnedWindow window(CreateWindowExW(0, WC_DIALOG, L"Kestrel Wipewell", WS_POPUP | WS_VISIBLE, 0,
                                                          0, 100, 100, nullptr, nullptr, nullptr, nullptr));
        SetWindowLongPtrW(window.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(done.get()));
        SetWindowLongPtrW(window.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&busyWithCopyData));
        busy = window.get();
        const HANDLE events[] = {done.get()};
        while (MsgWaitForMultipleObjects(1, events, FALSE, 60000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
            KestrelTest::drainMessages();
    });
    if (KestrelTest::pumpUntil([&] { return busy.load() != nullptr; })) {
        EXPECT_FALSE(tookThePlaceOfTheRunningInstance(second, {false, paths}, kShortWaits));
    }
    SetEvent(done.get());
    busyThread.join();

    ASSERT_EQ(answerer.boxes().size(), 2u);
    EXPECT_EQ(answerer.boxes()[0].caption, L"Kestrel Wipewell");
    EXPECT_EQ(answerer.boxes()[0].text, std::wstring(UserTexts::kDrivesNotHandedOver) + L"\r\n\r\nD:\\\r\nQ:\\\r\n\r\n" +
                                            UserTexts::kNotHandedOverAdvice);
    const std::wstring& text = answerer.boxes()[1].text;
    EXPECT_EQ(text.find(UserTexts::kPathsNotHandedOver), 0u);
    EXPECT_NE(text.find(L"\r\nC:\\" + std::wstring(37, L'x') + L"..." + std::wstring(49, L'x') + L"\\end.txt\r\n"),
              std::wstring::npos);
    EXPECT_NE(text.find(L"\\8.txt\r\nand 2 more\r\n\r\n"), std::wstring::npos);
    EXPECT_EQ(log.count(L"ERROR: \tNot handed over to the running window: "), 14u);
    const std::string logFile = KestrelTest::readFile(Kestrel::logFilePath());
    EXPECT_NE(logFile.find("window: Q:\\. \r\n"), std::string::npos);
    EXPECT_NE(logFile.find("window: C:\\" + std::string(300, 'x') + "\\end.txt. \r\n"), std::string::npos);
}

// The Closing window is hidden; if its worker never reports, the next start must show it again.
TEST(StartupTest, BringingTheFirstInstanceForwardShowsItsHiddenWindow)
{
    WipewellMainDlg first;
    ASSERT_TRUE(first.create(nullptr));
    ASSERT_FALSE(IsWindowVisible(first));
    const HWND found = FindWindowW(nullptr, L"Kestrel Wipewell");
    ASSERT_EQ(found, first.handle());
    EXPECT_TRUE(SingleInstance::bringToFront(found));
    EXPECT_TRUE(IsWindowVisible(first));
}

// A drag's data that renders nothing.
struct NothingToRender {
    bool renderDragData(const FORMATETC&, STGMEDIUM&) noexcept { return false; }
};

// The user-interface thread gets OLE, not only COM: Windows refuses the task list's drop target
// without it, and Wine's drag loop fails at once (E_FAIL). With no button held the drag ends at
// once without a target.
TEST(StartupTest, TheUserInterfaceThreadRunsDrags)
{
    HRESULT dragged = E_UNEXPECTED;
    std::thread([&dragged] {
        const UserInterfaceThread thread(GetModuleHandleW(nullptr));
        NothingToRender nothing;
        const auto data = Kestrel::makeComObject<Kestrel::CDataObjectT<NothingToRender>>(nothing);
        const auto source = Kestrel::makeComObject<Kestrel::CDropSource>();
        DWORD effect = DROPEFFECT_NONE;
        dragged = DoDragDrop(data.get(), source.get(), DROPEFFECT_COPY, &effect);
    }).join();
    EXPECT_TRUE(SUCCEEDED(dragged)) << std::hex << dragged;
}

TEST(StartupTest, StandardExceptionIsReportedInTheSorryBoxAndEndsWithZero)
{
    MessageBoxAnswerer answerer({IDOK});
    EXPECT_EQ(runReportingFailure([]() -> int { throw std::runtime_error("broken"); }), kExitFailed);
    ASSERT_EQ(answerer.boxes().size(), 1u);
    EXPECT_EQ(answerer.boxes()[0].caption, L"Kestrel Wipewell");
    EXPECT_EQ(answerer.boxes()[0].text,
              UserTexts::kFailure);

    EXPECT_EQ(runReportingFailure([] { return 2; }), 2);
    EXPECT_EQ(answerer.boxes().size(), 1u);
}

} // namespace
