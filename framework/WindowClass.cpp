#include "framework/WindowClass.h"

#include "foundation/KeepLastError.h"

#include <cwchar>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace Kestrel {

HINSTANCE moduleInstance() noexcept
{
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

WindowClass::WindowClass(WNDPROC procedure, UINT style, HBRUSH background) noexcept
{
    std::swprintf(name_, sizeof name_ / sizeof name_[0], L"Kestrel:%p", static_cast<void*>(this));
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    info.style = style;
    info.lpfnWndProc = procedure;
    info.hInstance = moduleInstance();
    info.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    info.hbrBackground = background;
    info.lpszClassName = name_;
    atom_ = RegisterClassExW(&info);
}

WindowClass::~WindowClass()
{
    if (atom_) {
        KeepLastError keep;
        UnregisterClassW(name_, moduleInstance());
    }
}

} // namespace Kestrel
