#include "records/PatientFileWriter.h"

#include "platform/DeviceFileSystem.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"
#include "records/ItemEncoding.h"
#include "records/PatientFileFormat.h"
#include "records/WorkingFolders.h"

namespace pondrel {

namespace {

void AppendItem(std::u16string& text, std::u16string_view item) {
    text += item;
    text += kItemEnd;
}

// AppendItem of StorableText(value), without a copy of the value.
void AppendStorableItem(std::u16string& text, std::u16string_view value) {
    size_t from = 0;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == kItemEnd || value[i] == kBlockMark) {
            text.append(value.substr(from, i - from));
            from = i + 1;
        }
    }
    text.append(value.substr(from));
    text += kItemEnd;
}

std::u16string Number(int value) {
    return ToText(value);
}

std::u16string TooBigWarning(const std::u16string& name) {
    return u"The file <" + name +
           u"> is too big to be saved and will not be able to be opened in the futur.";
}

}  // namespace

PatientFolders PatientFolders::Of(const WorkingFolders& folders) {
    return {std::u16string(WorkingFolders::kActivePatients), folders.Backup()};
}

std::u16string ProblemTitleList(std::u16string_view journal) {
    std::u16string_view head = journal.substr(0, journal.find(u'#'));
    std::u16string titles;
    size_t pos = 0;
    while (pos < head.size()) {
        size_t bar = head.find(u'|', pos);
        if (bar == std::u16string_view::npos) break;
        size_t end = head.find(kHeaderSep, bar + 1);
        if (end == std::u16string_view::npos) end = head.size();
        titles += head.substr(bar + 1, end - bar - 1);
        titles += u'|';
        pos = end + 1;
    }
    return titles;
}

namespace {

// Appends the other subfolder blocks of `rawText` (see OtherSubfolderBlocks) to `out`.
void AppendOtherSubfolderBlocks(std::u16string& out, std::u16string_view rawText,
                                std::u16string_view blockKey) {
    // Blocks follow the identity part; a "¬H" inside the folder header is not one.
    size_t identity = rawText.find(kIdentityMark);
    size_t first = rawText.find(kBlockMarkH, identity == std::u16string_view::npos ? 0 : identity);
    if (first == std::u16string_view::npos) return;
    const std::u16string_view rest = rawText.substr(first);
    std::u16string start = std::u16string(kBlockMarkH) + std::u16string(blockKey) + kItemEnd;
    size_t begin = rest.find(start);
    if (begin == std::u16string_view::npos) {
        out.append(rest);
        return;
    }
    size_t end = rest.find(kBlockEndMark, begin + start.size());
    size_t nextBlock = rest.find(kBlockMarkH, begin + start.size());
    if (end != std::u16string_view::npos &&
        (nextBlock == std::u16string_view::npos || end < nextBlock)) {
        end += kBlockEndMark.size();
    } else {
        end = nextBlock == std::u16string_view::npos ? rest.size() : nextBlock;
    }
    out.append(rest.substr(0, begin));
    out.append(rest.substr(end));
}

}  // namespace

std::u16string OtherSubfolderBlocks(std::u16string_view rawText, std::u16string_view blockKey) {
    std::u16string out;
    AppendOtherSubfolderBlocks(out, rawText, blockKey);
    return out;
}

