#include "server/BusBudget.h"

#include <algorithm>

namespace pondrel::server {

bool BusBudget::Take(const std::u16string& user, double seconds) {
    auto it = m_buckets.find(user);
    if (it == m_buckets.end()) {
        if (m_buckets.size() >= kMaxUsers) {
            // Full buckets need no keeping: forget them, and everything if that is not enough.
            std::erase_if(m_buckets, [&](const auto& entry) {
                return entry.second.tokens + (seconds - entry.second.at) * kPerSecond >= kBurst;
            });
            if (m_buckets.size() >= kMaxUsers) m_buckets.clear();
        }
        it = m_buckets.emplace(user, Bucket{kBurst, seconds}).first;
    }
    Bucket& bucket = it->second;
    bucket.tokens = std::min(kBurst, bucket.tokens + std::max(0.0, seconds - bucket.at) * kPerSecond);
    bucket.at = seconds;
    if (bucket.tokens < 1) return false;
    bucket.tokens -= 1;
    return true;
}

}  // namespace pondrel::server
