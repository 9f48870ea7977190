#pragma once

#include <windows.h>

namespace Kestrel {

// A function of a system library that older Windows versions lack, looked up at run time; null
// where the system has none. Function is the function's pointer type.
template <typename Function>
[[nodiscard]] Function systemFunction(const wchar_t* module, const char* name) noexcept
{
    const HMODULE library = GetModuleHandleW(module);
    if (!library)
        return nullptr;
    // Through the generic function type: GetProcAddress answers every function as FARPROC.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

} // namespace Kestrel
