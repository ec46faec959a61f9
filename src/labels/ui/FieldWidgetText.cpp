#include "labels/ui/FieldWidgetText.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>

#include "platform/ui/QtLines.h"
#include "records/ReservedCharacters.h"

namespace pondrel {

bool FieldWidgetText::Supports(const QWidget* edit) {
    return qobject_cast<const QPlainTextEdit*>(edit) || qobject_cast<const QLineEdit*>(edit);
}

FieldState FieldWidgetText::State(const QWidget* edit) {
    FieldState state;
    if (auto* line = qobject_cast<const QLineEdit*>(edit)) {
        QString shown = line->text();
        state.text = StoredLines(shown);
        int start = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
        int end = line->hasSelectedText() ? line->selectionEnd() : line->cursorPosition();
        state.selectionStart = StoredPosition(shown, start);
        state.selectionEnd = StoredPosition(shown, end);
        return state;
    }
    auto* plain = qobject_cast<const QPlainTextEdit*>(edit);
    if (!plain) return state;
    QString shown = plain->toPlainText();
    state.text = StoredLines(shown);
    QTextCursor cursor = plain->textCursor();
    state.selectionStart = StoredPosition(shown, cursor.selectionStart());
    state.selectionEnd = StoredPosition(shown, cursor.selectionEnd());
    // The display line holding the caret, when the field wraps its lines.
    QTextBlock block = cursor.block();
    if (QTextLayout* layout = block.layout(); layout && layout->lineCount() > 1) {
        QTextLine line = layout->lineForTextPosition(cursor.position() - block.position());
        if (line.isValid()) {
            state.displayLineStart = StoredPosition(shown, block.position() + line.textStart());
        }
    }
    return state;
}

void FieldWidgetText::Apply(QWidget* edit, const FieldState& before, const FieldState& after) {
    FieldChange change = FieldChange::Between(before.text, after.text);
    int from = ShownPosition(before.text, change.position);
    int to = ShownPosition(before.text, change.position + change.length);
    int selectionStart = ShownPosition(after.text, after.selectionStart);
    int selectionEnd = ShownPosition(after.text, after.selectionEnd);
    if (auto* line = qobject_cast<QLineEdit*>(edit)) {
        if (from != to || !change.replacement.empty()) {
            line->setSelection(from, to - from);
            line->insert(ShownLines(change.replacement));
        }
        line->setSelection(selectionStart, selectionEnd - selectionStart);
        return;
    }
    auto* plain = qobject_cast<QPlainTextEdit*>(edit);
    if (!plain) return;
    QTextCursor cursor = plain->textCursor();
    if (from != to || !change.replacement.empty()) {
        // One step of the field's undo, not merged with the typing before it.
        cursor.beginEditBlock();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        cursor.insertText(ShownLines(change.replacement));
        cursor.endEditBlock();
    }
    cursor.setPosition(selectionStart);
    cursor.setPosition(selectionEnd, QTextCursor::KeepAnchor);
    plain->setTextCursor(cursor);
    plain->ensureCursorVisible();
}

void FieldWidgetText::Run(QWidget* edit, ShortcutList::Command command, bool oneLine) {
    auto* line = qobject_cast<QLineEdit*>(edit);
    auto* plain = qobject_cast<QPlainTextEdit*>(edit);
    if (!line && !plain) return;
    switch (command) {
        case ShortcutList::Command::Undo:
            line ? line->undo() : plain->undo();
            break;
        case ShortcutList::Command::Cut:
            line ? line->cut() : plain->cut();
            break;
        case ShortcutList::Command::Copy:
            line ? line->copy() : plain->copy();
            break;
        case ShortcutList::Command::Paste: {
            FieldState before = State(edit);
            std::u16string pasted = StoredLines(QApplication::clipboard()->text());
            FieldState after = before.Clamped();
            std::u16string kept = WithoutReservedCharacters(pasted);
            after.text.replace(after.selectionStart, after.selectionEnd - after.selectionStart,
                               kept);
            after.selectionStart = after.selectionEnd = after.selectionStart + kept.size();
            Apply(edit, before, oneLine ? KeptOnOneLine(before, after) : after);
            break;
        }
        default:
            break;
    }
}

}  // namespace pondrel
