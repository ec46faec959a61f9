#pragma once

#include <deque>
#include <functional>
#include <vector>

#include <QMessageBox>
#include <QPointer>
#include <QString>

#include "platform/UserMessages.h"

class QWidget;

namespace pondrel {

// Message boxes as QMessageBox, with the program's text, caption, buttons and icon; the
// transient notice goes to the main form once it exists. Every box of the program passes here.
class QtUserMessages final : public UserMessages {
public:
    using NoticeTarget = std::function<void(const std::u16string& text, int ms, bool warning)>;

    // Boxes are modal over `parent` (none: application modal, as before the frame exists).
    void SetParent(QWidget* parent) { m_parent = parent; }
    // Where notices go; notices given before a target exists are dropped.
    void SetNoticeTarget(NoticeTarget target) { m_noticeTarget = std::move(target); }

    // While set (the program ends with nobody to answer: a signal, the session's end), a box is
    // not shown: its caption and text go to stderr and it is answered as if closed without a
    // button (Cancel, else No, else OK). Notices are dropped.
    void SetUnattended(bool unattended) { m_unattended = unattended; }
    bool Unattended() const { return m_unattended; }

    BoxAnswer ShowBox(const std::u16string& text, const std::u16string& caption,
                      BoxButtons buttons = BoxButtons::Ok, BoxIcon icon = BoxIcon::None) override;
    void ShowNotice(const std::u16string& text, int milliseconds, bool warning = false) override;

    // Test hook: the next box is still built and shown, then answered with this button (when
    // the box has it; otherwise with its default button).
    void QueueAnswer(BoxAnswer answer) { m_answers.push_back(answer); }
    size_t PendingAnswers() const { return m_answers.size(); }

    // What each box really showed, read back from the QMessageBox.
    struct ShownBox {
        QString text;
        QString caption;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon;
        BoxAnswer answer;
    };
    const std::vector<ShownBox>& Shown() const { return m_shown; }

    static QMessageBox::StandardButtons ToButtons(BoxButtons buttons);
    static QMessageBox::Icon ToIcon(BoxIcon icon);

private:
    QPointer<QWidget> m_parent;
    NoticeTarget m_noticeTarget;
    std::deque<BoxAnswer> m_answers;
    std::vector<ShownBox> m_shown;
    bool m_unattended = false;
};

}  // namespace pondrel
