#pragma once

// What happens when a field of the main form changes (every field window, the task panel, the
// quick notes, the form choice): the read-only and not-begun rules, the mirrored fields, the
// checks of the identity, and the computed fields (age, body-mass index). It is also the one
// path by which the form writes into a record: civility and icon go through it too, so the
// read-only state "R" of a folder held by another user is honoured everywhere.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/Ages.h"

namespace pondrel {

class Clock;
class GrowthCurves;
class LocationList;
class PatientSet;
class UserMessages;
struct Labels;
struct PatientRecord;

// Why a record not begun takes no text but its name and birth date.
inline constexpr std::u16string_view kNotBegunNotice =
    u"Set first the patient's name and birth date";

// What the form must do after a change.
struct FieldChangeResult {
    bool stored = false;  // the new text is in the record
    // Fields whose windows must show the record's value again: the changed field when it was
    // refused, corrected or put back, its mirror, the computed fields.
    std::vector<int> shown;
    bool begun = false;         // the record was begun: it has a room, a chart number...
    bool patientList = false;   // the patient list shows something that changed
    bool patientBox = false;    // the name, birth year or civility changed
    bool summaries = false;     // the summary pages are out of date
    bool examHistory = false;   // fields 20, 79 to 85: the problem panel's exams button
    bool problemPanel = false;  // fields 86 to 93, 199: the problem panel commits
    bool treatments = false;    // field 91
    bool actions = false;       // field 93
    bool arrangement = false;   // field 202: the patient's arrangement changed

    void Show(int field);
};

// Keeps a computed field up to date: called after every change accepted into a begun record,
// with the number of the changed field; returns the fields it changed in the record (the
// growth percentiles of weight, height and head circumference, for one).
using ComputedFieldUpdater = std::function<std::vector<int>(PatientRecord& record, int changed)>;

class FieldChanges {
public:
    // Everything must outlive this object.
    FieldChanges(PatientSet& patients, LocationList& locations, Clock& clock,
                 UserMessages& messages);
    FieldChanges(const FieldChanges&) = delete;
    FieldChanges& operator=(const FieldChanges&) = delete;

    // The age words, from the labels file.
    void SetLabels(const Labels& labels);
    // 0 metric, 1 pounds and inches (the regional setting).
    void SetUnits(int units) { m_units = units; }
    // The general setting for new folders: hospitalisation or ambulatory.
    void SetNewFolderIsHospitalisation(bool hospitalisation) {
        m_hospitalisation = hospitalisation;
    }
    void AddComputedFieldUpdater(ComputedFieldUpdater updater);
    // The growth curves the band of a child's measurement is read from (must outlive this
    // object); without them a field left gets its unit only.
    void SetGrowthCurves(const GrowthCurves* curves) { m_curves = curves; }

    // The text of field `field` (1 to 229) of `record` became `text` on the form.
    //  - Unchanged text: nothing.
    //  - Read-only folder (lock "R") or field 200: "Read only" notice, the field shows its
    //    stored value again.
    //  - A record not begun takes only fields 1 to 6; another field is emptied with the notice
    //    "Set first the patient's name and birth date". Once 2 to 6 hold a name and birth date
    //    that passed their checks, the record is begun.
    //  - Then the reactions of the field: year and birth date checks, identity duplicates (the
    //    field gets its previous value back), mirrored fields, age, body-mass index, and what
    //    the form must refresh.
    FieldChangeResult OnFieldChanged(PatientRecord& record, int field, std::u16string_view text);

    // The user left the window of `field` (its caption as the form shows it is `caption`): the
    // unit of the caption ("Weight [kg]") is appended to a text without it, and a child's
    // weight, height or head circumference gets its growth band ("3.5kg (P25-P50)"). The new
    // text goes through OnFieldChanged. Nothing for a record not begun, a folder read only or
    // the chart number: the user typed nothing there, so nothing is refused or lost.
    FieldChangeResult OnFieldLeft(PatientRecord& record, int field, std::u16string_view caption);

    // Whether the form may write into `record`; otherwise the "Read only" notice is shown.
    bool MayWrite(const PatientRecord& record);
    // The civility buttons: `sex` 0 <-> 1. False when refused.
    bool ToggleCivility(PatientRecord& record);
    // The icon picker: `icon` (kept within 0 to 23). False when refused.
    bool SetIcon(PatientRecord& record, int icon);

    // Field 15 as the identity page shows it now.
    std::u16string AgeOf(const PatientRecord& record) const;
    const AgeWords& Words() const { return m_words; }

    // The other field of a mirrored pair (2-120 ... 6-124, 10-46, 11-40, 12-41, 13-42, 14-47),
    // 0 for a field without one.
    static int MirrorOf(int field);

private:
    void React(PatientRecord& record, int field, const std::u16string& previous,
               FieldChangeResult& result);
    bool RefuseDuplicate(PatientRecord& record, int field, int base, const std::u16string& previous,
                         FieldChangeResult& result);
    void CheckBirthDate(PatientRecord& record, int field, int base, FieldChangeResult& result);
    void CheckYear(PatientRecord& record, int field, FieldChangeResult& result);
    void Mirror(PatientRecord& record, int field, FieldChangeResult& result);
    void UpdateAge(PatientRecord& record, FieldChangeResult& result);
    void UpdateBmi(PatientRecord& record, FieldChangeResult& result);
    void Put(PatientRecord& record, int field, std::u16string text, FieldChangeResult& result);

    PatientSet& m_patients;
    LocationList& m_locations;
    Clock& m_clock;
    UserMessages& m_messages;
    AgeWords m_words;
    int m_units = 0;
    bool m_hospitalisation = true;
    std::vector<ComputedFieldUpdater> m_updaters;
    const GrowthCurves* m_curves = nullptr;
};

// The rule of every change of a record outside its identity fields 1 to 6, in a field or not:
// a folder read only (lock "R") refuses it with the notice "Read only", a record not begun
// (no name and birth date yet) with "Set first the patient's name and birth date". True when
// the change may be made.
bool MayChangeOutsideIdentity(const PatientRecord& record, UserMessages& messages);

}  // namespace pondrel
