#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/DateTime.h"
#include "records/DayNumber.h"

namespace pondrel {

class Clock;
class LocationList;

inline constexpr int kFieldCount = 230;
inline constexpr int kDrawingCount = 8;
// The `sex` of a new record until the doctor chooses the civility.
inline constexpr int kSexNotChosen = -1;

// One patient folder in memory: the identity, the journal and the current subfolder of one
// patient file. The other subfolders of the file stay in `rawText` and are written back as they
// are. Plain data; the members keep the order of the file's design.
struct PatientRecord {
    int sex = 0;          // 0 female, 1 male, kSexNotChosen for a new record
    int icon = 0;         // 0..23, icon of the patient list
    int inUse = 0;        // 0 while empty (never saved), 1 once begun or loaded
    int exitDateSet = 0;  // 1 when the exit date of the current subfolder is set
    int checked = 0;      // check box of the patient list
    DayNumber admissionDay = 0;
    DayNumber historyStartDay = 0;
    DateTime admission;
    DateTime exit;
    std::u16string rawText;  // the whole decoded text of the file as last read or written
    std::array<std::u16string, kFieldCount> fields;
    std::u16string problemJournal;
    std::array<std::u16string, kDrawingCount> drawings;  // drawing j (1..8) is drawings[j - 1]
    std::u16string fileName;  // name in the active folder, without folder; empty if never saved
    std::u16string subfolderKey;
    std::u16string lockState = u"W";  // "W" editable here, "R" read only, "" any other letter
    std::u16string location;
    std::u16string subfolderType;  // "Hosp" or "Ambu"
    std::u16string historyPeriod;  // not stored

    // Bookkeeping of the writer: the key under which the current subfolder's block stands in
    // `rawText` (the key it was read under, which may be empty); none for a record not read from
    // a file. The admission date-time or field 202 may change the current key later; the writer
    // still removes the block stored under this key.
    std::optional<std::u16string> rawTextKey;
    // Bookkeeping of the writer: the fingerprint (PatientFingerprint) the record had when its
    // file was last found to hold its text, or was written; none before that. A pass over the
    // set does not even compose the text of a record whose fingerprint is unchanged.
    std::optional<uint64_t> savedFingerprint;
    // Set when the user let another patient's save replace this record's file: the record no
    // longer has a file, is no longer written (it would overwrite that patient) and is read only.
    bool fileReplaced = false;

    // Field n (0..229); out-of-range numbers read as "" and are not written.
    const std::u16string& Field(int n) const;
    void SetField(int n, std::u16string value);
    // Drawing j (1..8); out-of-range numbers read as "" and are not written.
    const std::u16string& Drawing(int j) const;
    void SetDrawing(int j, std::u16string value);
};

// A 64-bit fingerprint of every member the patient file text is made of (the text of `rawText`
// is taken by its place in memory and its length: only loading and saving change it). Equal
// fingerprints mean, but for a chance of 2^-64, the same text.
uint64_t PatientFingerprint(const PatientRecord& record);

// The fixed name of field n (0..229): the default caption of its window on the form. "" for
// field 0 and for numbers out of range.
std::u16string FieldName(int n);

// Field 2 + "_" + field 3 + "_" + field 6 after trailing spaces were removed from fields 2
// and 3 (the base name of the patient file, without extension).
std::u16string PatientBaseName(const PatientRecord& record);
// The patient file name: the base name and ".pdr".
std::u16string PatientFileName(const PatientRecord& record);

// The subfolder key: the six numbers of `admission`, each followed by ",", field 202 as it
// stands (without "¢" and "¬", which cannot be stored), then ",".
std::u16string SubfolderKeyOf(const PatientRecord& record);

// The chart number of a patient begun at `now`: ((day of year × 24 + hour) × 60 + minute) × 60
// + second, in decimal.
std::u16string ChartNumber(const DateTime& now);

// Begins an empty record once its name and birth date are set: in use, placed at the selected
// location (a selection that is one of the four general entries places it at "No location"),
// counted there, chart number, admission day today, type of a new folder, room := location.
// `newFolderIsHospitalisation` is the general setting for new folders.
void BeginPatient(PatientRecord& record, LocationList& locations, bool newFolderIsHospitalisation,
                  Clock& clock);

}  // namespace pondrel
