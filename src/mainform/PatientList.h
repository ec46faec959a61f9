#pragma once

// The patient list behind the patient box: one row per patient, or per room of the location's
// room list, in 15 columns, ordered by rooms or sorted by a column.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "journal/Ages.h"
#include "records/DayNumber.h"
#include "records/RoomList.h"
#include "settings/Preferences.h"

namespace pondrel {

class PatientSet;
struct Labels;

inline constexpr std::u16string_view kEmptyBedText = u"-----";

struct PatientListRow {
    enum Column {
        kRoom = 0,    // field 94, with the patient's icon
        kPatient,     // title word, last name, first letter of the first name, birth year
        kHeadDoctor,  // field 60
        kProblem,     // title of the first problem
        kPosition,    // position in the set + 1: the key of the row
        kRoomAgain,
        kTitle,
        kLastName,
        kFirstName,
        kBirthDate,
        kAge,        // ShortAge
        kWeight,     // field 7
        kAdmission,  // day.month.year
        kLocation,
        kChecked,  // label 186 "Checked", or "-"
    };
    int record = -1;  // position of the patient in the set; -1 for an empty bed
    int icon = 0;     // 0 to 23
    bool checked = false;
    std::array<std::u16string, kPatientListColumns> columns;
    // What the date columns sort by: the birth date (days since 1 January 1970; none when the
    // fields give no real date) for the birth date and age columns, the admission date-time
    // (seconds) for the admission column.
    std::optional<int64_t> birthDays;
    int64_t admissionSeconds = 0;

    bool IsEmptyBed() const { return record < 0; }
};

struct PatientListOrder {
    int sortColumn = 0;     // 0: by rooms
    int sortDirection = 0;  // 0 ascending, 1 descending
};

// The rows of the list (RebuildPatientList). By rooms (sort column 0), the rooms of `roomList`
// in their order, location rows left out: each room gets the rows of every patient whose room
// (field 94) and location it is (names ignoring case; a room without location by its name
// alone), or an empty-bed row; then the patients whose room is in no room list, in the set's
// order. By another column: the set's order sorted by the text of that column (numbers within
// texts compared as numbers, letters ignoring case); the birth date, the age and the admission
// by their value (1.12.2022 before 1.5.2023; the youngest first), a patient without a real
// birth date after the others.
std::vector<PatientListRow> BuildPatientList(const PatientSet& patients,
                                             const std::vector<RoomListRow>& roomList,
                                             PatientListOrder order, const Labels& labels,
                                             const AgeWords& words, DateOrder dateOrder,
                                             const DateTime& now);
// The same with room names alone (rooms without location; "->" rows are headings).
std::vector<PatientListRow> BuildPatientList(const PatientSet& patients,
                                             const std::vector<std::u16string>& roomList,
                                             PatientListOrder order, const Labels& labels,
                                             const AgeWords& words, DateOrder dateOrder,
                                             const DateTime& now);

// A tap on a column heading: the first column returns to the room order; the sort column again
// turns the direction; another column sorts by it, ascending.
PatientListOrder TapHeading(PatientListOrder order, int column);

enum class PatientListTap {
    EmptyBed,     // notice "This bed is not taken by a patient"
    ToggleCheck,  // the first column: the patient's check box
    Open,         // another column: the patient is shown and the list hidden
};
PatientListTap TapRow(const PatientListRow& row, int column);

// Column widths as the list takes them from the preferences: below 5 or above 200 become 40.
int ColumnWidth(int stored);

}  // namespace pondrel
