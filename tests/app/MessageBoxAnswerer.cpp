#include "tests/app/MessageBoxAnswerer.h"

#include <stdexcept>

namespace KestrelTest {

namespace {

// Under Wine and Windows alike a message box is a #32770 dialog whose text is the static 0xFFFF.
constexpr int kMessageTextId = 0xFFFF;

thread_local MessageBoxAnswerer* activeAnswerer = nullptr;

std::wstring textOf(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

bool isMessageBox(HWND window)
{
    wchar_t className[16]{};
    GetClassNameW(window, className, 16);
    return std::wstring(className) == L"#32770" && GetDlgItem(window, kMessageTextId) != nullptr;
}

// The push button that shows itself as the default one, which Enter presses.
int defaultButtonOf(HWND box)
{
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)
            return GetDlgCtrlID(child);
    }
    return 0;
}

} // namespace

MessageBoxAnswerer::MessageBoxAnswerer(std::vector<int> answers) : answers_(answers.begin(), answers.end())
{
    if (activeAnswerer)
        throw std::logic_error("one message box answerer per thread at a time");
    hook_ = SetWindowsHookExW(WH_CALLWNDPROCRET, hookProcedure, nullptr, GetCurrentThreadId());
    if (!hook_)
        throw std::runtime_error("cannot hook this thread's window procedures");
    activeAnswerer = this;
}

MessageBoxAnswerer::~MessageBoxAnswerer()
{
    UnhookWindowsHookEx(hook_);
    activeAnswerer = nullptr;
}

LRESULT CALLBACK MessageBoxAnswerer::hookProcedure(int code, WPARAM wParam, LPARAM lParam) noexcept
{
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_INITDIALOG && activeAnswerer && isMessageBox(call->hwnd)) {
        try {
            activeAnswerer->answer(call->hwnd);
        } catch (...) {
            // Nothing may leave a hook; an unnoted box shows up as a missing one in the test.
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MessageBoxAnswerer::answer(HWND box)
{
    const bool yesNo = GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO) && !GetDlgItem(box, IDOK);
    boxes_.push_back(Box{textOf(box), textOf(GetDlgItem(box, kMessageTextId)), yesNo, defaultButtonOf(box),
                         GetWindow(box, GW_OWNER)});
    int button = yesNo ? IDNO : IDOK;
    if (!answers_.empty()) {
        button = answers_.front();
        answers_.pop_front();
    }
    if (beforeAnswer_)
        beforeAnswer_();
    // Posted: the box's own modal loop takes it once the box is up.
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
}

} // namespace KestrelTest
