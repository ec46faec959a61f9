#include "sync/ui/SyncIcons.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

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

// The red cross of a mail or a file in trouble.
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

namespace pondrel {

namespace {

enum class Shackle { Closed, Open };

// A padlock: a body of `body` colour under its shackle, closed or swung open to the left.
void DrawPadlock(QPainter& painter, QColor body, Shackle shackle) {
    const QColor edge = body.darker(170);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(90, 90, 90), 1.6));
    if (shackle == Shackle::Closed) {
        painter.drawArc(QRectF(4.5, 1.5, 7, 9), 0, 180 * 16);
        painter.drawLine(QPointF(4.5, 6), QPointF(4.5, 8));
        painter.drawLine(QPointF(11.5, 6), QPointF(11.5, 8));
    } else {
        painter.drawArc(QRectF(0.5, 1.5, 7, 9), 0, 180 * 16);
        painter.drawLine(QPointF(0.5, 6), QPointF(0.5, 7));
        painter.drawLine(QPointF(7.5, 6), QPointF(7.5, 8));
    }
    painter.setPen(QPen(edge, 1));
    painter.setBrush(body);
    painter.drawRoundedRect(QRectF(2.5, 7.5, 11, 8), 1.5, 1.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(edge);
    painter.drawRect(QRectF(7.5, 10, 1.2, 3));  // the key hole
}

void DrawHourglass(QPainter& painter) {
    painter.setPen(QPen(QColor(100, 70, 30), 1.4));
    painter.drawLine(QPointF(3, 1.5), QPointF(13, 1.5));
    painter.drawLine(QPointF(3, 14.5), QPointF(13, 14.5));
    QPolygonF glass;
    glass << QPointF(4, 2) << QPointF(12, 2) << QPointF(8.8, 8) << QPointF(12, 14) << QPointF(4, 14)
          << QPointF(7.2, 8);
    painter.setPen(QPen(QColor(90, 90, 120), 1));
    painter.setBrush(QColor(225, 235, 250));
    painter.drawPolygon(glass);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(220, 170, 60));
    QPolygonF top;
    top << QPointF(5.5, 4) << QPointF(10.5, 4) << QPointF(8, 7.5);
    painter.drawPolygon(top);
    QPolygonF bottom;
    bottom << QPointF(8, 10.5) << QPointF(11, 13.5) << QPointF(5, 13.5);
    painter.drawPolygon(bottom);
}

void DrawDisc(QPainter& painter, QColor colour) {
    painter.setPen(QPen(colour.darker(160), 1));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
}

// Two curved arrows turning round the disc: the file went to the server and back.
void DrawArrows(QPainter& painter) {
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(4, 4, 8, 8), 30 * 16, 150 * 16);
    painter.drawArc(QRectF(4, 4, 8, 8), 210 * 16, 150 * 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    QPolygonF right;
    right << QPointF(10, 4.5) << QPointF(13.5, 6) << QPointF(10.5, 8);
    painter.drawPolygon(right);
    QPolygonF left;
    left << QPointF(6, 11.5) << QPointF(2.5, 10) << QPointF(5.5, 8);
    painter.drawPolygon(left);
}

void DrawDiskette(QPainter& painter) {
    painter.setPen(QPen(QColor(20, 30, 70), 1));
    painter.setBrush(QColor(60, 80, 160));
    painter.drawRect(QRectF(1.5, 1.5, 13, 13));
    painter.setBrush(QColor(235, 235, 235));
    painter.drawRect(QRectF(4.5, 1.5, 7, 5));  // the shutter
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(3.5, 9.5, 9, 5));  // the label
}

// The letter N in the corner of the padlock of a file the server does not know.
void DrawNewMark(QPainter& painter) {
    painter.setPen(QPen(QColor(0, 90, 0), 1.3));
    painter.drawLine(QPointF(10.5, 6), QPointF(10.5, 1));
    painter.drawLine(QPointF(10.5, 1), QPointF(14.5, 6));
    painter.drawLine(QPointF(14.5, 6), QPointF(14.5, 1));
}

QPixmap DrawFilePixmap(int icon) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor green(40, 170, 40);
    switch (icon) {
        case 0:
            DrawPadlock(painter, QColor(160, 160, 160), Shackle::Closed);
            break;
        case 1:
            DrawPadlock(painter, QColor(240, 200, 0), Shackle::Closed);
            break;
        case 2:
            DrawHourglass(painter);
            break;
        case 3:
            DrawPadlock(painter, green, Shackle::Open);
            DrawNewMark(painter);
            break;
        case 5:
            DrawDisc(painter, green);
            DrawArrows(painter);
            break;
        case 6:
            DrawDisc(painter, QColor(150, 160, 190));
            DrawCross(painter);
            break;
        case 7:
            DrawDiskette(painter);
            DrawCross(painter);
            break;
        case 8:
            DrawPadlock(painter, green, Shackle::Open);
            break;
        case 9:
            DrawPadlock(painter, QColor(210, 30, 30), Shackle::Closed);
            break;
        default:  // 4 and anything unknown: blank
            break;
    }
    return pixmap;
}

}  // namespace

QIcon DrawFileIcon(int icon) {
    return QIcon(DrawFilePixmap(icon));
}

}  // namespace pondrel
