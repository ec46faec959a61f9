#pragma once

// The messages each user may cause between server instances: a bucket per user.

#include <cstddef>
#include <map>
#include <string>

namespace pondrel::server {

// How many messages one user may send across: a burst of kBurst, then kPerSecond.
class BusBudget {
public:
    static constexpr double kBurst = 60;
    static constexpr double kPerSecond = 20;
    static constexpr size_t kMaxUsers = 10'000;
    // Takes one message's worth at `seconds` (a steady clock); false when none is left.
    bool Take(const std::u16string& user, double seconds);

private:
    struct Bucket {
        double tokens = kBurst;
        double at = 0;
    };
    std::map<std::u16string, Bucket> m_buckets;
};

}  // namespace pondrel::server
