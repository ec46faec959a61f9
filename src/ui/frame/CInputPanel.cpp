#include "ui/frame/CInputPanel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

#include <functional>

namespace pondrel {

namespace {
constexpr int kKeyWidth = 24;
constexpr int kKeyHeight = 20;
}  // namespace

CInputPanel::CInputPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("inputPanel"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xc8, 0xc8, 0xc8));
    setPalette(palette);
    setFixedSize(240, kHeight);

    AddRow(QStringLiteral("qwertyuiop"), 0, 0);
    AddRow(QStringLiteral("asdfghjkl"), kKeyHeight, kKeyWidth / 2);
    AddKey(QStringLiteral("\u21e7"), QStringLiteral("key_shift"),
           QRect(0, 2 * kKeyHeight, kKeyWidth + kKeyWidth / 2, kKeyHeight),
           [this] { SetShift(!m_shift); });
    AddRow(QStringLiteral("zxcvbnm"), 2 * kKeyHeight, kKeyWidth + kKeyWidth / 2);
    AddKey(
        QStringLiteral("\u2190"), QStringLiteral("key_backspace"),
        QRect(kKeyWidth * 8 + kKeyWidth / 2, 2 * kKeyHeight, kKeyWidth + kKeyWidth / 2, kKeyHeight),
        [this] { SendKey(Qt::Key_Backspace); });
    const int bottom = 3 * kKeyHeight;
    AddRow(QStringLiteral("-,."), bottom, 0);
    AddKey(QStringLiteral("space"), QStringLiteral("key_space"),
           QRect(3 * kKeyWidth, bottom, 5 * kKeyWidth, kKeyHeight), [this] { Type(" "); });
    AddKey(QStringLiteral("\u21b5"), QStringLiteral("key_return"),
           QRect(8 * kKeyWidth, bottom, 2 * kKeyWidth, kKeyHeight),
           [this] { SendKey(Qt::Key_Return); });
}

void CInputPanel::AddRow(const QString& keys, int top, int left) {
    for (int i = 0; i < keys.size(); ++i) {
        const QString letter = keys.mid(i, 1);
        QString name = QStringLiteral("key_") +
                       (letter.at(0).isLetter() ? letter : QString::number(letter.at(0).unicode()));
        AddKey(letter, name, QRect(left + i * kKeyWidth, top, kKeyWidth, kKeyHeight),
               [this, letter] { Type(m_shift ? letter.toUpper() : letter); });
    }
}

void CInputPanel::AddKey(const QString& caption, const QString& objectName, QRect geometry,
                         const std::function<void()>& press) {
    auto* key = new QPushButton(caption, this);
    key->setObjectName(objectName);
    key->setFocusPolicy(Qt::NoFocus);
    key->setGeometry(geometry);
    QFont font = key->font();
    font.setPixelSize(11);
    key->setFont(font);
    key->setStyleSheet(
        QStringLiteral("QPushButton { background: #f4f4f4; border: 1px solid #8a8a8a; padding: 0; }"
                       "QPushButton:pressed, QPushButton:checked { background: #9ab4de; }"));
    if (objectName == QStringLiteral("key_shift")) key->setCheckable(true);
    connect(key, &QPushButton::clicked, this, press);
}

void CInputPanel::Type(const QString& text) {
    QWidget* target = QApplication::focusWidget();
    if (!target) return;
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
    if (m_shift) SetShift(false);
}

void CInputPanel::SendKey(int key) {
    QWidget* target = QApplication::focusWidget();
    if (!target) return;
    const QString text = key == Qt::Key_Return ? QStringLiteral("\r") : QString();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

void CInputPanel::SetShift(bool shift) {
    m_shift = shift;
    if (auto* key = findChild<QPushButton*>(QStringLiteral("key_shift"))) key->setChecked(shift);
}

}  // namespace pondrel
