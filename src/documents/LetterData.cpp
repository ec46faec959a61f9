#include "documents/LetterData.h"

#include "journal/Ages.h"
#include "journal/DayNavigator.h"
#include "journal/JournalDays.h"
#include "journal/JournalWords.h"
#include "journal/ProblemPanelModel.h"
#include "journal/RecordEditing.h"
#include "journal/TreatmentTables.h"
#include "platform/Clock.h"
#include "platform/UserMessages.h"

namespace pondrel {
namespace {

// The rows of a current-day list that still run after the day: a letter's current treatment
// leaves out what stops that day (one-time doses of the day included).
std::vector<std::u16string> RunningAfter(const TreatmentLists& lists, DayNumber day) {
    std::vector<std::u16string> texts;
    texts.reserve(lists.currentDay.size());
    for (const TreatmentListRow& row : lists.currentDay) {
        const TreatmentCourse& course = lists.courses[row.course];
        if (course.stopDay && *course.stopDay <= day) continue;
        texts.push_back(row.text);
    }
    return texts;
}

// Opening a patient asks nothing: a navigator opened here never shows a box or a notice.
class NoMessages final : public UserMessages {
public:
    BoxAnswer ShowBox(const std::u16string&, const std::u16string&, BoxButtons, BoxIcon) override {
        return BoxAnswer::Cancel;
    }
    void ShowNotice(const std::u16string&, int, bool) override {}
};

class StoppedClock final : public Clock {
public:
    explicit StoppedClock(const DateTime& now) : m_now(now) {}
    DateTime Now() override { return m_now; }
    uint64_t TickCount() override { return 0; }

private:
    DateTime m_now;
};

}  // namespace

TemplateData MakeTemplateData(const PatientRecord& record, const Labels& labels, DateOrder order,
                              const DateTime& now, LetterDays days) {
    TemplateData data(record, labels);
    data.dateOrder = order;
    data.stayDays = std::move(days.days);
    data.currentDay = days.currentDay;
    data.age = IdentityAge(record, now, AgeWords::From(labels));

    const JournalWords words = JournalWordsFrom(labels);
    const TreatmentInputs inputs{
        record.problemJournal,
        TreatmentDays::Of(DatesOf(record), CalendarDayOf(now), data.currentDay), order};
    TreatmentLists treatments = BuildTreatmentLists(TreatmentKind::Treatments, inputs, words);
    TreatmentLists actions = BuildTreatmentLists(TreatmentKind::Actions, inputs, words);
    data.treatmentsToday = RunningAfter(treatments, data.currentDay);
    data.actionsToday = RunningAfter(actions, data.currentDay);
    data.treatmentCourses = std::move(treatments.courses);
    data.actionCourses = std::move(actions.courses);
    return data;
}

LetterDays DaysOnOpening(PatientRecord& record, const Labels& labels, const DateTime& now) {
    NoMessages messages;
    StoppedClock clock(now);
    const JournalWords words = JournalWordsFrom(labels);
    ProblemPanelModel panel(messages, words);
    DayNavigator navigator(panel, clock, messages, words);
    RecordEditing editing(record);
    navigator.OpenPatient(editing);
    LetterDays days{navigator.ShownDays(), panel.CurrentDay()};
    navigator.ClosePatient();
    return days;
}

}  // namespace pondrel
