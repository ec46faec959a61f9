#pragma once

#include <functional>

#include <QWidget>

class QPushButton;

namespace pondrel {

struct ConnectionView;

// The Connect and Close buttons of the mail and server pages: they show the connection's state
// ("Connect", "Wait" and its animation, "Online", "-Wait-") and report taps.
class CConnectButtons final : public QWidget {
public:
    // `prefix` names the buttons: prefix + "ConnectButton", prefix + "CloseButton".
    CConnectButtons(const QString& prefix, QWidget* parent = nullptr);

    void SetHandlers(std::function<void()> connect, std::function<void()> close);
    void Show(const ConnectionView& view);

private:
    QPushButton* m_connect;
    QPushButton* m_close;
    std::function<void()> m_onConnect;
    std::function<void()> m_onClose;
};

}  // namespace pondrel
