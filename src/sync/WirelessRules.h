#pragma once

// The wireless settings as the two dialogues edit them: the texts of the edits, what OK accepts,
// the values of the "Default" button, and the advanced options with their Cancel.

#include <optional>
#include <string>
#include <string_view>

#include "settings/Preferences.h"
#include "sync/WireNames.h"

namespace pondrel {

inline constexpr size_t kMaxServerAddressChars = 253;
inline constexpr size_t kMaxPeriodChars = 2;
inline constexpr int kDefaultServerPort = 4000;

// The texts of the "Wireless settings" edits.
struct WirelessEdits {
    std::u16string userName;
    std::u16string password;
    std::u16string serverAddress;
    std::u16string port;
    std::u16string channel;
    bool encrypted = false;
    std::u16string certificateFile{};  // empty: the system's authorities
    friend bool operator==(const WirelessEdits&, const WirelessEdits&) = default;
};

WirelessEdits EditsOf(const WirelessSettings& settings);
// The settings the edits give: port and channel are the integer values of their texts.
WirelessSettings SettingsOf(const WirelessEdits& edits);
// What "Default" puts into the edits. There is no default password: the user types his own.
WirelessEdits DefaultWirelessEdits();

// Why OK cannot take the edits: the message box text and caption.
struct WirelessRefusal {
    std::u16string text;
    std::u16string caption;
};
// None when OK may take the edits.
std::optional<WirelessRefusal> CheckWirelessEdits(const WirelessEdits& edits);

// True for a host name (letters, digits, "-" and "." in labels of at most 63 characters) or an
// IPv4 or IPv6 address.
bool IsServerAddress(std::u16string_view text);

// The "Advanced connection features" dialogue on the exchange's copy of the options: opening
// remembers them, Cancel puts them back, OK switches the periodic synchronisation off when no
// period is given.
class AdvancedFeaturesEditor {
public:
    // `options` must outlive the editor.
    explicit AdvancedFeaturesEditor(NetworkOptions& options)
        : m_options(options), m_opened(options) {}

    NetworkOptions& Options() { return m_options; }
    // The minutes edit is enabled only while "Regularly every :" is ticked.
    bool PeriodEnabled() const { return m_options.periodicSynchronisation != 0; }
    void Accept();
    void Cancel() { m_options = m_opened; }

private:
    NetworkOptions& m_options;
    NetworkOptions m_opened;
};

}  // namespace pondrel
