#include "mainform/NoticeLayout.h"

namespace pondrel {

NoticeBox NoticeBoxFor(std::u16string_view text) {
    const int characters = static_cast<int>(text.size() > 100000 ? 100000 : text.size());
    const int extra = characters > 20 ? (characters / 20) * 22 : 0;
    NoticeBox box;
    box.y = 125 - extra / 2;
    box.height = 23 + extra;
    return box;
}

}  // namespace pondrel
