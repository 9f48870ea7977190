#pragma once

#include "foundation/UniqueObject.h"

#include <windows.h>

namespace PrivateFolderSecurityDetail {
inline void freeLocal(PSECURITY_DESCRIPTOR descriptor) noexcept { LocalFree(descriptor); }
} // namespace PrivateFolderSecurityDetail

using LocalSecurityDescriptor =
    Kestrel::UniqueObject<Kestrel::FreedWith<PSECURITY_DESCRIPTOR, &PrivateFolderSecurityDetail::freeLocal>>;

// The security of a folder that only the user who runs the program, SYSTEM and the
// Administrators may use, whatever its parent grants: a drive's root lets every signed-in user
// create files in a new folder, and during a wipe run as administrator one could plant a link or
// hold a file open there. What is made inside inherits it. None, with the error, when the user's
// identity cannot be read.
[[nodiscard]] LocalSecurityDescriptor privateFolderSecurity(DWORD& error);
