#include "documents/RtfMarkup.h"

#include "documents/RtfFormat.h"
#include "documents/RtfSyntax.h"
#include "documents/SummaryText.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

constexpr std::u16string_view kCopiedAsIs = u",./ :\r\n";

// True when `rtf` ends with a control word such as "\par" or "\f2" (a backslash that is not
// itself escaped, letters, an optional signed number).
bool EndsWithControlWord(std::u16string_view rtf) {
    size_t end = rtf.size();
    while (end > 0 && IsRtfDigit(rtf[end - 1])) --end;
    if (end < rtf.size() && end > 0 && rtf[end - 1] == u'-') --end;
    size_t letters = end;
    while (letters > 0 && IsRtfLetter(rtf[letters - 1])) --letters;
    if (letters == end || letters == 0 || rtf[letters - 1] != u'\\') return false;
    size_t slashes = 0;
    for (size_t i = letters; i > 0 && rtf[i - 1] == u'\\'; --i) ++slashes;
    return slashes % 2 == 1;
}

}  // namespace

void AppendRtfEscaped(std::u16string& out, std::u16string_view text) {
    for (char16_t c : text) {
        if (kCopiedAsIs.find(c) != std::u16string_view::npos) {
            out += c;
            continue;
        }
        // RTF reads the number of \u as a signed 16-bit value.
        const int code = c > 0x7FFF ? static_cast<int>(c) - 0x10000 : static_cast<int>(c);
        out += u"\\u";
        out += ToText(code);
        out += u"\\'3f";
    }
}

void TrimEscapedRight(std::u16string& rtf) {
    size_t end = rtf.size();
    while (end > 0 && (rtf[end - 1] == u' ' || rtf[end - 1] == u',')) --end;
    if (end == rtf.size()) return;
    const bool keepDelimiter =
        EndsWithControlWord(std::u16string_view(rtf).substr(0, end)) && rtf[end] == u' ';
    rtf.resize(keepDelimiter ? end + 1 : end);
}

std::u16string RtfEscape(std::u16string_view text) {
    std::u16string out;
    AppendRtfEscaped(out, text);
    TrimEscapedRight(out);
    return out;
}

void RtfMarkup::Add(Kind kind, std::u16string_view text) {
    if (text.empty()) return;
    if (kind != Kind::Raw && !m_pieces.empty() && m_pieces.back().kind == kind) {
        m_pieces.back().text += text;
    } else {
        m_pieces.push_back({kind, std::u16string(text)});
    }
}

RtfMarkup& RtfMarkup::Text(std::u16string_view text) {
    Add(Kind::Text, text);
    return *this;
}

RtfMarkup& RtfMarkup::Raw(std::string_view rtf) {
    std::u16string wide(rtf.begin(), rtf.end());
    Add(Kind::Raw, wide);
    return *this;
}

RtfMarkup& RtfMarkup::Paragraph() {
    return Raw(kRtfParagraph);
}

RtfMarkup& RtfMarkup::KeptBlanks(int count) {
    if (count > 0) Add(Kind::KeptBlank, std::u16string(static_cast<size_t>(count), kKeptBlank));
    return *this;
}

RtfMarkup& RtfMarkup::Append(const RtfMarkup& other) {
    for (const Piece& piece : other.m_pieces) Add(piece.kind, piece.text);
    return *this;
}

bool RtfMarkup::BreaksGroups() const {
    for (const Piece& piece : m_pieces) {
        if (piece.kind == Kind::Raw && piece.text.find(u'}') != std::u16string::npos) return true;
    }
    return false;
}

std::u16string RtfMarkup::PlainText() const {
    std::u16string out;
    for (const Piece& piece : m_pieces) {
        if (piece.kind == Kind::Text) out += piece.text;
    }
    return out;
}

void RtfMarkup::CleanPunctuation() {
    for (Piece& piece : m_pieces) {
        if (piece.kind != Kind::Text) continue;
        piece.text = RewriteEachUntilStable(piece.text, {{u"?.", u"?"},
                                                         {u"!.", u"!"},
                                                         {u" ,", u","},
                                                         {u" .", u"."},
                                                         {u".,", u","},
                                                         {u"..", u"."},
                                                         {u",.", u"."}});
    }
    std::erase_if(m_pieces, [](const Piece& piece) { return piece.text.empty(); });
}

std::u16string RtfMarkup::Escaped() const {
    std::u16string out;
    for (const Piece& piece : m_pieces) {
        if (piece.kind == Kind::Text) {
            AppendRtfEscaped(out, piece.text);
        } else {
            out += piece.text;
        }
    }
    TrimEscapedRight(out);
    return out;
}

}  // namespace pondrel
