#include "tests/e2e/DialogCommands.h"

#include <shlobj.h>

#include <cwchar>
#include <sstream>
#include <string>

namespace E2E {

namespace {

constexpr WORD kAddFile = 1000;
constexpr WORD kAddFolder = 1002;
constexpr int kFileNameBox = 0x47C;
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

// The text box of the open-file dialog's name box (a ComboBoxEx holding a combo box holding it).
HWND fileNameEdit(HWND dialog)
{
    const HWND box = GetDlgItem(dialog, kFileNameBox);
    const HWND combo = box ? FindWindowExW(box, nullptr, L"ComboBox", nullptr) : nullptr;
    const HWND edit = combo ? FindWindowExW(combo, nullptr, L"Edit", nullptr) : nullptr;
    return edit ? edit : box;
}

// Types into the name box and presses Open. A folder's path opens the folder, and the press is
// sent so that the folder is shown before the next step; the last press is posted, because it
// ends the dialog's run inside the program.
bool typeAndOpen(HWND dialog, const std::wstring& text, bool last)
{
    const HWND edit = fileNameEdit(dialog);
    if (!edit || !SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())))
        return fail(L"cannot type into the file name box");
    if (last)
        return pressButton(dialog, IDOK);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    return true;
}

// "a.txt|b.txt" as the name box takes several names: "a.txt" "b.txt".
std::wstring quotedNames(const std::wstring& list)
{
    std::wstring names;
    std::wstringstream parts(list);
    for (std::wstring name; std::getline(parts, name, L'|');)
        names += (names.empty() ? L"\"" : L" \"") + name + L"\"";
    return names;
}

// Memory in the program for one string, freed when the step ends.
class RemoteText {
public:
    RemoteText(HANDLE process, const std::wstring& text) noexcept
        : process_(process),
          address_(VirtualAllocEx(process, nullptr, (text.size() + 1) * sizeof(wchar_t), MEM_COMMIT | MEM_RESERVE,
                                  PAGE_READWRITE))
    {
        if (address_ && !WriteProcessMemory(process, address_, text.c_str(), (text.size() + 1) * sizeof(wchar_t), nullptr)) {
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
            address_ = nullptr;
        }
    }
    ~RemoteText()
    {
        if (address_)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteText(const RemoteText&) = delete;
    RemoteText& operator=(const RemoteText&) = delete;

    [[nodiscard]] void* address() const noexcept { return address_; }

private:
    HANDLE process_;
    void* address_;
};

} // namespace

bool addFiles(DriverState& state, Arguments arguments)
{
    const HWND main = findVisibleWindow(arguments[0]);
    if (!main || !pressButton(main, kAddFile))
        return fail(L"cannot press \"Add File...\" in \"%ls\"", arguments[0].c_str());
    const HWND dialog = waitForDialog(state, L"Open");
    if (!dialog)
        return fail(L"no \"Open\" dialog within %lu ms", state.boundMilliseconds);
    return typeAndOpen(dialog, arguments[1], false) && typeAndOpen(dialog, quotedNames(arguments[2]), true) &&
           waitUntil(state.boundMilliseconds, [dialog] { return !IsWindow(dialog); });
}

// The browser is a tree of shell items; its own message selects one by path. The path must be in
// the program's memory, for that is where the browser reads it.
bool addFolder(DriverState& state, Arguments arguments)
{
    const HWND main = findVisibleWindow(arguments[0]);
    if (!main || !pressButton(main, kAddFolder))
        return fail(L"cannot press \"Add Folder...\" in \"%ls\"", arguments[0].c_str());
    const HWND browser = waitForDialog(state, L"Browse for Folder");
    if (!browser)
        return fail(L"no folder browser within %lu ms", state.boundMilliseconds);
    const RemoteText path(state.program.get(), arguments[1]);
    if (!path.address())
        return fail(L"cannot write the folder's path into the program (error %lu)", GetLastError());
    SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(path.address()));
    return pressButton(browser, IDOK) && waitUntil(state.boundMilliseconds, [browser] { return !IsWindow(browser); });
}

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
