#pragma once

// How fast log-ins may be tried. Refused log-ins slow the next tries of the same user and from
// the same address: after kFreeFailures, each try waits for a slot that grows from 250 ms to
// kMaxSpacing, however many connections try at once; an address with kLockOutFailures refused
// log-ins is refused outright for kLockOut. An address from which a user logged in before in this
// run keeps logging him in without waiting for his slots, so that guessers cannot keep the real
// user out. Failures are forgotten kForget after the last one. Pure bookkeeping: the caller
// gives the time.

#include <chrono>
#include <cstddef>
#include <map>
#include <set>
#include <string>

namespace pondrel::server {

class LoginThrottle {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int kFreeFailures = 3;
    static constexpr int kLockOutFailures = 30;
    static constexpr auto kMaxSpacing = std::chrono::seconds(10);
    static constexpr auto kLockOut = std::chrono::minutes(15);
    static constexpr auto kForget = std::chrono::minutes(15);
    static constexpr size_t kMaxEntries = 10'000;

    struct Decision {
        bool refused = false;  // locked out, or no slot before `deadline`
        bool lockedOut = false;
        Clock::time_point start;  // when the check may begin
    };

    // Takes a slot for one try of `user` from `address`, to begin at the latest at `deadline`.
    Decision Admit(const std::u16string& user, const std::string& address, Clock::time_point now,
                   Clock::time_point deadline);
    // The outcome of a try; Failed is true when it starts the lock-out of the address.
    bool Failed(const std::u16string& user, const std::string& address, Clock::time_point now);
    // A user's log-in from `address` succeeded: that address is his from now on.
    void Succeeded(const std::u16string& user, const std::string& address);

    // Refused log-ins not written to the log one by one since the last summary.
    struct Summary {
        size_t failures = 0;
        std::set<std::string> addresses;
        std::set<std::u16string> users;
    };
    // Whether the refusal just counted by Failed gets a log line of its own (the first few of an
    // address); the others are gathered for TakeSummary.
    bool LogEachFailure(const std::string& address) const;
    void CountQuietFailure(const std::u16string& user, const std::string& address);
    Summary TakeSummary();

private:
    struct Entry {
        int failures = 0;
        Clock::time_point last;
        Clock::time_point nextSlot;
        Clock::time_point lockedUntil;
    };
    static Clock::duration Spacing(int failures);
    template <typename Key>
    Entry& Get(std::map<Key, Entry>& entries, const Key& key, Clock::time_point now);

    std::map<std::string, Entry> m_addresses;
    std::map<std::u16string, Entry> m_users;
    std::map<std::u16string, std::set<std::string>> m_trusted;  // user -> addresses
    Summary m_summary;
};

}  // namespace pondrel::server
