#pragma once

namespace Kestrel {

// The caption of every message box of the program.
inline constexpr const wchar_t* kProductName = L"Kestrel Wipewell";

} // namespace Kestrel
