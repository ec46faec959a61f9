#include "BuiltInCurves.h"

#include <cstdlib>

#include "Doubles.h"

namespace pondrel::test {

const GrowthCurves& BuiltInCurves() {
    static const GrowthCurves curves = [] {
        ScriptedMessages messages;
        GrowthCurves loaded = GrowthCurves::Load(messages);
        // The built-in resources are read without a word.
        if (!messages.boxes.empty()) std::abort();
        return loaded;
    }();
    return curves;
}

}  // namespace pondrel::test
