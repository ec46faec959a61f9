#pragma once

#include "platform/Clock.h"
#include "platform/DeviceFileSystem.h"
#include "platform/Registry.h"
#include "platform/Timers.h"
#include "platform/UserMessages.h"

namespace pondrel {

// The seams between the core and its surroundings, handed to the core by reference. The objects
// are owned by the program (or the test) and must outlive every user of this bundle.
struct Platform {
    DeviceFileSystem& files;
    Registry& registry;
    Clock& clock;
    UserMessages& messages;
    Timers& timers;
};

}  // namespace pondrel
