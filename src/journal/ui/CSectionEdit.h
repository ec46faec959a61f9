#pragma once

#include <QPlainTextEdit>

#include <string>
#include <string_view>

namespace pondrel {

// A multi-line field of the problem panel (a section, the differential diagnosis, the problem
// redaction). It shows and gives its text with "\r\n" line breaks, as the journal keeps them,
// refuses the reserved characters from the keyboard (and drops them from pasted text), tells
// when the user changed the text and when the field is left.
class CSectionEdit final : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CSectionEdit(QWidget* parent = nullptr);

    std::u16string Text() const;
    // Shows `text`; a field that already holds it is left alone, so the caret stays put.
    // Never reported as an edit.
    void ShowText(std::u16string_view text);
    // The caret as a position in Text().
    size_t Caret() const;
    void SetCaret(size_t caret);

signals:
    // The user changed the text (typing, pasting, deleting).
    void edited();
    // The field lost the focus.
    void left();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool m_showing = false;
};

}  // namespace pondrel
