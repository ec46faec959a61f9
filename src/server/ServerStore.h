#pragma once

// What the synchronisation server keeps: user accounts, the active and archived patient files
// with their update date and time and the lock holder of each, the mail waiting for users who
// are offline, and the audit trail. Every change is one transaction: after a crash a file is
// either its old or its new version, and a lock never exists without its file (the holder is a
// column of the file). SqliteStore keeps them for one server; PostgresStore for one or several
// servers sharing a database.

#include <cstdint>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pondrel::server {

// When something happened, as the server's clock tells it.
struct Stamp {
    std::u16string date;  // "7.3.2006", as the lists carry it
    std::u16string time;  // "09:05:00"
    std::string iso;      // "2006-03-07 09:05:00", for the audit trail
};

// A patient file on the server, named without its extension.
struct FileEntry {
    std::u16string name;
    std::u16string holder;  // empty when nobody holds the lock
    std::u16string date;
    std::u16string time;
    friend bool operator==(const FileEntry&, const FileEntry&) = default;
};

enum class StoreResult {
    Ok,
    Refused,  // the rules forbid it (held by another user, unknown file...)
    Failed,   // the store could not do it
};

struct QueuedMail {
    int64_t id = 0;  // grows with each mail kept
    std::u16string sender;
    std::u16string code;
    std::u16string frame;
};

// A report or receipt waiting for its user.
struct WaitingNote {
    int64_t id = 0;
    std::u16string frame;
};

struct DeliveredMail {
    std::u16string sender;
    std::u16string reception;  // "date-time" as the recipient reported it
};

struct AuditRow {
    std::string at;  // ISO date and time
    std::u16string user;
    // upload, lock, unlock, force unlock, archive, activate, import, delete
    std::string action;
    std::u16string file;
    int64_t size = 0;       // characters of the stored (or imported) text
    std::string sha256;     // of that text (UTF-16LE), hexadecimal; empty when none
    std::u16string detail;  // the previous holder of a forced unlock; else empty
};

// Most audit rows one user may cause in one hour: beyond it his changes and imports are refused
// (the trail stays whole, and a client in a loop cannot fill the disk).
inline constexpr int64_t kMaxAuditRowsPerHour = 6000;

class ServerStore {
public:
    virtual ~ServerStore() = default;

    // Accounts. SetUser adds the user or replaces his password hash.
    virtual bool SetUser(std::u16string_view name, std::string_view passwordHash) = 0;
    virtual StoreResult RemoveUser(std::u16string_view name) = 0;
    virtual std::optional<std::string> PasswordHash(std::u16string_view name) = 0;
    virtual std::vector<std::u16string> Users() = 0;
    // Counts the changes of the administration commands (accounts added, removed or given a new
    // password; files deleted), which run beside the server: it looks at the count now and then
    // and, when it moved, checks its online users and reads its lists again.
    virtual int64_t AdminChanges() = 0;

    // Lists, sorted by name.
    virtual std::vector<FileEntry> ActiveFiles() = 0;
    virtual std::vector<std::u16string> ArchivedFiles() = 0;
    virtual std::optional<FileEntry> ActiveFile(std::u16string_view name) = 0;
    // The text of an active file.
    virtual std::optional<std::u16string> FileText(std::u16string_view name) = 0;
    // The same, read for a user, with its audit row ("import"): none when unknown or refused.
    virtual std::optional<std::u16string> ImportFile(std::u16string_view user,
                                                     std::u16string_view name,
                                                     const Stamp& when) = 0;
    // Active files in all, and those of them that `user` sent first.
    virtual int64_t ActiveFileCount() = 0;
    virtual int64_t ActiveFilesCreatedBy(std::u16string_view user) = 0;

    // Changes. An upload is accepted from the lock holder, or for a file the server does not
    // know at all (which the uploader then holds, with an audit row for that lock too); anything
    // else is refused, never overwritten.
    virtual StoreResult Upload(std::u16string_view user, std::u16string_view name,
                               std::u16string_view text, const Stamp& when) = 0;
    // Lock a free file (or one the user holds already).
    virtual StoreResult Lock(std::u16string_view user, std::u16string_view name,
                             const Stamp& when) = 0;
    // Unlock a file the user holds.
    virtual StoreResult Unlock(std::u16string_view user, std::u16string_view name,
                               const Stamp& when) = 0;
    // Unlock a file whoever holds it (the audit row names the previous holder).
    virtual StoreResult ForceUnlock(std::u16string_view user, std::u16string_view name,
                                    const Stamp& when) = 0;
    // Archive an active file nobody else holds; activate an archived one (free).
    virtual StoreResult Archive(std::u16string_view user, std::u16string_view name,
                                const Stamp& when) = 0;
    virtual StoreResult Activate(std::u16string_view user, std::u16string_view name,
                                 const Stamp& when) = 0;
    // Delete a file (active or archived) for good; an administration change.
    virtual StoreResult Delete(std::u16string_view user, std::u16string_view name,
                               const Stamp& when) = 0;

    // Mail: kept for its recipient from its arrival until he read it. A mail (recipient, sender
    // and code) already kept is Refused. Undelivered mail is sent again at every log-in of its
    // recipient until he acknowledged it.
    virtual StoreResult KeepMail(std::u16string_view recipient, std::u16string_view sender,
                                 std::u16string_view code, std::u16string_view frame,
                                 const Stamp& when) = 0;
    // Undelivered mail, oldest first: at most `count` of them, after the mail `afterId`.
    virtual std::vector<QueuedMail> UndeliveredMail(std::u16string_view recipient,
                                                    int64_t afterId = 0,
                                                    size_t count = SIZE_MAX) = 0;
    virtual int64_t UndeliveredCount(std::u16string_view recipient) = 0;
    virtual bool IsUndelivered(std::u16string_view recipient, std::u16string_view sender,
                               std::u16string_view code) = 0;
    // The recipient acknowledged the mail, received at `reception` ("date-time"): its sender;
    // none for a mail not kept or acknowledged before. Of two senders' mails with one code, the
    // older is acknowledged first.
    virtual std::optional<std::u16string> MarkDelivered(std::u16string_view recipient,
                                                        std::u16string_view code,
                                                        std::u16string_view reception) = 0;
    // The recipient read it: its sender and reception, and the mail is forgotten.
    virtual std::optional<DeliveredMail> TakeDelivered(std::u16string_view recipient,
                                                       std::u16string_view code) = 0;
    // Reports and receipts for a user who is offline, handed over at each of his log-ins until
    // his program confirmed them: a delivery report by its code, or all of those sent up to a
    // point (ForgetNotes).
    virtual bool QueueNote(std::u16string_view recipient, std::u16string_view code,
                           std::u16string_view frame, const Stamp& when) = 0;
    virtual std::vector<WaitingNote> WaitingNotes(std::u16string_view recipient) = 0;
    virtual bool ForgetNotes(std::u16string_view recipient, int64_t upToId) = 0;
    virtual bool ForgetReport(std::u16string_view recipient, std::u16string_view code) = 0;

    // The audit trail, oldest first; an empty file or date selects all.
    virtual std::vector<AuditRow> Audit(std::u16string_view file, std::string_view since) = 0;

    // True when another server sharing this store changed its files (or their locks) since the
    // last call, or when that cannot be known (the store was out of reach): the lists are read
    // again. A store of one server alone never says so.
    virtual bool ChangedElsewhere() { return false; }
    // From another thread, when the server stops: ends the change under way, which then fails
    // and stores nothing. A store whose changes cannot wait long does nothing.
    virtual void Interrupt() {}
};

}  // namespace pondrel::server
