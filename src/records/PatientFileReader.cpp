#include "records/PatientFileReader.h"

#include "platform/DeviceFileSystem.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"
#include "records/ItemEncoding.h"
#include "records/LocationList.h"
#include "records/PatientFileFormat.h"
#include "records/PatientFileLoader.h"
#include "records/PatientFileParser.h"
#include "records/PatientSet.h"
#include "records/Version300Conversion.h"

namespace pondrel {

namespace {

std::u16string FolderPath() {
    return std::u16string(WorkingFolders::kActivePatients) + u"\\";
}

}  // namespace

PatientFileReader::PatientFileReader(DeviceFileSystem& files, UserMessages& messages,
                                     WorkingFolders folders, PatientSet& patients,
                                     LocationList& locations)
    : m_files(files),
      m_messages(messages),
      m_folders(std::move(folders)),
      m_patients(patients),
      m_locations(locations) {}

std::u16string PatientFileReader::ActivePath(std::u16string_view name) const {
    return WorkingFolders::ActiveFile(name);
}

bool PatientFileReader::ReadPatientFile(std::u16string_view name) {
    return Read(name, 0);
}

bool PatientFileReader::Read(std::u16string_view name, int attempt) {
    const std::u16string shownPath = FolderPath() + std::u16string(name);
    std::string bytes;
    switch (ReadPatientBytes(m_files, ActivePath(name), bytes)) {
        case LoadFailure::CannotOpen:
            m_messages.ShowBox(
                u"The file " + shownPath + u" can not be opened. Be sure that it is present.",
                u"File load failure 1", BoxButtons::Ok, BoxIcon::Error);
            return false;
        case LoadFailure::TooBig:
            // Reading only the first part and saving it back later would lose the rest.
            m_messages.ShowBox(u"The file " + shownPath +
                                   u" is too big to be opened (more than 400000 bytes). It has "
                                   u"not been loaded and is left unchanged.",
                               u"File load failure", BoxButtons::Ok, BoxIcon::Error);
            return false;
        default:
            break;
    }
    std::u16string text = DecodeItemText(bytes);
    if (text.empty()) return false;
    m_lastFileName = name;

    std::optional<std::u16string> counted = FilterLocation(text);
    if (counted) {
        m_lastLocation = *counted;
        m_locations.CountPatient(*counted);
        if (!m_locations.ShouldLoad(*counted)) return false;
    }

    const int previousCurrent = m_patients.CurrentIndex();
    bool converted = false;
    if (IsVersion300(text)) {
        std::u16string newText;
        int code = 0;
        if (!ConvertVersion300(text, newText, &code)) {
            return HandleDamagedFile(name, code, -1, attempt, counted);
        }
        if (!WriteConversion(name, newText)) return false;
        text = std::move(newText);
        converted = true;
    }
    if (PatientFileVersion(text) > kNewestReadableVersion) {
        m_messages.ShowBox(u"The file " + shownPath +
                               u" can not be loaded because it's converted in a more recent "
                               u"version !",
                           u"File load failure", BoxButtons::Ok, BoxIcon::Error);
        return false;
    }

    PatientRecord& record = m_patients.AddNew();
    int code = ParseAndKeepPatientText(std::move(text), record, converted);
    if (code != 0) return HandleDamagedFile(name, code, previousCurrent, attempt, counted);
    record.fileName = name;
    return true;
}

bool PatientFileReader::WriteConversion(std::u16string_view name, const std::u16string& converted) {
    const std::u16string shownPath = FolderPath() + std::u16string(name);
    std::string bytes = EncodeItemText(converted);
    // A converted text the reader could not open again is not written over the old file.
    if (bytes.size() <= kMaxPatientFileBytes && !m_files.WriteFile(ActivePath(name), bytes)) {
        m_messages.ShowBox(u"Conversion of <" + shownPath + u"> file failure !", u"Save failure",
                           BoxButtons::Ok, BoxIcon::Error);
        return false;
    }
    if (converted.size() >= kTooBigTextLength) {
        m_messages.ShowBox(
            u"The converted file is too big to be saved and will not be able to "
            u"be opened in the futur.",
            u"Patient's file too big", BoxButtons::Ok, BoxIcon::Warning);
        return false;
    }
    return true;
}

bool PatientFileReader::HandleDamagedFile(std::u16string_view name, int code, int previousCurrent,
                                          int attempt,
                                          const std::optional<std::u16string>& counted) {
    const std::u16string fileName(name);
    const std::u16string path = ActivePath(name);
    m_messages.ShowBox(u"The record < " + fileName +
                           u" > can not be opened !\r\n\r\nIt's possible that this file was "
                           u"corrupted after a hard reset of your computer while saving.\r\n\r\n"
                           u"Full path of the file: " +
                           FolderPath() + fileName,
                       u"File load failure " + ToText(code), BoxButtons::Ok, BoxIcon::Warning);

    // The record made for the damaged file goes before anything is read again. When it is the
    // only record it stays, emptied, so that no part of the damaged file can be saved later.
    PatientRecord* placeholder = nullptr;
    if (previousCurrent >= 0) {
        PatientRecord* damaged = m_patients.At(m_patients.Count() - 1);
        if (m_patients.Count() >= 2) {
            m_patients.RemoveAt(m_patients.Count() - 1);
            m_patients.SetCurrent(previousCurrent);
        } else if (damaged) {
            PatientRecord empty;
            empty.admission = damaged->admission;
            empty.exit = damaged->exit;
            *damaged = std::move(empty);
            placeholder = damaged;
        }
    }

    const std::u16string backup = JoinPath(m_folders.Backup(), name);
    std::u16string deleteQuestion =
        u"There is no backup file. Do you want to delete the corrupted file < " + fileName +
        u" > ?";
    if (m_files.FileExists(backup)) {
        DateTime saved = m_files.ModificationTime(backup).value_or(DateTime{});
        BoxAnswer answer = m_messages.ShowBox(
            u"Do you want to restore the backup file: " + fileName + u"\r\n\r\nLast saved date: " +
                Format(u"%d.%d.%d at %d:%d",
                       {saved.day, saved.month, saved.year, saved.hour, saved.minute}),
            u"Restore ?", BoxButtons::YesNo, BoxIcon::Question);
        // The backup replaces the damaged file in one atomic copy and is then removed from the
        // backup folder (it has moved); a backup that is damaged too is not offered again.
        if (answer == BoxAnswer::Yes && attempt == 0 && m_files.CopyFile(backup, path)) {
            m_files.DeleteFile(backup);
            // The restored file is counted at its own location when it is read.
            if (counted) m_locations.UncountPatient(*counted);
            if (!Read(name, attempt + 1)) return false;
            // The restored record takes the place of the empty one kept for the damaged file.
            if (placeholder && m_patients.Count() >= 2) {
                PatientRecord* restored = m_patients.Current();
                m_patients.RemoveAt(m_patients.IndexOf(placeholder));
                m_patients.SetCurrent(m_patients.IndexOf(restored));
            }
            return true;
        }
        m_messages.ShowBox(
            u"You can restore the backup file manualy by copying it from the "
            u"<Backup> folder to the <PD_ActivePatients> folder.\r\n\r\nLocation "
            u"of the backup file: < " +
                m_folders.Backup() + u"\\" + fileName + u" >",
            u"Continue", BoxButtons::Ok, BoxIcon::Warning);
        deleteQuestion = u"Do you want to delete the corrupted file < " + fileName + u" > ?";
    }
    if (m_messages.ShowBox(deleteQuestion, u"Delete ?", BoxButtons::YesNo, BoxIcon::Question) ==
        BoxAnswer::Yes) {
        m_files.DeleteFile(path);
        m_messages.ShowBox(
            u"The corrupted file file has been deleted.The software will continue "
            u"now to load the other files.",
            u"Continue", BoxButtons::Ok, BoxIcon::Warning);
    } else {
        m_messages.ShowBox(u"The software will continue now to load the other files.", u"Continue",
                           BoxButtons::Ok, BoxIcon::Warning);
    }
    return false;
}

}  // namespace pondrel
