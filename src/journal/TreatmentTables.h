#pragma once

// The treatment and action tables: for each kind (treatments from the Medicine sections, actions
// from the Attitude sections, see TreatmentLines.h) the dated text of the whole journal, the
// three-column sheet (what was given, from when, until when), the running list (what runs today)
// and the current-day list (what runs on the day edited or summarised).
//
// How to get them:
//  - For the open patient, from the problem page's TreatmentTables (CProblemPanel::Treatments()):
//        const TreatmentLists& lists = tables.Lists(TreatmentKind::Treatments);
//        lists.running     // rows of the running list (the problem and evolution summaries)
//        lists.currentDay  // rows of the current-day list (the day summary, letters)
//        tables.Sheet(TreatmentKind::Actions).rows   // the action order sheet
//        tables.Sheet(TreatmentKind::Treatments).text  // the sheet text of the letters
//    Each call brings its table up to date first: it is rebuilt when marked stale (MarkStale...)
//    or when the journal or the days changed since it was built.
//  - For any record and day, without keeping anything (the all-patient summaries, the tool):
//        TreatmentInputs in{record.problemJournal,
//                           TreatmentDays::Of(record.Dates(), today, day), DateOrder::...};
//        TreatmentLists lists = BuildTreatmentLists(TreatmentKind::Treatments, in, words);
//        TreatmentSheet sheet = BuildTreatmentSheet(TreatmentKind::Actions, in, words);
//
// Each list row holds the text and its status: the "Start" label when the treatment starts on
// the reference day, "Stop D3 (Start  13.3.06)" when it stops that day, else
// "D3 (Start  13.3.06)", 3 being the day of treatment.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/TreatmentLines.h"
#include "records/DayNumber.h"

namespace pondrel {

struct JournalWords;
struct SubfolderDates;

// The days the tables are built for.
struct TreatmentDays {
    DayNumber today = 0;       // the calendar date of the device: the running list's day
    DayNumber lastDay = 0;     // today, or the exit day of a closed subfolder: the running
                               // list's reference day and the sheet's day counter
    DayNumber currentDay = 0;  // the day edited or summarised: the current-day list's day
    DayNumber firstDay = 0;    // the first day of the subfolder: earlier stops leave the sheet

    // The days of a subfolder: the last day and first day from its dates; the current day
    // defaults to the last day.
    static TreatmentDays Of(const SubfolderDates& dates, DayNumber today,
                            std::optional<DayNumber> currentDay = std::nullopt);
    bool operator==(const TreatmentDays&) const = default;
};

// What a table is built from. `journal` must stay alive during the build.
struct TreatmentInputs {
    std::u16string_view journal;
    TreatmentDays days;
    DateOrder dateOrder = DateOrder::DayMonthYear;
};

// A row of a sheet: text, start ("Mo 13.3.06", with "  (D3)" while running) and stop
// ("D3  We 15.3.06", empty while running).
struct TreatmentSheetRow {
    std::u16string text;
    std::u16string start;
    std::u16string stop;
    size_t course = 0;  // index into TreatmentSheet::courses

    bool operator==(const TreatmentSheetRow&) const = default;
};

struct TreatmentSheet {
    // The dated text, one line per course: "D2263  Mo 13.3.06 : amoxicillin 1 g x3 " and, when
    // stopped, "(Stop D2265  We 15.3.06)"; lines joined by "\r\n".
    std::u16string text;
    std::vector<TreatmentSheetRow> rows;
    std::vector<TreatmentCourse> courses;
};

// A row of a running or current-day list: the text and the status.
struct TreatmentListRow {
    std::u16string text;
    std::u16string status;
    size_t course = 0;  // index into TreatmentLists::courses

