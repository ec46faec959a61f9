#include "sync/ui/ConnectionDialogStyle.h"

#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QWidget>

#include <algorithm>

#include "platform/ui/DialogStyle.h"

namespace pondrel::connection_style {

QLabel* Heading(const QString& text, QWidget* parent) {
    auto* heading = new QLabel(text, parent);
    heading->setObjectName("heading");
    heading->setAlignment(Qt::AlignCenter);
    heading->setStyleSheet(
        "QLabel { color: rgb(255,255,135); background: transparent; "
        "font-weight: bold; }");
    return heading;
}

QLabel* Caption(const QString& text, const QString& objectName, bool onPink, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setStyleSheet(onPink ? "QLabel { background: rgb(255,209,213); color: black; "
                                  "padding: 1px 3px; }"
                                : "QLabel { background: transparent; color: white; }");
    return label;
}

QPushButton* Button(const QString& text, const QString& objectName, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    button->setStyleSheet(
        "QPushButton { background: rgb(255,205,238); color: black; "
        "border: 1px solid rgb(120,60,100); padding: 2px 6px; }"
        "QPushButton:pressed { background: rgb(230,170,210); }"
        "QPushButton:disabled { color: gray; }");
    return button;
}

void PaintBackground(QPainter& painter, const QWidget& widget) {
    // Dusk over the ward: deep blue at the top, into teal at the bottom, with a few soft bands.
    QLinearGradient sky(0, 0, 0, widget.height());
    sky.setColorAt(0.0, QColor(24, 30, 84));
    sky.setColorAt(0.55, QColor(36, 70, 120));
    sky.setColorAt(1.0, QColor(28, 110, 118));
    painter.fillRect(widget.rect(), sky);
    painter.setPen(Qt::NoPen);
    for (int band = 0; band < 4; ++band) {
        painter.setBrush(QColor(255, 255, 255, 10 + 4 * band));
        int y = widget.height() * (band + 1) / 5;
        painter.drawEllipse(QPoint(widget.width() / 2, y + widget.height()),
                            widget.width() * (4 - band) / 3, widget.height());
    }
}

void LightCheckBox(QCheckBox* box) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    box->setPalette(palette);
}

void FitHeight(QWidget& dialog) {
    // Captions that wrap need the height they take at the dialogue's width.
    if (QLayout* layout = dialog.layout()) {
        int height = layout->hasHeightForWidth() ? layout->totalHeightForWidth(dialog.width())
                                                 : layout->totalSizeHint().height();
        dialog.resize(dialog.width(), std::min(height, kFormHeight));
    }
}

QString FieldStyle() {
    return "QLineEdit { background: white; color: black; border: 1px solid rgb(90,90,120); }"
           "QLineEdit:disabled { background: rgb(225,225,225); }"
           "QGroupBox { color: rgb(255,255,135); border: 1px solid rgb(140,150,200); "
           "margin-top: 7px; padding-top: 2px; }"
           "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }";
}

}  // namespace pondrel::connection_style
