#include "server/LoginThrottle.h"

#include <algorithm>
#include <utility>

namespace pondrel::server {

namespace {
constexpr size_t kMaxTrustedPerUser = 16;
}  // namespace

LoginThrottle::Clock::duration LoginThrottle::Spacing(int failures) {
    if (failures <= kFreeFailures) return Clock::duration::zero();
    int doublings = std::min(failures - kFreeFailures - 1, 10);
    Clock::duration spacing = std::chrono::milliseconds(250) * (1 << doublings);
    return std::min<Clock::duration>(spacing, kMaxSpacing);
}

template <typename Key>
LoginThrottle::Entry& LoginThrottle::Get(std::map<Key, Entry>& entries, const Key& key,
                                         Clock::time_point now) {
    if (entries.size() >= kMaxEntries && entries.find(key) == entries.end()) {
        std::erase_if(entries, [&](const auto& item) {
            return now - item.second.last > kForget && now >= item.second.lockedUntil &&
                   now >= item.second.nextSlot;
        });
        if (entries.size() >= kMaxEntries) entries.clear();
    }
    Entry& entry = entries[key];
    if (entry.failures > 0 && now - entry.last > kForget) entry.failures = 0;
    return entry;
}

LoginThrottle::Decision LoginThrottle::Admit(const std::u16string& user, const std::string& address,
                                             Clock::time_point now, Clock::time_point deadline) {
    Entry& from = Get(m_addresses, address, now);
    Decision decision;
    if (now < from.lockedUntil) {
        decision.refused = decision.lockedOut = true;
        return decision;
    }
    auto trusted = m_trusted.find(user);
    bool known = trusted != m_trusted.end() && trusted->second.count(address) > 0;
    Entry* of = known ? nullptr : &Get(m_users, user, now);
    Clock::time_point start = std::max(now, from.nextSlot);
    if (of) start = std::max(start, of->nextSlot);
    if (start > deadline) {
        decision.refused = true;
        return decision;
    }
    from.nextSlot = start + Spacing(from.failures);
    if (of) of->nextSlot = start + Spacing(of->failures);
    decision.start = start;
    return decision;
}

bool LoginThrottle::Failed(const std::u16string& user, const std::string& address,
                           Clock::time_point now) {
    Entry& of = Get(m_users, user, now);
    ++of.failures;
    of.last = now;
    of.nextSlot = std::max(of.nextSlot, now + Spacing(of.failures));
    Entry& from = Get(m_addresses, address, now);
    ++from.failures;
    from.last = now;
    from.nextSlot = std::max(from.nextSlot, now + Spacing(from.failures));
    if (from.failures >= kLockOutFailures && now >= from.lockedUntil) {
        from.lockedUntil = now + kLockOut;
        from.failures = 0;
        return true;
    }
    return false;
}

void LoginThrottle::Succeeded(const std::u16string& user, const std::string& address) {
    std::set<std::string>& addresses = m_trusted[user];
    if (addresses.size() >= kMaxTrustedPerUser) addresses.clear();
    addresses.insert(address);
    if (m_trusted.size() > kMaxEntries) m_trusted.clear();
}

bool LoginThrottle::LogEachFailure(const std::string& address) const {
    auto from = m_addresses.find(address);
    return from == m_addresses.end() || from->second.failures <= kFreeFailures;
}

void LoginThrottle::CountQuietFailure(const std::u16string& user, const std::string& address) {
    ++m_summary.failures;
    if (m_summary.addresses.size() < 20) m_summary.addresses.insert(address);
    if (m_summary.users.size() < 20) m_summary.users.insert(user);
}

LoginThrottle::Summary LoginThrottle::TakeSummary() {
    return std::exchange(m_summary, {});
}

}  // namespace pondrel::server
