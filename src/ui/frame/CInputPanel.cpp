#include "ui/frame/CInputPanel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

#include <functional>
#include <vector>

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

    AddRow(QStringLiteral("qwertyuiop"), 0, 0, Layer::Letters);
    AddRow(QStringLiteral("asdfghjkl"), kKeyHeight, kKeyWidth / 2, Layer::Letters);
    AddKey(QStringLiteral("\u21e7"), QStringLiteral("key_shift"),
           QRect(0, 2 * kKeyHeight, kKeyWidth + kKeyWidth / 2, kKeyHeight),
           [this] { SetShift(!m_shift); });
    AddRow(QStringLiteral("zxcvbnm"), 2 * kKeyHeight, kKeyWidth + kKeyWidth / 2, Layer::Letters);
    // The digits and the signs of doses and vital signs ("1/2", "37.5°", "<5", "+2").
    AddRow(QStringLiteral("1234567890"), 0, 0, Layer::Signs);
    AddRow(QStringLiteral("/:%\u00b0+<>=()"), kKeyHeight, 0, Layer::Signs);
    AddRow(QStringLiteral("*!?;'\"@"), 2 * kKeyHeight, kKeyWidth + kKeyWidth / 2, Layer::Signs);
    AddKey(
        QStringLiteral("\u2190"), QStringLiteral("key_backspace"),
        QRect(kKeyWidth * 8 + kKeyWidth / 2, 2 * kKeyHeight, kKeyWidth + kKeyWidth / 2, kKeyHeight),
        [this] { SendKey(Qt::Key_Backspace); });
    const int bottom = 3 * kKeyHeight;
    AddKey(QStringLiteral("123"), QStringLiteral("key_layer"),
           QRect(0, bottom, kKeyWidth, kKeyHeight),
           [this] { SetLayer(m_layer == Layer::Letters ? Layer::Signs : Layer::Letters); });
    AddRow(QStringLiteral("-,."), bottom, kKeyWidth, Layer::Both);
    AddKey(QStringLiteral("space"), QStringLiteral("key_space"),
           QRect(4 * kKeyWidth, bottom, 4 * kKeyWidth, kKeyHeight), [this] { Type(" "); });
    AddKey(QStringLiteral("\u21b5"), QStringLiteral("key_return"),
           QRect(8 * kKeyWidth, bottom, 2 * kKeyWidth, kKeyHeight),
           [this] { SendKey(Qt::Key_Return); });
    SetLayer(Layer::Letters);
}

void CInputPanel::AddRow(const QString& keys, int top, int left, Layer layer) {
    for (int i = 0; i < keys.size(); ++i) {
        const QString letter = keys.mid(i, 1);
        QString name = QStringLiteral("key_") +
                       (letter.at(0).isLetter() ? letter : QString::number(letter.at(0).unicode()));
        QPushButton* key =
            AddKey(letter, name, QRect(left + i * kKeyWidth, top, kKeyWidth, kKeyHeight),
                   [this, letter] { Type(m_shift ? letter.toUpper() : letter); });
        if (layer != Layer::Both) m_layerKeys.push_back({key, layer});
    }
}

QPushButton* CInputPanel::AddKey(const QString& caption, const QString& objectName, QRect geometry,
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
    if (objectName == QStringLiteral("key_shift") || objectName == QStringLiteral("key_layer")) {
        key->setCheckable(true);
    }
    connect(key, &QPushButton::clicked, this, press);
    return key;
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
    // The letters show what they type.
    for (const LayerKey& key : m_layerKeys) {
        const QString text = key.key->text();
        key.key->setText(shift ? text.toUpper() : text.toLower());
    }
}

void CInputPanel::SetLayer(Layer layer) {
    m_layer = layer;
    for (const LayerKey& key : m_layerKeys) key.key->setVisible(key.layer == layer);
    if (auto* shift = findChild<QPushButton*>(QStringLiteral("key_shift"))) {
        shift->setVisible(layer == Layer::Letters);
    }
    if (auto* key = findChild<QPushButton*>(QStringLiteral("key_layer"))) {
        key->setChecked(layer == Layer::Signs);
        key->setText(layer == Layer::Signs ? QStringLiteral("abc") : QStringLiteral("123"));
    }
    if (m_shift) SetShift(false);
}

}  // namespace pondrel
