#include "ui/frame/CommandBarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace pondrel {

namespace {

constexpr int kSize = 16;
constexpr int kScale = 4;  // drawn large so the icon stays sharp when the form is zoomed

void DrawPage(QPainter& p, const QRectF& r) {
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(Qt::white);
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 4, r.top());
    path.lineTo(r.right(), r.top() + 4);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.drawPath(path);
}

void DrawSun(QPainter& p, QPointF centre, double radius) {
    p.setPen(QPen(QColor(230, 150, 0), 1.2));
    for (int i = 0; i < 8; ++i) {
        double a = i * 3.14159265 / 4;
        p.drawLine(centre + QPointF(std::cos(a), std::sin(a)) * (radius + 1.2),
                   centre + QPointF(std::cos(a), std::sin(a)) * (radius + 3.2));
    }
    p.setPen(QPen(QColor(200, 120, 0), 1));
    p.setBrush(QColor(255, 200, 40));
    p.drawEllipse(centre, radius, radius);
}

void DrawArrow(QPainter& p, bool up) {
    p.setPen(QPen(QColor(20, 60, 140), 1));
    p.setBrush(QColor(60, 110, 210));
    QPolygonF arrow;
    if (up) {
        arrow << QPointF(8, 2) << QPointF(14, 9) << QPointF(10.5, 9) << QPointF(10.5, 14)
              << QPointF(5.5, 14) << QPointF(5.5, 9) << QPointF(2, 9);
    } else {
        arrow << QPointF(8, 14) << QPointF(14, 7) << QPointF(10.5, 7) << QPointF(10.5, 2)
              << QPointF(5.5, 2) << QPointF(5.5, 7) << QPointF(2, 7);
    }
    p.drawPolygon(arrow);
}

void Draw(QPainter& p, CommandIcon icon) {
    switch (icon) {
        case CommandIcon::MainMenu:
            DrawPage(p, QRectF(2.5, 1.5, 11, 13));
            p.setPen(QPen(QColor(60, 60, 60), 1));
            for (int y : {5, 8, 11}) p.drawLine(QPointF(4.5, y + 0.5), QPointF(11.5, y + 0.5));
            break;
        case CommandIcon::PageList:
            p.setPen(QPen(QColor(40, 40, 40), 1));
            p.setBrush(QColor(120, 170, 230));
            for (int row = 0; row < 3; ++row) {
                for (int col = 0; col < 3; ++col) {
                    p.drawRect(QRectF(1.5 + col * 5, 1.5 + row * 5, 3, 3));
                }
            }
            break;
        case CommandIcon::PreviousPage:
            DrawArrow(p, true);
            break;
        case CommandIcon::NextPage:
            DrawArrow(p, false);
            break;
        case CommandIcon::Tasks:
            p.setPen(QPen(QColor(0, 130, 40), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(QPolygonF()
                           << QPointF(2.5, 8.5) << QPointF(6.5, 12.5) << QPointF(13.5, 3.5));
            break;
        case CommandIcon::Problems:
            DrawSun(p, QPointF(8, 8), 3.2);
            break;
        case CommandIcon::DaySummary:
            DrawPage(p, QRectF(1.5, 1.5, 11, 13));
            DrawSun(p, QPointF(10.5, 10.5), 2.2);
            break;
        case CommandIcon::InputPanel:
            p.setPen(QPen(QColor(40, 40, 40), 1));
            p.setBrush(QColor(235, 235, 235));
            p.drawRoundedRect(QRectF(0.5, 4.5, 15, 8), 1.5, 1.5);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(60, 60, 60));
            for (int col = 0; col < 6; ++col) p.drawRect(QRectF(2 + col * 2, 6, 1, 1));
            for (int col = 0; col < 5; ++col) p.drawRect(QRectF(3 + col * 2, 8, 1, 1));
            p.drawRect(QRectF(4, 10, 8, 1));
            break;
    }
}

}  // namespace

QIcon DrawCommandIcon(CommandIcon icon) {
    QPixmap pixmap(kSize * kScale, kSize * kScale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(kScale, kScale);
    Draw(painter, icon);
    painter.end();
    return QIcon(pixmap);
}

}  // namespace pondrel
