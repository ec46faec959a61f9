#pragma once

#include <ostream>
#include <string>

#include "Doubles.h"
#include "MemoryFileSystem.h"
#include "platform/Platform.h"
#include "platform/Text.h"

namespace pondrel::test {

// Every seam as a double, bundled; `platform` refers to the members.
struct TestPlatform {
    MemoryFileSystem files;
    MapRegistry registry;
    FixedClock clock;
    ScriptedMessages messages;
    ManualTimers timers;
    Platform platform{files, registry, clock, messages, timers};
};

inline std::string U8(std::u16string_view text) { return ToUtf8(text); }

}  // namespace pondrel::test
