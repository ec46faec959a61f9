#include "labels/FieldNames.h"

#include <array>
#include <string_view>

#include "platform/Text.h"

namespace pondrel {

namespace {

// Fields 0 to 99 and 120 to 140; the numbered runs are computed below.
constexpr std::array<std::u16string_view, 100> kFirstNames = {u"",
                                                              u"Done by",
                                                              u"Last name",
                                                              u"First name",
                                                              u"D",
                                                              u"M",
                                                              u" Y",
                                                              u"Weight",
                                                              u"Height",
                                                              u"T°",
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
                                                              u"Uro-génital",
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
                                                              u"Room N°",
                                                              u"BMI",
                                                              u"Free1",
                                                              u"Free 2",
                                                              u"To do",
                                                              u"Free 3"};

constexpr std::array<std::u16string_view, 21> kIdentityNames = {u"Last name",
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

std::u16string DefaultFieldName(int field) {
    if (field >= 0 && field < 100) return std::u16string(kFirstNames[field]);
    if (field >= 100 && field < 120) return u"Edit " + ToText(field - 100);
    if (field >= 120 && field <= 140) return std::u16string(kIdentityNames[field - 120]);
    if (field >= 141 && field <= 198) return u"Window " + ToText(field - 140);
    if (field == 199) return u"Problem redaction";
    if (field == 200) return u"Chart N°";
    if (field == 201) return u"Chart 2";
    if (field == 202) return u"Formulary";
    if (field >= 203 && field <= 229) return u"Window " + ToText(field - 142);
    return {};
}

}  // namespace pondrel
