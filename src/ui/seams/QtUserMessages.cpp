#include "ui/seams/QtUserMessages.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

#include "platform/ui/QtText.h"

namespace pondrel {

namespace {

QMessageBox::StandardButton ToStandard(BoxAnswer answer) {
    switch (answer) {
        case BoxAnswer::Ok:
            return QMessageBox::Ok;
        case BoxAnswer::Cancel:
            return QMessageBox::Cancel;
        case BoxAnswer::Yes:
            return QMessageBox::Yes;
        case BoxAnswer::No:
            return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

// The answer of a box closed without a button: Cancel when there is one, else No, else OK. It
// never confirms anything.
BoxAnswer ClosedAnswer(BoxButtons buttons) {
    return buttons == BoxButtons::Ok      ? BoxAnswer::Ok
           : buttons == BoxButtons::YesNo ? BoxAnswer::No
                                          : BoxAnswer::Cancel;
}

}  // namespace

QMessageBox::StandardButtons QtUserMessages::ToButtons(BoxButtons buttons) {
    switch (buttons) {
        case BoxButtons::Ok:
            return QMessageBox::Ok;
        case BoxButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case BoxButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case BoxButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon QtUserMessages::ToIcon(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::None:
            return QMessageBox::NoIcon;
        case BoxIcon::Error:
            return QMessageBox::Critical;
        case BoxIcon::Warning:
            return QMessageBox::Warning;
        case BoxIcon::Question:
            return QMessageBox::Question;
        case BoxIcon::Information:
            return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

BoxAnswer QtUserMessages::ShowBox(const std::u16string& text, const std::u16string& caption,
                                  BoxButtons buttons, BoxIcon icon) {
    if (m_unattended) {
        // Nobody is there to answer: the text goes to the terminal and the box is answered as
        // if it were closed.
        QString shown = ToQString(text);
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        std::fprintf(stderr, "pondrel: %s: %s\n", ToQString(caption).toUtf8().constData(),
                     shown.toUtf8().constData());
        std::fflush(stderr);
        const BoxAnswer answer = ClosedAnswer(buttons);
        m_shown.push_back(
            {ToQString(text), ToQString(caption), ToButtons(buttons), ToIcon(icon), answer});
        return answer;
    }
    QMessageBox box(ToIcon(icon), ToQString(caption), ToQString(text), ToButtons(buttons),
                    m_parent.data());
    box.setObjectName(QStringLiteral("messageBox"));
    box.setTextFormat(Qt::PlainText);
    // Closing the box without a button: Cancel when there is one, else No, else OK.
    switch (buttons) {
        case BoxButtons::Ok:
            box.setEscapeButton(QMessageBox::Ok);
            break;
        case BoxButtons::OkCancel:
        case BoxButtons::YesNoCancel:
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case BoxButtons::YesNo:
            box.setEscapeButton(QMessageBox::No);
            break;
    }
    if (!m_answers.empty()) {
        QMessageBox::StandardButton scripted = ToStandard(m_answers.front());
        m_answers.pop_front();
        QTimer::singleShot(0, &box, [&box, scripted] {
            QAbstractButton* button = box.button(scripted);
            if (!button) button = box.defaultButton();
            if (!button) button = box.buttons().first();
            button->click();
        });
    }
    box.exec();
    BoxAnswer answer;
    switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Ok:
            answer = BoxAnswer::Ok;
            break;
        case QMessageBox::Yes:
            answer = BoxAnswer::Yes;
            break;
        case QMessageBox::No:
            answer = BoxAnswer::No;
            break;
        case QMessageBox::Cancel:
            answer = BoxAnswer::Cancel;
            break;
        default:  // closed without a button
            answer = ClosedAnswer(buttons);
            break;
    }
    m_shown.push_back({box.text(), box.windowTitle(), box.standardButtons(), box.icon(), answer});
    return answer;
}

void QtUserMessages::ShowNotice(const std::u16string& text, int milliseconds, bool warning) {
    if (m_unattended) return;
    if (m_noticeTarget) m_noticeTarget(text, milliseconds, warning);
}

}  // namespace pondrel
