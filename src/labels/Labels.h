#pragma once

#include <array>
#include <string>
#include <string_view>

#include "labels/LabelsFormat.h"

namespace pondrel {

// The values the program holds from "Labels.txt": field captions and shortcut lists, section
// captions, the user-interface labels referred to by index, and the words of dates and ages.
// A plain value; the main form owns one for the life of the program.
struct Labels {
    std::array<std::u16string, kLabelsFieldCount> captions;
    // Each list ends with "||"; "||" alone means no shortcut.
    std::array<std::u16string, kLabelsFieldCount> shortcutLists;
    std::array<std::u16string, kSectionCaptionCount> sectionCaptions;
    std::array<std::u16string, kUiLabelCount> uiLabels;
    std::array<std::u16string, kWeekdayCount> weekdayNames;  // Sunday first
    std::array<std::u16string, kMonthCount> monthNames;      // January first
    std::array<std::u16string, kAgeWordCount> ageWords;      // days, months, years, weeks
    std::array<std::u16string, kShortMonthCount> shortMonthNames;

    // Captions from the field-name table, empty shortcut lists, every other value empty.
    static Labels Blank();
    // Blank() with the built-in words applied: what the program shows without a labels file.
    static Labels Defaults();

    // Out-of-range indexes give an empty text rather than undefined behaviour: indexes often
    // come from files (a civility word is label 52 + the record's `sex`).
    const std::u16string& Label(int index) const;
    const std::u16string& Caption(int field) const;
    const std::u16string& ShortcutList(int field) const;
    const std::u16string& SectionCaption(int index) const;

    // Label 52 or 53: the civility button word for `sex` (0 female, 1 male); empty while the
    // civility is not chosen (a negative `sex`).
    const std::u16string& CivilityWord(int sex) const {
        return Label(sex < 0 ? -1 : sex == 0 ? 52 : 53);  // -1: no label, empty
    }
    // Label 54 or 55: the title word put before the patient's name; empty while the civility is
    // not chosen.
    const std::u16string& TitleWord(int sex) const {
        return Label(sex < 0 ? -1 : sex == 0 ? 54 : 55);
    }
    // The title word and the blank that separates it from the name ("Mr "); nothing when there
    // is no title word.
    std::u16string TitleBefore(int sex) const {
        const std::u16string& word = TitleWord(sex);
        return word.empty() ? std::u16string() : word + u" ";
    }
    // The "D1" buttons: the first letter of label 124 followed by "1".
    std::u16string DayOneCaption() const;

    bool operator==(const Labels&) const = default;
};

// The built-in word of a user-interface label, empty when it has none.
std::u16string_view BuiltInLabel(int index);
// The built-in short month names, "Jan" to "Dec".
std::u16string_view BuiltInShortMonth(int index);

// Labels whose built-in word, once given, is written back into the file.
bool IsWrittenBackLabel(int index);

}  // namespace pondrel
