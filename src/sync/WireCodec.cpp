#include "sync/WireCodec.h"

namespace pondrel {

void AppendWire(std::u16string_view text, std::string& bytes) {
    size_t at = bytes.size();
    bytes.resize(at + 2 * text.size());
    for (char16_t c : text) {
        bytes[at++] = static_cast<char>(c >> 8);
        bytes[at++] = static_cast<char>(c & 0xFF);
    }
}

std::string EncodeWire(std::u16string_view text) {
    std::string bytes;
    AppendWire(text, bytes);
    return bytes;
}

void WireDecoder::Feed(std::string_view bytes, std::u16string& text) {
    size_t i = 0;
    text.reserve(text.size() + (bytes.size() + 1) / 2);
    if (m_hasHalf && !bytes.empty()) {
        char16_t c = static_cast<char16_t>((m_half << 8) | static_cast<unsigned char>(bytes[0]));
        if (c != 0) text += c;
        m_hasHalf = false;
        i = 1;
    }
    for (; i + 1 < bytes.size(); i += 2) {
        char16_t c = static_cast<char16_t>((static_cast<unsigned char>(bytes[i]) << 8) |
                                           static_cast<unsigned char>(bytes[i + 1]));
        if (c != 0) text += c;
    }
    if (i < bytes.size()) {
        m_half = static_cast<unsigned char>(bytes[i]);
        m_hasHalf = true;
    }
}

}  // namespace pondrel
