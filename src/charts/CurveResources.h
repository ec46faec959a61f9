#pragma once

// The six growth curve texts built into the program (src/charts/data, made by
// tools/growth-curves): "#7500" to "#7505", UTF-16 little-endian with a byte-order mark.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace pondrel {

// The bytes of a built-in curve text by its name, e.g. "#7500"; none for any other name.
std::optional<std::string_view> FindCurveResource(std::u16string_view name);

// Where curve texts are looked up: the built-in ones, or others in tests.
using CurveResourceLookup = std::function<std::optional<std::string_view>(std::u16string_view)>;

}  // namespace pondrel
