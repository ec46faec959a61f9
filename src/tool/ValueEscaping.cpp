#include "tool/ValueEscaping.h"

#include <cstdio>

#include "platform/Text.h"

namespace pondrel::tool {

std::string EscapedValue(std::u16string_view value) {
    std::u16string out;
    for (char16_t c : value) {
        if (c == u'\\') {
            out += u"\\\\";
        } else if (c == u'\r') {
            out += u"\\r";
        } else if (c == u'\n') {
            out += u"\\n";
        } else {
            out += c;
        }
    }
    return ToUtf8(out);
}

bool UnescapeValue(std::string_view utf8, std::u16string& value) {
    std::u16string text = FromUtf8(utf8);
    // Invalid sequences were replaced; the text then no longer spells the same bytes.
    if (ToUtf8(text) != utf8) return false;
    value.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\') {
            value += text[i];
            continue;
        }
        if (++i == text.size()) return false;
        switch (text[i]) {
            case u'\\':
                value += u'\\';
                break;
            case u'r':
                value += u'\r';
                break;
            case u'n':
                value += u'\n';
                break;
            default:
                return false;
        }
    }
    return true;
}

void PrintValueLine(std::string_view name, std::u16string_view value) {
    std::string line(name);
    line += '=';
    line += EscapedValue(value);
    line += '\n';
    std::fputs(line.c_str(), stdout);
}

}  // namespace pondrel::tool
