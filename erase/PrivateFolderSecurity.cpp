#include "erase/PrivateFolderSecurity.h"

#include "foundation/UniqueHandle.h"

#include <sddl.h>

#include <string>
#include <vector>

namespace {

void freeLocalText(wchar_t* text) noexcept
{
    LocalFree(text);
}
using LocalText = Kestrel::UniqueObject<Kestrel::FreedWith<wchar_t*, &freeLocalText>>;

// The SID of the process's user as text ("S-1-5-21-..."); empty, with the error, when unread.
std::wstring userSid(DWORD& error)
{
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &rawToken)) {
        error = GetLastError();
        return {};
    }
    const Kestrel::UniqueHandle token(rawToken);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<ULONGLONG> buffer(size / sizeof(ULONGLONG) + 1);
    LocalText text;
    if (!GetTokenInformation(token.get(), TokenUser, buffer.data(), static_cast<DWORD>(buffer.size() * sizeof(ULONGLONG)),
                             &size) ||
        !ConvertSidToStringSidW(reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid, text.put())) {
        error = GetLastError();
        return {};
    }
    return text.get();
}

} // namespace

LocalSecurityDescriptor privateFolderSecurity(DWORD& error)
{
    const std::wstring user = userSid(error);
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
