#include "platform/Clock.h"

#include <time.h>

#include <ctime>

namespace pondrel {

DateTime SystemClock::Now() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return DateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                    local.tm_hour,        local.tm_min,     local.tm_sec};
}

uint64_t SystemClock::TickCount() {
    // Since the system started, counting the time it spent asleep, as the handheld's tick count
    // did: the connection notices a resume from standby by a jump of this count.
    timespec now{};
    if (clock_gettime(CLOCK_BOOTTIME, &now) != 0) clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000 +
           static_cast<uint64_t>(now.tv_nsec) / 1'000'000;
}

}  // namespace pondrel
