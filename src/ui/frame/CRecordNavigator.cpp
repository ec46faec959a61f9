#include "ui/frame/CRecordNavigator.h"

#include <QLabel>
#include <QPushButton>

namespace pondrel {

CRecordNavigator::CRecordNavigator(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("recordNavigator"));
    struct Spec {
        const char* text;
        const char* name;
        Button button;
    };
    static constexpr Spec kButtons[] = {
        {"First", "recordFirst", Button::First}, {"Prev", "recordPrev", Button::Previous},
        {"Next", "recordNext", Button::Next},    {"Last", "recordLast", Button::Last},
        {"Close", "recordClose", Button::Close}, {"New", "recordNew", Button::New},
    };
    constexpr int kButtonWidth = 32;
    QFont font = this->font();
    font.setPixelSize(10);
    int left = 2;
    for (const Spec& spec : kButtons) {
        auto* button = new QPushButton(QString::fromLatin1(spec.text), this);
        button->setObjectName(QString::fromLatin1(spec.name));
        button->setGeometry(left, 0, kButtonWidth, kHeight);
        button->setFont(font);
        button->setStyleSheet(QStringLiteral("QPushButton { padding: 0; }"));
        const Button which = spec.button;
        connect(button, &QPushButton::clicked, this, [this, which] {
            if (m_handler) m_handler(which);
        });
        left += kButtonWidth + 1;
    }
    m_counter = new QLabel(this);
    m_counter->setObjectName(QStringLiteral("recordCounter"));
    m_counter->setAlignment(Qt::AlignCenter);
    m_counter->setGeometry(left, 0, 240 - left - 2, kHeight);
    m_counter->setFont(font);
    resize(240, kHeight);
}

void CRecordNavigator::SetCounter(const QString& text) {
    m_counter->setText(text);
}

}  // namespace pondrel
