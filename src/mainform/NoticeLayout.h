#pragma once

#include <string_view>

namespace pondrel {

// Where the transient notice stands over the form: 190 pixels wide at x 25, one line of 23
// pixels plus 22 pixels for every further 20 characters, growing upwards and downwards around
// y 125.
struct NoticeBox {
    int x = 25;
    int y = 125;
    int width = 190;
    int height = 23;
    friend bool operator==(const NoticeBox&, const NoticeBox&) = default;
};

NoticeBox NoticeBoxFor(std::u16string_view text);

}  // namespace pondrel
