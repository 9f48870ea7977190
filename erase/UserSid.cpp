#include "erase/UserSid.h"

#include "foundation/UniqueHandle.h"

#include <sddl.h>

#include <vector>

namespace {

void freeLocalText(wchar_t* text) noexcept
{
    LocalFree(text);
}
using LocalText = Kestrel::UniqueObject<Kestrel::FreedWith<wchar_t*, &freeLocalText>>;

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
