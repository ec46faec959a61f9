#pragma once

#include <string>

namespace pondrel {

class PatientSet;

// The record navigation of the first page and the "New patient" command, on the patient set.
// The caller commits the shown values before and shows the record after.
class RecordNavigation {
public:
    // "Next" does nothing once the current position (from 1) reaches this.
    static constexpr int kMaxPosition = 10000;

    enum class Move { First, Previous, Next, Last, NewPatient };

    struct Result {
        bool appended = false;  // an empty record was added: the patient list is refreshed
    };

    // "First", "Prev", "Last": the set's own moves. "Next": below position 10000 and when the
    // current record is in use, the set's Next (appending an empty record past the last). "New
    // patient": the last record, and an empty one appended after it when it is in use.
    static Result Apply(PatientSet& patients, Move move);

    // "%d/%d": the current position from 1 and the number of records.
    static std::u16string CounterText(const PatientSet& patients);

    // "Clear check boxes": unchecks every record; the number of records that were checked.
    static int ClearCheckBoxes(PatientSet& patients);
};

}  // namespace pondrel
