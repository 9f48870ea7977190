#include "tests/e2e/AnswerCommand.h"

#include <cwchar>
#include <string>

namespace E2E {

namespace {

constexpr int kMessageText = 0xFFFF;

std::wstring textOf(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

struct DialogSearch {
    const std::wstring* caption;
    const std::wstring* message; // null: any dialog with the caption
    HWND found = nullptr;
};

BOOL CALLBACK matchDialog(HWND window, LPARAM data)
{
    auto& search = *reinterpret_cast<DialogSearch*>(data);
    wchar_t className[16]{};
    GetClassNameW(window, className, 16);
    if (!IsWindowVisible(window) || std::wcscmp(className, L"#32770") != 0 || textOf(window) != *search.caption)
        return TRUE;
    if (search.message) {
        const HWND text = GetDlgItem(window, kMessageText);
        if (!text || textOf(text) != *search.message)
            return TRUE;
    }
    search.found = window;
    return FALSE;
}

// A visible dialog with the caption (and, for a message box, the text), waited for.
HWND waitForDialog(const DriverState& state, const std::wstring& caption, const std::wstring* message = nullptr)
{
    DialogSearch search{&caption, message};
    waitUntil(state.boundMilliseconds, [&] {
        EnumWindows(matchDialog, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    return search.found;
}

// The program's own window, which says nothing to us: its commands are posted.
bool pressButton(HWND dialog, WORD id)
{
    return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

} // namespace

bool answerBox(DriverState& state, Arguments arguments)
{
    const HWND box = waitForDialog(state, arguments[0], &arguments[1]);
    if (!box)
        return fail(L"no box \"%ls\" saying \"%ls\" within %lu ms", arguments[0].c_str(), arguments[1].c_str(),
                    state.boundMilliseconds);
    const auto button = static_cast<WORD>(std::wcstoul(arguments[2].c_str(), nullptr, 10));
    return pressButton(box, button) && waitUntil(state.boundMilliseconds, [box] { return !IsWindow(box); });
}

} // namespace E2E