    bool operator==(const TreatmentListRow&) const = default;
};

struct TreatmentLists {
    std::vector<TreatmentListRow> running;
    std::vector<TreatmentListRow> currentDay;
    std::vector<TreatmentCourse> courses;
};

// The dated text of the courses (see TreatmentSheet::text).
std::u16string BuildTreatmentText(const std::vector<TreatmentCourse>& courses,
                                  const JournalWords& words, DateOrder order);
// The status of a course on reference day `reference`.
std::u16string TreatmentStatus(const TreatmentCourse& course, DayNumber reference,
                               const JournalWords& words, DateOrder order);
// "Mo 13.3.06": the first two letters of the weekday and the date stamp.
std::u16string SheetDayText(DayNumber day, const JournalWords& words, DateOrder order);

// The whole table of a kind from a journal text.
TreatmentSheet BuildTreatmentSheet(TreatmentKind kind, const TreatmentInputs& inputs,
                                   const JournalWords& words);
TreatmentLists BuildTreatmentLists(TreatmentKind kind, const TreatmentInputs& inputs,
                                   const JournalWords& words);
// The same from courses already read.
TreatmentSheet SheetOf(std::vector<TreatmentCourse> courses, TreatmentKind kind,
                       const TreatmentDays& days, const JournalWords& words, DateOrder order);
TreatmentLists ListsOf(std::vector<TreatmentCourse> courses, const TreatmentDays& days,
                       const JournalWords& words, DateOrder order);

// The tables of the open patient, rebuilt only when out of date. The four out-of-date flags
// (the two sheets, the two pairs of lists) are set by the editors: a Medicine section changed
// (treatments), an Attitude section changed (actions), the current day moved (both lists), a
// patient was shown (all four). A table is also rebuilt when its inputs differ from those it
// was built from, so a forgotten flag never shows a stale order sheet.
class TreatmentTables {
public:
    using InputsSource = std::function<TreatmentInputs()>;

    // `words` must outlive the tables; `source` gives the inputs of the open patient (its
    // journal must stay alive until the table is built).
    TreatmentTables(const JournalWords& words, InputsSource source);
    TreatmentTables(const TreatmentTables&) = delete;
    TreatmentTables& operator=(const TreatmentTables&) = delete;

    // A stale table is rebuilt from the journal read again (the words may have changed too).
    void MarkSheetStale(TreatmentKind kind);
    void MarkListsStale(TreatmentKind kind);
    // The sheet and the lists of the kind.
    void MarkStale(TreatmentKind kind);
    void MarkAllStale();
    bool SheetStale(TreatmentKind kind) const { return Slot(m_sheets, kind).stale; }
    bool ListsStale(TreatmentKind kind) const { return Slot(m_lists, kind).stale; }

    // Builds the sheet (or the lists) of the kind and clears its flag.
    void RebuildSheet(TreatmentKind kind);
    void RebuildLists(TreatmentKind kind);

    // Up to date (rebuilt first when needed).
    const TreatmentSheet& Sheet(TreatmentKind kind);
    const TreatmentLists& Lists(TreatmentKind kind);
    // The sheet text of the last sheet build, as kept for the letters (not rebuilt).
    const std::u16string& SheetText(TreatmentKind kind) const {
        return Slot(m_sheets, kind).table.text;
    }

private:
    // What a table was built from: the journal's size and hash, the days and the date order.
    struct Fingerprint {
        size_t size = 0;
        uint64_t hash = 0;
        TreatmentDays days;
        DateOrder order = DateOrder::DayMonthYear;
        bool operator==(const Fingerprint&) const = default;
    };
    template <typename Table>
    struct Cached {
        Table table;
        bool stale = true;
        std::optional<Fingerprint> builtFrom;
    };
    template <typename Table>
    static Cached<Table>& Slot(Cached<Table> (&cache)[2], TreatmentKind kind) {
        return cache[kind == TreatmentKind::Treatments ? 0 : 1];
    }
    template <typename Table>
    static const Cached<Table>& Slot(const Cached<Table> (&cache)[2], TreatmentKind kind) {
        return cache[kind == TreatmentKind::Treatments ? 0 : 1];
    }
    static Fingerprint FingerprintOf(const TreatmentInputs& inputs);
    // The courses of the kind read from `inputs`: the sheet and the lists of a kind share one
    // reading of the journal, kept until the journal or the date order change or a table of
    // the kind is marked stale.
    std::vector<TreatmentCourse> CoursesOf(TreatmentKind kind, const TreatmentInputs& inputs,
                                           const Fingerprint& fingerprint);
    void BuildSheet(TreatmentKind kind, const TreatmentInputs& inputs,
                    const Fingerprint& fingerprint);
    void BuildLists(TreatmentKind kind, const TreatmentInputs& inputs,
                    const Fingerprint& fingerprint);

    const JournalWords& m_words;
    InputsSource m_source;
    Cached<TreatmentSheet> m_sheets[2];
    Cached<TreatmentLists> m_lists[2];
    Cached<std::vector<TreatmentCourse>> m_courses[2];
};

}  // namespace pondrel
