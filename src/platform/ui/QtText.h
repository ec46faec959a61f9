#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace pondrel {

// The core keeps texts as UTF-16; Qt strings are UTF-16 too.
inline QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::u16string ToU16(const QString& text) {
    return text.toStdU16String();
}

}  // namespace pondrel
