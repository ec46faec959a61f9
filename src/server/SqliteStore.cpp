#include "server/SqliteStore.h"

#include <sodium.h>
#include <sqlite3.h>

#include <algorithm>
#include <climits>

#include "server/SqliteStatement.h"
#include "server/StoreText.h"

namespace pondrel::server {

namespace {

constexpr int kBusyTimeoutMs = 10'000;
constexpr int64_t kSchemaVersion = 4;

// A file's row is small: its text lives in a table of its own, so that a lock, an unlock or a
// new date rewrites a few bytes and never the pages of the text.
const char* const kSchema = R"sql(
CREATE TABLE IF NOT EXISTS users(
    name TEXT PRIMARY KEY,
    password_hash TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS files(
    name TEXT PRIMARY KEY COLLATE NOCASE,
    archived INTEGER NOT NULL DEFAULT 0,
    update_date TEXT NOT NULL,
    update_time TEXT NOT NULL,
    holder TEXT,
    creator TEXT);
CREATE INDEX IF NOT EXISTS files_creator ON files(creator);
CREATE TABLE IF NOT EXISTS file_texts(
    name TEXT PRIMARY KEY COLLATE NOCASE
        REFERENCES files(name) ON DELETE CASCADE ON UPDATE CASCADE,
    content BLOB NOT NULL);
CREATE TABLE IF NOT EXISTS mail(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    recipient TEXT NOT NULL,
    sender TEXT NOT NULL,
    code TEXT NOT NULL,
    frame BLOB NOT NULL,
    queued TEXT NOT NULL,
    reception TEXT,
    UNIQUE(recipient, sender, code));
CREATE INDEX IF NOT EXISTS mail_code ON mail(recipient, code, id);
CREATE TABLE IF NOT EXISTS notes(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    recipient TEXT NOT NULL,
    frame BLOB NOT NULL,
    queued TEXT NOT NULL,
    code TEXT NOT NULL DEFAULT '');
CREATE INDEX IF NOT EXISTS notes_recipient ON notes(recipient, id);
CREATE TABLE IF NOT EXISTS audit(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    at TEXT NOT NULL,
    user TEXT NOT NULL,
    action TEXT NOT NULL,
    file TEXT NOT NULL,
    size INTEGER NOT NULL,
    sha256 TEXT NOT NULL,
    detail TEXT NOT NULL DEFAULT '');
CREATE INDEX IF NOT EXISTS audit_file ON audit(file, id);
CREATE INDEX IF NOT EXISTS audit_user ON audit(user, at);
CREATE TABLE IF NOT EXISTS admin_changes(
    id INTEGER PRIMARY KEY CHECK(id = 1),
    count INTEGER NOT NULL);
INSERT OR IGNORE INTO admin_changes(id, count) VALUES(1, 0);
)sql";

// Stores of version 3 told two senders' mails with one code apart only by recipient and code:
// the mail table is made again with the sender in its key. The other tables get their new
// columns (empty for the rows of before).
const char* const kMailKeyWithSender = R"sql(
ALTER TABLE mail RENAME TO mail_of_version_3;
CREATE TABLE mail(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    recipient TEXT NOT NULL,
    sender TEXT NOT NULL,
    code TEXT NOT NULL,
    frame BLOB NOT NULL,
    queued TEXT NOT NULL,
    reception TEXT,
    UNIQUE(recipient, sender, code));
INSERT INTO mail(id, recipient, sender, code, frame, queued, reception)
    SELECT id, recipient, sender, code, frame, queued, reception FROM mail_of_version_3;
DROP TABLE mail_of_version_3;
)sql";

// Stores of versions 1 and 2 kept the text in the file's row (with an index for the lists, so
// that they did not read the texts). Their files move into the two tables of today, in the
// transaction that opens the store: the old layout stays whole if anything fails.
const char* const kSplitFileTexts = R"sql(
DROP INDEX IF EXISTS files_list;
ALTER TABLE files RENAME TO files_with_texts;
CREATE TABLE files(
    name TEXT PRIMARY KEY COLLATE NOCASE,
    archived INTEGER NOT NULL DEFAULT 0,
    update_date TEXT NOT NULL,
    update_time TEXT NOT NULL,
    holder TEXT);
CREATE TABLE file_texts(
    name TEXT PRIMARY KEY COLLATE NOCASE
        REFERENCES files(name) ON DELETE CASCADE ON UPDATE CASCADE,
    content BLOB NOT NULL);
INSERT INTO files(name, archived, update_date, update_time, holder)
    SELECT name, archived, update_date, update_time, holder FROM files_with_texts;
INSERT INTO file_texts(name, content) SELECT name, content FROM files_with_texts;
DROP TABLE files_with_texts;
)sql";

}  // namespace

