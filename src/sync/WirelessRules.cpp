#include "sync/WirelessRules.h"

#include "platform/Text.h"

namespace pondrel {

namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool IsIpv4(std::u16string_view text) {
    std::vector<std::u16string> parts = Split(text, u'.');
    if (parts.size() != 4) return false;
    for (const std::u16string& part : parts) {
        if (part.empty() || part.size() > 3) return false;
        for (char16_t c : part) {
            if (!IsDigit(c)) return false;
        }
        if (ParseInt(part) > 255) return false;
    }
    return true;
}

bool IsIpv6(std::u16string_view text) {
    if (text.size() < 2 || text.size() > 45 || CountOf(text, u":") < 2) return false;
    for (char16_t c : text) {
        bool hex = IsDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        if (!hex && c != u':' && c != u'.') return false;
    }
    return true;
}

bool IsHostName(std::u16string_view text) {
    if (text.empty() || text.size() > kMaxServerAddressChars) return false;
    std::u16string_view name = text.back() == u'.' ? text.substr(0, text.size() - 1) : text;
    bool allDigits = true;
    for (const std::u16string& label : Split(name, u'.')) {
        if (label.empty() || label.size() > 63 || label.front() == u'-' || label.back() == u'-') {
            return false;
        }
        for (char16_t c : label) {
            bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
            if (!letter && !IsDigit(c) && c != u'-') return false;
            if (!IsDigit(c)) allDigits = false;
        }
    }
    return !allDigits;  // "10.1.2" is a mistyped address, not a name
}

std::u16string Trim(std::u16string_view text) {
    size_t begin = text.find_first_not_of(u' ');
    if (begin == std::u16string_view::npos) return {};
    return TrimRightSpaces(text.substr(begin));
}

}  // namespace

bool IsServerAddress(std::u16string_view text) {
    return IsIpv4(text) || IsIpv6(text) || IsHostName(text);
}

WirelessEdits EditsOf(const WirelessSettings& s) {
    WirelessEdits edits;
    edits.userName = s.userName;
    edits.password = s.password;
    edits.serverAddress = s.serverAddress;
    edits.port = s.serverPort != 0 ? ToText(s.serverPort) : std::u16string();
    edits.channel = s.channel != 0 ? ToText(s.channel) : std::u16string();
    edits.encrypted = s.encrypted;
    edits.certificateFile = s.certificateFile;
    return edits;
}

WirelessSettings SettingsOf(const WirelessEdits& edits) {
    WirelessSettings s;
    s.userName = edits.userName;
    s.password = edits.password;
    s.serverAddress = Trim(edits.serverAddress);
    s.serverPort = ParseInt(edits.port);
    s.channel = ParseInt(edits.channel);
    s.encrypted = edits.encrypted;
    s.certificateFile = Trim(edits.certificateFile);
    return s;
}

WirelessEdits DefaultWirelessEdits() {
    WirelessEdits edits;
    edits.userName = u"Mr Client";
    edits.serverAddress = u"192.168.1.10";
    edits.port = u"4000";
    return edits;
}

std::optional<WirelessRefusal> CheckWirelessEdits(const WirelessEdits& edits) {
    if (edits.userName.size() < kMinUserNameChars) {
        return WirelessRefusal{u"User name is too short. It needs minimum 4 characters",
                               u"Username too short"};
    }
    if (!IsValidUserName(edits.userName)) {
        return WirelessRefusal{
            u"The user name can have at most 32 characters, without blanks at its ends and "
            u"without any of | # / < > \u00A2 \u00A6 \u00A7 \u00AC",
            u"Invalid user name"};
    }
    if (edits.password.size() > kMaxPasswordChars || HasReservedInName(edits.password)) {
        return WirelessRefusal{
            u"The password can have at most 6 characters, without any of | # / < > \u00A2 "
            u"\u00A6 \u00A7 \u00AC",
            u"Invalid password"};
    }
    std::u16string address = Trim(edits.serverAddress);
    std::u16string port = Trim(edits.port);
    if (address.empty() && port.empty()) return std::nullopt;  // no server yet
    if (!IsServerAddress(address)) {
        return WirelessRefusal{
            u"The server address must be a host name or an IP address, "
            u"such as 192.168.1.10",
            u"Invalid server address"};
    }
    bool digits = !port.empty() && port.size() <= 5;
    for (char16_t c : port) digits = digits && IsDigit(c);
    if (!digits || ParseInt(port) < 1 || ParseInt(port) > 65535) {
        return WirelessRefusal{u"The port number must be a number from 1 to 65535",
                               u"Invalid port number"};
    }
    return std::nullopt;
}

void AdvancedFeaturesEditor::Accept() {
    std::u16string period = Trim(m_options.synchronisationPeriod);
    if (period.size() > kMaxPeriodChars) period.resize(kMaxPeriodChars);
    m_options.synchronisationPeriod = period;
    if (ParseInt(period) < 1) m_options.periodicSynchronisation = 0;
}

}  // namespace pondrel