std::u16string ComposePatientText(const PatientRecord& record, std::u16string_view key) {
    std::u16string journal = StorableText(record.problemJournal);
    std::u16string type = StorableText(record.subfolderType);
    std::u16string text;
    text.reserve(4096 + journal.size() + record.rawText.size());

    // Folder header.
    text += kVersion40Mark;
    if (record.lockState == u"R" || record.lockState == u"W") text += record.lockState;
    text += kItemEnd;
    AppendItem(text, key);
    text += kIdentityMark;
    for (int n = kFirstIdentityField; n < kFirstIdentityField + kIdentityFieldCount; ++n) {
        AppendStorableItem(text, record.Field(n));
    }
    AppendItem(text, Number(record.sex));
    AppendItem(text, std::u16string(kLocationPrefix) + StorableText(record.location));
    AppendItem(text, journal);

    // Current subfolder block.
    text += kBlockMarkH;
    AppendItem(text, key);
    AppendItem(text, SubfolderDateTimeText(record.exit));
    AppendItem(text, Number(record.exitDateSet));
    AppendItem(text, ProblemTitleList(journal));
    AppendItem(text, type);
    AppendItem(text, Number(record.historyStartDay));
    text += kFormMark;
    for (int n = 1; n < kFieldCount; ++n) {
        if (IsStoredFormField(n)) AppendStorableItem(text, record.Field(n));
    }
    text += kDrawingMark;
    for (int j = 1; j <= kDrawingCount; ++j) AppendStorableItem(text, record.Drawing(j));
    text += kOptionsMark;
    AppendItem(text, type);
    AppendItem(text, Number(record.inUse));
    AppendItem(text, Number(record.icon));
    AppendItem(text, Number(record.checked));
    text += kBlockEndMark;

    // The other subfolders, as they were read.
    std::u16string_view blockKey = record.rawTextKey ? *record.rawTextKey : key;
    AppendOtherSubfolderBlocks(text, record.rawText, blockKey);
    return text;
}

bool IsPlainFileName(std::u16string_view name) {
    if (name.empty() || name == u"." || name == u"..") return false;
    for (char16_t c : name) {
        if (c < 0x20 || c == 0x7F) return false;
        switch (c) {
            case u'\\':
            case u'/':
            case u':':
            case u'*':
            case u'?':
            case u'"':
            case u'<':
            case u'>':
            case u'|':
                return false;
            default:
                break;
        }
    }
    return true;
}

PatientFileWriter::PatientFileWriter(DeviceFileSystem& files, UserMessages& messages,
                                     PatientFolders folders)
    : m_files(files), m_messages(messages), m_folders(std::move(folders)) {}

void PatientFileWriter::WarnTooBig(const std::u16string& name, const std::u16string& text,
                                   BoxIcon icon, const SaveState& state) {
    if (state.quiet != QuietLevel::Messages && !m_warnedTooBig.insert(FoldCase(name)).second) {
        return;
    }
    m_messages.ShowBox(text, u"Patient's file too big", BoxButtons::Ok, icon);
}

std::u16string TargetFileName(const PatientRecord& record, bool* renamed) {
    if (renamed) *renamed = false;
    if (record.inUse == 0 || record.fileReplaced) return {};
    const std::u16string lastName = TrimRightSpaces(record.Field(2));
    const std::u16string firstName = TrimRightSpaces(record.Field(3));
    const std::u16string& birthYear = record.Field(6);
    if (lastName.empty() || firstName.empty() || birthYear.empty()) return {};
    const std::u16string newName = lastName + u"_" + firstName + u"_" + birthYear + u".pdr";
    if (!record.fileName.empty() && EqualsIgnoreCase(record.fileName, newName)) {
        return record.fileName;
    }
    if (renamed) *renamed = true;
    return newName;
}

