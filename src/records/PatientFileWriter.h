#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <unordered_set>

#include "platform/UserMessages.h"
#include "records/PatientRecord.h"

namespace pondrel {

class DeviceFileSystem;
class UserMessages;
struct WorkingFolders;

enum class SaveMode { Normal, Backup };

// How much a pass over the set tells the user.
enum class QuietLevel {
    Messages,   // "Save all": the writer's message boxes and the closing notice
    Automatic,  // auto-save and backup: no message box, short notices only
    Silent,     // before a change of location, or an end from outside: no box, no notice
};

// State shared by the saves of one pass over the set (save all, auto-save, backup).
struct SaveState {
    QuietLevel quiet = QuietLevel::Messages;
    bool backupMode = false;  // the pass writes into the backup folder
    bool error = false;       // set by any refusal or failure
    int savedCount = 0;       // records actually written
    // A pass over the whole set: a record whose file already holds its text is not written
    // again, and the folder is synced once by the caller (SyncFolder) instead of after every file.
    bool passOverSet = false;
    // Names of the files of the target folder listed at the start of the pass, spelt as they
    // are: a record found there needs no look at the disk to know that its file exists.
    std::unordered_set<std::u16string> filesPresent;
    // Set by a save that replaced, with the user's consent, a file that another record may hold:
    // the name of that file (the caller stops that record from writing).
    std::u16string replacedFile;
};

enum class SaveOutcome {
    NotInUse,        // nothing to save
    NoName,          // fields 2, 3 and 6 all empty: passed over silently
    IncompleteName,  // one or two of them empty
    InvalidName,     // the file name would hold a character the file system refuses, or is
                     // longer than a file name can be
    Conflict,        // another file already has the new name and the user did not confirm
    SameFile,        // another record of the pass would be written into the same file
    Replaced,        // another patient's save replaced this record's file: no longer written
    Unchanged,       // the file already holds the record's text (a pass over the set)
    CannotCreate,    // the file could not be written
    RefusedTooBig,   // the text is beyond what the reader can open: not written, old file kept
    Written,
    WrittenTooBig,  // written, but the text is too big to be opened again
};

// The device folders a writer works with.
struct PatientFolders {
    std::u16string active;  // target of normal saves
    std::u16string backup;  // target of backup saves; copies deleted on rename ("" = none)

    static PatientFolders Of(const WorkingFolders& folders);
};

// The patient file text of a record, with `key` as the current subfolder key: the folder header,
// the current subfolder's block, then the other subfolder blocks of `rawText`.
std::u16string ComposePatientText(const PatientRecord& record, std::u16string_view key);

// The other subfolder blocks of `rawText` (from its first "¬H" after "¬I" to its end) without the
// block stored under `blockKey`. A block ends with its "¬E", or where the next block begins when
// its "¬E" is missing.
std::u16string OtherSubfolderBlocks(std::u16string_view rawText, std::u16string_view blockKey);

// The problem titles of a journal's head, each followed by "|".
std::u16string ProblemTitleList(std::u16string_view journal);

// True when `name` can name a file inside a folder: not empty, not "." or "..", and without
// "\", "/", ":", "*", "?", '"', "<", ">", "|" or control characters.
bool IsPlainFileName(std::u16string_view name);

// The name of the file a save of `record` writes into (without folder), or "" when it writes
// nothing (not in use, name incomplete). A record writes into its own file (`fileName`) while its
// name differs from it only in case; a renamed or never-saved record into the name made of its
// fields. `renamed` tells the second case.
std::u16string TargetFileName(const PatientRecord& record, bool* renamed = nullptr);

// Writes patient records into patient files. The file system and the messages must outlive
// the writer.
class PatientFileWriter {
public:
    PatientFileWriter(DeviceFileSystem& files, UserMessages& messages, PatientFolders folders);

    // Writes one record (position: its index in the set, shown counted from 1). The file is
    // replaced in one atomic write; the old file of a renamed patient is deleted only after the
    // new one was written. Message boxes are shown only at QuietLevel::Messages, except the
    // warnings about a file too big: a quiet save shows each of them once per file name, so
    // that an automatic save does not stop the doctor at every interval.
    SaveOutcome SavePatient(PatientRecord& record, int position, SaveMode mode, SaveState& state);

private:
    // Shows a too-big warning unless the save is quiet and it was shown for this name before.
    void WarnTooBig(const std::u16string& name, const std::u16string& text, BoxIcon icon,
                    const SaveState& state);

    DeviceFileSystem& m_files;
    UserMessages& m_messages;
    PatientFolders m_folders;
    std::set<std::u16string> m_warnedTooBig;  // folded names warned about by a quiet save
    // The fingerprint (PatientFingerprint) of the record last written into each backup copy, by
    // folded name: a pass over the set writes a copy again only when the record changed (or the
    // copy is gone).
    std::map<std::u16string, uint64_t> m_backupHashes;
};

}  // namespace pondrel
