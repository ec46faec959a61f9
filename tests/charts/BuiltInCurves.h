#pragma once

#include "charts/GrowthCurves.h"

namespace pondrel::test {

// The growth curves built into the program, read once for all the tests of the executable.
const GrowthCurves& BuiltInCurves();

}  // namespace pondrel::test
