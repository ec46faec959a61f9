#include "demo/DemoCatalogue.h"

namespace pondrel::demo {

namespace {

// Invented people and places; any likeness to real persons is chance.
constexpr std::u16string_view kLastNames[] = {
    u"Abernathy",        u"Bellweather",   u"Castellane", u"Dunmore",      u"Eskridge",
    u"Falkner",          u"Garrow",        u"Hollister",  u"Ingleby",      u"Jessop",
    u"Kettering",        u"Lindqvist",     u"Marchbank",  u"Nettleford",   u"Oakhurst",
    u"Pellegrin",        u"Quarrington",   u"Rosendahl",  u"Saltmarsh",    u"Thistlewood",
    u"Underhay",         u"Vandermeer",    u"Wetherall",  u"Yardley",      u"Zeller",
    u"Ashcombe",         u"Brightmore",    u"Cordeaux",   u"Dalgleish",    u"Everard",
    u"Fenwright",        u"Gilchrist",     u"Harrowgate", u"Iredale",      u"Kilbride",
    u"Lorimer",          u"Montfort",      u"Norcross",   u"Ormiston",     u"Penhallow",
    u"Radcliffe",        u"Strand\u00E9n", u"Tremayne",   u"Vaillancourt", u"Whitcombe",
    u"M\u00FCllerstein", u"Okafor-Reid",   u"Sørbye"};

constexpr std::u16string_view kFemaleFirstNames[] = {
    u"Ada",   u"Beatrix", u"Clara",    u"Delphine",  u"Edith", u"Freya",  u"Greta",
    u"Hanna", u"Iris",    u"Johanna",  u"Kirsten",   u"Lena",  u"Maud",   u"Nora",
    u"Odile", u"Pia",     u"Rosalind", u"Sabine",    u"Thea",  u"Ursula", u"Vera",
    u"Wilma", u"Yvonne",  u"Zo\u00E9", u"Ann-Marie", u"Lucie", u"Esther", u"Marit"};

constexpr std::u16string_view kMaleFirstNames[] = {
    u"Albert", u"Bruno",   u"Casimir", u"Dorian",   u"Emil",       u"Felix",  u"Gustav",
    u"Henrik", u"Ivo",     u"Jonas",   u"Konrad",   u"Lionel",     u"Magnus", u"Niels",
    u"Otto",   u"Pascal",  u"Rafael",  u"Sven",     u"Tobias",     u"Ulrich", u"Viktor",
    u"Walter", u"Yannick", u"Zeno",    u"Jean-Luc", u"Bj\u00F6rn", u"Matteo", u"Elias"};

constexpr ProblemText kProblems[] = {
    {u"Community-acquired pneumonia",
     u"Pulmonary embolism, heart failure",
     u"Right lower lobe pneumonia, CURB-65 score 2.",
     u"Fever and cough for four days",
     u"Productive cough with yellow sputum since four days, fever up to 39 \u00B0C, "
     u"pleuritic pain on the right.",
     u"Chest X-ray: consolidation of the right lower lobe.\r\nBlood cultures taken x2.",
     u"Hb 13.1 g/dl, WBC 15.8 G/l, CRP 142 mg/l, creatinine 96 \u00B5mol/l",
     u"Chest X-ray: right lower lobe consolidation, no effusion",
     u"-Amoxicillin/clavulanic acid 1.2 g iv 3x/day\r\n-Paracetamol 1 g po 4x/day if fever\r\n"
     u"-Enoxaparin 40 mg sc 1x/day",
     u"-Amoxicillin/clavulanic acid 1 g po 2x/day",
     {u"-Oxygen to keep SpO2 above 92 %\r\n-Respiratory physiotherapy", u"-CRP control in 48 h",
      u"-Discharge home, family doctor visit in one week"},
     39.1,
     true,
     u"-Amoxicillin/clavulanic acid 1.2 g iv 3x/day",
     u"-Amoxicillin/clavulanic acid 1.2 g iv 3x/day\r\n-Amoxicillin/clavulanic acid 1 g po 2x/day"
     u"\r\n-Paracetamol 1 g po 4x/day if fever\r\n-Enoxaparin 40 mg sc 1x/day",
     7},
    {u"Decompensated heart failure",
     u"Renal failure, pneumonia",
     u"NYHA III, known ischaemic cardiomyopathy, LVEF 35 %.",
     u"Increasing dyspnoea and leg oedema",
     u"Dyspnoea on minimal effort for ten days, orthopnoea (3 pillows), weight +4 kg.",
     u"ECG: sinus rhythm 92/min, old Q waves inferior.\r\nNT-proBNP 4860 ng/l.",
     u"Na 134 mmol/l, K 4.6 mmol/l, creatinine 121 \u00B5mol/l, NT-proBNP 4860 ng/l",
     u"Chest X-ray: cardiomegaly, bilateral pleural effusions",
     u"-Furosemide 40 mg iv 2x/day\r\n-Bisoprolol 2.5 mg po 1x/day\r\n"
     u"-Ramipril 2.5 mg po 1x/day",
     u"-Furosemide 40 mg po 1x/day",
     {u"-Daily weight, fluid balance, restrict fluids to 1.5 l/day", u"-Echocardiography requested",
      u"-Heart failure nurse follow-up"},
     36.9,
     false,
     u"-Furosemide 40 mg iv 2x/day",
     u"",
     0},
    {u"Type 2 diabetes mellitus",
     u"",
     u"Known for 12 years, HbA1c 8.9 %.",
     u"Hyperglycaemia",
     u"Polyuria and thirst for three weeks, diet not followed.",
     u"Capillary glucose profile 4x/day.",
     u"Glucose 16.4 mmol/l, HbA1c 8.9 %, ketones negative",
     u"",
     u"-Metformin 1000 mg po 2x/day\r\n-Insulin glargine 14 U sc at 22:00",
     u"-Insulin glargine 18 U sc at 22:00",
     {u"-Diabetes teaching by the nurse", u"-Adapt insulin to the profile",
      u"-Diabetologist appointment in 3 months"},
     36.7,
     false,
     u"-Insulin glargine 14 U sc at 22:00",
     u"",
     0},
    {u"Atrial fibrillation with rapid ventricular response",
     u"Hyperthyroidism",
     u"First episode, CHA2DS2-VASc 3.",
     u"Palpitations",
     u"Palpitations and fatigue since yesterday evening, no chest pain, no syncope.",
     u"ECG: atrial fibrillation 138/min, no ischaemic changes.\r\nTSH requested.",
     u"TSH 1.8 mU/l, troponin negative, K 3.9 mmol/l",
     u"",
     u"-Metoprolol 25 mg po 2x/day\r\n-Apixaban 5 mg po 2x/day",
     u"-Metoprolol 50 mg po 2x/day",
     {u"-Telemetry", u"-Transthoracic echocardiography",
      u"-Cardiology consultation for cardioversion"},
     36.8,
     true,
     u"-Metoprolol 25 mg po 2x/day",
     u"",
     0},
    {u"Exacerbation of COPD",
     u"Pneumonia, pneumothorax",
     u"GOLD 3, 45 pack-years.",
     u"Worsening dyspnoea",
     u"More sputum and wheezing for five days, uses his inhaler 8x/day.",
     u"Blood gas: pH 7.36, pCO2 6.8 kPa, pO2 7.9 kPa on room air.",
     u"WBC 11.2 G/l, CRP 38 mg/l, eosinophils 0.3 G/l",
     u"Chest X-ray: hyperinflation, no infiltrate",
     u"-Prednisone 40 mg po 1x/day\r\n-Salbutamol/ipratropium nebuliser 4x/day\r\n"
     u"-Doxycycline 100 mg po 2x/day",
     u"-Tiotropium 18 \u00B5g inhaled 1x/day",
     {u"-Oxygen 1-2 l/min, target SpO2 88-92 %", u"-Pulmonary rehabilitation asked",
      u"-Smoking cessation counselling"},
     37.6,
     true,
     u"-Salbutamol/ipratropium nebuliser 4x/day",
     u"-Prednisone 40 mg po 1x/day\r\n-Doxycycline 100 mg po 2x/day",
     5},
    {u"Urinary tract infection",
     u"Pyelonephritis",
     u"Cystitis with fever.",
     u"Fever and burning on urination",
     u"Burning on urination and frequency for three days, fever since yesterday.",
     u"Urine dipstick: leucocytes +++, nitrites +.\r\nUrine culture sent.",
     u"WBC 13.4 G/l, CRP 96 mg/l, creatinine 88 \u00B5mol/l",
     u"",
     u"-Ceftriaxone 2 g iv 1x/day\r\n-Paracetamol 1 g po if needed",
     u"-Ciprofloxacin 500 mg po 2x/day",
     {u"-Drink 2 l a day", u"-Check urine culture result", u"-Family doctor visit when the antibiotic is finished"},
     38.6,
     true,
     u"-Ceftriaxone 2 g iv 1x/day",
     u"-Ceftriaxone 2 g iv 1x/day\r\n-Ciprofloxacin 500 mg po 2x/day\r\n"
     u"-Paracetamol 1 g po if needed",
     7},
    {u"Arterial hypertension",
     u"",
     u"Treated for 8 years, poorly controlled.",
     u"Headache and high blood pressure",
     u"Headache in the morning, home readings up to 170/100 mmHg.",
     u"Fundoscopy requested.",
     u"Creatinine 84 \u00B5mol/l, K 4.1 mmol/l",
     u"",
     u"-Amlodipine 5 mg po 1x/day\r\n-Lisinopril 10 mg po 1x/day",
     u"-Amlodipine 10 mg po 1x/day",
     {u"-Blood pressure 3x/day", u"-Salt-poor diet", u"-Home blood pressure diary"},
     36.6,
     false,
     u"-Amlodipine 5 mg po 1x/day",
     u"",
     0},
    {u"Acute kidney injury",
     u"Obstruction, dehydration",
     u"Prerenal, on diuretics and ACE inhibitor.",
     u"Confusion and reduced urine output",
     u"Eats and drinks little for a week, diarrhoea, on diuretic and ACE inhibitor.",
     u"Renal ultrasound: no hydronephrosis.",
     u"Creatinine 264 \u00B5mol/l, urea 22 mmol/l, K 5.4 mmol/l",
     u"Renal ultrasound: normal kidneys, no obstruction",
     u"-NaCl 0.9 % 1000 ml iv over 8 h",
     u"-NaCl 0.9 % 500 ml iv over 12 h",
     {u"-Hold furosemide and ramipril\r\n-Fluid balance, urine output every 4 h",
      u"-Creatinine daily",
      u"-Restart ramipril at the family doctor's when creatinine is back to baseline"},
     36.9,
     true,
     u"-NaCl 0.9 % 1000 ml iv over 8 h",
     u"-NaCl 0.9 % 1000 ml iv over 8 h\r\n-NaCl 0.9 % 500 ml iv over 12 h",
     4},
    {u"Cellulitis of the left leg",
     u"Deep vein thrombosis",
     u"Erysipelas from a toe wound.",
     u"Red, painful left leg",
     u"Redness and swelling of the left calf for two days, chills.",
     u"Doppler ultrasound of the leg veins: no thrombosis.",
     u"WBC 12.9 G/l, CRP 118 mg/l",
     u"",
     u"-Flucloxacillin 2 g iv 4x/day\r\n-Elevate the leg",
     u"-Flucloxacillin 1 g po 3x/day",
     {u"-Mark the limits of the redness", u"-Wound care of the toe daily",
      u"-Podologist follow-up"},
     38.4,
     true,
     u"-Flucloxacillin 2 g iv 4x/day",
     u"-Flucloxacillin 2 g iv 4x/day\r\n-Flucloxacillin 1 g po 3x/day\r\n-Elevate the leg",
     10},
    {u"Iron deficiency anaemia",
     u"Gastrointestinal bleeding",
     u"Hb 7.9 g/dl, ferritin 6 \u00B5g/l.",
     u"Fatigue and dyspnoea",
     u"Tired for two months, black stools once last week.",
     u"Gastroscopy planned.",
     u"Hb 7.9 g/dl, MCV 71 fl, ferritin 6 \u00B5g/l",
     u"",
     u"-Ferric carboxymaltose 1000 mg iv (One time)\r\n-Pantoprazole 40 mg po 2x/day",
     u"-Pantoprazole 40 mg po 1x/day",
     {u"-Transfuse if Hb below 7 g/dl", u"-Gastroscopy and colonoscopy", u"-Hb control in 4 weeks"},
     36.8,
     false,
     u"-Pantoprazole 40 mg po 2x/day",
     u"",
     0},
    {u"Bronchiolitis",
     u"Asthma, pneumonia",
     u"RSV positive.",
     u"Breathing difficulties",
     u"Runny nose for three days, now fast breathing and feeding less than half.",
     u"Nasal swab: RSV positive.",
     u"CRP 12 mg/l",
     u"",
     u"-Nasal saline drops before feeds\r\n-Paracetamol 15 mg/kg po if fever",
     u"",
     {u"-Oxygen if SpO2 below 92 %\r\n-Small frequent feeds", u"-Weigh daily",
      u"-Parents taught nasal care"},
     38.0,
     true,
     u"",
     u"-Nasal saline drops before feeds\r\n-Paracetamol 15 mg/kg po if fever",
     5},
    {u"Acute gastroenteritis with dehydration",
     u"Appendicitis, urinary infection",
     u"Estimated dehydration 5 %.",
     u"Vomiting and diarrhoea",
     u"Vomiting since yesterday, six watery stools a day, drinks little.",
     u"Stool culture sent.",
     u"Na 136 mmol/l, glucose 4.9 mmol/l",
     u"",
     u"-Oral rehydration solution 50 ml/kg over 4 h (One time)\r\n"
     u"-Ondansetron 0.15 mg/kg po (One time)",
     u"",
     {u"-Weigh before and after", u"-Normal diet, count stools and vomiting",
      u"-Home when drinking well"},
     37.9,
     true},
};

constexpr int kChildProblems[] = {0, 5, 10, 11};

constexpr std::u16string_view kProfessions[] = {
    u"Retired teacher", u"Baker",     u"Bus driver",  u"Nurse",     u"Accountant",
    u"Farmer",          u"Carpenter", u"Student",     u"Engineer",  u"Shop assistant",
    u"Retired miner",   u"Librarian", u"Electrician", u"Housewife", u"Gardener"};

constexpr std::u16string_view kCities[] = {u"Westerby",    u"Millbrook",   u"Harlow Green",
                                           u"Ostvik",      u"Saint-Aubel", u"Kernsdale",
                                           u"Brackenford", u"Lindau Nord"};

constexpr std::u16string_view kLocations[] = {u"Ward A", u"Ward B", u"Cardiology", u"Paediatrics"};

constexpr std::u16string_view kDoctors[] = {u"Dr A. Verlaine", u"Dr T. Okonjo", u"Dr S. Halvard",
                                            u"Dr M. Castaing", u"Dr L. Brenner"};

constexpr std::u16string_view kProgressNotes[] = {
    u"Slept well, no complaints.",
    u"Feels better, ate all his breakfast.",
    u"Still tired, walks to the bathroom alone.",
    u"Some nausea this morning, no vomiting.",
    u"Mobilised in the corridor with the physiotherapist.",
    u"Family visited, mood better.",
    u"Less dyspnoea, speaks in full sentences.",
    u"Painful at night, asks for more analgesia.",
};

constexpr std::u16string_view kPastHistories[] = {
    u"-Appendectomy 1978\r\n-Hip replacement right 2012",
    u"-Myocardial infarction 2009, stent on the LAD\r\n-Hypercholesterolaemia",
    u"-Breast cancer 2004, lumpectomy and radiotherapy\r\n-Osteoporosis",
    u"-Asthma in childhood\r\n-Cholecystectomy 1999",
    u"-Prostate hypertrophy\r\n-Cataract surgery both eyes",
    u"-Depression, treated\r\n-Hypothyroidism",
    u"-None",
};

constexpr std::u16string_view kAllergies[] = {u"None known",         u"None known",
                                              u"None known",         u"Penicillin (rash)",
                                              u"Iodinated contrast", u"Codeine (vomiting)"};

constexpr std::u16string_view kSocialNotes[] = {
    u"Lives with spouse, independent.",
    u"Lives alone on the 2nd floor without lift, daughter nearby.",
    u"Nursing home resident.",
    u"Home help twice a week.",
};

}  // namespace

std::span<const std::u16string_view> LastNames() {
    return kLastNames;
}
std::span<const std::u16string_view> FemaleFirstNames() {
    return kFemaleFirstNames;
}
std::span<const std::u16string_view> MaleFirstNames() {
    return kMaleFirstNames;
}
std::span<const int> ChildProblems() {
    return kChildProblems;
}
std::span<const ProblemText> Problems() {
    return kProblems;
}
std::span<const std::u16string_view> Professions() {
    return kProfessions;
}
std::span<const std::u16string_view> Cities() {
    return kCities;
}
std::span<const std::u16string_view> Locations() {
    return kLocations;
}
std::span<const std::u16string_view> Doctors() {
    return kDoctors;
}
std::span<const std::u16string_view> ProgressNotes() {
    return kProgressNotes;
}
std::span<const std::u16string_view> PastHistories() {
    return kPastHistories;
}
std::span<const std::u16string_view> Allergies() {
    return kAllergies;
}
std::span<const std::u16string_view> SocialNotes() {
    return kSocialNotes;
}

}  // namespace pondrel::demo
