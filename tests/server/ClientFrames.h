#pragma once

// Frames a handheld sends, as the server tests write them by hand: the log-in and an upload.

#include <string>
#include <string_view>

#include "platform/Text.h"

namespace pondrel::test {

inline std::u16string Login(std::u16string_view user, std::u16string_view password) {
    return u"#I!#bedside|" + std::u16string(user) + u"|" + std::u16string(password) + u"|#F|";
}

// The upload of `text` as `name` with the message code "<length>|<code>".
inline std::u16string UploadFrame(std::u16string_view name, std::u16string_view text,
                                  int code = 4217) {
    std::u16string frame = u"\u00A2File\u00A2" + std::u16string(text) + u"\u00A7Code\u00A7\u00A6";
    frame += ToText(static_cast<long long>(6 + text.size())) + u"|" + ToText(code);
    frame += u"\u00A2" + std::u16string(name) + u"\u00A2Synch\u00A2#F|";
    return frame;
}

}  // namespace pondrel::test
