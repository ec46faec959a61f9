#pragma once

// Layout constants of the problem journal text, shared by its reader and its writers (in
// src/journal) and by the conversion of old patient files, which builds journals.
//
//   head:       §0|title¦differential diagnosis¦state¦redaction§1|...
//   day blocks: #<day>§0|s0|s1|s2|s3|s4|s5|§3|s0|s1|s2|s3|s4|s5|#<day>§...
//
// docs/problem-journal.md describes the format in full.

#include <array>
#include <string>

#include "platform/Text.h"
#include "records/DayNumber.h"
#include "records/ReservedCharacters.h"

namespace pondrel {

inline constexpr char16_t kJournalDayMark = kDayMark;        // "#" opens a day block
inline constexpr char16_t kJournalEntryMark = kProblemMark;  // "§" opens a header or an entry
inline constexpr char16_t kJournalFieldSep = kListSep;       // "|" separates the sections
inline constexpr char16_t kJournalHeaderSep = kHeaderSep;    // "¦" separates header sub-fields
// Not part of the journal layout but reserved by the patient file around it: "¢" ends the
// file item that holds the journal and "¬" + letter marks the file's blocks.
inline constexpr char16_t kJournalItemEnd = kItemEnd;
inline constexpr char16_t kJournalBlockMark = kBlockMark;

// Problem numbers are 0..99; a journal never holds more than this many problems.
inline constexpr int kMaxProblems = 100;
// Walks over headers or entries stop after this many steps.
inline constexpr int kMaxWalkSteps = 100;
inline constexpr int kSectionCount = 6;

// The days a journal may hold: 1 January 1900 (the first day the calendar offers) to
// 31 December 9999. Blocks outside are not listed and the writers refuse such days.
inline constexpr int kFirstJournalDay = -36524;
inline constexpr int kLastJournalDay = 2921939;

// The six sections of a problem entry, in stored order.
enum class Section { Anamnesia = 0, Status, Examinations, Medicine, Other, Attitude };

using Sections = std::array<std::u16string, kSectionCount>;

// State codes of a problem header; an empty or missing code means Active.
inline constexpr char16_t kStateActive = u'A';
inline constexpr char16_t kStateSolved = u'I';
inline constexpr char16_t kStateClosed = u'C';

// "#" + day + "§", the opening of a day block.
inline std::u16string DayBlockOpening(DayNumber day) {
    return kJournalDayMark + ToText(day) + kJournalEntryMark;
}
// "§" + problem + "|", the opening of a header or an entry.
inline std::u16string ProblemOpening(int problem) {
    return kJournalEntryMark + ToText(problem) + kJournalFieldSep;
}
// "|" + the six sections, each followed by "|": what follows the number of an entry.
inline std::u16string EntryBody(const Sections& sections) {
    std::u16string body(1, kJournalFieldSep);
    for (const auto& section : sections) {
        body += section;
        body += kJournalFieldSep;
    }
    return body;
}

// Title given to a problem that must exist but has no title typed: "Problem n°" + number + 1.
inline constexpr std::u16string_view kDefaultTitlePrefix = u"Problem n\u00B0";

}  // namespace pondrel
