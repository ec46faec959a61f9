#include "server/StoreText.h"

#include <sodium.h>

#include "platform/Text.h"

namespace pondrel::server {

std::string UnitsToBytes(std::u16string_view units) {
    std::string bytes(units.size() * 2, '\0');
    for (size_t i = 0; i < units.size(); ++i) {
        bytes[2 * i] = static_cast<char>(units[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(units[i] >> 8);
    }
    return bytes;
}

std::u16string BytesToUnits(std::string_view bytes) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                         (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    return units;
}

std::string Sha256Hex(std::u16string_view text) {
    // Hashed as UTF-16LE, a block of units at a time: no copy of the whole text.
    crypto_hash_sha256_state state;
    crypto_hash_sha256_init(&state);
    unsigned char block[4096];
    for (size_t at = 0; at < text.size();) {
        size_t bytes = 0;
        for (; at < text.size() && bytes < sizeof block; ++at) {
            block[bytes++] = static_cast<unsigned char>(text[at] & 0xFF);
            block[bytes++] = static_cast<unsigned char>(text[at] >> 8);
        }
        crypto_hash_sha256_update(&state, block, bytes);
    }
    unsigned char hash[crypto_hash_sha256_BYTES];
    crypto_hash_sha256_final(&state, hash);
    char hex[2 * crypto_hash_sha256_BYTES + 1];
    sodium_bin2hex(hex, sizeof hex, hash, sizeof hash);
    return hex;
}

std::string FileKey(std::u16string_view name) {
    std::string key = ToUtf8(name);
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return key;
}

}  // namespace pondrel::server
