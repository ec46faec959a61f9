#pragma once

// Our reading of RTF for the previews of the letters: the text with its paragraphs and the
// formatting a letter shows (bold, italic, underline, font, size, colour, alignment, indents,
// spacing), into a QTextDocument. Tables, pictures, headers and the other destinations are left
// out; fields show their result. Bytes that do not start with "{" are shown as plain text.
// Nothing in the bytes can make the reader fail: unknown words are skipped, unbalanced groups
// end with the text, and groups nested deeper than kMaxDepth are read as text of their parent.

#include <string_view>

class QTextDocument;

namespace pondrel {

class RtfTextReader {
public:
    static constexpr int kMaxDepth = 200;

    // Replaces the content of `document` with the document of `bytes`, its sizes multiplied by
    // `scale` (1.0: a 12-point font is 16 pixels, as on a 96-dot-per-inch screen).
    static void Read(std::string_view bytes, QTextDocument& document, double scale);
};

}  // namespace pondrel
