#include "server/PostgresBus.h"

#include <sodium.h>

#include <asio/post.hpp>

#include "platform/Text.h"
#include "server/ServerLog.h"

namespace pondrel::server {

namespace {

using P = PgParam;

constexpr const char* kChannel = "pondrel_bus";
// Taken while the tables are made: instances that start together wait for each other.
constexpr int64_t kTablesLockKey = 0x504F4E45;
constexpr auto kUsersDelay = std::chrono::milliseconds(200);
// The whole list of sessions is read again now and then, whatever the notifications said.
constexpr int kReadAllTicks = 10;

// Unlogged: who is online is worth nothing after a crash of the database, and costs no journal.
const char* const kTables = R"sql(
CREATE UNLOGGED TABLE IF NOT EXISTS bus_instances(
    id TEXT PRIMARY KEY,
    heartbeat TIMESTAMPTZ NOT NULL);
CREATE UNLOGGED TABLE IF NOT EXISTS bus_sessions(
    user_name TEXT PRIMARY KEY,
    instance_id TEXT NOT NULL REFERENCES bus_instances(id) ON DELETE CASCADE,
    login BIGINT NOT NULL);
CREATE INDEX IF NOT EXISTS bus_sessions_instance ON bus_sessions(instance_id);
)sql";

std::string NewInstanceId() {
    unsigned char random[8];
    randombytes_buf(random, sizeof random);
    char hex[2 * sizeof random + 1];
    sodium_bin2hex(hex, sizeof hex, random, sizeof random);
    return hex;
}

}  // namespace

std::unique_ptr<PostgresBus> PostgresBus::Open(asio::io_context& io, ServerLog& log,
                                               const std::string& address, int deadSeconds,
                                               std::string& error) {
    auto connection = PgConnection::Open(address, error);
    if (!connection) return nullptr;
    std::unique_ptr<PostgresBus> bus(new PostgresBus(io, log, std::move(connection), deadSeconds));
    if (!bus->CreateTables(error)) return nullptr;
    if (!bus->m_db->Listen(kChannel) || !bus->Register()) {
        error = bus->m_db->Error();
        return nullptr;
    }
    bus->Watch();
    return bus;
}

PostgresBus::PostgresBus(asio::io_context& io, ServerLog& log, std::unique_ptr<PgConnection> db,
                         int deadSeconds)
    : m_io(io),
      m_log(log),
      m_db(std::move(db)),
      m_id(NewInstanceId()),
      m_deadSeconds(deadSeconds),
      m_watch(io),
      m_usersTimer(io) {}

PostgresBus::~PostgresBus() {
    if (m_watch.is_open()) m_watch.release();
    m_usersTimer.cancel();
    if (m_db->IsLost()) return;
    if (m_db->Begin()) {
        bool ok = m_db->Run("DELETE FROM bus_instances WHERE id = $1", {P::Text(m_id)}).Ok() &&
                  Notify(BusMessage{BusMessage::Kind::Presence, m_id});
        if (ok && m_db->Commit()) return;
        m_db->Rollback();
    }
}

bool PostgresBus::CreateTables(std::string& error) {
    if (!m_db->Begin()) {
        error = m_db->Error();
        return false;
    }
    if (!m_db->Exec("SELECT pg_advisory_xact_lock(" + std::to_string(kTablesLockKey) + ")") ||
        !m_db->Exec(kTables)) {
        error = m_db->Error();
        m_db->Rollback();
        return false;
    }
    if (!m_db->Commit()) {
        error = m_db->Error();
        return false;
    }
    return true;
}

double PostgresBus::Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool PostgresBus::Notify(const BusMessage& message) {
    std::optional<std::string> payload = message.Encode();
    if (!payload) return false;
    return m_db->Run("SELECT pg_notify($1, $2)", {P::Text(kChannel), P::Text(*payload)}).Ok();
}

