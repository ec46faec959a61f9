#include "sync/Connection.h"

#include <algorithm>

#include "platform/Clock.h"
#include "platform/Text.h"
#include "platform/Timers.h"
#include "platform/UserMessages.h"
#include "sync/ConnectionLink.h"
#include "sync/FrameKind.h"
#include "sync/Socket.h"
#include "sync/WireFormat.h"

namespace pondrel {

namespace {

constexpr int kWaitForWorkersMs = 500;  // then a stopped link is left to end on its own
constexpr int kAnimationMs = 300;
constexpr int kBlinkMs = 1000;
constexpr int kMailBlinkMs = 1200;
constexpr int kWatchMs = 1000;
constexpr int kSyncTickMs = 60'000;

// The device name as the identification carries it: no separator of the frame, at most 24
// characters.
std::u16string IdentificationHostName(std::u16string_view name) {
    std::u16string clean;
    for (char16_t c : name) {
        if (c >= 0x20 && std::u16string_view(u"|#\u00A2\u00A6\u00A7\u00AC").find(c) ==
                             std::u16string_view::npos) {
            clean += c;
        }
    }
    if (clean.size() > Connection::kMaxHostNameChars) clean.resize(Connection::kMaxHostNameChars);
    return clean;
}

std::u16string Trimmed(std::u16string_view text) {
    size_t begin = text.find_first_not_of(u' ');
    if (begin == std::u16string_view::npos) return {};
    return TrimRightSpaces(text.substr(begin));
}

std::u16string EncryptionNotice(LinkEvent event) {
    switch (event) {
        case LinkEvent::CertificateExpired:
            return u"The server's certificate has expired. No connection.";
        case LinkEvent::CertificateFile:
            return u"The certificate file can't be read. Check Wireless settings. No connection.";
        case LinkEvent::NotEncrypted:
            return u"The server does not answer with an encrypted connection. No connection.";
        default:
            return u"The server's certificate is not trusted. No connection.";
    }
}

}  // namespace

Connection::Connection(SocketFactory& sockets, Timers& timers, Clock& clock, UserMessages& messages,
                       ConnectionHost& host)
    : m_sockets(sockets),
      m_timers(timers),
      m_clock(clock),
      m_messages(messages),
      m_host(host),
      m_dispatcher(*this, m_noListener, clock),
      m_mailbox(std::make_shared<LinkMailbox>([&host] { host.WakeUserInterface(); })),
      m_lastActivity(clock.TickCount()) {}

Connection::~Connection() {
    Shutdown();
}

void Connection::SetListener(SyncListener* listener) {
    m_listener = listener ? listener : &m_noListener;
    m_dispatcher.SetListener(*m_listener);
}

void Connection::SetSettings(const WirelessSettings& wireless, const NetworkOptions& network) {
    m_wireless = wireless;
    m_network = network;
}

void Connection::StartAtProgramStart() {
    m_lastActivity = m_clock.TickCount();
    m_timers.Start(TimerId::Watchdog, kWatchMs, [this] { OnStandbyWatch(); });
    StartSyncTick();
    if (m_network.connectAtStart) Connect();
}

void Connection::ApplySettings(const WirelessSettings& wireless, const NetworkOptions& network,
                               bool wirelessChanged, bool advancedAccepted) {
    SetSettings(wireless, network);
    // The connection that used the old settings ends; the user connects again with the new ones.
    if (wirelessChanged && (m_wanted || m_link)) CloseByUser();
    if (advancedAccepted) StartSyncTick();
}

// --- Commands ---------------------------------------------------------------------------------

void Connection::Connect() {
    std::u16string address = Trimmed(m_wireless.serverAddress);
    int port = m_wireless.serverPort & 0xFFFF;
    if (!m_wanted && (address.empty() || port == 0)) {
        Notice(u"No server address. Set it in Preferences, Wireless settings.", 3000, true);
        return;
    }
    if (!m_wanted) {
        Listener().OnConnectCommand();
        OpenWindow(false);
    }
    m_refusalReported = false;
    ReconnectNow();
}

void Connection::ReconnectNow() {
    if (m_wanted) {
        Notice(u"Already connected", 2000, false);
        return;
    }
    if (StartConnection()) AfterStart();
}

bool Connection::StartConnection() {
    if (m_wanted) return false;
    m_timers.Stop(TimerId::ConnectionTeardown);
    RetireLink();  // the previous connection, if its teardown had not run yet
    m_wanted = true;
    m_carryOver.Clear();
    m_textEnded = false;
    std::string host = ToUtf8(Trimmed(m_wireless.serverAddress));
    auto port = static_cast<uint16_t>(m_wireless.serverPort & 0xFFFF);
    std::unique_ptr<Socket> socket =
        m_wireless.encrypted ? m_sockets.CreateEncrypted(ToUtf8(m_wireless.certificateFile))
                             : m_sockets.Create();
    if (!socket) {
        m_wanted = false;
        Notice(u"Encrypted connections are not available here. No connection.", 5000, true);
        return false;
    }
    m_link =
        std::make_unique<ConnectionLink>(++m_linkCount, std::move(socket), host, port, m_mailbox);
    m_link->Start();
    m_lastAttempt = m_clock.TickCount();
    return true;
}

void Connection::AfterStart() {
    m_online = false;
    std::u16string identification = IdentificationHostName(m_sockets.HostName());
    identification += kNameSep;
    identification += m_wireless.userName;
    identification += kNameSep;
    identification += m_wireless.password;
    identification += kNameSep;
    QueueFrame(CodeFrame(u'I', identification));
    m_reconnecting = true;
    ArmServerTimeout(kLoginWaitMs);
    m_view.closeEnabled = true;
    SetConnectButtons(u"Wait", false);
    StartAnimation();
    Listener().OnConnectionStarted();
    ViewChanged();
}

bool Connection::QueueFrame(std::u16string_view frame) {
    if (frame.empty()) {
        Notice(u"No Message to send...", 2000, true);
        return false;
    }
    if (!m_wanted || !m_link) {
        Notice(u"No connection...", 2000, true);
        return false;
    }
    if (frame.find(kFrameEnd) != std::u16string_view::npos) {
        // It would reach the server as two frames.
        Notice(u"This text can not be sent: it holds the characters \"#F|\".", 3000, true);
        return false;
    }
    std::u16string text(frame);
    text += kFrameEnd;
    m_link->Queue(text);
    return true;
}

void Connection::Disconnect() {
    if (m_wanted && HasSocket()) QueueFrame(CodeFrame(u'L'));
    m_timers.Stop(TimerId::ServerTimeout);
    m_timers.Stop(TimerId::OnlineBlink);
    if (m_reconnectSeconds < 5) m_view.connectionLight = kLightOff;
    m_wanted = false;
    if (m_link) m_link->Unwant();  // the log-out still goes out
    m_timers.Start(TimerId::ConnectionTeardown, kTeardownMs, [this] { Teardown(); });
    StopAnimation();
    SetConnectButtons(u"-Wait-", false);
    m_online = false;
    Listener().OnDisconnected();
    if (m_reconnectAttempts < 1 && m_reconnectSeconds < 1) m_view.closeEnabled = false;
    m_onlineUsers.clear();
    Listener().OnOnlineUsers(m_onlineUsers);
    m_lastActivity = m_clock.TickCount();
    ViewChanged();
}

void Connection::CloseByUser() {
    CloseWindow();
    StopAnimation();
    Disconnect();
}

void Connection::Teardown() {
    m_timers.Stop(TimerId::ConnectionTeardown);
    RetireLink();
    if (m_reconnectAttempts > 0 && m_reconnectSeconds > 0) {
        // Another attempt of the window, at most one per kMinAttemptGapMs.
        uint64_t since = m_clock.TickCount() - m_lastAttempt;
        if (since < static_cast<uint64_t>(kMinAttemptGapMs)) {
            m_timers.Start(TimerId::ConnectionTeardown, kMinAttemptGapMs - static_cast<int>(since),
                           [this] { Teardown(); });
            return;
        }
        --m_reconnectAttempts;
        UpdateBar();
        ViewChanged();
        ReconnectNow();
        return;
    }
    if (m_reconnectAttempts == 0 || m_reconnectSeconds == 0) {
        CloseWindow();
        m_refusalReported = false;
    }
    StopAnimation();
    SetConnectButtons(u"Connect", true);
    UpdateBar();
    m_view.connectionLight = kLightOff;
    ViewChanged();
}

void Connection::RetireLink() {
    if (m_link) {
        m_link->ClearQueues();
        m_link->Stop();
        if (m_link->WaitFinished(kWaitForWorkersMs)) {
            m_link->Join();
            if (!m_link->CloseSocket()) Notice(u"Fail to close the socket.", 8000, true);
        } else {
            m_retired.push_back(std::move(m_link));  // still resolving the server's name
        }
        m_link.reset();
    }
    std::erase_if(m_retired, [](const std::unique_ptr<ConnectionLink>& link) {
        return link->Finished();  // the destructor joins and closes
    });
}

void Connection::Shutdown() {
    for (TimerId id : {TimerId::Watchdog, TimerId::ServerTimeout, TimerId::SyncTick,
                       TimerId::ReconnectTick, TimerId::OnlineBlink, TimerId::MailBlink,
                       TimerId::ConnectAnimation, TimerId::ConnectionTeardown}) {
        m_timers.Stop(id);
    }
    m_wanted = false;
    m_online = false;
    m_link.reset();  // stops, joins and closes
    m_retired.clear();
}

bool Connection::HasSocket() const {
    return m_wanted && m_link && m_link->SocketConnected();
}

// --- Worker messages and frames ---------------------------------------------------------------

void Connection::OnWorkerMessages() {
    for (const LinkMessage& message : m_mailbox->TakeAll()) {
        if (!m_link || message.link != m_link->Id()) continue;  // an earlier connection
        if (message.event == LinkEvent::DataReady) {
            if (!m_wanted) continue;
            std::u16string text = m_link->TakeReceived();
            if (!text.empty()) DispatchText(text);
            m_lastActivity = m_clock.TickCount();
        } else {
            HandleLinkEnd(static_cast<int>(message.event));
        }
    }
}

void Connection::HandleLinkEnd(int value) {
    switch (static_cast<LinkEvent>(value)) {
        case LinkEvent::Refused:
            // While trying to get a lost connection back, the server may be restarting: the window
            // goes on. Otherwise nobody serves at that address.
            if (m_windowAfterLoss || m_refusalReported) break;
            Notice(u"The server can't be located. Check your connection.", 3000, true);
            m_reconnectAttempts = -1;
            m_reconnecting = false;
            m_refusalReported = true;
            break;
        case LinkEvent::CertificateRefused:
        case LinkEvent::CertificateExpired:
        case LinkEvent::CertificateFile:
        case LinkEvent::NotEncrypted:
            // Trying again cannot help until the settings or the server change.
            Notice(EncryptionNotice(static_cast<LinkEvent>(value)), 5000, true);
            m_reconnectAttempts = -1;
            m_reconnectSeconds = -1;
            m_reconnecting = false;
            m_refusalReported = true;
            break;
        case LinkEvent::PeerClosed:
        case LinkEvent::Reset:
            if (!m_refusalReported) {
                Notice(u"No connection", 1500, true);
                m_refusalReported = true;
            }
            if (m_wanted && !m_reconnecting) OpenWindow(true);  // tried again for a while
            break;
        case LinkEvent::NotSocket:
            if (m_wanted && !m_reconnecting) OpenWindow(true);
            break;
        case LinkEvent::FrameTooLong:
            Notice(u"Receive bad transmission", 4000, true);
            CloseWindow();
            break;
        case LinkEvent::Ended:
            if (m_wanted) Disconnect();
            break;
        default:
            break;  // connect failures without a notice
    }
    ViewChanged();
}

void Connection::DispatchText(std::u16string_view text) {
    if (m_textEnded) return;
    if (m_wanted) ArmServerTimeout(m_serverTimeout * 1000);
    Blink(kBatchLight);
    if (!m_carryOver.Append(text)) {
        // The server sent more than any frame may hold without ending it.
        Notice(u"Receive bad transmission", 4000, true);
        m_carryOver.Clear();
        m_carryOver = FrameSplitter();
        m_textEnded = true;
        CloseWindow();
        Disconnect();
        return;
    }
    m_dispatcher.BeginBatch();
    while (auto frame = m_carryOver.Next()) {
        if (!m_dispatcher.HandleFrame(*frame)) {
            m_carryOver.Clear();
            m_textEnded = true;
            ViewChanged();
            return;
        }
    }
    if (!m_dispatcher.Acknowledgements().empty() && m_wanted) {
        QueueFrame(CodeFrame(u'C', m_dispatcher.Acknowledgements()));
        Blink(kBatchLight);
    }
    Listener().OnBatchEnd();
    ViewChanged();
}

void Connection::EndConnection() {
    CloseWindow();  // refused or sent away: trying again would not help
    Disconnect();
}

void Connection::OnlineUsersReceived(std::vector<std::u16string> users) {
    m_onlineUsers = std::move(users);
    Listener().OnOnlineUsers(m_onlineUsers);
    if (!m_online && m_wanted) GoOnline();
}

void Connection::KeepAliveReceived() {
    if (m_wanted) ArmServerTimeout(m_serverTimeout * 1000);
}

void Connection::ServerTimeoutReceived(int seconds) {
    m_serverTimeout = seconds;
    if (m_wanted && m_timers.IsRunning(TimerId::ServerTimeout)) {
        ArmServerTimeout(m_serverTimeout * 1000);
    }
}

void Connection::Notice(const std::u16string& text, int milliseconds, bool warning) {
    m_messages.ShowNotice(text, milliseconds, warning);
}

void Connection::GoOnline() {
    m_online = true;
    StopAnimation();
    SetConnectButtons(u"Online", false);
    Listener().OnWentOnline();
    m_timers.Start(TimerId::OnlineBlink, kBlinkMs, [this] {
        Blink(kOnlineLight);
        if (m_unreadMail && !m_timers.IsRunning(TimerId::MailBlink)) SetUnreadMail(true);
        ViewChanged();
    });
    CloseWindow();
    m_refusalReported = false;
    if (m_network.synchroniseAtConnection || m_synchAtThisConnection) {
        m_synchAtThisConnection = false;
        Listener().OnSynchAll();
    }
    ArmServerTimeout(m_serverTimeout * 1000);
    ViewChanged();
}

// --- Windows, timers and the view -------------------------------------------------------------

void Connection::OpenWindow(bool afterLoss) {
    m_reconnectSeconds = kWindowSeconds;
    m_reconnectAttempts = kWindowAttempts;
    m_reconnecting = true;
    m_windowAfterLoss = afterLoss;
    m_timers.Start(TimerId::ReconnectTick, 1000, [this] { OnReconnectTick(); });
    UpdateBar();
}

void Connection::CloseWindow() {
    m_reconnectSeconds = -1;
    m_reconnectAttempts = -1;
    m_reconnecting = false;
    m_windowAfterLoss = false;
    m_timers.Stop(TimerId::ReconnectTick);
    UpdateBar();
}

void Connection::ArmServerTimeout(int milliseconds) {
    m_timers.Start(TimerId::ServerTimeout, milliseconds, [this] { OnServerTimeout(); });
}

void Connection::OnServerTimeout() {
    m_timers.Stop(TimerId::ServerTimeout);
    // While logging in, the window of Connect (or the one that just ran out) decides.
    if (m_wanted && !m_reconnecting) OpenWindow(true);
    Disconnect();
}

void Connection::OnReconnectTick() {
    --m_reconnectSeconds;
    UpdateBar();
    if (m_reconnectSeconds < 0 || m_reconnectAttempts < 0) {
        CloseWindow();
        m_reconnecting = true;  // this connection attempt does not open another window
        StopAnimation();
        if (!m_online) SetConnectButtons(u"Connect", true);
    } else {
        Blink(kReconnectLight);
    }
    ViewChanged();
}

void Connection::OnStandbyWatch() {
    uint64_t now = m_clock.TickCount();
    uint64_t seconds = (now - m_lastActivity) / 1000;
    if (seconds < static_cast<uint64_t>(kStandbySeconds)) {
        m_lastActivity = now;
        std::erase_if(m_retired, [](const auto& link) { return link->Finished(); });
        return;
    }
    // The device was asleep: the connection is stale.
    m_timers.Stop(TimerId::Watchdog);
    if (m_wanted && !WindowOpen()) {
        if (m_network.reconnectAfterStandby) {
            OpenWindow(true);
            Disconnect();
        } else {
            CloseByUser();
        }
    }
    m_lastActivity = m_clock.TickCount();
    m_timers.Start(TimerId::Watchdog, kWatchMs, [this] { OnStandbyWatch(); });
}

void Connection::StartSyncTick() {
    m_syncMinutes = 0;
    if (m_network.periodicSynchronisation) {
        m_timers.Start(TimerId::SyncTick, kSyncTickMs, [this] { OnSyncTick(); });
    } else {
        m_timers.Stop(TimerId::SyncTick);
    }
}

void Connection::OnSyncTick() {
    int period = ParseInt(m_network.synchronisationPeriod);
    if (period < 1 || ++m_syncMinutes < period) return;
    m_syncMinutes = 0;
    if (m_wanted) {
        Listener().OnSynchAll();
    } else {
        // Synchronise once the connection is up (the stored option is left as the user set it).
        m_synchAtThisConnection = true;
        Connect();
    }
}

void Connection::SetUnreadMail(bool unread) {
    m_unreadMail = unread;
    if (unread) {
        if (!m_timers.IsRunning(TimerId::MailBlink)) {
            m_timers.Start(TimerId::MailBlink, kMailBlinkMs, [this] {
                m_mailPhase ^= 1;
                m_view.mailLight = kMailLight[m_mailPhase];
                ViewChanged();
            });
        }
    } else {
        m_timers.Stop(TimerId::MailBlink);
        m_view.mailLight = kLightOff;
    }
    ViewChanged();
}

void Connection::StartAnimation() {
    m_animationStep = 0;
    m_timers.Start(TimerId::ConnectAnimation, kAnimationMs, [this] {
        m_animationStep = m_animationStep % 9 + 1;
        m_view.connectText.assign(static_cast<size_t>(m_animationStep), u'|');
        ViewChanged();
    });
}

void Connection::StopAnimation() {
    m_timers.Stop(TimerId::ConnectAnimation);
}

void Connection::SetConnectButtons(std::u16string text, bool enabled) {
    m_view.connectText = std::move(text);
    m_view.connectEnabled = enabled;
    m_view.online = m_online;
}

void Connection::Blink(const Rgb (&colours)[2]) {
    m_lightPhase ^= 1;
    m_view.connectionLight = colours[m_lightPhase];
}

void Connection::UpdateBar() {
    int left = std::max(0, std::min(m_reconnectSeconds, m_reconnectAttempts));
    m_view.reconnectBarRed =
        std::min(left, kWindowAttempts) * ConnectionView::kBarWidth / kWindowAttempts;
}

void Connection::ViewChanged() {
    m_view.online = m_online;
    m_host.ConnectionViewChanged();
}

}  // namespace pondrel
