#include "server/RecentLogins.h"

#include <sodium.h>

#include <algorithm>

#include "platform/Text.h"

namespace pondrel::server {

RecentLogins::RecentLogins() : m_key(crypto_generichash_KEYBYTES, '\0') {
    randombytes_buf(m_key.data(), m_key.size());
}

RecentLogins::~RecentLogins() {
    sodium_memzero(m_key.data(), m_key.size());
    for (auto& [hash, entry] : m_entries) sodium_memzero(entry.keyed.data(), entry.keyed.size());
}

std::string RecentLogins::KeyedHash(std::u16string_view password) const {
    std::string utf8 = ToUtf8(password);
    std::string out(crypto_generichash_BYTES, '\0');
    crypto_generichash(reinterpret_cast<unsigned char*>(out.data()), out.size(),
                       reinterpret_cast<const unsigned char*>(utf8.data()), utf8.size(),
                       reinterpret_cast<const unsigned char*>(m_key.data()), m_key.size());
    sodium_memzero(utf8.data(), utf8.size());
    return out;
}

bool RecentLogins::Valid(const Entry& entry, Clock::time_point now) {
    return now - entry.used < kUnused && now - entry.checked < kMaxAge;
}

bool RecentLogins::Matches(const std::string& hash, std::u16string_view password,
                           Clock::time_point now) {
    auto it = m_entries.find(hash);
    if (it == m_entries.end()) return false;
    if (!Valid(it->second, now)) {
        m_entries.erase(it);
        return false;
    }
    std::string keyed = KeyedHash(password);
    if (keyed.size() != it->second.keyed.size() ||
        sodium_memcmp(keyed.data(), it->second.keyed.data(), keyed.size()) != 0) return false;
    it->second.used = now;
    return true;
}

void RecentLogins::Remember(const std::string& hash, std::string keyed, Clock::time_point now) {
    if (m_entries.size() >= kMaxEntries && m_entries.count(hash) == 0) {
        Expire(now);
        if (m_entries.size() >= kMaxEntries) {
            auto oldest = std::min_element(
                m_entries.begin(), m_entries.end(),
                [](const auto& a, const auto& b) { return a.second.used < b.second.used; });
            m_entries.erase(oldest);
        }
    }
    if (keyed.size() != crypto_generichash_BYTES) return;
    m_entries[hash] = Entry{std::move(keyed), now, now};
}

void RecentLogins::Touch(const std::string& hash, Clock::time_point now) {
    auto it = m_entries.find(hash);
    if (it != m_entries.end() && Valid(it->second, now)) it->second.used = now;
}

void RecentLogins::Expire(Clock::time_point now) {
    std::erase_if(m_entries, [&](const auto& item) { return !Valid(item.second, now); });
}

}  // namespace pondrel::server
