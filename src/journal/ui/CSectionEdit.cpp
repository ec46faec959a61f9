#include "journal/ui/CSectionEdit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>

#include "records/ui/ReservedCharacters.h"
#include "platform/ui/QtLines.h"

namespace pondrel {

CSectionEdit::CSectionEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_showing) emit edited();
    });
}

std::u16string CSectionEdit::Text() const {
    return StoredLines(document()->toRawText());
}

void CSectionEdit::ShowText(std::u16string_view text) {
    if (Text() == text) return;
    m_showing = true;
    setPlainText(ShownLines(text));
    m_showing = false;
}

size_t CSectionEdit::Caret() const {
    return StoredPosition(document()->toRawText(), textCursor().position());
}

void CSectionEdit::SetCaret(size_t caret) {
    QTextCursor cursor = textCursor();
    cursor.setPosition(ShownPosition(Text(), caret));
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
