#include "journal/ui/CSectionEdit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>

#include "journal/ui/ReservedCharacters.h"

namespace pondrel {

namespace {

bool IsBreak(QChar c) {
    return c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == u'\n';
}

// The document's text with "\r\n" breaks. The raw text keeps non-breaking spaces as typed.
std::u16string Stored(const QString& raw) {
    std::u16string text;
    text.reserve(static_cast<size_t>(raw.size()) + 16);
    for (QChar c : raw) {
        if (IsBreak(c)) {
            text += u"\r\n";
        } else {
            text += c.unicode();
        }
    }
    return text;
}

QString Shown(std::u16string_view text) {
    QString shown;
    shown.reserve(static_cast<qsizetype>(text.size()));
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            shown += u'\n';
        } else {
            shown += QChar(c);
        }
    }
    return shown;
}

}  // namespace

CSectionEdit::CSectionEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_showing) emit edited();
    });
}

std::u16string CSectionEdit::Text() const {
    return Stored(document()->toRawText());
}

void CSectionEdit::ShowText(std::u16string_view text) {
    if (Text() == text) return;
    m_showing = true;
    setPlainText(Shown(text));
    m_showing = false;
}

size_t CSectionEdit::Caret() const {
    int position = textCursor().position();
    QString raw = document()->toRawText();
    size_t caret = 0;
    for (int i = 0; i < position && i < raw.size(); ++i) caret += IsBreak(raw[i]) ? 2 : 1;
    return caret;
}

void CSectionEdit::SetCaret(size_t caret) {
    QString raw = document()->toRawText();
    size_t at = 0;
    int position = 0;
    while (position < raw.size() && at < caret) {
        at += IsBreak(raw[position]) ? 2 : 1;
        ++position;
    }
    QTextCursor cursor = textCursor();
    cursor.setPosition(position);
    setTextCursor(cursor);
    ensureCursorVisible();
}

void CSectionEdit::keyPressEvent(QKeyEvent* event) {
    if (HasReservedCharacter(event->text())) {
        event->accept();  // refused: the character never reaches the text
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CSectionEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (HasReservedCharacter(event->commitString())) {
        QInputMethodEvent kept(event->preeditString(), event->attributes());
        kept.setCommitString(WithoutReservedCharacters(event->commitString()),
                             event->replacementStart(), event->replacementLength());
        QPlainTextEdit::inputMethodEvent(&kept);
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void CSectionEdit::insertFromMimeData(const QMimeData* source) {
    if (source && source->hasText()) {
        insertPlainText(WithoutReservedCharacters(source->text()));
        return;
    }
    QPlainTextEdit::insertFromMimeData(source);
}

void CSectionEdit::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    emit left();
}

}  // namespace pondrel
