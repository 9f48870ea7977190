#include "app/MessageBox.h"

#include "app/ProductName.h"

int showMessage(HWND owner, const wchar_t* text, UINT type) noexcept
{
    return MessageBoxW(owner, text, Kestrel::kProductName, type);
}
