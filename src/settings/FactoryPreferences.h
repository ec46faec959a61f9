#pragma once

#include "settings/Preferences.h"

namespace pondrel {

// The preferences of a new installation ("Preferences.pre" of the factory folder): every setting
// at its default, the locations of the factory rooms file, in the order of their rooms, and the
// ready-made vectorial pictures of the areas 5, 7 and 8 (ReadyPictures.h).
Preferences FactoryPreferences();

}  // namespace pondrel
