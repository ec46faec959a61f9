#include "server/Passwords.h"

#include <sodium.h>

#include "platform/Text.h"

namespace pondrel::server {

bool StartPasswords() {
    return sodium_init() >= 0;
}

namespace {
// Argon2id with 19 MiB and two passes: about 80 ms per check on a small server, so that a whole
// ward logging in again after a restart is served well within the clients' time-out. The hash
// string records these values: changing them later keeps old hashes valid.
constexpr unsigned long long kOpsLimit = 2;
constexpr size_t kMemLimit = 19u << 20;
}  // namespace

std::optional<std::string> HashPassword(std::u16string_view password) {
    std::string utf8 = ToUtf8(password);
    char hash[crypto_pwhash_STRBYTES];
    int rc = crypto_pwhash_str(hash, utf8.data(), utf8.size(), kOpsLimit, kMemLimit);
    sodium_memzero(utf8.data(), utf8.size());
    if (rc != 0) return std::nullopt;
    return std::string(hash);
}

bool VerifyPassword(const std::string& hash, std::u16string_view password) {
    std::string utf8 = ToUtf8(password);
    bool ok = crypto_pwhash_str_verify(hash.c_str(), utf8.data(), utf8.size()) == 0;
    sodium_memzero(utf8.data(), utf8.size());
    return ok;
}

}  // namespace pondrel::server
