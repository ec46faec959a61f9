#include "mainform/FieldChanges.h"

#include <algorithm>

#include "charts/PercentileField.h"
#include "journal/BodyMassIndex.h"
#include "journal/IdentityRules.h"
#include "labels/Labels.h"
#include "platform/Clock.h"
#include "platform/UserMessages.h"
#include "records/LocationList.h"
#include "records/PatientRecord.h"
#include "records/PatientSet.h"

namespace pondrel {

namespace {

constexpr int kChartNumber = 200;
constexpr int kAge = 15;
constexpr int kBmi = 95;
constexpr int kIconCount = 24;
constexpr int kIdentityBase = 118;  // fields 120 to 124 are base + 2 to base + 6

bool IsReadOnly(const PatientRecord& record) {
    return record.lockState == u"R";
}

void TellReadOnly(UserMessages& messages) {
    messages.ShowNotice(u"Read only", 1000, true);
}

void TellNotBegun(UserMessages& messages) {
    messages.ShowNotice(std::u16string(kNotBegunNotice), 2000, false);
}

bool HoldsIdentity(const PatientRecord& record) {
    for (int field = 2; field <= 6; ++field) {
        if (record.Field(field).empty()) return false;
    }
    return true;
}

}  // namespace

void FieldChangeResult::Show(int field) {
    if (std::find(shown.begin(), shown.end(), field) == shown.end()) shown.push_back(field);
}

FieldChanges::FieldChanges(PatientSet& patients, LocationList& locations, Clock& clock,
                           UserMessages& messages)
    : m_patients(patients), m_locations(locations), m_clock(clock), m_messages(messages) {}

void FieldChanges::SetLabels(const Labels& labels) {
    m_words = AgeWords::From(labels);
}

void FieldChanges::AddComputedFieldUpdater(ComputedFieldUpdater updater) {
    m_updaters.push_back(std::move(updater));
}

int FieldChanges::MirrorOf(int field) {
    static constexpr std::pair<int, int> kPairs[] = {{2, 120}, {3, 121}, {4, 122}, {5, 123},
                                                     {6, 124}, {10, 46}, {11, 40}, {12, 41},
                                                     {13, 42}, {14, 47}};
    for (const auto& [a, b] : kPairs) {
        if (field == a) return b;
        if (field == b) return a;
    }
    return 0;
}

bool FieldChanges::MayWrite(const PatientRecord& record) {
    if (!IsReadOnly(record)) return true;
    TellReadOnly(m_messages);
    return false;
}

bool MayChangeOutsideIdentity(const PatientRecord& record, UserMessages& messages) {
    if (IsReadOnly(record)) {
        TellReadOnly(messages);
        return false;
    }
    if (record.inUse == 0) {
        TellNotBegun(messages);
        return false;
    }
    return true;
}

bool FieldChanges::ToggleCivility(PatientRecord& record) {
    if (!MayWrite(record)) return false;
    record.sex = record.sex == 0 ? 1 : 0;
    return true;
}

bool FieldChanges::SetIcon(PatientRecord& record, int icon) {
    if (!MayWrite(record)) return false;
    record.icon = ((icon % kIconCount) + kIconCount) % kIconCount;
    return true;
}

std::u16string FieldChanges::AgeOf(const PatientRecord& record) const {
    return IdentityAge(record, m_clock.Now(), m_words);
}

void FieldChanges::Put(PatientRecord& record, int field, std::u16string text,
                       FieldChangeResult& result) {
    record.SetField(field, std::move(text));
    result.Show(field);
}

FieldChangeResult FieldChanges::OnFieldChanged(PatientRecord& record, int field,
                                               std::u16string_view text) {
    FieldChangeResult result;
    if (field < 1 || field >= kFieldCount || record.Field(field) == text) return result;
    if (field == kChartNumber || IsReadOnly(record)) {
        TellReadOnly(m_messages);
        result.Show(field);
        return result;
    }
    const std::u16string previous = record.Field(field);
    record.SetField(field, std::u16string(text));
    if (record.inUse == 0 && (field < 1 || field > 6)) {
        TellNotBegun(m_messages);
        Put(record, field, {}, result);
        return result;
    }
    result.stored = true;
    result.summaries = true;
    React(record, field, previous, result);
    // Begun once the name and the birth date stand after their checks.
    if (record.inUse == 0 && HoldsIdentity(record)) {
        BeginPatient(record, m_locations, m_hospitalisation, m_clock);
        result.begun = result.patientList = result.patientBox = true;
        result.Show(94);
        result.Show(kChartNumber);
    }
    if (record.inUse != 0) {
        for (const ComputedFieldUpdater& update : m_updaters) {
            for (int changed : update(record, field)) result.Show(changed);
        }
    }
    return result;
}

FieldChangeResult FieldChanges::OnFieldLeft(PatientRecord& record, int field,
                                            std::u16string_view caption) {
    if (field < 1 || field >= kFieldCount || field == kChartNumber || record.inUse == 0 ||
        IsReadOnly(record)) {
        return {};
    }
    std::optional<std::u16string> text;
    if (m_curves) {
        text = TextOnLeavingField(field, caption, record, m_units == 1, m_clock.Now(), *m_curves);
    } else {
        text = WithCaptionUnit(caption, record.Field(field));
    }
    if (!text) return {};
    FieldChangeResult result = OnFieldChanged(record, field, *text);
    result.Show(field);
    return result;
}

void FieldChanges::React(PatientRecord& record, int field, const std::u16string& previous,
                         FieldChangeResult& result) {
    switch (field) {
        case 2:
        case 3:
        case 120:
        case 121: {
            const int base = field < 100 ? 0 : kIdentityBase;
            RefuseDuplicate(record, field, base, previous, result);
            Mirror(record, field, result);
            result.patientList = result.patientBox = true;
            break;
        }
        case 4:
        case 5:
        case 122:
        case 123:
            CheckBirthDate(record, field, field < 100 ? 0 : kIdentityBase, result);
            Mirror(record, field, result);
            UpdateAge(record, result);
            result.patientList = true;
            break;
        case 6:
        case 124: {
            const int base = field < 100 ? 0 : kIdentityBase;
            CheckYear(record, field, result);
            CheckBirthDate(record, field, base, result);
            RefuseDuplicate(record, field, base, previous, result);
            Mirror(record, field, result);
            UpdateAge(record, result);
            result.patientList = result.patientBox = true;
            break;
        }
        case 7:
            UpdateBmi(record, result);
            result.patientList = true;
            break;
        case 8:
            UpdateBmi(record, result);
            break;
        case 20:
            result.examHistory = true;
            break;
        case 60:
        case 94:
            result.patientList = true;
            break;
        case 202:
            result.arrangement = true;
            break;
        case 203:
        case 204:
            UpdateAge(record, result);
            result.patientList = true;
            break;
        default:
            if (field >= 79 && field <= 85) result.examHistory = true;
            if ((field >= 86 && field <= 93) || field == 199) {
                result.problemPanel = true;
                result.treatments = field == 91;
                result.actions = field == 93;
            }
            if (MirrorOf(field) != 0) Mirror(record, field, result);
            break;
    }
}

bool FieldChanges::RefuseDuplicate(PatientRecord& record, int field, int base,
                                   const std::u16string& previous, FieldChangeResult& result) {
    if (!IsIdentityTaken(m_patients, record, record.Field(base + 2), record.Field(base + 3),
                         record.Field(base + 6))) {
        return false;
    }
    m_messages.ShowBox(
        u"This patient identity already exist among the active patients. You have to specify "
        u"another identity.",
        u"Identity duplication found");
    Put(record, field, previous, result);
    return true;
}

void FieldChanges::CheckBirthDate(PatientRecord& record, int field, int base,
                                  FieldChangeResult& result) {
    const int offset = field - base;  // 4, 5 or 6
    const DatePart changed = offset == 4   ? DatePart::Day
                             : offset == 5 ? DatePart::Month
                                           : DatePart::Year;
    if (BirthDateMayStand(record.Field(base + 4), record.Field(base + 5), record.Field(base + 6),
                          changed)) {
        return;
    }
    Put(record, field, {}, result);
    m_messages.ShowNotice(u"Date not valid", 1000, false);
}

void FieldChanges::CheckYear(PatientRecord& record, int field, FieldChangeResult& result) {
    std::u16string checked = CheckedYear(record.Field(field), m_clock.Now().year);
    if (checked != record.Field(field)) Put(record, field, std::move(checked), result);
}

void FieldChanges::Mirror(PatientRecord& record, int field, FieldChangeResult& result) {
    const int mirror = MirrorOf(field);
    if (mirror == 0 || record.Field(mirror) == record.Field(field)) return;
    Put(record, mirror, record.Field(field), result);
}

void FieldChanges::UpdateAge(PatientRecord& record, FieldChangeResult& result) {
    std::u16string age = AgeOf(record);
    if (age != record.Field(kAge)) Put(record, kAge, std::move(age), result);
}

void FieldChanges::UpdateBmi(PatientRecord& record, FieldChangeResult& result) {
    std::u16string bmi = ComputeBmi(record.Field(7), record.Field(8), m_units);
    if (bmi != record.Field(kBmi)) Put(record, kBmi, std::move(bmi), result);
}

}  // namespace pondrel
