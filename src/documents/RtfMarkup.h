#pragma once

// Text on its way into an RTF document, kept as pieces of three kinds: text to escape (record
// texts, labels, placeholders), raw RTF of the program's own (paragraph marks, group breaks) and
// kept blanks. Text never becomes RTF control words: a "{", "}", "\" or cent sign typed into a
// record comes out as typed, whatever raw pieces stand around it.

#include <string>
#include <string_view>
#include <vector>

namespace pondrel {

// The escaping of text for RTF: ",./ :\r\n" are copied, every other character c becomes
// "\u" + c as a signed 16-bit number + "\'3f" (the Unicode escape with "?" for readers that
// lack the character). The result is plain ASCII. Appends to `out`.
void AppendRtfEscaped(std::u16string& out, std::u16string_view text);
// The escaped text with blanks and commas trimmed from its right.
std::u16string RtfEscape(std::u16string_view text);
// Trims blanks and commas from the right of escaped RTF; a blank that ends a control word stays,
// so that the word cannot run into what follows.
void TrimEscapedRight(std::u16string& rtf);

class RtfMarkup {
public:
    RtfMarkup() = default;
    explicit RtfMarkup(std::u16string_view text) { Text(text); }

    RtfMarkup& Text(std::u16string_view text);
    // RTF written as it stands; ASCII only.
    RtfMarkup& Raw(std::string_view rtf);
    RtfMarkup& Paragraph();
    // Blanks that survive the clean-up of the document.
    RtfMarkup& KeptBlanks(int count);
    RtfMarkup& Append(const RtfMarkup& other);

    bool Empty() const { return m_pieces.empty(); }
    // True when a raw piece closes a group: the markup must stand inside a group of its own.
    bool BreaksGroups() const;
    // The text pieces one after the other, without the raw ones (for tests and plain previews).
    std::u16string PlainText() const;

    // The punctuation clean-up of the problem codes on every run of text, each rule until none
    // is left, in order: "?." -> "?", "!." -> "!", " ," -> ",", " ." -> ".", ".," -> ",",
    // ".." -> ".", ",." -> ".". Raw pieces are left alone.
    void CleanPunctuation();

    // The RTF of the markup: text escaped, raw pieces as they stand, kept blanks as kKeptBlank,
    // trailing blanks and commas trimmed.
    std::u16string Escaped() const;

private:
    enum class Kind { Text, Raw, KeptBlank };
    struct Piece {
        Kind kind;
        std::u16string text;
    };
    void Add(Kind kind, std::u16string_view text);

    std::vector<Piece> m_pieces;
};

}  // namespace pondrel
