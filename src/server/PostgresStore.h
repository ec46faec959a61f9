#pragma once

#include <memory>
#include <string>

#include "server/PgConnection.h"
#include "server/ServerStore.h"

namespace pondrel::server {

// The store in a PostgreSQL database, which several server instances may share: every change is
// one transaction that locks the rows it reads (a lock taken through one instance is honoured by
// all), with its audit row. A lost connection fails the change under way (the client is told,
// and keeps his text); the next request opens the connection again. Used from one thread at a
// time.
class PostgresStore final : public ServerStore {
public:
    static constexpr int64_t kSchemaVersion = 4;

    // True for an address this store takes ("postgresql://..." or "postgres://...").
    static bool IsAddress(std::string_view address);
    // Connects and creates or brings up to date the schema; none, with `error` set, when it
    // cannot (a schema newer than this program knows is refused, not touched).
    static std::unique_ptr<PostgresStore> Open(const std::string& address, std::string& error);
    // Another connection to the database of this store, for the threads that run the server's
    // changes (StorePool): the schema is already there, it listens to nothing, and its changes
    // count as this store's own (ChangedElsewhere does not report them).
    std::unique_ptr<PostgresStore> OpenWorker(const std::string& address, std::string& error) const;

    PgConnection& Connection() { return *m_db; }

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
    bool ChangedElsewhere() override;
    void Interrupt() override { m_db->Cancel(); }

private:
    PostgresStore(std::unique_ptr<PgConnection> db, std::string token)
        : m_db(std::move(db)), m_token(std::move(token)) {}
    bool CreateSchema(std::string& error);
    // Runs `change` in one transaction; it returns Ok to commit. A change of the files tells the
    // other servers on its commit.
    template <typename Change>
    StoreResult InTransaction(Change change, bool filesChange = false);
    bool AddAudit(std::u16string_view user, const char* action, std::u16string_view file,
                  const Stamp& when, std::u16string_view text = {},
                  std::u16string_view detail = {});
    bool CountAdminChange();
    struct FileState {
        bool archived = false;
        std::u16string holder;
        std::u16string name;  // as stored
    };
    // The state of a file, its row locked until the transaction ends; none when unknown (or
    // when the store failed: `failed` tells).
    std::optional<FileState> LockedStateOf(std::u16string_view name, bool& failed);
    // Runs `change` on the locked state of a known file in one transaction of the files (an
    // unknown file is refused, a failed read fails).
    template <typename Change>
    StoreResult ChangeKnownFile(std::u16string_view name, Change change);
    // Runs `statement`, whose only parameter is the file's key.
    bool RunOnFile(const char* statement, std::u16string_view name);

    std::unique_ptr<PgConnection> m_db;
    // Sent with the notice of each change of the files: the server's own changes, made through
    // any of its connections, carry it.
    std::string m_token;
};

}  // namespace pondrel::server
