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

}  // namespace pondrel
