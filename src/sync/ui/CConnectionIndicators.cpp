#include "sync/ui/CConnectionIndicators.h"

#include <QPainter>

#include <utility>

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
    for (auto [corner, colour] : {std::pair{kConnectionLight, m_view.connectionLight},
                                  std::pair{kMailLight, m_view.mailLight}}) {
        const QRect light(corner, QSize(kLightSize, kLightSize));
        painter.fillRect(light, ColourOf(colour));
        painter.setPen(QColor(60, 60, 60));
        painter.drawRect(light.adjusted(0, 0, -1, -1));
    }
    if (m_view.reconnectBarRed > 0) {
        painter.fillRect(kBarLeft, kBarTop, ConnectionView::kBarWidth, kBarHeight,
                         ColourOf(kLightOff));
        painter.fillRect(kBarLeft, kBarTop, m_view.reconnectBarRed, kBarHeight, Qt::red);
    }
}

}  // namespace pondrel
