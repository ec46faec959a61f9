#pragma once

// One connection to a PostgreSQL server through libpq: statements are prepared once per
// connection and run with their parameters; results come in binary form. A connection that was
// lost (the database restarted, a network cut) is opened again before the next statement that
// runs outside a transaction (without holding the caller more than a moment: an attempt that
// takes longer goes on at the following statements), which then runs once more; inside a transaction the statement
// fails, and so does the transaction (its caller tells its client the change failed).

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct pg_conn;
struct pg_result;
struct pg_cancel;

namespace pondrel::server {

// A parameter: a text (UTF-8), a number, bytes (sent in binary form) or NULL.
struct PgParam {
    std::string value;
    bool binary = false;
    bool null = false;

    static PgParam Text(std::string_view text) { return {std::string(text), false, false}; }
    static PgParam Text(std::u16string_view text);
    static PgParam Number(int64_t number) { return {std::to_string(number), false, false}; }
    // 16-bit units as little-endian bytes: any unit survives, a lone surrogate too.
    static PgParam Units(std::u16string_view units);
    static PgParam Null() { return {std::string(), false, true}; }
};

class PgResult {
public:
    PgResult() = default;
    explicit PgResult(pg_result* result, bool ok) : m_result(result), m_ok(ok) {}
    ~PgResult();
    PgResult(PgResult&& other) noexcept;
    PgResult& operator=(PgResult&& other) noexcept;
    PgResult(const PgResult&) = delete;
    PgResult& operator=(const PgResult&) = delete;

    bool Ok() const { return m_ok; }
    int Rows() const;
    // Rows changed by an INSERT, UPDATE or DELETE.
    int64_t Affected() const;
    // Rows and columns count from 0.
    bool IsNull(int row, int column) const;
    std::string Text(int row, int column) const;
    std::u16string Text16(int row, int column) const;
    std::u16string Units(int row, int column) const;
    // A boolean, smallint, integer or bigint column.
    int64_t Int(int row, int column) const;

private:
    pg_result* m_result = nullptr;
    bool m_ok = false;
};

class PgConnection {
public:
    // Connects with `conninfo` (a "postgresql://" address or "key=value" words); none, with
    // `error` set, when it cannot.
    static std::unique_ptr<PgConnection> Open(const std::string& conninfo, std::string& error);
    ~PgConnection();
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    // Runs `sql` (prepared on first use) with its parameters ($1, $2...).
    PgResult Run(const std::string& sql, const std::vector<PgParam>& params = {});
    // Runs a command or several without parameters (the schema, BEGIN, COMMIT).
    bool Exec(const std::string& sql);

    bool Begin();
    bool Commit();
    void Rollback();
    bool InTransaction() const { return m_inTransaction; }

    std::string Error() const;
    // The process of the server that serves this connection (the tests end it on purpose).
    int BackendPid() const;
    // Times the connection was opened again after a loss.
    int64_t Reconnects() const { return m_reconnects; }

    // Listens on `channel`, on this connection and on every one that replaces it.
    bool Listen(const std::string& channel);
    // True when a notification from another connection arrived since the last call, or when the
    // connection was opened again meanwhile (what came while it was away is unknown). Those
    // whose payload is `own` (sent by the caller's other connections) do not count.
    bool TakeNotifications(std::string_view own = {});
    // Every notification that arrived since the last call, the connection's own included, in
    // the order of their commits; `missed` is set when the connection was opened again
    // meanwhile. Reads what waits on the socket without waiting.
    struct Notice {
        std::string channel;
        std::string payload;
    };
    std::vector<Notice> TakeNotices(bool& missed);
    // The socket of the connection (to wait for notifications), -1 when there is none.
    int Socket() const;
    bool IsLost() const { return Lost(); }
    // From another thread: asks the database to end the statement under way, which then fails
    // (and with it its transaction). Nothing happens when none runs.
    void Cancel();
    // How long one statement may wait for the connection to be opened again after a loss (100 ms
    // unless told: the network thread must not wait longer; a worker thread may).
    void SetReconnectWait(std::chrono::milliseconds wait) { m_reconnectWait = wait; }

private:
    explicit PgConnection(pg_conn* connection) : m_connection(connection) {}
    PgResult RunOnce(const std::string& sql, const std::vector<PgParam>& params);
    bool Lost() const;
    // Opens the connection again, waiting a moment at most; false when the database is still
    // out of reach or the attempt is still under way (the next call goes on with it).
    bool Reconnect();
    // What Cancel needs, made anew with each connection.
    void KeepCancel();

    pg_conn* m_connection;
    std::map<std::string, std::string> m_prepared;  // SQL -> name of the prepared statement
    bool m_inTransaction = false;
    int64_t m_reconnects = 0;
    std::optional<std::chrono::steady_clock::time_point> m_failedAt;  // last failed attempt
    std::optional<std::chrono::steady_clock::time_point> m_resetStarted;  // attempt under way
    int m_resetWaitsFor = 0;  // what that attempt waits for (PostgresPollingStatusType)
    std::chrono::milliseconds m_reconnectWait{100};
    std::vector<std::string> m_channels;
    bool m_missed = false;  // opened again since the last TakeNotifications
    std::mutex m_cancelMutex;
    pg_cancel* m_cancel = nullptr;  // under m_cancelMutex
};

}  // namespace pondrel::server
