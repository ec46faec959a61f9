#include "journal/ui/TaskPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace pondrel {

namespace {

// Drawn large so that the picture stays sharp when the form is zoomed.
constexpr int kSize = 64;

QPixmap Canvas() {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

}  // namespace

QIcon PriorityPicture(int priority) {
    QPixmap pixmap = Canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (priority) {
        case 0: {
            p.setPen(QPen(QColor(140, 0, 0), 3));
            p.setBrush(QColor(220, 30, 30));
            p.drawEllipse(QRectF(4, 4, 56, 56));
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawRoundedRect(QRectF(27, 12, 10, 28), 4, 4);
            p.drawEllipse(QRectF(26.5, 44, 11, 11));
            break;
        }
        case 1: {
            QPainterPath arrow;
            arrow.moveTo(8, 22);
            arrow.lineTo(34, 22);
            arrow.lineTo(34, 8);
            arrow.lineTo(58, 32);
            arrow.lineTo(34, 56);
            arrow.lineTo(34, 42);
            arrow.lineTo(8, 42);
            arrow.closeSubpath();
            p.setPen(QPen(QColor(150, 80, 0), 3));
            p.setBrush(QColor(250, 160, 30));
            p.drawPath(arrow);
            break;
        }
        default:
            p.setPen(QPen(QColor(110, 110, 110), 3));
            p.setBrush(QColor(190, 190, 190));
            p.drawEllipse(QRectF(18, 18, 28, 28));
            break;
    }
    return QIcon(pixmap);
}

QIcon DeletePicture() {
    QPixmap pixmap = Canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 90, 110), 9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 16), QPointF(48, 48));
    p.drawLine(QPointF(48, 16), QPointF(16, 48));
    return QIcon(pixmap);
}

}  // namespace pondrel
