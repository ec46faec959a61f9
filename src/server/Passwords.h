#pragma once

// Passwords are kept only as salted hashes (Argon2id through libsodium's crypto_pwhash_str).

#include <optional>
#include <string>
#include <string_view>

namespace pondrel::server {

// False when libsodium cannot start.
bool StartPasswords();
// The hash string to store; none when hashing failed (out of memory).
std::optional<std::string> HashPassword(std::u16string_view password);
bool VerifyPassword(const std::string& hash, std::u16string_view password);

}  // namespace pondrel::server
