#pragma once

// The character encoding of the wire: every character travels as two bytes, high byte first
// (UTF-16 big-endian), without a byte-order mark or length.

#include <string>
#include <string_view>

namespace pondrel {

// The bytes of `text`, two per character, high byte first.
std::string EncodeWire(std::u16string_view text);
void AppendWire(std::u16string_view text, std::string& bytes);

// Turns received bytes back into characters. A receive may end in the middle of a character:
// its first byte is kept for the next call, so no half character is lost or misread. Character 0
// never belongs to a frame and is dropped (only that character).
class WireDecoder {
public:
    // Appends the characters completed by `bytes` to `text`.
    void Feed(std::string_view bytes, std::u16string& text);
    std::u16string Feed(std::string_view bytes) {
        std::u16string text;
        Feed(bytes, text);
        return text;
    }
    // True when the first byte of a character is waiting for its second one.
    bool HasHalfCharacter() const { return m_hasHalf; }
    void Reset() { m_hasHalf = false; }

private:
    bool m_hasHalf = false;
    unsigned char m_half = 0;
};

}  // namespace pondrel
