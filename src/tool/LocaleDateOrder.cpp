#include "tool/LocaleDateOrder.h"

#include <cstdlib>

namespace pondrel::tool {

std::optional<int> DateOrderOfLocale(std::string_view locale) {
    // The language and region only: "en_US.UTF-8@euro" -> "en_US".
    const size_t end = locale.find_first_of(".@");
    if (end != std::string_view::npos) locale = locale.substr(0, end);
    if (locale.empty() || locale == "C" || locale == "POSIX") return std::nullopt;
    const size_t bar = locale.find('_');
    const std::string_view region =
        bar == std::string_view::npos ? std::string_view() : locale.substr(bar + 1);
    // The regions whose everyday dates put the month first.
    for (std::string_view monthFirst :
         {"US", "PH", "FM", "MH", "PW", "BZ", "AS", "GU", "MP", "PR", "UM", "VI"}) {
        if (region == monthFirst) return 0;
    }
    return 1;
}

std::string_view SystemTimeLocale() {
    for (const char* name : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return value;
    }
    return {};
}

}  // namespace pondrel::tool
