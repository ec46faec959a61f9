#include "records/PatientRecord.h"

#include "platform/Clock.h"
#include "platform/Text.h"
#include "records/LocationList.h"
#include "records/PatientFileFormat.h"
#include "records/ReservedCharacters.h"

namespace pondrel {

namespace {

const std::u16string kEmpty;

// Names of fields 0..99; the ranges 100..119, 141..198 and 203..229 are numbered names.
constexpr std::u16string_view kFirstNames[100] = {u"",
                                                  u"Done by",
                                                  u"Last name",
                                                  u"First name",
                                                  u"D",
                                                  u"M",
                                                  u" Y",
                                                  u"Weight",
                                                  u"Height",
                                                  u"T\u00B0",
                                                  u"Resp freq",
                                                  u"Systolic P",
                                                  u"Diastolic P",
                                                  u"Pulse",
                                                  u"O2 Sat (%)",
                                                  u"Age",
                                                  u"GS",
                                                  u"Corpulence",
                                                  u"Muscular state",
                                                  u"Skin",
                                                  u"ECG",
                                                  u"Thyroid",
                                                  u"Lymphatic adenopathy",
                                                  u"Breast",
                                                  u"Locomotor system",
                                                  u"Oral cavity",
                                                  u"Ears",
                                                  u"Psychic",
                                                  u"Cranial nerves",
                                                  u"Tonus",
                                                  u"Force",
                                                  u"Reflexes",
                                                  u"Coordination",
                                                  u"Sensitivity",
                                                  u"Paleness/ Cyanosis",
                                                  u"Oedema",
                                                  u"Jugular veins",
                                                  u"Varixes",
                                                  u"Pulse",
                                                  u"Vascular murmur",
                                                  u"BP",
                                                  u"/",
                                                  u"Card freq",
                                                  u"Rythm",
                                                  u"Heart shock",
                                                  u"Auscultation",
                                                  u"Breath rate",
                                                  u"O2 Sat (%)",
                                                  u"Peek Flow",
                                                  u"Expecto",
                                                  u"Auscultation",
                                                  u"Percussion",
                                                  u"Inspection",
                                                  u"Auscultation",
                                                  u"Palpation",
                                                  u"renal zone",
                                                  u"Liver",
                                                  u"Rectal touch",
                                                  u"Detailed status",
                                                  u"Name of the family doctor",
                                                  u"Head doctor",
                                                  u"Motive of hosp",
                                                  u"Current problem",
                                                  u"Past history",
                                                  u"Usual drugs",
                                                  u"Family history",
                                                  u"Habits and CV risk",
                                                  u"Tobacco",
                                                  u"Alcohol",
                                                  u"Allergy",
                                                  u"Social",
                                                  u"General",
                                                  u"Cardio-vascular",
                                                  u"Respiratory",
                                                  u"Digestive",
                                                  u"Uro-g\u00E9nital",
                                                  u"Hormonal",
                                                  u"Osteo-articular",
                                                  u"Neurology",
                                                  u"Labo",
                                                  u"Gaso",
                                                  u"Microbiology",
                                                  u"Radio\tgraphic films",
                                                  u"CT-Scan",
                                                  u"Echography + Doppler",
                                                  u"Other examination",
                                                  u"Differential diagnosis",
                                                  u"Diagnosis",
                                                  u"Anamnesia",
                                                  u"Status",
                                                  u"Examinations",
                                                  u"Medicine",
                                                  u"Other",
                                                  u"Attitude",
                                                  u"Room N\u00B0",
                                                  u"BMI",
                                                  u"Free1",
                                                  u"Free 2",
                                                  u"To do",
                                                  u"Free 3"};

constexpr std::u16string_view kIdentityNames[21] = {u"Last name",
                                                    u"First name",
                                                    u"Birth date day",
                                                    u"Birth date month",
                                                    u"Birth date year",
                                                    u"Profession",
                                                    u"Civil state",
                                                    u"Origin",
                                                    u"Confession",
                                                    u"Address",
                                                    u"City",
                                                    u"Postal code",
                                                    u"Phone number",
                                                    u"Contact",
                                                    u"Insurance name",
                                                    u"Insurance number",
                                                    u"Insurance class",
                                                    u"Other 1",
                                                    u"Other 2",
                                                    u"Other 3",
                                                    u"Send"};

}  // namespace

const std::u16string& PatientRecord::Field(int n) const {
    if (n < 0 || n >= kFieldCount) return kEmpty;
    return fields[static_cast<size_t>(n)];
}

void PatientRecord::SetField(int n, std::u16string value) {
    if (n < 0 || n >= kFieldCount) return;
    fields[static_cast<size_t>(n)] = std::move(value);
}

const std::u16string& PatientRecord::Drawing(int j) const {
    if (j < 1 || j > kDrawingCount) return kEmpty;
    return drawings[static_cast<size_t>(j - 1)];
}

void PatientRecord::SetDrawing(int j, std::u16string value) {
    if (j < 1 || j > kDrawingCount) return;
    drawings[static_cast<size_t>(j - 1)] = std::move(value);
}

std::u16string FieldName(int n) {
    if (n < 0 || n >= kFieldCount) return {};
    if (n < 100) return std::u16string(kFirstNames[n]);
    if (n < 120) return u"Edit " + ToText(n - 100);
    if (n <= 140) return std::u16string(kIdentityNames[n - 120]);
    if (n <= 198) return u"Window " + ToText(n - 140);
    if (n == 199) return u"Problem redaction";
    if (n == 200) return u"Chart N\u00B0";
    if (n == 201) return u"Chart 2";
    if (n == 202) return u"Formulary";
    return u"Window " + ToText(n - 142);
}

std::u16string PatientBaseName(const PatientRecord& record) {
    return TrimRightSpaces(record.Field(2)) + u"_" + TrimRightSpaces(record.Field(3)) + u"_" +
           record.Field(6);
}

std::u16string PatientFileName(const PatientRecord& record) {
    return PatientBaseName(record) + u".pdr";
}

std::u16string SubfolderKeyOf(const PatientRecord& record) {
    return SubfolderDateTimeText(record.admission) + StorableText(record.Field(202)) + u",";
}

std::u16string ChartNumber(const DateTime& now) {
    long long number =
        ((static_cast<long long>(DayOfYear(now)) * 24 + now.hour) * 60 + now.minute) * 60 +
        now.second;
    return ToText(number);
}

void BeginPatient(PatientRecord& record, LocationList& locations, bool newFolderIsHospitalisation,
                  Clock& clock) {
    DateTime now = clock.Now();
    record.inUse = 1;
    std::u16string selected = locations.Selected();
    record.location =
        LocationList::IsGeneralSelection(selected) ? std::u16string(kNoLocation) : selected;
    // Counted under the location the patient really gets, so that closing the patient later
    // uncounts the same entries.
    locations.CountPatient(record.location);
    record.SetField(200, ChartNumber(now));
    record.admissionDay = DayNumberOf(now);
    record.subfolderType = newFolderIsHospitalisation ? u"Hosp" : u"Ambu";
    record.SetField(94, record.location);
}

}  // namespace pondrel
