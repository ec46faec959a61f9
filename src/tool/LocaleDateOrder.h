#pragma once

#include <optional>
#include <string_view>

namespace pondrel::tool {

// The date-order setting (0 month first, 1 day first) a locale name ("de_CH.UTF-8",
// "en_US") writes its dates in: month first for the regions that write them so, day first for
// the others; none for "C", "POSIX" and an empty name, which tell nothing.
std::optional<int> DateOrderOfLocale(std::string_view locale);

// The locale the system writes dates in: LC_ALL, else LC_TIME, else LANG (the first one set and
// not empty).
std::string_view SystemTimeLocale();

}  // namespace pondrel::tool
