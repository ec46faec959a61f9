#include "mainform/RecordNavigation.h"

#include "platform/Text.h"
#include "records/PatientSet.h"

namespace pondrel {

RecordNavigation::Result RecordNavigation::Apply(PatientSet& patients, Move move) {
    Result result;
    const int before = patients.Count();
    switch (move) {
        case Move::First:
            patients.First();
            break;
        case Move::Previous:
            patients.Previous();
            break;
        case Move::Last:
            patients.Last();
            break;
        case Move::Next: {
            const PatientRecord* current = patients.Current();
            if (patients.CurrentNumber() < kMaxPosition && current && current->inUse != 0) {
                patients.Next();
            }
            break;
        }
        case Move::NewPatient: {
            const PatientRecord* last = patients.Last();
            if (!last || last->inUse != 0) patients.Next();
            break;
        }
    }
    result.appended = patients.Count() > before;
    return result;
}

std::u16string RecordNavigation::CounterText(const PatientSet& patients) {
    return Format(u"%d/%d", {patients.CurrentNumber(), patients.Count()});
}

int RecordNavigation::ClearCheckBoxes(PatientSet& patients) {
    int cleared = 0;
    for (int i = 0; i < patients.Count(); ++i) {
        PatientRecord* record = patients.At(i);
        if (record->checked != 0) ++cleared;
        record->checked = 0;
    }
    return cleared;
}

}  // namespace pondrel