bool PostgresBus::Register() {
    if (!m_db->Begin()) return false;
    bool ok = m_db->Run(
                      "INSERT INTO bus_instances(id, heartbeat) VALUES($1, now()) "
                      "ON CONFLICT(id) DO UPDATE SET heartbeat = now()",
                      {P::Text(m_id)})
                  .Ok() &&
              m_db->Run("DELETE FROM bus_sessions WHERE instance_id = $1", {P::Text(m_id)}).Ok();
    for (const auto& [user, local] : m_local) {
        // A user who logged in elsewhere meanwhile keeps his row there.
        ok = ok &&
             m_db->Run(
                     "INSERT INTO bus_sessions(user_name, instance_id, login) "
                     "VALUES($1, $2, $3) ON CONFLICT(user_name) DO NOTHING",
                     {P::Text(user), P::Text(m_id), P::Number(static_cast<int64_t>(local.login))})
                 .Ok();
    }
    ok = ok && Notify(BusMessage{BusMessage::Kind::Presence, m_id});
    if (!ok || !m_db->Commit()) {
        m_db->Rollback();
        return false;
    }
    m_registered = true;
    // Their log-ins were not told one by one: any later log-in elsewhere replaces them.
    for (auto& [user, local] : m_local) local.confirmed = true;
    ReadUsers();
    return true;
}

void PostgresBus::LoggedIn(const std::u16string& user) {
    Local& local = m_local[user];
    local.login = ++m_nextLogin;
    local.confirmed = false;
    if (!m_registered) return;  // registered with its users later
    Tell({true, user, local.login});
}

void PostgresBus::LoggedOut(const std::u16string& user) {
    auto it = m_local.find(user);
    if (it == m_local.end()) return;
    uint64_t login = it->second.login;
    m_local.erase(it);
    if (!m_registered) return;
    Tell({false, user, login});
}

void PostgresBus::Tell(Presence presence) {
    // The log-ins and log-outs handled together (a ward coming back after a network cut) are
    // written together, once the work at hand is done: one statement each, one commit for all.
    m_presence.push_back(std::move(presence));
    if (m_presenceDue) return;
    m_presenceDue = true;
    asio::post(m_io, [this] { WritePresence(); });
}

bool PostgresBus::WriteOne(const Presence& presence) {
    BusMessage message{presence.in ? BusMessage::Kind::LoggedIn : BusMessage::Kind::LoggedOut,
                       m_id};
    message.user = presence.user;
    if (presence.in) message.login = presence.login;
    std::optional<std::string> payload = message.Encode();
    if (!payload) return false;
    std::vector<PgParam> params{P::Text(presence.user), P::Text(m_id),
                                P::Number(static_cast<int64_t>(presence.login)), P::Text(kChannel),
                                P::Text(*payload)};
    // The last log-in of a user owns his row; its notification follows in the same order. A
    // log-out is told only when it ended the row of that log-in.
    const char* sql = presence.in
                          ? "WITH s AS (INSERT INTO bus_sessions(user_name, instance_id, login) "
                            "VALUES($1, $2, $3) ON CONFLICT(user_name) DO UPDATE SET "
                            "instance_id = excluded.instance_id, login = excluded.login) "
                            "SELECT pg_notify($4, $5)"
                          : "WITH gone AS (DELETE FROM bus_sessions WHERE user_name = $1 AND "
                            "instance_id = $2 AND login = $3 RETURNING 1) "
                            "SELECT pg_notify($4, $5) FROM gone";
    return m_db->Run(sql, params).Ok();
}

void PostgresBus::WritePresence() {
    m_presenceDue = false;
    std::vector<Presence> batch = std::exchange(m_presence, {});
    // Not registered meanwhile: the next registration writes every user of this instance.
    if (batch.empty() || !m_registered) return;
    const bool together = batch.size() > 1;
    bool ok = !together || m_db->Begin();
    for (const Presence& presence : batch) ok = ok && WriteOne(presence);
    if (ok && (!together || m_db->Commit())) return;
    if (together) m_db->Rollback();
    m_registered = false;  // written again at the next tick, with every user of this instance
}

