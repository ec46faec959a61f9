#include "records/PatientRecord.h"

#include <cstring>
#include <string_view>

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
    // The room box names the ward the patient was placed in; a patient placed nowhere has no
    // room yet, and the box stays empty for the room to be typed.
    record.SetField(94, record.location == kNoLocation ? std::u16string() : record.location);
}

namespace {

// Mixes a 64-bit word into the fingerprint; Finish spreads every bit over the whole result.
void Mix(uint64_t& h, uint64_t word) {
    h = (((h << 27) | (h >> 37)) ^ word) * 0x9E3779B97F4A7C15ULL;
}

uint64_t Finish(uint64_t h) {
    // The finaliser of MurmurHash3.
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDULL;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ULL;
    h ^= h >> 33;
    return h;
}

uint64_t RotateLeft(uint64_t x, int bits) {
    return (x << bits) | (x >> (64 - bits));
}

// One lane step: a bijection of the lane for a given word and of the word for a given lane, so a
// single changed word always changes the lane's end state.
uint64_t Lane(uint64_t lane, uint64_t word) {
    return RotateLeft(lane ^ (word * 0x87C37B91114253D5ULL), 31) * 0x4CF5AD432745937FULL;
}

// The text's units hashed in four independent lanes of eight bytes: the fingerprint of a ward is
// taken at every automatic save, so it runs at memory speed rather than a byte at a time.
uint64_t HashUnits(std::u16string_view text) {
    const char* bytes = reinterpret_cast<const char*>(text.data());
    size_t left = text.size() * sizeof(char16_t);
    uint64_t lanes[4] = {0x9E3779B97F4A7C15ULL, 0xBF58476D1CE4E5B9ULL, 0x94D049BB133111EBULL,
                         0x2545F4914F6CDD1DULL};
    while (left >= sizeof(lanes)) {
        uint64_t words[4];
        std::memcpy(words, bytes, sizeof(words));
        for (int i = 0; i < 4; ++i) lanes[i] = Lane(lanes[i], words[i]);
        bytes += sizeof(words);
        left -= sizeof(words);
    }
    int next = 0;
    while (left > 0) {
        uint64_t word = 0;
        const size_t taken = left < sizeof(word) ? left : sizeof(word);
        std::memcpy(&word, bytes, taken);
        lanes[next] = Lane(lanes[next], word);
        next = (next + 1) % 4;
        bytes += taken;
        left -= taken;
    }
    uint64_t h = 0;
    for (uint64_t lane : lanes) Mix(h, lane);
    return h;
}

void MixText(uint64_t& h, const std::u16string& text) {
    // The length first: "ab" + "" differs from "a" + "b".
    Mix(h, text.size());
    if (!text.empty()) Mix(h, HashUnits(text));
}

void MixDate(uint64_t& h, const DateTime& t) {
    Mix(h, (static_cast<uint64_t>(static_cast<uint32_t>(t.year)) << 32) |
               static_cast<uint32_t>(t.month));
    Mix(h, (static_cast<uint64_t>(static_cast<uint32_t>(t.day)) << 32) |
               static_cast<uint32_t>(t.hour));
    Mix(h, (static_cast<uint64_t>(static_cast<uint32_t>(t.minute)) << 32) |
               static_cast<uint32_t>(t.second));
}

}  // namespace

uint64_t PatientFingerprint(const PatientRecord& record) {
    uint64_t h = 0x84222325CBF29CE4ULL;
    for (int value : {record.sex, record.icon, record.inUse, record.exitDateSet, record.checked,
                      static_cast<int>(record.historyStartDay)}) {
        Mix(h, static_cast<uint32_t>(value));
    }
    MixDate(h, record.admission);
    MixDate(h, record.exit);
    for (const std::u16string& field : record.fields) MixText(h, field);
    for (const std::u16string& drawing : record.drawings) MixText(h, drawing);
    MixText(h, record.problemJournal);
    MixText(h, record.lockState);
    MixText(h, record.location);
    MixText(h, record.subfolderType);
    Mix(h, reinterpret_cast<uintptr_t>(record.rawText.data()));
    Mix(h, record.rawText.size());
    Mix(h, record.rawTextKey.has_value());
    if (record.rawTextKey) MixText(h, *record.rawTextKey);
    return Finish(h);
}

}  // namespace pondrel
