#pragma once

// The items of a field's shortcut list as the labels file holds them, shared by the shortcut
// lists of the form and by the label editor: items separated by "|" up to the closing "||",
// and menu headers "¢" + count + "¢" + title.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Text.h"

namespace pondrel {

inline constexpr char16_t kMenuMark = u'\u00A2';  // "¢" + n + "¢" + title opens a menu

struct MenuHeader {
    int count = 0;
    std::u16string_view title;
};

// The header of a menu item; none for any other item.
inline std::optional<MenuHeader> ParseMenuHeader(std::u16string_view item) {
    if (item.size() < 2 || item[0] != kMenuMark) return std::nullopt;
    const size_t close = item.find(kMenuMark, 1);
    if (close == std::u16string_view::npos) return std::nullopt;
    return MenuHeader{ParseInt(item.substr(1, close - 1)), item.substr(close + 1)};
}

inline std::u16string MakeMenuHeader(int count, std::u16string_view title) {
    return kMenuMark + ToText(count) + kMenuMark + std::u16string(title);
}

// The items of a shortcut list, up to its closing "||".
inline std::vector<std::u16string_view> ShortcutItems(std::u16string_view list) {
    std::vector<std::u16string_view> items;
    list = list.substr(0, list.find(u"||"));
    size_t at = 0;
    while (at < list.size()) {
        const size_t bar = list.find(u'|', at);
        items.push_back(list.substr(at, (bar == std::u16string_view::npos ? list.size() : bar) - at));
        if (bar == std::u16string_view::npos) break;
        at = bar + 1;
    }
    return items;
}

}  // namespace pondrel
