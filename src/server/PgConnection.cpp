#include "server/PgConnection.h"

#include <libpq-fe.h>
#include <poll.h>

#include <algorithm>
#include <cstdlib>

#include "platform/Text.h"
#include "server/StoreText.h"

namespace pondrel::server {

namespace {

// While the database stays out of reach, each attempt to reach it again waits for its
// connection time-out: attempts are spaced so that the server's clients are told at once that
// the change failed, instead of waiting on every request.
constexpr auto kReconnectPause = std::chrono::seconds(2);
// An attempt to reach the database again runs step by step without blocking: each request waits
// for it at most 100 ms (a database on the same network answers well within it), then
// fails at once while the attempt goes on at the next request; after kReconnectTimeout it is given
// up (the pause follows). The server's network thread is never held longer than that wait;
// the threads that run changes may wait longer (SetReconnectWait).
constexpr auto kReconnectTimeout = std::chrono::seconds(3);

// The database's notices ("terminating connection due to administrator command") would reach
// standard error around the server's log; the failures they announce are logged by the server.
void DropNotice(void*, const char*) {}

}  // namespace

PgParam PgParam::Text(std::u16string_view text) {
    return {ToUtf8(text), false, false};
}

PgParam PgParam::Units(std::u16string_view units) {
    return {UnitsToBytes(units), true, false};
}

PgResult::~PgResult() {
    PQclear(m_result);
}

PgResult::PgResult(PgResult&& other) noexcept : m_result(other.m_result), m_ok(other.m_ok) {
    other.m_result = nullptr;
    other.m_ok = false;
}

PgResult& PgResult::operator=(PgResult&& other) noexcept {
    if (this != &other) {
        PQclear(m_result);
        m_result = other.m_result;
        m_ok = other.m_ok;
        other.m_result = nullptr;
        other.m_ok = false;
    }
    return *this;
}

int PgResult::Rows() const {
    return m_ok ? PQntuples(m_result) : 0;
}

int64_t PgResult::Affected() const {
    if (!m_ok) return 0;
    const char* count = PQcmdTuples(m_result);
    return count && *count ? std::strtoll(count, nullptr, 10) : 0;
}

bool PgResult::IsNull(int row, int column) const {
    return !m_ok || row >= PQntuples(m_result) || PQgetisnull(m_result, row, column);
}

std::string PgResult::Text(int row, int column) const {
    if (IsNull(row, column)) return {};
    return std::string(PQgetvalue(m_result, row, column),
                       static_cast<size_t>(PQgetlength(m_result, row, column)));
}

std::u16string PgResult::Text16(int row, int column) const {
    return FromUtf8(Text(row, column));
}

std::u16string PgResult::Units(int row, int column) const {
    if (IsNull(row, column)) return {};
    return BytesToUnits(std::string_view(PQgetvalue(m_result, row, column),
                                         static_cast<size_t>(PQgetlength(m_result, row, column))));
}

int64_t PgResult::Int(int row, int column) const {
    if (IsNull(row, column)) return 0;
    // Binary results: integers in network byte order, of their type's width.
    const auto* bytes = reinterpret_cast<const unsigned char*>(PQgetvalue(m_result, row, column));
    int length = PQgetlength(m_result, row, column);
    uint64_t value = 0;
    for (int i = 0; i < length; ++i) value = (value << 8) | bytes[i];
    if (length > 0 && length < 8 && (bytes[0] & 0x80) && length != 1) {
        value |= ~uint64_t{0} << (8 * length);  // sign of a smallint or integer
    }
    return static_cast<int64_t>(value);
}

std::unique_ptr<PgConnection> PgConnection::Open(const std::string& conninfo, std::string& error) {
    // Defaults first: what the address names itself wins. Keep-alives find a database host that
    // vanished without closing the connection.
    const char* keywords[] = {"application_name",
                              "connect_timeout",
                              "keepalives_idle",
                              "keepalives_interval",
                              "keepalives_count",
                              "dbname",
                              nullptr};
    const char* values[] = {"pondrel-server", "3", "30", "10", "3", conninfo.c_str(), nullptr};
    pg_conn* connection = PQconnectdbParams(keywords, values, 1);
    if (!connection || PQstatus(connection) != CONNECTION_OK) {
        error = connection ? PQerrorMessage(connection) : "out of memory";
        while (!error.empty() && (error.back() == '\n' || error.back() == ' ')) error.pop_back();
        PQfinish(connection);
        return nullptr;
    }
    PQsetErrorVerbosity(connection, PQERRORS_TERSE);
    PQsetNoticeProcessor(connection, DropNotice, nullptr);
    std::unique_ptr<PgConnection> opened(new PgConnection(connection));
    opened->KeepCancel();
    // Quiet notices ("relation already exists, skipping") and the texts in UTF-8.
    if (!opened->Exec("SET client_min_messages = warning") ||
        PQsetClientEncoding(connection, "UTF8") != 0) {
        error = opened->Error();
        return nullptr;
    }
    return opened;
}

PgConnection::~PgConnection() {
    PQfreeCancel(m_cancel);
    PQfinish(m_connection);
}

void PgConnection::KeepCancel() {
    PGcancel* fresh = PQgetCancel(m_connection);
    std::lock_guard lock(m_cancelMutex);
    PQfreeCancel(m_cancel);
    m_cancel = fresh;
}

void PgConnection::Cancel() {
    std::lock_guard lock(m_cancelMutex);
    char error[256];
    if (m_cancel) PQcancel(m_cancel, error, sizeof error);
}

std::string PgConnection::Error() const {
    std::string error = PQerrorMessage(m_connection);
    while (!error.empty() && (error.back() == '\n' || error.back() == ' ')) error.pop_back();
    return error;
}

int PgConnection::BackendPid() const {
    return PQbackendPID(m_connection);
}

bool PgConnection::Lost() const {
    return PQstatus(m_connection) != CONNECTION_OK;
}

bool PgConnection::Reconnect() {
    auto now = std::chrono::steady_clock::now();
    if (!m_resetStarted) {
        if (m_failedAt && now - *m_failedAt < kReconnectPause) return false;
        m_prepared.clear();  // statements die with their connection
        m_inTransaction = false;
        if (PQresetStart(m_connection) == 0) {
            m_failedAt = now;
            return false;
        }
        m_resetStarted = now;
        m_resetWaitsFor = PGRES_POLLING_WRITING;
    }
    // Steps of the attempt, each when the socket is ready for it.
    auto waitUntil = now + m_reconnectWait;
    while (m_resetWaitsFor == PGRES_POLLING_READING || m_resetWaitsFor == PGRES_POLLING_WRITING) {
        pollfd ready{PQsocket(m_connection),
                     static_cast<short>(m_resetWaitsFor == PGRES_POLLING_READING ? POLLIN : POLLOUT),
                     0};
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            waitUntil - std::chrono::steady_clock::now());
        int events = ready.fd < 0 ? 1 : ::poll(&ready, 1, static_cast<int>(std::max<int64_t>(
                                                               0, left.count())));
        if (events == 0) {
            if (std::chrono::steady_clock::now() - *m_resetStarted < kReconnectTimeout) {
                return false;  // still under way: the next request goes on with it
            }
            break;  // no answer in time
        }
        m_resetWaitsFor = PQresetPoll(m_connection);
    }
    bool ok = m_resetWaitsFor == PGRES_POLLING_OK && !Lost();
    m_resetStarted.reset();
    ok = ok && PQsetClientEncoding(m_connection, "UTF8") == 0 &&
         Exec("SET client_min_messages = warning");
    for (const std::string& channel : m_channels) ok = ok && Exec("LISTEN " + channel);
    if (!ok) {
        // Counted from the end of the attempt: one that waited for its time-out leaves the
        // server free for the pause before the next.
        m_failedAt = std::chrono::steady_clock::now();
        return false;
    }
    m_missed = true;
    m_failedAt.reset();
    ++m_reconnects;
    KeepCancel();
    return true;
}

