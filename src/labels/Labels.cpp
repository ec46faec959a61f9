#include "labels/Labels.h"

#include "records/PatientRecord.h"

namespace pondrel {

namespace {

struct BuiltInWord {
    int index;
    std::u16string_view word;
};

constexpr BuiltInWord kBuiltInWords[] = {
    {88, u"Send"},
    {89, u"Mail manager"},
    {90, u"Server"},
    {91, u"S: All patients"},
    {92, u"S: Manager"},
    {121, u"Start"},
    {122, u"Stop"},
    {123, u"Done"},
    {124, u"D"},
    {125, u"P"},
    {126, u"Empty"},
    {127, u"Now"},
    {128, u"Solved"},
    {129, u"Birth"},
    {130, u"Now"},
    {131, u"Yesterday"},
    {132, u"Diagnosis"},
    {133, u"Other"},
    {134, u"Att"},
    {135, u"To do"},
    {136, u"Ex"},
    {137, u"Adm"},
    {138, u"Usual"},
    {139, u"Labo"},
    {140, u"Gazo"},
    {141, u"Micro"},
    {142, u"Rx"},
    {143, u"Scan"},
    {144, u"Echo"},
    {145, u"Other exams"},
    {146, u"General information"},
    {147, u"Room n°"},
    {148, u"N°"},
    {149, u"Name"},
    {150, u"Head Dr"},
    {151, u"Diagnosis"},
    {152, u"Record n°"},
    {153, u"Mr/Mrs"},
    {154, u"Last"},
    {155, u"First"},
    {156, u"Birth date"},
    {157, u"Age"},
    {158, u"Wheight"},
    {159, u"Admission"},
    {160, u"Icon"},
    {161, u"Room number"},
    {162, u"Icon number"},
    {163, u"Patient"},
    {164, u"Head doctor"},
    {165, u"Dr"},
    {166, u"Out Letter"},
    {167, u"Prob N°"},
    {168, u"Past History"},
    {169, u"Main List"},
    {170, u"Active"},
    {171, u"State"},
    {172, u"Prob"},
    {173, u"Urgent !"},
    {174, u"To do"},
    {175, u"Location"},
    {176, u"Department"},
    {177, u"Closed"},
    {178, u"Boy"},
    {179, u"Girl"},
    {180, u"Name and diagnosis"},
    {181, u"Treatment"},
    {182, u"Other"},
    {183, u"Synthesis"},
    {184, u"No medicines"},
    {185, u"Checkbox"},
    {186, u"Checked"},
    {187, u"One time"},
    {190, u"S: Graph"},
    {191, u"Quick notes"},
    {192, u"S: Evolution"},
};

constexpr std::u16string_view kShortMonths[kShortMonthCount] = {u"Jan",  u"Feb", u"Mar", u"Apr",
                                                                u"May",  u"Jun", u"Jul", u"Aug",
                                                                u"Sept", u"Oct", u"Nov", u"Dec"};

const std::u16string kNoText;

template <size_t N>
const std::u16string& At(const std::array<std::u16string, N>& values, int index) {
    if (index < 0 || static_cast<size_t>(index) >= N) return kNoText;
    return values[static_cast<size_t>(index)];
}

}  // namespace

std::u16string_view BuiltInLabel(int index) {
    for (const BuiltInWord& entry : kBuiltInWords) {
        if (entry.index == index) return entry.word;
    }
    return {};
}

std::u16string_view BuiltInShortMonth(int index) {
    if (index < 0 || index >= kShortMonthCount) return {};
    return kShortMonths[index];
}

bool IsWrittenBackLabel(int index) {
    switch (index) {
        case 179:
        case 182:
        case 183:
        case 184:
        case 185:
        case 186:
        case 187:
        case 190:
            return true;
        default:
            return false;
    }
}

Labels Labels::Blank() {
    Labels labels;
    for (int field = 0; field < kLabelsFieldCount; ++field) {
        labels.captions[field] = FieldName(field);
        labels.shortcutLists[field] = std::u16string(kEmptyShortcutList);
    }
    return labels;
}

Labels Labels::Defaults() {
    Labels labels = Blank();
    for (const BuiltInWord& entry : kBuiltInWords) {
        labels.uiLabels[entry.index] = std::u16string(entry.word);
    }
    for (int i = 0; i < kShortMonthCount; ++i) {
        labels.shortMonthNames[i] = std::u16string(kShortMonths[i]);
    }
    return labels;
}

const std::u16string& Labels::Label(int index) const {
    return At(uiLabels, index);
}
const std::u16string& Labels::Caption(int field) const {
    return At(captions, field);
}
const std::u16string& Labels::ShortcutList(int field) const {
    return At(shortcutLists, field);
}
const std::u16string& Labels::SectionCaption(int index) const {
    return At(sectionCaptions, index);
}

std::u16string Labels::DayOneCaption() const {
    const std::u16string& day = Label(124);
    return (day.empty() ? std::u16string() : day.substr(0, 1)) + u"1";
}

}  // namespace pondrel
