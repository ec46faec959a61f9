#pragma once

// The text of a field's edit widget (a QPlainTextEdit, or a QLineEdit for one-line fields) in
// the form the record keeps, with "\r\n" line breaks, and changes applied to it as the user's own
// edits: one undoable step through the widget's cursor, so its undo history and its change
// signals work as for typing.

#include "labels/FieldEditing.h"
#include "labels/ShortcutList.h"

class QWidget;

namespace pondrel {

class FieldWidgetText {
public:
    // True for the widgets handled here.
    static bool Supports(const QWidget* edit);
    // The text, the selection and the start of the display line holding the caret.
    static FieldState State(const QWidget* edit);
    // Turns the widget's text `before` into `after` (the smallest replacement) and selects
    // after's selection.
    static void Apply(QWidget* edit, const FieldState& before, const FieldState& after);
    // Undo, Cut, Copy and Paste as the Edit menu does them; pasted text loses the reserved
    // characters, and its line breaks in a one-line edit.
    static void Run(QWidget* edit, ShortcutList::Command command, bool oneLine = false);
};

}  // namespace pondrel
