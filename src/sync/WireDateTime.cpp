#include "sync/WireDateTime.h"

#include "platform/Text.h"

namespace pondrel {

std::u16string WireDate(const DateTime& when) {
    return Format(u"%d.%d.%d", {when.day, when.month, when.year});
}

std::u16string WireTime(const DateTime& when) {
    std::u16string text;
    for (int part : {when.hour, when.minute, when.second}) {
        if (!text.empty()) text += u':';
        text += static_cast<char16_t>(u'0' + (part / 10) % 10);
        text += static_cast<char16_t>(u'0' + part % 10);
    }
    return text;
}

}  // namespace pondrel
