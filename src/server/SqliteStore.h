#pragma once

#include <memory>
#include <string>

#include "server/ServerStore.h"

struct sqlite3;

namespace pondrel::server {

// The store in one SQLite database with a write-ahead log. A crash of the server process never
// loses a committed change. By default commits are not synced to disk one by one: a power failure
// may undo the changes of the last moments, but never tears one (the database stays consistent).
// `durable` syncs every commit. Used from one thread at a time; other processes (the account
// commands) may use the same file meanwhile.
class SqliteStore final : public ServerStore {
public:
    static constexpr const char* kFileName = "pondrel-server.db";

    // Opens or creates the database; none, with `error` set, when it cannot.
    static std::unique_ptr<SqliteStore> Open(const std::string& path, std::string& error,
                                             bool durable = false);
    ~SqliteStore() override;
    SqliteStore(const SqliteStore&) = delete;
    SqliteStore& operator=(const SqliteStore&) = delete;

    // "ok" when SQLite finds the database sound.
    std::string IntegrityCheck();

    // Ends the statement under way on another thread (it fails and stores nothing).
    void Interrupt() override;

    bool SetUser(std::u16string_view name, std::string_view passwordHash) override;
    StoreResult RemoveUser(std::u16string_view name) override;
    std::optional<std::string> PasswordHash(std::u16string_view name) override;
    std::vector<std::u16string> Users() override;
    int64_t AdminChanges() override;

    std::vector<FileEntry> ActiveFiles() override;
    std::vector<std::u16string> ArchivedFiles() override;
    std::optional<FileEntry> ActiveFile(std::u16string_view name) override;
    std::optional<std::u16string> FileText(std::u16string_view name) override;
    std::optional<std::u16string> ImportFile(std::u16string_view user, std::u16string_view name,
                                             const Stamp& when) override;
    int64_t ActiveFileCount() override;
    int64_t ActiveFilesCreatedBy(std::u16string_view user) override;

    StoreResult Upload(std::u16string_view user, std::u16string_view name, std::u16string_view text,
                       const Stamp& when) override;
    StoreResult Lock(std::u16string_view user, std::u16string_view name,
                     const Stamp& when) override;
    StoreResult Unlock(std::u16string_view user, std::u16string_view name,
                       const Stamp& when) override;
    StoreResult ForceUnlock(std::u16string_view user, std::u16string_view name,
                            const Stamp& when) override;
    StoreResult Archive(std::u16string_view user, std::u16string_view name,
                        const Stamp& when) override;
    StoreResult Activate(std::u16string_view user, std::u16string_view name,
                         const Stamp& when) override;
    StoreResult Delete(std::u16string_view user, std::u16string_view name,
                       const Stamp& when) override;

    StoreResult KeepMail(std::u16string_view recipient, std::u16string_view sender,
                         std::u16string_view code, std::u16string_view frame,
                         const Stamp& when) override;
    std::vector<QueuedMail> UndeliveredMail(std::u16string_view recipient, int64_t afterId = 0,
                                            size_t count = SIZE_MAX) override;
    int64_t UndeliveredCount(std::u16string_view recipient) override;
    bool IsUndelivered(std::u16string_view recipient, std::u16string_view sender,
                       std::u16string_view code) override;
    std::optional<std::u16string> MarkDelivered(std::u16string_view recipient,
                                                std::u16string_view code,
                                                std::u16string_view reception) override;
    std::optional<DeliveredMail> TakeDelivered(std::u16string_view recipient,
                                               std::u16string_view code) override;
    bool QueueNote(std::u16string_view recipient, std::u16string_view code,
                   std::u16string_view frame, const Stamp& when) override;
    std::vector<WaitingNote> WaitingNotes(std::u16string_view recipient) override;
    bool ForgetNotes(std::u16string_view recipient, int64_t upToId) override;
    bool ForgetReport(std::u16string_view recipient, std::u16string_view code) override;

    std::vector<AuditRow> Audit(std::u16string_view file, std::string_view since) override;

private:
    explicit SqliteStore(sqlite3* db) : m_db(db) {}
    bool Exec(const char* sql);
    bool CreateSchema();
    // Runs `change` in one transaction; it returns Ok to commit.
    template <typename Change>
    StoreResult InTransaction(Change change);
    bool HasColumn(const char* table, const char* column);
    // False when the store failed or the user passed kMaxAuditRowsPerHour.
    bool AddAudit(std::u16string_view user, const char* action, std::u16string_view file,
                  const Stamp& when, std::u16string_view text = {},
                  std::u16string_view detail = {});
    bool CountAdminChange();
    // The state of a file: none when unknown.
    struct FileState {
        bool archived = false;
        std::u16string holder;
        std::u16string name;  // as stored
    };
    std::optional<FileState> StateOf(std::u16string_view name);

    sqlite3* m_db;
};

}  // namespace pondrel::server
