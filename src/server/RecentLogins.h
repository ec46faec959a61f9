#pragma once

// Passwords that passed their Argon2id check lately, kept in memory only so that a user who logs
// in again soon (his device lost the network for a moment, the ward's access point restarted)
// costs a keyed BLAKE2b hash instead of a new Argon2id check. For each stored hash it keeps the
// keyed hash of the password that matched it; the key is drawn when the server starts and never
// leaves the process, so nothing here outlives a restart. An entry is forgotten kUnused after
// its last use (a log-in, or its user still being online) and kMaxAge after its Argon2id check
// at the latest; a new stored hash (a new password) never matches an old entry. A wrong password
// never matches: it goes through the full check and the log-in throttle as before.

#include <chrono>
#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace pondrel::server {

class RecentLogins {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr auto kUnused = std::chrono::minutes(30);
    static constexpr auto kMaxAge = std::chrono::hours(12);
    static constexpr size_t kMaxEntries = 10'000;

    // Draws the key; libsodium must be started.
    RecentLogins();
    ~RecentLogins();
    RecentLogins(const RecentLogins&) = delete;
    RecentLogins& operator=(const RecentLogins&) = delete;

    // True when `password` is the one that last matched `hash` and the entry is still valid;
    // a match counts as a use.
    bool Matches(const std::string& hash, std::u16string_view password, Clock::time_point now);
    // A password matched `hash` in a full check at `now`; `keyed` is its KeyedHash. When full,
    // the entry used longest ago makes room.
    void Remember(const std::string& hash, std::string keyed, Clock::time_point now);
    // The user of `hash` is still online: his entry stays (up to kMaxAge).
    void Touch(const std::string& hash, Clock::time_point now);
    // Drops the entries no longer valid at `now`.
    void Expire(Clock::time_point now);
    size_t Size() const { return m_entries.size(); }

    // The keyed hash, with this run's key. Safe from any thread.
    std::string KeyedHash(std::u16string_view password) const;

private:
    struct Entry {
        std::string keyed;
        Clock::time_point checked;
        Clock::time_point used;
    };
    static bool Valid(const Entry& entry, Clock::time_point now);

    std::string m_key;
    std::map<std::string, Entry> m_entries;  // stored hash -> entry
};

}  // namespace pondrel::server
