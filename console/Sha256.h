#pragma once

#include <windows.h>
#include <bcrypt.h>

#include <string>
#include <string_view>

// SHA-256 of a stream of bytes given piece by piece, through the system's own implementation
// (BCrypt's SHA256 provider).
class Sha256 {
public:
    Sha256() noexcept;
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    // False when the provider could not be opened; nothing is hashed then.
    [[nodiscard]] bool usable() const noexcept { return hash_ != nullptr; }
    void add(std::string_view bytes) noexcept;
    // The digest of everything added, as 64 lower-case hex digits; empty when the system failed.
    // The hash is used up by it.
    [[nodiscard]] std::wstring finishHex() noexcept;

private:
    BCRYPT_ALG_HANDLE algorithm_ = nullptr;
    BCRYPT_HASH_HANDLE hash_ = nullptr;
    bool failed_ = false;
};
