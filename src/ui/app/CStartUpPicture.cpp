#include "ui/app/CStartUpPicture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

#include "records/WorkingFolders.h"
#include "ui/seams/DevicePicture.h"

namespace pondrel {

CStartUpPicture::CStartUpPicture(DeviceFileSystem& files, const WorkingFolders& folders,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("startUpPicture"));
    setWindowTitle(QStringLiteral("Pondrel"));
    setFixedSize(kWidth, kHeight);
    LoadDevicePicture(files, folders.InstallationFile(u"HelloBitmap.jpg"), m_picture);
}

void CStartUpPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_picture.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), m_picture);
        return;
    }
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, QColor(236, 244, 252));
    background.setColorAt(1, QColor(190, 214, 238));
    painter.fillRect(rect(), background);
    QFont font = painter.font();
    font.setPixelSize(36);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(30, 70, 120));
    painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("Pondrel"));
}

}  // namespace pondrel
