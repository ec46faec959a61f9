#pragma once

#include <QWidget>

#include "sync/ConnectionView.h"

namespace pondrel {

// The connection light, the mail light and the reconnect bar, drawn over the command bar
// without taking its taps: the lights one above the other in the narrow column the command bar
// leaves for them between the main menu button and the patient box (over no button, seen at a
// glance beside the patient's name), the bar under the patient box while a reconnection window
// is open.
class CConnectionIndicators final : public QWidget {
public:
    // Large enough to be noticed in a corner of the bar, each with a dark rim.
    static constexpr int kLightSize = 6;
    static constexpr QPoint kConnectionLight{18, 6};
    static constexpr QPoint kMailLight{18, 18};
    // The column of the lights ends where the patient box begins.
    static constexpr int kLightsColumnRight = 25;
    static constexpr int kBarLeft = 26;
    static constexpr int kBarTop = 27;
    static constexpr int kBarHeight = 3;

    explicit CConnectionIndicators(QWidget* parent = nullptr);

    void Show(const ConnectionView& view);
    // Nothing is drawn while the Preferences dialogue is open.
    void SetSuspended(bool suspended);
    const ConnectionView& Shown() const { return m_view; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ConnectionView m_view;
    bool m_suspended = false;
};

}  // namespace pondrel