PgResult PgConnection::Run(const std::string& sql, const std::vector<PgParam>& params) {
    if (Lost() && (m_inTransaction || !Reconnect())) return PgResult();
    PgResult result = RunOnce(sql, params);
    // A statement outside a transaction changed nothing when its connection was gone: it runs
    // again on a new connection.
    if (!result.Ok() && !m_inTransaction && Lost() && Reconnect()) result = RunOnce(sql, params);
    return result;
}

PgResult PgConnection::RunOnce(const std::string& sql, const std::vector<PgParam>& params) {
    auto prepared = m_prepared.find(sql);
    if (prepared == m_prepared.end()) {
        std::string name = "p" + std::to_string(m_prepared.size() + 1);
        pg_result* done = PQprepare(m_connection, name.c_str(), sql.c_str(),
                                    static_cast<int>(params.size()), nullptr);
        bool ok = PQresultStatus(done) == PGRES_COMMAND_OK;
        PQclear(done);
        if (!ok) return PgResult();
        prepared = m_prepared.emplace(sql, name).first;
    }
    std::vector<const char*> values;
    std::vector<int> lengths;
    std::vector<int> formats;
    for (const PgParam& param : params) {
        values.push_back(param.null ? nullptr : param.value.data());
        lengths.push_back(static_cast<int>(param.value.size()));
        formats.push_back(param.binary ? 1 : 0);
    }
    pg_result* result =
        PQexecPrepared(m_connection, prepared->second.c_str(), static_cast<int>(params.size()),
                       values.data(), lengths.data(), formats.data(), 1);
    ExecStatusType status = PQresultStatus(result);
    return PgResult(result, status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK);
}

