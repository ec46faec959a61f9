#include "journal/TreatmentStops.h"

#include "journal/JournalWords.h"
#include "journal/ProblemPanelModel.h"
#include "journal/SectionHistory.h"
#include "journal/TreatmentTables.h"
#include "platform/UserMessages.h"

namespace pondrel {

namespace {

const std::u16string kBeforeStartCaption = u"Stop before starting day";
const std::u16string kConflictCaption = u"Stop conflict";

std::u16string BeforeStartText(TreatmentKind kind) {
    return std::u16string(kind == TreatmentKind::Treatments ? u"You can not stop this drug"
                                                            : u"You can not stop this action") +
           u" before it starts\r\n\r\nYou must stop it only the same day or several days after "
           u"it starts !";
}

std::u16string ConflictText(TreatmentKind kind) {
    return std::u16string(kind == TreatmentKind::Treatments ? u"This drug" : u"This action") +
           u" starts this day but under another problem.\r\n\r\nYou must stop it in the same "
           u"problem box where it starts !";
}

// Whether `section` holds the line `stop` ("name (Stop)"), bulleted or not.
bool HoldsLine(std::u16string_view section, std::u16string_view stop) {
    size_t start = 0;
    while (start <= section.size()) {
        size_t end = section.find(u"\r\n", start);
        if (end == std::u16string_view::npos) end = section.size();
        std::u16string_view line = section.substr(start, end - start);
        while (!line.empty() && (line.front() == u'-' || line.front() == u' ')) {
            line.remove_prefix(1);
        }
        while (!line.empty() && line.back() == u' ') line.remove_suffix(1);
        if (line == stop) return true;
        start = end + 2;
    }
    return false;
}

}  // namespace

TreatmentStops::TreatmentStops(ProblemPanelModel& panel, TreatmentTables& tables,
                               UserMessages& messages, const JournalWords& words)
    : m_panel(panel), m_tables(tables), m_messages(messages), m_words(words) {}

std::u16string TreatmentStops::StopText(std::u16string_view name) const {
    return std::u16string(name) + u" (" + m_words.stop + u")";
}

bool TreatmentStops::IsEnabled(StopButton button) {
    return m_panel.IsOpen() && !m_tables.Lists(KindOf(button)).running.empty();
}

std::vector<TreatmentStops::Row> TreatmentStops::Rows(StopButton button, EditorRefresh* refresh) {
    std::vector<Row> rows;
    if (!m_panel.IsOpen()) return rows;
    EditorRefresh committed = m_panel.CommitCurrentProblem();
    if (refresh) *refresh |= committed;
    const TreatmentLists& lists = m_tables.Lists(KindOf(button));
    const std::u16string& section =
        m_panel.SectionText(static_cast<int>(SectionOf(KindOf(button))));
    for (const TreatmentListRow& row : lists.running) {
        if (row.status.starts_with(m_words.stop)) continue;
        const TreatmentCourse& course = lists.courses[row.course];
        // Stopped on the day shown (a day before the last one): not offered a second time.
        if (HoldsLine(section, StopText(course.text))) continue;
        rows.push_back({row.text + u"   <" + row.status + u">", course.text, course.startDay});
    }
    return rows;
}

TreatmentStops::Result TreatmentStops::Choose(StopButton button, const Row& row) {
    Result result;
    if (!m_panel.IsOpen()) return result;
    const TreatmentKind kind = KindOf(button);
    const Section target = SectionOf(kind);
    const DayNumber today = m_panel.CurrentDay();
    result.refresh |= m_panel.CommitCurrentProblem();
    // A stop line changes the record: the gate first, before any question about the line.
    if (!m_panel.MayChange()) return result;

    if (today < row.startDay) {
        m_messages.ShowBox(BeforeStartText(kind), kBeforeStartCaption);
        return result;
    }
    // Entries of a day are read in problem order: a stop under a problem with a smaller number
    // than its start of the same day would come before it.
    bool startsToday = false;
    for (const TreatmentCourse& course : m_tables.Lists(kind).courses) {
        if (course.startDay == today && course.text == row.name) startsToday = true;
    }
    const int targetIndex = static_cast<int>(target);
    if (startsToday && m_panel.SectionText(targetIndex).find(row.name) == std::u16string::npos) {
        m_messages.ShowBox(ConflictText(kind), kConflictCaption);
        return result;
    }

    const std::u16string stopText = StopText(row.name);
    // A second stop of the same line on the same day would end the treatment twice.
    if (HoldsLine(m_panel.SectionText(targetIndex), stopText)) {
        m_messages.ShowNotice(u"Already stopped on this day", 2000, true);
        return result;
    }
    auto write = [&](Section section, std::u16string text) {
        const int index = static_cast<int>(section);
        auto choice = SectionHistory::AtEnd(m_panel.SectionText(index), std::move(text));
        auto inserted = SectionHistory::Insert(choice, m_panel.SectionText(index), 0);
        auto edit = m_panel.EditSection(index, inserted.text);
        result.refresh |= edit.refresh;
        result.focus = section;
        result.caret = inserted.caret;
        return edit.accepted;
    };
    if (!write(target, stopText)) return result;
    if (button == StopButton::Examinations && !write(Section::Examinations, row.name + u"=")) {
        return result;
    }
    result.stopped = true;
    result.refresh.panel = true;
    if (kind == TreatmentKind::Treatments) {
        result.refresh.treatmentTable = true;
    } else {
        result.refresh.actionTable = true;
    }
    m_tables.MarkStale(kind);
    return result;
}

}  // namespace pondrel
