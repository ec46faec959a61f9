#pragma once

// Treatments and actions as the journal holds them: lines of the Medicine sections (treatments)
// and of the Attitude sections (actions). A line starts a treatment on the day of its block; a
// later line with the same text followed by a stop mark ("(Stop)", "(stop)" or "(One time)",
// with the "Stop" and "One time" words of the labels) ends it on its own day.
//
// TreatmentLines reads the whole journal once and matches every stop line with the start line it
// ends, giving one TreatmentCourse per treatment or action in order of start. The tables built
// on the courses (dated text, sheets, running and current-day lists) are in TreatmentTables.h.
//
// Matching, for each stop line in day order (entries of a day in problem order, lines in order):
//  1. the earliest running course whose text equals the stop line's name;
//  2. else the earliest running course whose text ends with the name (a shortened stop line);
//  3. else, for a "Stop" or "One time" mark, the first start line later on the same day whose
//     text is the name (a stop written under a problem with a smaller number than its start):
//     that line starts and stops on this day;
//  4. else the stop line is a treatment of its own day: with a "Stop" or "One time" mark it runs
//     on that day only, under its name; with a lower-case "(stop)" mark a treatment keeps
//     running under its full text, an action runs on that day only, under its name (the sheet
//     and the lists read the same course).
// The work is linear in the size of the journal whatever its lines.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/JournalFormat.h"
#include "records/DayNumber.h"

namespace pondrel {

struct JournalWords;

enum class TreatmentKind { Treatments, Actions };

// Medicine for treatments, Attitude for actions.
Section SectionOf(TreatmentKind kind);

// One treatment or action: its start line and the day of the stop line that ended it.
struct TreatmentCourse {
    std::u16string text;  // the start line without its bullet and trailing blanks
    DayNumber startDay = 0;
    std::optional<DayNumber> stopDay;  // never before startDay
    // An unmatched line holding a lower-case "(stop)" mark: a treatment that keeps running
    // under its full text, or an action stopped on its own day.
    bool lowerCaseStop = false;

    bool operator==(const TreatmentCourse&) const = default;
};

// What a stop line says.
struct StopLine {
    enum class Mark { Stop, LowerCaseStop, OneTime };
    std::u16string name;  // the text before the mark, trailing blanks removed; never empty
    Mark mark = Mark::Stop;
};

class TreatmentLines {
public:
    // The lines of a section text as treatments read them: cut at line breaks, each line without
    // its leading bullets and blanks and its trailing blanks; empty lines left out.
    static std::vector<std::u16string_view> Lines(std::u16string_view section);
    // The same into `lines` (emptied first), reusing its storage.
    static void LinesInto(std::u16string_view section, std::vector<std::u16string_view>& lines);

    // The stop line a line is, if any: a line holding "(" + "One time" + ")", "(stop)" or
    // "(" + "Stop" + ")" after its first character. The name runs up to the "One time" mark when
    // there is one, else up to "(stop)", else up to the "Stop" mark.
    static std::optional<StopLine> ParseStopLine(std::u16string_view line,
                                                 const JournalWords& words);

    // The treatments or actions of a journal text, in order of start. Day blocks are taken in
    // ascending day order (a hand-edited journal out of order is read in order); blocks whose
    // opening is not a day number of the journal's range hold nothing.
    static std::vector<TreatmentCourse> Read(std::u16string_view journal, TreatmentKind kind,
                                             const JournalWords& words);
};

}  // namespace pondrel