std::unique_ptr<SqliteStore> SqliteStore::Open(const std::string& path, std::string& error,
                                               bool durable) {
    if (sodium_init() < 0) {
        error = "libsodium cannot start";
        return nullptr;
    }
    sqlite3* db = nullptr;
    int rc =
        sqlite3_open_v2(path.c_str(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        error = db ? sqlite3_errmsg(db) : "cannot open";
        sqlite3_close(db);
        return nullptr;
    }
    std::unique_ptr<SqliteStore> store(new SqliteStore(db));
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    if (!store->Exec("PRAGMA journal_mode=WAL") ||
        !store->Exec(durable ? "PRAGMA synchronous=FULL" : "PRAGMA synchronous=NORMAL") ||
        !store->Exec("PRAGMA foreign_keys=ON") ||
        // Room for the pages of a few hundred files, so that replacing a text does not read its
        // old pages from disk again; and fewer checkpoints (each one a sync), which then copy a
        // page rewritten many times only once.
        !store->Exec("PRAGMA cache_size=-32768") ||
        !store->Exec("PRAGMA wal_autocheckpoint=4000") || !store->CreateSchema()) {
        error = sqlite3_errmsg(db);
        return nullptr;
    }
    return store;
}

void SqliteStore::Interrupt() {
    sqlite3_interrupt(m_db);
}

SqliteStore::~SqliteStore() {
    sqlite3_close(m_db);
}

bool SqliteStore::Exec(const char* sql) {
    return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool SqliteStore::HasColumn(const char* table, const char* column) {
    SqliteStatement select(m_db, "SELECT 1 FROM pragma_table_info(?) WHERE name = ?");
    select.Bind(1, std::string_view(table)).Bind(2, std::string_view(column));
    return select.Step();
}

bool SqliteStore::CreateSchema() {
    if (!Exec("BEGIN IMMEDIATE")) return false;
    int64_t current = 0;
    bool textInRow = false;
    bool read = false;
    {
        // Finished before the schema changes: a table is not dropped under a running statement.
        SqliteStatement version(m_db, "PRAGMA user_version");
        if (version.Step()) current = version.Int(0);
        read = !version.Failed();
    }
    textInRow = HasColumn("files", "content");
    auto addColumn = [&](const char* table, const char* column, const char* definition) {
        if (!HasColumn(table, "name") && !HasColumn(table, "id")) return true;  // made below
        if (HasColumn(table, column)) return true;
        return Exec(
            ("ALTER TABLE " + std::string(table) + " ADD COLUMN " + column + " " + definition)
                .c_str());
    };
    // Stores of the first version kept no mail yet: their empty mail table is made anew.
    bool ok = read && (current >= 2 || Exec("DROP TABLE IF EXISTS mail")) &&
              (!textInRow || Exec(kSplitFileTexts)) &&
              (current >= 4 || !HasColumn("mail", "id") || Exec(kMailKeyWithSender)) &&
              addColumn("files", "creator", "TEXT") &&
              addColumn("notes", "code", "TEXT NOT NULL DEFAULT ''") &&
              addColumn("audit", "detail", "TEXT NOT NULL DEFAULT ''") && Exec(kSchema) &&
              Exec(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
    if (ok && Exec("COMMIT")) return true;
    Exec("ROLLBACK");
    return false;
}

std::string SqliteStore::IntegrityCheck() {
    SqliteStatement check(m_db, "PRAGMA integrity_check");
    std::string result;
    while (check.Step()) result += (result.empty() ? "" : "\n") + check.Text(0);
    return check.Failed() ? "integrity check failed" : result;
}

template <typename Change>
StoreResult SqliteStore::InTransaction(Change change) {
    if (!Exec("BEGIN IMMEDIATE")) return StoreResult::Failed;
    StoreResult result = change();
    if (result == StoreResult::Ok && Exec("COMMIT")) return result;
    Exec("ROLLBACK");
    return result == StoreResult::Ok ? StoreResult::Failed : result;
}

bool SqliteStore::AddAudit(std::u16string_view user, const char* action, std::u16string_view file,
                           const Stamp& when, std::u16string_view text,
                           std::u16string_view detail) {
    SqliteStatement recent(m_db,
                           "SELECT count(*) FROM audit WHERE user = ? AND at > datetime(?, "
                           "'-1 hour')");
    recent.Bind(1, user).Bind(2, std::string_view(when.iso));
    if (!recent.Step() || recent.Int(0) >= kMaxAuditRowsPerHour) return false;
    SqliteStatement insert(m_db,
                           "INSERT INTO audit(at, user, action, file, size, sha256, detail) "
                           "VALUES(?,?,?,?,?,?,?)");
    insert.Bind(1, std::string_view(when.iso))
        .Bind(2, user)
        .Bind(3, std::string_view(action))
        .Bind(4, file)
        .Bind(5, static_cast<int64_t>(text.size()))
        .Bind(6, std::string_view(text.empty() ? std::string() : Sha256Hex(text)))
        .Bind(7, detail);
    return insert.Run();
}

bool SqliteStore::CountAdminChange() {
    return Exec("UPDATE admin_changes SET count = count + 1 WHERE id = 1");
}

std::optional<SqliteStore::FileState> SqliteStore::StateOf(std::u16string_view name) {
    SqliteStatement select(m_db, "SELECT archived, holder, name FROM files WHERE name = ?");
    select.Bind(1, name);
    if (!select.Step()) return std::nullopt;
    return FileState{select.Int(0) != 0, select.Text16(1), select.Text16(2)};
}

// --- Accounts ---------------------------------------------------------------------------------

bool SqliteStore::SetUser(std::u16string_view name, std::string_view passwordHash) {
    return InTransaction([&] {
               SqliteStatement upsert(m_db,
                                      "INSERT INTO users(name, password_hash) VALUES(?, ?) "
                                      "ON CONFLICT(name) DO UPDATE SET password_hash = "
                                      "excluded.password_hash");
               upsert.Bind(1, name).Bind(2, passwordHash);
               return upsert.Run() && CountAdminChange() ? StoreResult::Ok : StoreResult::Failed;
           }) == StoreResult::Ok;
}

StoreResult SqliteStore::RemoveUser(std::u16string_view name) {
    return InTransaction([&] {
        SqliteStatement remove(m_db, "DELETE FROM users WHERE name = ?");
        remove.Bind(1, name);
        if (!remove.Run()) return StoreResult::Failed;
        if (sqlite3_changes(m_db) == 0) return StoreResult::Refused;
        return CountAdminChange() ? StoreResult::Ok : StoreResult::Failed;
    });
}

int64_t SqliteStore::AdminChanges() {
    SqliteStatement select(m_db, "SELECT count FROM admin_changes WHERE id = 1");
    return select.Step() ? select.Int(0) : -1;
}

std::optional<std::string> SqliteStore::PasswordHash(std::u16string_view name) {
    SqliteStatement select(m_db, "SELECT password_hash FROM users WHERE name = ?");
    select.Bind(1, name);
    if (!select.Step()) return std::nullopt;
    return select.Text(0);
}

std::vector<std::u16string> SqliteStore::Users() {
    SqliteStatement select(m_db, "SELECT name FROM users ORDER BY name");
    std::vector<std::u16string> users;
    while (select.Step()) users.push_back(select.Text16(0));
    return users;
}

// --- Files ------------------------------------------------------------------------------------

std::vector<FileEntry> SqliteStore::ActiveFiles() {
    SqliteStatement select(m_db,
                           "SELECT name, holder, update_date, update_time FROM files "
                           "WHERE archived = 0 ORDER BY name");
    std::vector<FileEntry> files;
    while (select.Step()) {
        files.push_back({select.Text16(0), select.Text16(1), select.Text16(2), select.Text16(3)});
    }
    return files;
}

std::vector<std::u16string> SqliteStore::ArchivedFiles() {
    SqliteStatement select(m_db, "SELECT name FROM files WHERE archived = 1 ORDER BY name");
    std::vector<std::u16string> files;
    while (select.Step()) files.push_back(select.Text16(0));
    return files;
}

std::optional<FileEntry> SqliteStore::ActiveFile(std::u16string_view name) {
    SqliteStatement select(m_db,
                           "SELECT name, holder, update_date, update_time FROM files "
                           "WHERE archived = 0 AND name = ?");
    select.Bind(1, name);
    if (!select.Step()) return std::nullopt;
    return FileEntry{select.Text16(0), select.Text16(1), select.Text16(2), select.Text16(3)};
}

std::optional<std::u16string> SqliteStore::FileText(std::u16string_view name) {
    SqliteStatement select(m_db,
                           "SELECT file_texts.content FROM files JOIN file_texts "
                           "ON file_texts.name = files.name "
                           "WHERE files.archived = 0 AND files.name = ?");
    select.Bind(1, name);
    if (!select.Step()) return std::nullopt;
    return select.Units(0);
}

std::optional<std::u16string> SqliteStore::ImportFile(std::u16string_view user,
                                                      std::u16string_view name, const Stamp& when) {
    std::optional<std::u16string> text;
    InTransaction([&] {
        std::optional<FileState> state = StateOf(name);
        if (!state || state->archived) return StoreResult::Refused;
        text = FileText(name);
        if (!text || !AddAudit(user, "import", state->name, when, *text)) {
            text.reset();
            return StoreResult::Failed;
        }
        return StoreResult::Ok;
    });
    return text;
}

int64_t SqliteStore::ActiveFileCount() {
    SqliteStatement select(m_db, "SELECT count(*) FROM files WHERE archived = 0");
    return select.Step() ? select.Int(0) : 0;
}

int64_t SqliteStore::ActiveFilesCreatedBy(std::u16string_view user) {
    SqliteStatement select(m_db, "SELECT count(*) FROM files WHERE archived = 0 AND creator = ?");
    select.Bind(1, user);
    return select.Step() ? select.Int(0) : 0;
}

StoreResult SqliteStore::Upload(std::u16string_view user, std::u16string_view name,
                                std::u16string_view text, const Stamp& when) {
    return InTransaction([&] {
        std::optional<FileState> state = StateOf(name);
        if (state && (state->archived || state->holder != user)) return StoreResult::Refused;
        SqliteStatement file(m_db, state ? "UPDATE files SET update_date = ?, update_time = ? "
                                           "WHERE name = ?"
                                         : "INSERT INTO files(update_date, update_time, name, "
                                           "holder, creator) VALUES(?,?,?,?,?)");
        file.Bind(1, when.date).Bind(2, when.time).Bind(3, state ? state->name : name);
        if (!state) file.Bind(4, user).Bind(5, user);  // a new file stays with who sent it
        SqliteStatement content(m_db,
                                "INSERT INTO file_texts(name, content) VALUES(?, ?) "
                                "ON CONFLICT(name) DO UPDATE SET content = excluded.content");
        content.Bind(1, state ? state->name : name).BindUnits(2, text);
        if (!file.Run() || !content.Run() || !AddAudit(user, "upload", name, when, text) ||
            (!state && !AddAudit(user, "lock", name, when))) {
            return StoreResult::Failed;
        }
        return StoreResult::Ok;
    });
}

StoreResult SqliteStore::Lock(std::u16string_view user, std::u16string_view name,
                              const Stamp& when) {
    return InTransaction([&] {
        std::optional<FileState> state = StateOf(name);
        if (!state || state->archived) return StoreResult::Refused;
        if (state->holder == user) return StoreResult::Ok;
        if (!state->holder.empty()) return StoreResult::Refused;
        SqliteStatement lock(m_db, "UPDATE files SET holder = ? WHERE name = ?");
        lock.Bind(1, user).Bind(2, name);
        return lock.Run() && AddAudit(user, "lock", state->name, when) ? StoreResult::Ok
                                                                       : StoreResult::Failed;
    });
}

StoreResult SqliteStore::Unlock(std::u16string_view user, std::u16string_view name,
                                const Stamp& when) {
    return InTransaction([&] {
        std::optional<FileState> state = StateOf(name);
        if (!state || state->archived || state->holder != user) return StoreResult::Refused;
        SqliteStatement unlock(m_db, "UPDATE files SET holder = NULL WHERE name = ?");
        unlock.Bind(1, name);
        return unlock.Run() && AddAudit(user, "unlock", state->name, when) ? StoreResult::Ok
                                                                           : StoreResult::Failed;
    });
}

StoreResult SqliteStore::ForceUnlock(std::u16string_view user, std::u16string_view name,
                                     const Stamp& when) {
    return InTransaction([&] {
        std::optional<FileState> state = StateOf(name);
        if (!state || state->archived || state->holder.empty()) return StoreResult::Refused;
        SqliteStatement unlock(m_db, "UPDATE files SET holder = NULL WHERE name = ?");
        unlock.Bind(1, name);
        return unlock.Run() && AddAudit(user, "force unlock", state->name, when, {}, state->holder)
                   ? StoreResult::Ok
                   : StoreResult::Failed;
    });
}

StoreResult SqliteStore::Archive(std::u16string_view user, std::u16string_view name,
                                 const Stamp& when) {
    return InTransaction([&] {
        std::optional<FileState> state = StateOf(name);
        if (!state || state->archived) return StoreResult::Refused;
        if (!state->holder.empty() && state->holder != user) return StoreResult::Refused;
        SqliteStatement archive(m_db,
                                "UPDATE files SET archived = 1, holder = NULL WHERE name = ?");
        archive.Bind(1, name);
        return archive.Run() && AddAudit(user, "archive", state->name, when) ? StoreResult::Ok
                                                                             : StoreResult::Failed;
    });
}

StoreResult SqliteStore::Activate(std::u16string_view user, std::u16string_view name,
                                  const Stamp& when) {
    return InTransaction([&] {
        std::optional<FileState> state = StateOf(name);
        if (!state || !state->archived) return StoreResult::Refused;
        SqliteStatement activate(m_db,
                                 "UPDATE files SET archived = 0, holder = NULL WHERE name = ?");
        activate.Bind(1, name);
        return activate.Run() && AddAudit(user, "activate", state->name, when)
                   ? StoreResult::Ok
                   : StoreResult::Failed;
    });
}

StoreResult SqliteStore::Delete(std::u16string_view user, std::u16string_view name,
                                const Stamp& when) {
    return InTransaction([&] {
        std::optional<FileState> state = StateOf(name);
        if (!state) return StoreResult::Refused;
        SqliteStatement removeText(m_db, "DELETE FROM file_texts WHERE name = ?");
        removeText.Bind(1, name);
        SqliteStatement remove(m_db, "DELETE FROM files WHERE name = ?");
        remove.Bind(1, name);
        return removeText.Run() && remove.Run() && AddAudit(user, "delete", state->name, when) &&
                       CountAdminChange()
                   ? StoreResult::Ok
                   : StoreResult::Failed;
    });
}

// --- Mail -------------------------------------------------------------------------------------

StoreResult SqliteStore::KeepMail(std::u16string_view recipient, std::u16string_view sender,
                                  std::u16string_view code, std::u16string_view frame,
                                  const Stamp& when) {
    return InTransaction([&] {
        SqliteStatement insert(m_db,
                               "INSERT OR IGNORE INTO mail(recipient, sender, code, frame, queued) "
                               "VALUES(?,?,?,?,?)");
        insert.Bind(1, recipient)
            .Bind(2, sender)
            .Bind(3, code)
            .BindUnits(4, frame)
            .Bind(5, std::string_view(when.iso));
        if (!insert.Run()) return StoreResult::Failed;
        return sqlite3_changes(m_db) > 0 ? StoreResult::Ok : StoreResult::Refused;
    });
}

std::vector<QueuedMail> SqliteStore::UndeliveredMail(std::u16string_view recipient, int64_t afterId,
                                                     size_t count) {
    SqliteStatement select(m_db,
                           "SELECT id, sender, code, frame FROM mail WHERE recipient = ? AND "
                           "reception IS NULL AND id > ? ORDER BY id LIMIT ?");
    select.Bind(1, recipient)
        .Bind(2, afterId)
        .Bind(3, static_cast<int64_t>(std::min<size_t>(count, INT64_MAX)));
    std::vector<QueuedMail> mail;
    while (select.Step()) {
        mail.push_back({select.Int(0), select.Text16(1), select.Text16(2), select.Units(3)});
    }
    return mail;
}

int64_t SqliteStore::UndeliveredCount(std::u16string_view recipient) {
    SqliteStatement select(m_db,
                           "SELECT count(*) FROM mail WHERE recipient = ? AND reception IS NULL");
    select.Bind(1, recipient);
    return select.Step() ? select.Int(0) : 0;
}

bool SqliteStore::IsUndelivered(std::u16string_view recipient, std::u16string_view sender,
                                std::u16string_view code) {
    SqliteStatement select(m_db,
                           "SELECT 1 FROM mail WHERE recipient = ? AND sender = ? AND code = ? "
                           "AND reception IS NULL");
    select.Bind(1, recipient).Bind(2, sender).Bind(3, code);
    return select.Step();
}

std::optional<std::u16string> SqliteStore::MarkDelivered(std::u16string_view recipient,
                                                         std::u16string_view code,
                                                         std::u16string_view reception) {
    std::optional<std::u16string> sender;
    InTransaction([&] {
        SqliteStatement select(m_db,
                               "SELECT id, sender FROM mail WHERE recipient = ? AND code = ? AND "
                               "reception IS NULL ORDER BY id LIMIT 1");
        select.Bind(1, recipient).Bind(2, code);
        if (!select.Step()) return StoreResult::Refused;
        int64_t id = select.Int(0);
        sender = select.Text16(1);
        // The text is no longer needed once delivered: only who and when, for the receipt.
        SqliteStatement update(m_db, "UPDATE mail SET reception = ?, frame = x'' WHERE id = ?");
        update.Bind(1, reception).Bind(2, id);
        if (update.Run()) return StoreResult::Ok;
        sender.reset();
        return StoreResult::Failed;
    });
    return sender;
}

std::optional<DeliveredMail> SqliteStore::TakeDelivered(std::u16string_view recipient,
                                                        std::u16string_view code) {
    std::optional<DeliveredMail> mail;
    InTransaction([&] {
        SqliteStatement select(m_db,
                               "SELECT id, sender, reception FROM mail WHERE recipient = ? AND "
                               "code = ? AND reception IS NOT NULL ORDER BY id LIMIT 1");
        select.Bind(1, recipient).Bind(2, code);
        if (!select.Step()) return StoreResult::Refused;
        int64_t id = select.Int(0);
        mail = DeliveredMail{select.Text16(1), select.Text16(2)};
        SqliteStatement remove(m_db, "DELETE FROM mail WHERE id = ?");
        remove.Bind(1, id);
        if (remove.Run()) return StoreResult::Ok;
        mail.reset();
        return StoreResult::Failed;
    });
    return mail;
}

bool SqliteStore::QueueNote(std::u16string_view recipient, std::u16string_view code,
                            std::u16string_view frame, const Stamp& when) {
    return InTransaction([&] {
               SqliteStatement insert(
                   m_db, "INSERT INTO notes(recipient, code, frame, queued) VALUES(?,?,?,?)");
               insert.Bind(1, recipient)
                   .Bind(2, code)
                   .BindUnits(3, frame)
                   .Bind(4, std::string_view(when.iso));
               return insert.Run() ? StoreResult::Ok : StoreResult::Failed;
           }) == StoreResult::Ok;
}

std::vector<WaitingNote> SqliteStore::WaitingNotes(std::u16string_view recipient) {
    SqliteStatement select(m_db, "SELECT id, frame FROM notes WHERE recipient = ? ORDER BY id");
    select.Bind(1, recipient);
    std::vector<WaitingNote> notes;
    while (select.Step()) notes.push_back({select.Int(0), select.Units(1)});
    return notes;
}

bool SqliteStore::ForgetNotes(std::u16string_view recipient, int64_t upToId) {
    return InTransaction([&] {
               SqliteStatement remove(m_db, "DELETE FROM notes WHERE recipient = ? AND id <= ?");
               remove.Bind(1, recipient).Bind(2, upToId);
               return remove.Run() ? StoreResult::Ok : StoreResult::Failed;
           }) == StoreResult::Ok;
}

bool SqliteStore::ForgetReport(std::u16string_view recipient, std::u16string_view code) {
    return InTransaction([&] {
               SqliteStatement remove(m_db,
                                      "DELETE FROM notes WHERE recipient = ? AND code = ? AND "
                                      "code != ''");
               remove.Bind(1, recipient).Bind(2, code);
               return remove.Run() ? StoreResult::Ok : StoreResult::Failed;
           }) == StoreResult::Ok;
}

// --- Audit ------------------------------------------------------------------------------------

std::vector<AuditRow> SqliteStore::Audit(std::u16string_view file, std::string_view since) {
    SqliteStatement select(m_db,
                           "SELECT at, user, action, file, size, sha256, detail FROM audit "
                           "WHERE (?1 = '' OR file = ?1 COLLATE NOCASE) AND at >= ?2 "
                           "ORDER BY id");
    select.Bind(1, file).Bind(2, since);
    std::vector<AuditRow> rows;
    while (select.Step()) {
        rows.push_back({select.Text(0), select.Text16(1), select.Text(2), select.Text16(3),
                        select.Int(4), select.Text(5), select.Text16(6)});
    }
    return rows;
}

}  // namespace pondrel::server
