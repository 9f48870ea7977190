#include "console/Sha256.h"

#include <array>

namespace {

constexpr ULONG kDigestBytes = 32;

bool succeeded(NTSTATUS status) noexcept
{
    return status >= 0;
}

} // namespace

Sha256::Sha256() noexcept
{
    if (!succeeded(BCryptOpenAlgorithmProvider(&algorithm_, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
        algorithm_ = nullptr;
        return;
    }
    // No object buffer: the provider keeps the hash's state itself (Windows 7 and later).
    if (!succeeded(BCryptCreateHash(algorithm_, &hash_, nullptr, 0, nullptr, 0, 0)))
        hash_ = nullptr;
}

Sha256::~Sha256()
{
    if (hash_)
        BCryptDestroyHash(hash_);
    if (algorithm_)
        BCryptCloseAlgorithmProvider(algorithm_, 0);
}

void Sha256::add(std::string_view bytes) noexcept
{
    // BCryptHashData takes a non-const pointer but only reads it.
    auto* data = reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data()));
    if (hash_ && !bytes.empty() &&
        !succeeded(BCryptHashData(hash_, data, static_cast<ULONG>(bytes.size()), 0)))
        failed_ = true;
}

std::wstring Sha256::finishHex() noexcept
{
    std::array<UCHAR, kDigestBytes> digest{};
    if (!hash_ || failed_ || !succeeded(BCryptFinishHash(hash_, digest.data(), kDigestBytes, 0)))
        return {};
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring hex;
    for (const UCHAR byte : digest) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0xF];
    }
    return hex;
}
