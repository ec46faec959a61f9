#include "sync/ui/SyncIcons.h"

#include <QPainter>
#include <QPixmap>

namespace pondrel {

QIcon DrawFriendIcon(FriendIcon icon) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    bool online = icon == FriendIcon::Online;
    painter.setPen(QPen(online ? QColor(150, 110, 0) : QColor(150, 150, 150), 1));
    painter.setBrush(online ? QColor(255, 220, 40) : QColor(235, 235, 225));
    painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    painter.setBrush(online ? QColor(60, 40, 0) : QColor(140, 140, 140));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRectF(5, 5, 2, 2.5));
    painter.drawEllipse(QRectF(9, 5, 2, 2.5));
    painter.setPen(QPen(online ? QColor(60, 40, 0) : QColor(140, 140, 140), 1.2));
    painter.setBrush(Qt::NoBrush);
    if (online) {
        painter.drawArc(QRectF(4.5, 6, 7, 5.5), 200 * 16, 140 * 16);  // a smile
    } else {
        painter.drawLine(QPointF(5.5, 11), QPointF(10.5, 11));
    }
    return QIcon(pixmap);
}

// ---- Mail icons -------------------------------------------------------------------------------

namespace {

const QColor kPaper(255, 252, 235);
const QColor kPaperEdge(120, 100, 60);
const QColor kInside(225, 215, 180);

// An envelope seen from the front, over the lower 11 rows; open, its flap stands above it.
void DrawEnvelope(QPainter& painter, bool open) {
    painter.setPen(QPen(kPaperEdge, 1));
    if (open) {
        painter.setBrush(kInside);
        painter.drawPolygon(QPolygonF({QPointF(1.5, 7.5), QPointF(8, 1.5), QPointF(14.5, 7.5)}));
    }
    painter.setBrush(kPaper);
    painter.drawRect(QRectF(1.5, 7.5 - (open ? 0 : 3), 13, open ? 7 : 10));
    if (open) {
        painter.drawPolyline(QPolygonF({QPointF(1.5, 7.5), QPointF(8, 11.5), QPointF(14.5, 7.5)}));
    } else {
        painter.drawPolyline(QPolygonF({QPointF(1.5, 4.5), QPointF(8, 10), QPointF(14.5, 4.5)}));
    }
}

void DrawHandheld(QPainter& painter) {
    painter.setPen(QPen(QColor(50, 50, 60), 1));
    painter.setBrush(QColor(90, 95, 110));
    painter.drawRoundedRect(QRectF(3.5, 0.5, 9, 15), 1.5, 1.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(170, 220, 170));
    painter.drawRect(QRectF(5, 2, 6, 7));
    painter.setBrush(QColor(200, 200, 210));
    painter.drawEllipse(QRectF(6.5, 11, 3, 3));
}

void DrawNetwork(QPainter& painter) {
    // Two computers joined through the server line.
    painter.setPen(QPen(QColor(40, 60, 120), 1));
    painter.drawLine(QPointF(4, 9), QPointF(4, 13.5));
    painter.drawLine(QPointF(12, 9), QPointF(12, 13.5));
    painter.drawLine(QPointF(1, 13.5), QPointF(15, 13.5));
    painter.setBrush(QColor(120, 160, 230));
    painter.drawRect(QRectF(0.5, 2.5, 7, 6));
    painter.drawRect(QRectF(8.5, 2.5, 7, 6));
}

void DrawCross(QPainter& painter) {
    painter.setPen(QPen(QColor(210, 20, 20), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(3, 3), QPointF(13, 13));
    painter.drawLine(QPointF(13, 3), QPointF(3, 13));
}

void DrawTick(QPainter& painter) {
    painter.setPen(QPen(QColor(0, 150, 0), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF({QPointF(7, 10), QPointF(10, 13.5), QPointF(15, 5.5)}));
}

}  // namespace

QIcon DrawMailIcon(int icon) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (icon) {
        case 0:
            DrawHandheld(painter);
            break;
        case 1:
            DrawNetwork(painter);
            break;
        case 2:
            DrawEnvelope(painter, true);
            break;
        case 4:
            DrawEnvelope(painter, false);
            break;
        case 5:
            DrawEnvelope(painter, true);
            DrawTick(painter);
            break;
        default:
            DrawCross(painter);
            break;
    }
    return QIcon(pixmap);
}

}  // namespace pondrel