std::vector<std::u16string> PostgresBus::UsersElsewhere() {
    std::vector<std::u16string> users;
    for (const auto& [user, where] : m_elsewhere) users.push_back(user);
    return users;
}

bool PostgresBus::OnlineElsewhere(const std::u16string& user) {
    if (m_elsewhere.count(user) == 0) Pull();  // a log-in elsewhere a moment ago
    return m_elsewhere.count(user) > 0;
}

bool PostgresBus::Budget(const std::u16string& from, const char* what) {
    if (m_budget.Take(from, Seconds())) {
        m_throttled.erase(from);
        return true;
    }
    if (m_throttled.insert(from).second) {
        m_log.Line(std::string("bus: ") + what + " of " + LogText(from) +
                   " not passed to the other servers: too many in a short time");
    }
    return false;
}

bool PostgresBus::SendTo(const std::u16string& from, const std::u16string& user,
                         const std::u16string& code, const std::u16string& frame, bool keep) {
    if (!OnlineElsewhere(user) || frame.size() > kMaxBusFrameChars) return false;
    if (!Budget(from, "a frame")) return false;
    BusMessage message{BusMessage::Kind::Frame, m_id};
    message.target = m_elsewhere[user];
    message.user = user;
    message.code = code;
    message.frame = frame;
    message.keep = keep;
    return Notify(message);
}

void PostgresBus::Chat(const std::u16string& from, const std::u16string& frame) {
    if (m_elsewhere.empty()) Pull();  // a log-in elsewhere a moment ago
    if (m_elsewhere.empty() || frame.size() > kMaxBusFrameChars) return;
    if (!Budget(from, "a chat line")) return;
    BusMessage message{BusMessage::Kind::Chat, m_id};
    message.frame = frame;
    Notify(message);
}

void PostgresBus::Tick() {
    PgResult beat =
        m_db->Run("UPDATE bus_instances SET heartbeat = now() WHERE id = $1", {P::Text(m_id)});
    if (!beat.Ok()) {
        if (!m_lost) m_log.Line("bus: the database is out of reach: " + m_db->Error());
        m_lost = true;
        m_registered = false;
        Pull();
        return;
    }
    if (m_lost) m_log.Line("bus: the database is back");
    m_lost = false;
    // Taken for dead by another instance (a long pause), or lost with a crash of the database.
    if (beat.Affected() == 0 || !m_registered) Register();
    PgResult dead = m_db->Run(
        "DELETE FROM bus_instances WHERE heartbeat < now() - make_interval(secs => $1) "
        "RETURNING id",
        {P::Number(m_deadSeconds)});
    if (dead.Rows() > 0) {
        for (int row = 0; row < dead.Rows(); ++row) {
            m_log.Line("bus: server instance " + dead.Text(row, 0) +
                       " is silent; its users are offline");
        }
        Notify(BusMessage{BusMessage::Kind::Presence, m_id});
        ReadUsers();
    } else if (++m_ticks % kReadAllTicks == 0) {
        ReadUsers();
    }
    Pull();
}

void PostgresBus::ReadUsers() {
    PgResult rows = m_db->Run(
        "SELECT user_name, instance_id FROM bus_sessions WHERE instance_id <> $1", {P::Text(m_id)});
    if (!rows.Ok()) return;
    std::map<std::u16string, std::string> elsewhere;
    for (int row = 0; row < rows.Rows(); ++row) {
        elsewhere[rows.Text16(row, 0)] = rows.Text(row, 1);
    }
    if (elsewhere == m_elsewhere) return;
    m_elsewhere = std::move(elsewhere);
    UsersChanged();
}

void PostgresBus::UsersChanged() {
    if (m_usersDue) return;
    m_usersDue = true;
    m_usersTimer.expires_after(kUsersDelay);
    m_usersTimer.async_wait([this](const asio::error_code& error) {
        if (error) return;
        m_usersDue = false;
        if (m_listener) m_listener->OnBusUsers();
    });
}

