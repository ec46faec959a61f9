#include "records/ItemEncoding.h"

namespace pondrel {

std::string EncodeItemText(std::u16string_view text) {
    std::string bytes;
    bytes.resize(2 * (text.size() + 2));
    auto put = [&bytes](size_t index, char16_t unit) {
        bytes[2 * index] = static_cast<char>(unit & 0xFF);
        bytes[2 * index + 1] = static_cast<char>(unit >> 8);
    };
    put(0, 0xFEFF);
    for (size_t i = 0; i < text.size(); ++i) {
        put(i + 1, static_cast<char16_t>(text[i] + kItemShift));
    }
    put(text.size() + 1, 0);
    return bytes;
}

std::u16string DecodeItemText(std::string_view bytes) {
    size_t units = bytes.size() / 2;
    auto unit = [&bytes](size_t index) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * index]) |
                                     (static_cast<unsigned char>(bytes[2 * index + 1]) << 8));
    };
    if (units <= 1) return {};
    size_t end = units;
    if (unit(units - 1) == 0) --end;
    // Written by index into a sized text, so that the compiler can vectorise the loop.
    std::u16string text(end - 1, u'\0');
    for (size_t i = 1; i < end; ++i) text[i - 1] = static_cast<char16_t>(unit(i) - kItemShift);
    return text;
}

}  // namespace pondrel
