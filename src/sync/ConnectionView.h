#pragma once

// What the command bar and the pages show of the connection, without Qt: the connection light,
// the mail light, the reconnect bar and the Connect / Close buttons of the mail and server pages.

#include <string>

namespace pondrel {

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kLightOff{210, 210, 210};
// Each light alternates between the two colours of its state.
inline constexpr Rgb kOnlineLight[2] = {{0, 160, 0}, {0, 255, 0}};
inline constexpr Rgb kBatchLight[2] = {{255, 180, 0}, {255, 255, 0}};
inline constexpr Rgb kReconnectLight[2] = {{180, 0, 0}, {255, 0, 0}};
inline constexpr Rgb kMailLight[2] = {{150, 144, 255}, {70, 70, 255}};

struct ConnectionView {
    static constexpr int kBarWidth = 98;
    static constexpr int kBarHeight = 20;

    Rgb connectionLight = kLightOff;
    Rgb mailLight = kLightOff;
    int reconnectBarRed = 0;  // pixels of the bar drawn red, from the left

    std::u16string connectText = u"Connect";
    bool connectEnabled = true;
    bool closeEnabled = false;
    bool online = false;

    friend bool operator==(const ConnectionView&, const ConnectionView&) = default;
};

}  // namespace pondrel
