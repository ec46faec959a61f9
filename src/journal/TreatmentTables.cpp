#include "journal/TreatmentTables.h"

#include "journal/JournalDays.h"
#include "journal/JournalWords.h"
#include "journal/SubfolderDates.h"
#include "platform/Text.h"

namespace pondrel {

namespace {

// Day counters above this are not written (a start in year 1900 seen from year 9999).
constexpr int kMaxDayCounter = 9999;

std::u16string DayCounter(const JournalWords& words, long long n) {
    return words.dayLetter + ToText(n);
}

}  // namespace

TreatmentDays TreatmentDays::Of(const SubfolderDates& dates, DayNumber today,
                                std::optional<DayNumber> currentDay) {
    TreatmentDays days;
    days.today = today;
    days.lastDay = LastDayOf(dates, today);
    days.currentDay = currentDay.value_or(days.lastDay);
    days.firstDay = FirstDayOf(dates);
    return days;
}

std::u16string SheetDayText(DayNumber day, const JournalWords& words, DateOrder order) {
    return words.weekdays[static_cast<size_t>(WeekdayOf(day))].substr(0, 2) + u" " +
           DateStamp(day, order);
}

std::u16string BuildTreatmentText(const std::vector<TreatmentCourse>& courses,
                                  const JournalWords& words, DateOrder order) {
    std::u16string text;
    for (const auto& course : courses) {
        if (!text.empty()) text += u"\r\n";
        text += words.dayLetter + ToText(course.startDay) + u"  " +
                SheetDayText(course.startDay, words, order) + u" : " + course.text + u" ";
        if (course.stopDay) {
            text += u"(" + words.stop + u" " + words.dayLetter + ToText(*course.stopDay) + u"  " +
                    SheetDayText(*course.stopDay, words, order) + u")";
        }
    }
    return text;
}

std::u16string TreatmentStatus(const TreatmentCourse& course, DayNumber reference,
                               const JournalWords& words, DateOrder order) {
    std::u16string since = u" (" + words.start + u"  " + DateStamp(course.startDay, order) + u")";
    std::u16string counter = DayCounter(words, HospitalDayIndex(reference, course.startDay));
    if (course.stopDay && *course.stopDay == reference) {
        return words.stop + u" " + counter + since;
    }
    if (course.startDay == reference) return words.start;
    return counter + since;
}

TreatmentSheet SheetOf(std::vector<TreatmentCourse> courses, TreatmentKind,
                       const TreatmentDays& days, const JournalWords& words, DateOrder order) {
    TreatmentSheet sheet;
    sheet.text = BuildTreatmentText(courses, words, order);
    for (size_t i = 0; i < courses.size(); ++i) {
        const TreatmentCourse& course = courses[i];
        TreatmentSheetRow row;
        row.course = i;
        row.text = course.text;
        row.start = SheetDayText(course.startDay, words, order);
        const std::optional<DayNumber> stopDay = course.stopDay;
        if (!stopDay) {
            long long n = static_cast<long long>(days.lastDay) - course.startDay + 1;
            if (n <= kMaxDayCounter && n >= -kMaxDayCounter) {
                row.start += u"  (" +
                             DayCounter(words, HospitalDayIndex(days.lastDay, course.startDay)) +
                             u")";
            }
        } else {
            if (*stopDay < days.firstDay) continue;
            long long duration = static_cast<long long>(*stopDay) - course.startDay + 1;
            if (duration <= kMaxDayCounter) row.stop = DayCounter(words, duration) + u"  ";
            row.stop += SheetDayText(*stopDay, words, order);
        }
        sheet.rows.push_back(std::move(row));
    }
    sheet.courses = std::move(courses);
    return sheet;
}

TreatmentLists ListsOf(std::vector<TreatmentCourse> courses, const TreatmentDays& days,
                       const JournalWords& words, DateOrder order) {
    TreatmentLists lists;
    for (size_t i = 0; i < courses.size(); ++i) {
        const TreatmentCourse& course = courses[i];
        if (course.startDay <= days.today && (!course.stopDay || *course.stopDay > days.today)) {
            lists.running.push_back(
                {course.text, TreatmentStatus(course, days.lastDay, words, order), i});
        }
        if (course.startDay <= days.currentDay &&
            (!course.stopDay || *course.stopDay >= days.currentDay)) {
            lists.currentDay.push_back(
                {course.text, TreatmentStatus(course, days.currentDay, words, order), i});
        }
    }
    lists.courses = std::move(courses);
    return lists;
}

TreatmentSheet BuildTreatmentSheet(TreatmentKind kind, const TreatmentInputs& inputs,
                                   const JournalWords& words) {
    return SheetOf(TreatmentLines::Read(inputs.journal, kind, words), kind, inputs.days, words,
                   inputs.dateOrder);
}

TreatmentLists BuildTreatmentLists(TreatmentKind kind, const TreatmentInputs& inputs,
                                   const JournalWords& words) {
    return ListsOf(TreatmentLines::Read(inputs.journal, kind, words), inputs.days, words,
                   inputs.dateOrder);
}

TreatmentTables::TreatmentTables(const JournalWords& words, InputsSource source)
    : m_words(words), m_source(std::move(source)) {}

void TreatmentTables::MarkSheetStale(TreatmentKind kind) {
    Slot(m_sheets, kind).stale = true;
    Slot(m_courses, kind).stale = true;
}

void TreatmentTables::MarkListsStale(TreatmentKind kind) {
    Slot(m_lists, kind).stale = true;
    Slot(m_courses, kind).stale = true;
}

void TreatmentTables::MarkStale(TreatmentKind kind) {
    MarkSheetStale(kind);
    MarkListsStale(kind);
}

void TreatmentTables::MarkAllStale() {
    MarkStale(TreatmentKind::Treatments);
    MarkStale(TreatmentKind::Actions);
}

TreatmentTables::Fingerprint TreatmentTables::FingerprintOf(const TreatmentInputs& inputs) {
    // FNV-1a over the journal's code units taken four at a time: a changed journal changes it.
    uint64_t hash = 14695981039346656037ull;
    const std::u16string_view journal = inputs.journal;
    size_t at = 0;
    for (; at + 4 <= journal.size(); at += 4) {
        uint64_t word = 0;
        for (size_t k = 0; k < 4; ++k) word |= uint64_t{journal[at + k]} << (16 * k);
        hash = (hash ^ word) * 1099511628211ull;
    }
    for (; at < journal.size(); ++at) hash = (hash ^ journal[at]) * 1099511628211ull;
    return Fingerprint{inputs.journal.size(), hash, inputs.days, inputs.dateOrder};
}

std::vector<TreatmentCourse> TreatmentTables::CoursesOf(TreatmentKind kind,
                                                        const TreatmentInputs& inputs,
                                                        const Fingerprint& fingerprint) {
    auto& slot = Slot(m_courses, kind);
    // The days do not change what is read.
    const bool sameJournal = slot.builtFrom && slot.builtFrom->size == fingerprint.size &&
                             slot.builtFrom->hash == fingerprint.hash &&
                             slot.builtFrom->order == fingerprint.order;
    if (slot.stale || !sameJournal) {
        slot.table = TreatmentLines::Read(inputs.journal, kind, m_words);
        slot.builtFrom = fingerprint;
        slot.stale = false;
    }
    return slot.table;
}

void TreatmentTables::RebuildSheet(TreatmentKind kind) {
    const TreatmentInputs inputs = m_source();
    Slot(m_courses, kind).stale = true;
    BuildSheet(kind, inputs, FingerprintOf(inputs));
}

void TreatmentTables::RebuildLists(TreatmentKind kind) {
    const TreatmentInputs inputs = m_source();
    Slot(m_courses, kind).stale = true;
    BuildLists(kind, inputs, FingerprintOf(inputs));
}

void TreatmentTables::BuildSheet(TreatmentKind kind, const TreatmentInputs& inputs,
                                 const Fingerprint& fingerprint) {
    auto& slot = Slot(m_sheets, kind);
    slot.table =
        SheetOf(CoursesOf(kind, inputs, fingerprint), kind, inputs.days, m_words, inputs.dateOrder);
    slot.builtFrom = fingerprint;
    slot.stale = false;
}

void TreatmentTables::BuildLists(TreatmentKind kind, const TreatmentInputs& inputs,
                                 const Fingerprint& fingerprint) {
    auto& slot = Slot(m_lists, kind);
    slot.table =
        ListsOf(CoursesOf(kind, inputs, fingerprint), inputs.days, m_words, inputs.dateOrder);
    slot.builtFrom = fingerprint;
    slot.stale = false;
}

const TreatmentSheet& TreatmentTables::Sheet(TreatmentKind kind) {
    auto& slot = Slot(m_sheets, kind);
    const TreatmentInputs inputs = m_source();
    const Fingerprint fingerprint = FingerprintOf(inputs);
    if (slot.stale || slot.builtFrom != fingerprint) BuildSheet(kind, inputs, fingerprint);
    return slot.table;
}

const TreatmentLists& TreatmentTables::Lists(TreatmentKind kind) {
    auto& slot = Slot(m_lists, kind);
    const TreatmentInputs inputs = m_source();
    const Fingerprint fingerprint = FingerprintOf(inputs);
    if (slot.stale || slot.builtFrom != fingerprint) BuildLists(kind, inputs, fingerprint);
    return slot.table;
}

}  // namespace pondrel
