#include "sync/ui/CConnectButtons.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "platform/ui/QtText.h"
#include "sync/ConnectionView.h"

namespace pondrel {

CConnectButtons::CConnectButtons(const QString& prefix, QWidget* parent) : QWidget(parent) {
    setObjectName(prefix + "ConnectButtons");
    m_connect = new QPushButton("Connect", this);
    m_connect->setObjectName(prefix + "ConnectButton");
    m_close = new QPushButton("Close", this);
    m_close->setObjectName(prefix + "CloseButton");
    m_close->setEnabled(false);
    for (QPushButton* button : {m_connect, m_close}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
    }
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(m_connect, 1);
    layout->addWidget(m_close, 1);
    connect(m_connect, &QPushButton::clicked, this, [this] {
        if (m_onConnect) m_onConnect();
    });
    connect(m_close, &QPushButton::clicked, this, [this] {
        if (m_onClose) m_onClose();
    });
}

void CConnectButtons::SetHandlers(std::function<void()> onConnect, std::function<void()> onClose) {
    m_onConnect = std::move(onConnect);
    m_onClose = std::move(onClose);
}

void CConnectButtons::Show(const ConnectionView& view) {
    m_connect->setText(ToQString(view.connectText));
    m_connect->setEnabled(view.connectEnabled);
    m_close->setEnabled(view.closeEnabled);
}

}  // namespace pondrel
