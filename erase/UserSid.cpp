#include "erase/UserSid.h"

#include "foundation/UniqueHandle.h"

#include <aclapi.h>
#include <sddl.h>

#include <vector>

namespace {

void freeLocalText(wchar_t* text) noexcept
{
    LocalFree(text);
}
using LocalText = Kestrel::UniqueObject<Kestrel::FreedWith<wchar_t*, &freeLocalText>>;

void freeLocalDescriptor(PSECURITY_DESCRIPTOR descriptor) noexcept
{
    LocalFree(descriptor);
}
using LocalDescriptor = Kestrel::UniqueObject<Kestrel::FreedWith<PSECURITY_DESCRIPTOR, &freeLocalDescriptor>>;

} // namespace

std::wstring currentUserSid(DWORD& error)
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

std::wstring ownerSidOf(HANDLE handle, DWORD& error)
{
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR raw = nullptr;
    error = GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr, &raw);
    const LocalDescriptor descriptor(raw);
    if (error != ERROR_SUCCESS)
        return {};
    LocalText text;
    if (owner == nullptr || !ConvertSidToStringSidW(owner, text.put())) {
        error = owner == nullptr ? ERROR_INVALID_SID : GetLastError();
        return {};
    }
    return text.get();
}