bool PgConnection::Exec(const std::string& sql) {
    auto once = [&] {
        pg_result* result = PQexec(m_connection, sql.c_str());
        bool ok =
            PQresultStatus(result) == PGRES_COMMAND_OK || PQresultStatus(result) == PGRES_TUPLES_OK;
        PQclear(result);
        return ok;
    };
    if (Lost() && (m_inTransaction || !Reconnect())) return false;
    if (once()) return true;
    return !m_inTransaction && Lost() && Reconnect() && once();
}

bool PgConnection::Listen(const std::string& channel) {
    if (!Exec("LISTEN " + channel)) return false;
    m_channels.push_back(channel);
    return true;
}

bool PgConnection::TakeNotifications(std::string_view own) {
    if (Lost() && !m_inTransaction) Reconnect();
    bool changed = m_missed;
    m_missed = false;
    if (Lost()) return changed;
    PQconsumeInput(m_connection);
    int self = PQbackendPID(m_connection);
    while (PGnotify* notice = PQnotifies(m_connection)) {
        // A server's own changes are known to it.
        if (notice->be_pid != self && (own.empty() || own != notice->extra)) changed = true;
        PQfreemem(notice);
    }
    return changed;
}

std::vector<PgConnection::Notice> PgConnection::TakeNotices(bool& missed) {
    std::vector<Notice> notices;
    missed = m_missed;
    m_missed = false;
    if (Lost()) return notices;
    PQconsumeInput(m_connection);
    while (PGnotify* notice = PQnotifies(m_connection)) {
        notices.push_back({notice->relname, notice->extra ? notice->extra : ""});
        PQfreemem(notice);
    }
    return notices;
}

int PgConnection::Socket() const {
    return Lost() ? -1 : PQsocket(m_connection);
}

bool PgConnection::Begin() {
    if (!Exec("BEGIN")) return false;
    m_inTransaction = true;
    return true;
}

bool PgConnection::Commit() {
    bool ok = Exec("COMMIT");
    m_inTransaction = false;
    return ok;
}

void PgConnection::Rollback() {
    if (!Lost()) Exec("ROLLBACK");
    m_inTransaction = false;
}

}  // namespace pondrel::server
