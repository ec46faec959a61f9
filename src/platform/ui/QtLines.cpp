#include "platform/ui/QtLines.h"

namespace pondrel {

namespace {

bool IsBreak(QChar c) {
    return c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

}  // namespace

std::u16string StoredLines(const QString& shown) {
    std::u16string text;
    text.reserve(static_cast<size_t>(shown.size()) + 16);
    for (QChar c : shown) {
        if (IsBreak(c)) {
            text += u"\r\n";
        } else {
            text += c.unicode();
        }
    }
    return text;
}

QString ShownLines(std::u16string_view text) {
    QString shown;
    shown.reserve(static_cast<qsizetype>(text.size()));
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            shown += u'\n';
        } else {
            shown += QChar(text[i]);
        }
    }
    return shown;
}

size_t StoredPosition(const QString& shown, int position) {
    size_t stored = 0;
    for (int i = 0; i < position && i < shown.size(); ++i) stored += IsBreak(shown[i]) ? 2 : 1;
    return stored;
}

int ShownPosition(std::u16string_view text, size_t position) {
    int shown = 0;
    for (size_t i = 0; i < position && i < text.size(); ++i) {
        // "\r\n" is one character on screen; a position between its two halves counts after it.
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        ++shown;
    }
    return shown;
}

}  // namespace pondrel
