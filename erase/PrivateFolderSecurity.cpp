#include "erase/PrivateFolderSecurity.h"

#include "erase/UserSid.h"

#include <sddl.h>

#include <string>

LocalSecurityDescriptor privateFolderSecurity(DWORD& error)
{
    const std::wstring user = currentUserSid(error);
    if (user.empty())
        return {};
    // P: protected, nothing inherited from the parent; OICI: files and folders made inside
    // inherit each entry; FA: all access.
    const std::wstring descriptor =
        L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;" + user + L")";
    LocalSecurityDescriptor security;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(descriptor.c_str(), SDDL_REVISION_1, security.put(),
                                                              nullptr))
        error = GetLastError();
    return security;
}
