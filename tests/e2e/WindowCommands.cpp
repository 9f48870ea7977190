#include "tests/e2e/WindowCommands.h"

#include <cwchar>

namespace E2E {

namespace {

constexpr const wchar_t* kOwnWindowCaption = L"Kestrel Wipewell E2E Driver";

struct Search {
    const std::wstring* caption;
    HWND found = nullptr;
    int count = 0;
    bool all = false; // count them all instead of stopping at the first
};

BOOL CALLBACK matchCaption(HWND window, LPARAM data)
{
    auto& search = *reinterpret_cast<Search*>(data);
    const int length = GetWindowTextLengthW(window);
    std::wstring caption(static_cast<std::size_t>(length) + 1, L'\0');
    caption.resize(static_cast<std::size_t>(GetWindowTextW(window, caption.data(), length + 1)));
    if (IsWindowVisible(window) && caption == *search.caption) {
        search.found = window;
        ++search.count;
        return search.all;
    }
    return TRUE;
}

HWND waitForWindow(const DriverState& state, const std::wstring& caption)
{
    HWND window = nullptr;
    waitUntil(state.boundMilliseconds, [&] { return (window = findVisibleWindow(caption)) != nullptr; });
    return window;
}

const wchar_t* ownWindowClass()
{
    static const ATOM atom = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = L"KestrelWipewellE2EDriver";
        return RegisterClassExW(&windowClass);
    }();
    return atom ? L"KestrelWipewellE2EDriver" : nullptr;
}

} // namespace

HWND findVisibleWindow(const std::wstring& caption)
{
    Search search{&caption};
    EnumWindows(matchCaption, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool waitWindow(DriverState& state, Arguments arguments)
{
    if (!waitForWindow(state, arguments[0]))
        return fail(L"no visible window \"%ls\" within %lu ms", arguments[0].c_str(), state.boundMilliseconds);
    return true;
}

bool expectWindows(DriverState&, Arguments arguments)
{
    Search search{&arguments[0]};
    search.all = true;
    EnumWindows(matchCaption, reinterpret_cast<LPARAM>(&search));
    const int wanted = static_cast<int>(std::wcstol(arguments[1].c_str(), nullptr, 10));
    if (search.count != wanted)
        return fail(L"%d visible windows \"%ls\", expected %d", search.count, arguments[0].c_str(), wanted);
    return true;
}

bool minimizeWindow(DriverState& state, Arguments arguments)
{
    const HWND window = waitForWindow(state, arguments[0]);
    if (!window)
        return fail(L"no window \"%ls\"", arguments[0].c_str());
    ShowWindow(window, SW_MINIMIZE);
    if (!waitUntil(state.boundMilliseconds, [window] { return IsIconic(window) != FALSE; }))
        return fail(L"\"%ls\" did not minimise", arguments[0].c_str());
    return true;
}

// The window is made once and lives until the driver ends; the system destroys it with the
// process.
bool takeFront(DriverState& state, Arguments)
{
    if (!state.ownWindow) {
        const wchar_t* windowClass = ownWindowClass();
        if (!windowClass)
            return fail(L"cannot register the driver's window class");
        state.ownWindow = CreateWindowExW(0, windowClass, kOwnWindowCaption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                                          40, 300, 120, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!state.ownWindow)
            return fail(L"cannot create the driver's window (error %lu)", GetLastError());
    }
    SetForegroundWindow(state.ownWindow);
    const HWND own = state.ownWindow;
    if (!waitUntil(state.boundMilliseconds, [own] { return GetForegroundWindow() == own; }))
        return fail(L"the driver's window did not come to the front");
    return true;
}

bool expectFront(DriverState& state, Arguments arguments)
{
    const HWND window = findVisibleWindow(arguments[0]);
    if (!window)
        return fail(L"no window \"%ls\"", arguments[0].c_str());
    const bool inFront = waitUntil(state.boundMilliseconds, [window] {
        return !IsIconic(window) && GetForegroundWindow() == window;
    });
    if (!inFront)
        return fail(L"\"%ls\" is %ls and %ls the foreground window", arguments[0].c_str(),
                    IsIconic(window) ? L"minimised" : L"restored",
                    GetForegroundWindow() == window ? L"is" : L"is not");
    return true;
}

bool postCommand(DriverState& state, Arguments arguments)
{
    const HWND window = waitForWindow(state, arguments[0]);
    if (!window)
        return fail(L"no window \"%ls\"", arguments[0].c_str());
    const auto id = static_cast<WORD>(std::wcstoul(arguments[1].c_str(), nullptr, 10));
    if (!PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0))
        return fail(L"cannot post to \"%ls\" (error %lu)", arguments[0].c_str(), GetLastError());
    return true;
}

} // namespace E2E