void PostgresBus::Pull() {
    bool missed = false;
    std::vector<PgConnection::Notice> notices = m_db->TakeNotices(missed);
    if (missed) {
        // Opened again: what was told meanwhile is unknown, and the database may have lost the
        // sessions.
        m_registered = false;
        asio::post(m_io, [this] {
            if (!m_registered) Register();
        });
    }
    for (const PgConnection::Notice& notice : notices) {
        if (notice.channel != kChannel) continue;
        std::optional<BusMessage> message = BusMessage::Decode(notice.payload);
        if (!message) continue;
        // Presence is known at once: a frame for a user who just logged in elsewhere goes there.
        if (message->instance != m_id) {
            if (message->kind == BusMessage::Kind::LoggedIn) {
                m_elsewhere[message->user] = message->instance;
            } else if (message->kind == BusMessage::Kind::LoggedOut) {
                auto it = m_elsewhere.find(message->user);
                if (it != m_elsewhere.end() && it->second == message->instance) {
                    m_elsewhere.erase(it);
                }
            }
        }
        m_pending.push_back(std::move(*message));
    }
    if (!m_pending.empty() && !m_handleDue) {
        m_handleDue = true;
        asio::post(m_io, [this] { HandlePending(); });
    }
    Watch();
}

void PostgresBus::HandlePending() {
    m_handleDue = false;
    std::vector<BusMessage> pending = std::exchange(m_pending, {});
    for (const BusMessage& message : pending) Handle(message);
}

void PostgresBus::Handle(const BusMessage& message) {
    const bool own = message.instance == m_id;
    switch (message.kind) {
        case BusMessage::Kind::Frame:
            if (message.target == m_id && m_listener) {
                m_listener->OnBusFrame(message.user, message.code, message.frame, message.keep);
            }
            break;
        case BusMessage::Kind::Chat:
            if (!own && m_listener) m_listener->OnBusChat(message.frame);
            break;
        case BusMessage::Kind::LoggedIn: {
            auto local = m_local.find(message.user);
            if (own) {
                if (local != m_local.end() && local->second.login == message.login) {
                    local->second.confirmed = true;
                }
                break;
            }
            // A log-in here whose own notification came first is the older one: it ends. One
            // still unconfirmed is the newer: the other instance ends its own when it sees it.
            if (local != m_local.end() && local->second.confirmed) {
                m_local.erase(local);
                if (m_listener) m_listener->OnBusReplaced(message.user);
            }
            UsersChanged();
            break;
        }
        case BusMessage::Kind::LoggedOut:
            if (!own) UsersChanged();
            break;
        case BusMessage::Kind::Presence:
            if (!own) ReadUsers();
            break;
    }
}

void PostgresBus::Watch() {
    int socket = m_db->Socket();
    // A connection opened again may have the same socket number: it is watched anew all the same.
    if (socket != m_watchedSocket || m_db->Reconnects() != m_watchedReconnects) {
        m_watchedReconnects = m_db->Reconnects();
        if (m_watch.is_open()) m_watch.release();  // its wait ends as cancelled
        ++m_watchGeneration;
        m_waiting = false;
        m_watchedSocket = -1;
        if (socket < 0) return;  // the next tick opens the connection again
        asio::error_code error;
        m_watch.assign(socket, error);
        if (error) return;
        m_watchedSocket = socket;
    }
    if (m_waiting || m_watchedSocket < 0) return;
    m_waiting = true;
    m_watch.async_wait(asio::posix::stream_descriptor::wait_read,
                       [this, generation = m_watchGeneration](const asio::error_code& error) {
                           if (generation != m_watchGeneration) return;
                           m_waiting = false;
                           if (error == asio::error::operation_aborted) return;
                           Pull();
                       });
}

}  // namespace pondrel::server
