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
    if (bytes.empty()) return;
    size_t at = text.size();
    text.resize(at + (bytes.size() + 1) / 2);
    char16_t* out = text.data() + at;
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* end = in + bytes.size();
    if (m_hasHalf) {
        auto c = static_cast<char16_t>((m_half << 8) | *in++);
        *out = c;
        out += c != 0;  // the character 0 is dropped
        m_hasHalf = false;
    }
    for (; end - in >= 2; in += 2) {
        auto c = static_cast<char16_t>((in[0] << 8) | in[1]);
        *out = c;
        out += c != 0;
    }
    if (in < end) {
        m_half = *in;
        m_hasHalf = true;
    }
    text.resize(static_cast<size_t>(out - text.data()));
}

}  // namespace pondrel
