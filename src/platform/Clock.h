#pragma once

#include <cstdint>

#include "platform/DateTime.h"

namespace pondrel {

class Clock {
public:
    virtual ~Clock() = default;
    // The current local date and time.
    virtual DateTime Now() = 0;
    // Milliseconds since some fixed moment; only differences mean something.
    virtual uint64_t TickCount() = 0;
};

class SystemClock final : public Clock {
public:
    DateTime Now() override;
    uint64_t TickCount() override;
};

}  // namespace pondrel
