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
    // The location the file was counted at, if it was.
    std::optional<std::u16string> counted;
    PatientLoadHooks hooks;
    hooks.admit = [&](std::u16string_view text) {
        m_lastFileName = name;
        counted = FilterLocation(text);
        if (!counted) return true;
        m_lastLocation = *counted;
        m_locations.CountPatient(*counted);
        return m_locations.ShouldLoad(*counted);
    };
    hooks.converted = [&](const std::u16string& converted) {
        return WriteConversion(name, converted);
    };
    PatientRecord loaded;
    const LoadResult result = LoadPatientFile(m_files, ActivePath(name), loaded, hooks);
    switch (result.failure) {
        case LoadFailure::None:
            break;
        case LoadFailure::CannotOpen:
            m_messages.ShowBox(
                u"The file " + shownPath + u" can not be opened. Be sure that it is present.",
                u"File load failure 1", BoxButtons::Ok, BoxIcon::Error);
            return false;
        case LoadFailure::TooBig:
            // Reading only the first part and saving it back later would lose the rest.
            m_messages.ShowBox(u"The file " + shownPath + u" is too big to be opened (more than " +
                                   ToText(static_cast<long long>(kMaxPatientFileBytes)) +
                                   u" bytes). It has not been loaded and is left unchanged.",
                               u"File load failure", BoxButtons::Ok, BoxIcon::Error);
            return false;
        case LoadFailure::Empty:
            // Nothing to show: the file stays as it is for the user to look at or restore.
            m_messages.ShowBox(u"The file " + shownPath +
                                   u" is empty. It has not been loaded and is left unchanged.",
                               u"File load failure", BoxButtons::Ok, BoxIcon::Warning);
            return false;
        case LoadFailure::Stopped:
            return false;  // left out by the location filter, or a conversion not to be loaded
        case LoadFailure::NewerVersion:
            m_messages.ShowBox(u"The file " + shownPath +
                                   u" can not be loaded because it's converted in a more recent "
                                   u"version !",
                               u"File load failure", BoxButtons::Ok, BoxIcon::Error);
            return false;
        case LoadFailure::Damaged:
            return HandleDamagedFile(name, result.damage, attempt, counted);
    }
    loaded.fileName = name;
    m_patients.AddNew() = std::move(loaded);
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

bool PatientFileReader::HandleDamagedFile(std::u16string_view name, DamageCode damage, int attempt,
                                          const std::optional<std::u16string>& counted) {
    const std::u16string fileName(name);
    const std::u16string path = ActivePath(name);
    m_messages.ShowBox(u"The record < " + fileName +
                           u" > can not be opened !\r\n\r\nIt's possible that this file was "
                           u"corrupted after a hard reset of your computer while saving.\r\n\r\n"
                           u"Full path of the file: " +
                           FolderPath() + fileName,
                       u"File load failure " + ToText(static_cast<int>(damage)), BoxButtons::Ok,
                       BoxIcon::Warning);

    // Nothing of the damaged file is kept in the set. A set that had no record gets an empty
    // one, not in use, which holds nothing that could be saved over a file.
    PatientRecord* placeholder = nullptr;
    if (m_patients.Count() == 0) placeholder = &m_patients.AddNew();

    const std::u16string backup = JoinPath(m_folders.Backup(), name);
    std::u16string deleteQuestion =
        u"There is no backup file. Do you want to delete the corrupted file < " + fileName +
        u" > ?";
    if (m_files.FileExists(backup)) {
        DateTime saved = m_files.ModificationTime(backup).value_or(DateTime{});
        BoxAnswer answer = m_messages.ShowBox(
            u"Do you want to restore the backup file: " + fileName + u"\r\n\r\nLast saved date: " +
                DisplayDate(saved.year, saved.month, saved.day, m_dateOrder) +
                Format(u" at %d:%d", {saved.hour, saved.minute}),
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
