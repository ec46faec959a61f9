#pragma once

// The section history lists of the problem panel (the '+' button of each section): the lines a
// section held on earlier days, dated, to be inserted again.

#include <string>
#include <utility>
#include <vector>

#include "journal/JournalFormat.h"
#include "records/DayNumber.h"

namespace pondrel {

class JournalReader;
struct JournalWords;

inline constexpr int kMaxHistoryLines = 100;

struct SectionHistoryInput {
    int problem = 0;
    const std::vector<DayNumber>* entryDays = nullptr;  // ascending
    DayNumber admissionDay = 0;
    DayNumber historyStartDay = 0;
    bool ambulatory = false;
    DateOrder dateOrder = DateOrder::DayMonthYear;
    // Medicine list: the "Usual drugs" field.
    std::u16string usualDrugs;
    // Examinations list: (label, text) of the admission examinations in the order shown
    // (Labo, Gaso, Microbiology, Radiographic films, CT-Scan, Echography, Other, then ECG).
    std::vector<std::pair<std::u16string, std::u16string>> admissionExams;
};

class SectionHistory {
public:
    // The '+' button is enabled when the problem has text in that section on an entry day not
    // before the admission day (hospitalisation) or the history start day (ambulatory); the
    // Examinations button also when an admission examination is filled.
    static bool IsEnabled(const JournalReader& reader, const SectionHistoryInput& input,
                          Section section);

    // The rows of the list: at most 100 text rows, then for Medicine and Attitude the "Stop"
    // and "One time" rows.
    static std::vector<std::u16string> Rows(const JournalReader& reader,
                                            const SectionHistoryInput& input, Section section,
                                            const JournalWords& words);

    // The lines of a section text as the list shows them: cut at line breaks, leading "-" and
    // blanks around breaks removed, " ." ",." ".." made ".", empty lines dropped.
    static std::vector<std::u16string> Lines(std::u16string_view text);

    // What choosing a row inserts into the section.
    struct Choice {
        // True for the "Stop" / "One time" rows: `text` (" (Stop)") goes at the caret.
        bool atCaret = false;
        // Otherwise the section text loses its trailing line breaks and blanks (`section`),
        // the caret goes to its end, a new bulleted line is started with the "<== " token
        // when `newLine` is set, and `text` is inserted.
        bool newLine = false;
        std::u16string section;
        std::u16string text;
    };
    static Choice Choose(std::u16string_view row, Section section, std::u16string_view sectionText,
                         const JournalWords& words);
    // Inserting `text` at the end of `sectionText`, on a new bulleted line unless the section is
    // empty or ends with "-" once trailing line breaks and blanks are removed (the stop
    // commands write their lines so).
    static Choice AtEnd(std::u16string_view sectionText, std::u16string text);

    // The section text after `choice` was inserted into `sectionText` with the caret at `caret`
    // (a position in `sectionText`, clamped to it), and the caret after the inserted text. A
    // new line is started as the "<== " tab-return does at the end of a text: a line break is
    // added and every line of the section is bulleted ("-" at its start).
    struct Insertion {
        std::u16string text;
        size_t caret = 0;
    };
    static Insertion Insert(const Choice& choice, std::u16string_view sectionText, size_t caret);
    // Every line of `text` starting with one "-": "\r\n-" made "\r\n", then "\r\n" made
    // "\r\n-", and "-" put in front when the text does not start with it.
    static std::u16string BulletEveryLine(std::u16string_view text);
};

}  // namespace pondrel