SaveOutcome PatientFileWriter::SavePatient(PatientRecord& record, int position, SaveMode mode,
                                           SaveState& state) {
    if (record.inUse == 0) return SaveOutcome::NotInUse;
    if (record.fileReplaced) return SaveOutcome::Replaced;
    const bool quiet = state.quiet != QuietLevel::Messages;
    for (int n : {2, 3, 120, 121}) {
        if (record.Field(n).ends_with(u' ')) record.SetField(n, TrimRightSpaces(record.Field(n)));
    }

    const std::u16string& lastName = record.Field(2);
    const std::u16string& firstName = record.Field(3);
    const std::u16string& birthYear = record.Field(6);
    const std::u16string baseName = lastName + u"_" + firstName + u"_" + birthYear;
    const std::u16string newName = baseName + u".pdr";
    auto who = [&] {
        return Format(u"Save failure for the patient : n\u00B0%d ", {position + 1}) + lastName +
               u" " + firstName + u" " + birthYear + u".\r\n";
    };

    if (lastName.empty() || firstName.empty() || birthYear.empty()) {
        if (lastName.empty() && firstName.empty() && birthYear.empty()) return SaveOutcome::NoName;
        if (!quiet) {
            m_messages.ShowBox(who() +
                                   u"You have to specify the first name, last name and birth "
                                   u"date of the patient.\r\nThen do again the save process. "
                                   u"Now saving is going on with the other patients.",
                               u"Save failure");
        }
        state.error = true;
        return SaveOutcome::IncompleteName;
    }
    // The name becomes a file name: it must stay a plain name inside the target folder.
    if (!IsPlainFileName(newName)) {
        if (!quiet) {
            m_messages.ShowBox(who() +
                                   u"The last name, the first name and the birth year can not "
                                   u"contain the characters \\ / : * ? \" < > | or control "
                                   u"characters.\r\nCorrect them and do again the save "
                                   u"process. Now saving is going on with the other patients.",
                               u"Save failure", BoxButtons::Ok, BoxIcon::Error);
        }
        state.error = true;
        return SaveOutcome::InvalidName;
    }
    // No file system takes a longer name: such a file could never be created.
    if (!FitsFileNameLimit(newName)) {
        if (!quiet) {
            m_messages.ShowBox(who() + Format(u"The file name made of the last name, the first name "
                                            u"and the birth year is too long: a file name can "
                                            u"not be longer than %d bytes.\r\nShorten the "
                                            u"names and do again the save process. Now saving is "
                                            u"going on with the other patients.",
                                            {static_cast<long long>(kMaxFileNameBytes)}),
                               u"Save failure", BoxButtons::Ok, BoxIcon::Error);
        }
        state.error = true;
        return SaveOutcome::InvalidName;
    }

    const std::u16string& folder = mode == SaveMode::Backup ? m_folders.backup : m_folders.active;
    bool renamed = false;
    // A record writes into its own file while its name differs from it only in case: the file
    // of that name in another case may be another patient's.
    const std::u16string targetName = TargetFileName(record, &renamed);
    const std::u16string target = JoinPath(folder, targetName);
    // A patient never saved, or renamed, must not silently replace the file of another patient
    // of the same name (perhaps one of another location, not loaded), nor that patient's backup
    // copy, which a later "Restore ?" would put back under that name. Whose name it is shows in
    // the active folder, whichever folder this save writes into.
    bool replacing = false;
    if (renamed && m_files.FileExists(JoinPath(m_folders.active, newName))) {
        bool confirmed = false;
        if (!quiet) {
            BoxAnswer answer = m_messages.ShowBox(
                Format(u"Duplicated file name for the patient n\u00B0%d: ", {position + 1}) +
                    u"\r\n      " + newName + u"\r\n      " + record.fileName +
                    u"\r\n\r\nThese files have already the same patient name or contain space "
                    u"characters in their name. Do you wish to replace the old version by the "
                    u"most recent version ?",
                u"Save conflict", BoxButtons::OkCancel);
            confirmed = answer == BoxAnswer::Ok;
        }
        if (!confirmed) {
            state.error = true;
            return SaveOutcome::Conflict;
        }
        replacing = mode == SaveMode::Normal;
    }

    // Whether the target file exists, for a record whose text it may already hold.
    auto present = [&] {
        return state.filesPresent.count(targetName) > 0 || m_files.FileExists(target);
    };
    // The members the text is made of, unchanged since the file was found to hold the text or
    // was written: the text need not even be composed. "Save all" always composes it (and tells
    // again about a text too big).
    const uint64_t fingerprint = PatientFingerprint(record);
    if (state.passOverSet && !renamed && !replacing && state.quiet != QuietLevel::Messages) {
        bool same = false;
        if (mode == SaveMode::Normal) {
            same = record.savedFingerprint == fingerprint;
        } else {
            auto known = m_backupHashes.find(FoldCase(targetName));
            same = known != m_backupHashes.end() && known->second == fingerprint;
        }
        if (same && present()) return SaveOutcome::Unchanged;
    }

    record.subfolderKey = SubfolderKeyOf(record);
    const std::u16string text = ComposePatientText(record, record.subfolderKey);
    // A file the reader cannot take whole would never open again: keep the file as it is (the
    // record stays in memory with its changes) and ask for shorter texts. Shown even when quiet.
    if (!FitsPatientFileLimit(text.size())) {
        WarnTooBig(newName,
                   u"The file <" + newName +
                       u"> is too big to be saved: the previous version of the file is "
                       u"kept.\r\nShorten the texts of this patient (journal, fields) and save "
                       u"again.",
                   BoxIcon::Error, state);
        state.error = true;
        return SaveOutcome::RefusedTooBig;
    }
    // A pass over the set leaves alone a file that already holds the record's text: the text
    // last read from it or written into it (for a backup copy: last written into it).
    const std::u16string backupKey = mode == SaveMode::Backup ? FoldCase(targetName) : u"";
    if (state.passOverSet && !renamed) {
        bool same = false;
        if (mode == SaveMode::Normal) {
            same = text == record.rawText;
            if (same) record.savedFingerprint = fingerprint;
        } else {
            auto known = m_backupHashes.find(backupKey);
            same = known != m_backupHashes.end() && known->second == fingerprint;
        }
        if (same && present()) {
            if (text.size() >= kTooBigTextLength) {
                WarnTooBig(newName, TooBigWarning(newName), BoxIcon::Warning, state);
            }
            return SaveOutcome::Unchanged;
        }
    }
    const std::string bytes = EncodeItemText(text);
    const bool written = state.passOverSet ? m_files.WriteFileFolderUnsynced(target, bytes)
                                           : m_files.WriteFile(target, bytes);
    if (!written) {
        if (!quiet) {
            m_messages.ShowBox(u"Save failure for the patient : " + baseName,
                               u"Save failure. The file seems to be used by another application "
                               u"or is currently in a synchronization process. Try again later.",
                               BoxButtons::Ok, BoxIcon::Error);
        }
        state.error = true;
        return SaveOutcome::CannotCreate;
    }
    ++state.savedCount;
    if (replacing) state.replacedFile = targetName;
    if (mode == SaveMode::Backup) m_backupHashes[backupKey] = fingerprint;

    // Still opened by the reader (the text fits its limit), but near it: the doctor is warned.
    const bool tooBig = text.size() >= kTooBigTextLength;
    if (tooBig) {
        WarnTooBig(newName, TooBigWarning(newName), BoxIcon::Warning, state);
    }

    // The patient's name or year of birth changed: the file under the old name and its backup
    // copy go, now that the new file is safely written.
    if (renamed && !record.fileName.empty() && IsPlainFileName(record.fileName)) {
        std::u16string old = JoinPath(folder, record.fileName);
        if (m_files.FileExists(old)) m_files.DeleteFile(old);
        if (!m_folders.backup.empty()) {
            std::u16string copy = JoinPath(m_folders.backup, record.fileName);
            if (m_files.FileExists(copy)) m_files.DeleteFile(copy);
            m_backupHashes.erase(FoldCase(record.fileName));
        }
    }
    if (mode == SaveMode::Normal) {
        record.fileName = targetName;
        // The file now holds this text: the next pass compares with it, and the other
        // subfolder blocks are taken from it.
        record.rawText = text;
        record.rawTextKey = record.subfolderKey;
        record.savedFingerprint = PatientFingerprint(record);
    }
    return tooBig ? SaveOutcome::WrittenTooBig : SaveOutcome::Written;
}

}  // namespace pondrel
