#include "documents/TemplateCode.h"

#include <climits>

#include "documents/RtfFormat.h"
#include "documents/RtfSyntax.h"

namespace pondrel {
namespace {

constexpr std::u16string_view kOptionLetters = u"dnrRup";

// The characters a code is made of, as the word processor may escape them.
std::optional<char16_t> CodeCharacter(int byte) {
    if (byte >= 0x30 && byte <= 0x39) return static_cast<char16_t>(byte);
    switch (byte) {
        case 0x64:
            return u'd';
        case 0x6e:
            return u'n';
        case 0x45:
            return u'E';
        case 0x4c:
            return u'L';
        case 0x46:
            return u'F';
        case 0x73:
            return u's';
        case 0x3a:
            return u':';
        default:
            return std::nullopt;
    }
}

// Skips a control word or symbol that starts at rtf[i] == '\'; returns the position after it
// (after the blank that delimits a control word).
size_t SkipControl(std::string_view rtf, size_t i) {
    size_t k = i + 1;
    if (k >= rtf.size()) return k;
    if (!IsRtfLetter(rtf[k])) {
        if (rtf[k] == '\'') return std::min(rtf.size(), k + 3);
        return k + 1;
    }
    while (k < rtf.size() && IsRtfLetter(rtf[k])) ++k;
    if (k < rtf.size() && rtf[k] == '-') ++k;
    while (k < rtf.size() && IsRtfDigit(rtf[k])) ++k;
    if (k < rtf.size() && rtf[k] == ' ') ++k;
    return k;
}

// Position after the group that opens at rtf[i] == '{' (the end of the text when it is not
// closed there).
size_t SkipGroup(std::string_view rtf, size_t i) {
    int depth = 0;
    for (size_t k = i; k < rtf.size(); ++k) {
        if (rtf[k] == '\\') {
            ++k;  // the escaped character cannot open or close a group
        } else if (rtf[k] == '{') {
            ++depth;
        } else if (rtf[k] == '}' && --depth == 0) {
            return k + 1;
        }
    }
    return rtf.size();
}

}  // namespace

std::u16string NormaliseCodeText(std::string_view rtf) {
    std::u16string out;
    size_t i = 0;
    while (i < rtf.size()) {
        const char c = rtf[i];
        if (c == '{' && rtf.substr(i + 1, 2) == "\\*") {
            i = SkipGroup(rtf, i);
        } else if (c == '\\') {
            if (i + 3 < rtf.size() && rtf[i + 1] == '\'') {
                const int high = HexDigitValue(rtf[i + 2]);
                const int low = HexDigitValue(rtf[i + 3]);
                if (high >= 0 && low >= 0) {
                    if (auto mapped = CodeCharacter(high * 16 + low)) out += *mapped;
                }
            }
            i = SkipControl(rtf, i);
        } else {
            if (c != '{' && c != '}' && c != ' ' && c != '\r' && c != '\n') {
                out += static_cast<char16_t>(static_cast<unsigned char>(c));
            }
            ++i;
        }
        if (out.size() >= kMaxCodeText) break;
    }
    return out;
}

std::optional<TemplateCode> ParseCode(std::u16string_view codeText) {
    if (codeText.empty() || codeText.size() >= kMaxCodeText) return std::nullopt;
    TemplateCode code;
    size_t digit = 0;
    while (digit < codeText.size() && !(codeText[digit] >= u'0' && codeText[digit] <= u'9')) {
        ++digit;
    }
    code.type.assign(codeText.substr(0, digit));
    long long number = 0;
    for (size_t k = digit; k < codeText.size() && codeText[k] >= u'0' && codeText[k] <= u'9'; ++k) {
        number = std::min<long long>(number * 10 + (codeText[k] - u'0'), INT_MAX);
    }
    code.number = static_cast<int>(number);
    for (size_t k = 1; k < codeText.size(); ++k) {
        if (kOptionLetters.find(codeText[k]) != std::u16string_view::npos &&
            !code.Has(codeText[k])) {
            code.options += codeText[k];
        }
    }
    return code;
}

}  // namespace pondrel
