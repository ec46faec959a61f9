#include "documents/ui/LetterPageStyle.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

namespace pondrel {

QPushButton* LetterButton(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

int PlaceButtonsFromRight(QWidget* parent, std::initializer_list<QPushButton*> rightToLeft, int y) {
    constexpr int kPadding = 10;
    constexpr int kGap = 2;
    int right = parent->width() - kGap;
    for (QPushButton* button : rightToLeft) {
        const int width = button->fontMetrics().horizontalAdvance(button->text()) + kPadding;
        right -= width;
        button->setGeometry(right, y, width, button->height());
        right -= kGap;
    }
    return right;
}

QLabel* LetterCaption(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setStyleSheet(QStringLiteral("QLabel { color: #203a6a; font-weight: bold; }"));
    SetCaptionText(label, text);
    return label;
}

void SetCaptionText(QLabel* caption, const QString& text) {
    QFont bold = caption->font();
    bold.setBold(true);
    const QString shown = QFontMetrics(bold).elidedText(text, Qt::ElideRight, caption->width());
    caption->setText(shown);
    caption->setToolTip(shown == text ? QString() : text);
    caption->setProperty("fullText", text);
}

void UseLetterFont(QWidget* widget) {
    QFont font = widget->font();
    font.setPixelSize(11);
    widget->setFont(font);
    widget->setStyleSheet(widget->styleSheet() +
                          QStringLiteral("QPushButton { padding: 0px 2px; }"));
}

}  // namespace pondrel
