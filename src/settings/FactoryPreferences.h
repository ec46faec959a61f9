#pragma once

#include "settings/Preferences.h"

namespace pondrel {

// The preferences of a new installation ("Preferences.pre" of the factory folder): every setting
// at its default, and the locations of the factory rooms file, in the order of their rooms.
Preferences FactoryPreferences();

}  // namespace pondrel
