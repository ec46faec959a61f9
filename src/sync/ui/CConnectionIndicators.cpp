#include "sync/ui/CConnectionIndicators.h"

#include <QPainter>

namespace pondrel {

namespace {
QColor ColourOf(const Rgb& rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}
}  // namespace

CConnectionIndicators::CConnectionIndicators(QWidget* parent) : QWidget(parent) {
    setObjectName("connectionIndicators");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void CConnectionIndicators::Show(const ConnectionView& view) {
    if (view.connectionLight == m_view.connectionLight && view.mailLight == m_view.mailLight &&
        view.reconnectBarRed == m_view.reconnectBarRed) {
        m_view = view;
        return;
    }
    m_view = view;
    update();
}

void CConnectionIndicators::SetSuspended(bool suspended) {
    m_suspended = suspended;
    update();
}

void CConnectionIndicators::paintEvent(QPaintEvent*) {
    if (m_suspended) return;
    QPainter painter(this);
    painter.fillRect(QRect(kConnectionLight, QSize(kLightSize, kLightSize)),
                     ColourOf(m_view.connectionLight));
    painter.fillRect(QRect(kMailLight, QSize(kLightSize, kLightSize)), ColourOf(m_view.mailLight));
    if (m_view.reconnectBarRed > 0) {
        painter.fillRect(kBarLeft, kBarTop, ConnectionView::kBarWidth, kBarHeight,
                         ColourOf(kLightOff));
        painter.fillRect(kBarLeft, kBarTop, m_view.reconnectBarRed, kBarHeight, Qt::red);
    }
}

}  // namespace pondrel
