#include "tool/PatientFileEdit.h"

#include <cstdio>

#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "records/PatientFileFormat.h"
#include "records/PatientFileLoader.h"
#include "tool/HostFiles.h"

namespace pondrel::tool {

namespace {

// The length of the text the writer would compose for the record now.
size_t ComposedLength(const PatientRecord& record) {
    return ComposePatientText(record, SubfolderKeyOf(record)).size();
}

bool Refuse(const std::string& reason) {
    std::fprintf(stderr, "%s\n", reason.c_str());
    return false;
}

}  // namespace

bool LoadHostPatient(const std::filesystem::path& file, PatientRecord& record) {
    // The host file itself, whatever its name holds; one byte more than the limit tells a file
    // at the limit from a longer one.
    std::string bytes;
    if (!ReadHostFile(file, kMaxPatientFileBytes + 1, bytes)) {
        return Refuse(LoadFailureReason(LoadResult{LoadFailure::CannotOpen}));
    }
    LoadResult result = LoadPatientBytes(bytes, record);
    if (!result.Ok()) return Refuse(LoadFailureReason(result));
    record.fileName = FromUtf8(file.filename().string());
    return true;
}

const char* SaveOutcomeReason(SaveOutcome outcome) {
    switch (outcome) {
        case SaveOutcome::NotInUse:
            return "not in use";
        case SaveOutcome::NoName:
            return "no name";
        case SaveOutcome::IncompleteName:
            return "incomplete name";
        case SaveOutcome::InvalidName:
            return "invalid name";
        case SaveOutcome::Conflict:
            return "save conflict";
        case SaveOutcome::CannotCreate:
            return "cannot create";
        case SaveOutcome::RefusedTooBig:
            return "too big";
        case SaveOutcome::SameFile:
            return "same file as another patient";
        case SaveOutcome::Replaced:
            return "file replaced by another patient";
        case SaveOutcome::Unchanged:
        case SaveOutcome::Written:
        case SaveOutcome::WrittenTooBig:
            break;
    }
    return "";
}

bool SaveWithProgramWriter(DeviceFileSystem& files, PatientRecord& record) {
    StderrMessages messages;
    PatientFileWriter writer(files, messages, PatientFolders{u"\\", u""});
    SaveState state;
    state.quiet = QuietLevel::Automatic;
    SaveOutcome outcome = writer.SavePatient(record, 0, SaveMode::Normal, state);
    if (outcome != SaveOutcome::Written && outcome != SaveOutcome::WrittenTooBig) {
        return Refuse(SaveOutcomeReason(outcome));
    }
    return true;
}

bool PatientFileEdit::Load() {
    m_loaded = LoadHostPatient(m_file, m_record);
    if (m_loaded) m_textLengthBefore = ComposedLength(m_record);
    return m_loaded;
}

bool PatientFileEdit::Save() {
    if (!m_loaded) return Refuse("not loaded");
    if (m_record.lockState == u"R") return Refuse("read only");
    if (m_record.inUse == 0) return Refuse(SaveOutcomeReason(SaveOutcome::NotInUse));
    // The writer names the file after the patient; a file under another name would be
    // replaced by a new one and deleted.
    const std::u16string name = PatientFileName(m_record);
    if (name != m_record.fileName) {
        return Refuse("file name differs from the patient's name: " + ToUtf8(name));
    }
    // The program writes such a file only with the warning that it may not open again: a
    // correction may shrink a file that is too big already, never make one. A text the reader
    // would refuse is never written (a converted version 3.00 text or a rebuilt problem title
    // list can make the text longer than the file was).
    const size_t length = ComposedLength(m_record);
    const bool unreadable = !FitsPatientFileLimit(length);
    if (unreadable || (length >= kTooBigTextLength && length > m_textLengthBefore)) {
        return Refuse("too big: " + std::to_string(length) + " characters");
    }
    HostFileSystem files(FolderOf(m_file));
    return SaveWithProgramWriter(files, m_record);
}

}  // namespace pondrel::tool
