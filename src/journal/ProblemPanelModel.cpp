#include "journal/ProblemPanelModel.h"

#include <algorithm>
#include <utility>

#include "journal/EditedRecord.h"
#include "journal/JournalWords.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"

namespace pondrel {

namespace {

const std::u16string kNoProblemRow = u"---------------------- Aucun --------------------- ";
const std::u16string kReadOnly = u"Read only";
const std::u16string kTooManyProblems = u"No more than 100 problems allowed";

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string TrimBlanks(std::u16string text) {
    while (!text.empty() && IsBlank(text.back())) text.pop_back();
    return text;
}

bool EndsWith(std::u16string_view text, std::u16string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

std::u16string FirstLetter(const std::u16string& word) {
    return word.substr(0, 1);
}

const char16_t* UrgencyMark(int urgency, bool opening) {
    switch (urgency) {
        case 1:
            return u"!";
        case 2:
            return u"!!!";
        default:
            return opening ? u"-" : u" ";
    }
}

}  // namespace

ProblemPanelModel::ProblemPanelModel(UserMessages& messages, const JournalWords& words)
    : m_messages(messages), m_words(words) {}

void ProblemPanelModel::Open(EditedRecord& record, DayNumber day) {
    if (m_record) CommitCurrentProblem();  // the patient shown before keeps its last edit
    m_record = &record;
    m_journal.SetText(record.JournalText());
    m_journalDirty = false;
    m_current = 0;
    m_day = day;
    m_dayAdded = false;
    m_titleChanged = false;
    m_sectionsChanged = false;
    m_pending = {};
    SetEntryDays(m_journal.Reader().EntryDays());
    Recount();
    ShowCurrentProblem(true);
}

EditorRefresh ProblemPanelModel::Close() {
    EditorRefresh refresh = CommitCurrentProblem();
    m_record = nullptr;
    m_journal.SetText({});
    m_entryDays.clear();
    m_count = 0;
    m_current = 0;
    ShowCurrentProblem(true);
    return refresh;
}

void ProblemPanelModel::SetEntryDays(std::vector<DayNumber> days) {
    m_entryDays = std::move(days);
    m_entryDaysOutOfDate = false;
}

void ProblemPanelModel::StoreJournal() {
    if (m_record && m_journalDirty) {
        m_record->StoreJournal(m_journal.Text());
        m_journalDirty = false;
    }
}

EditorRefresh ProblemPanelModel::CommitCurrentProblem() {
    if (!m_record) return {};
    EditorRefresh refresh = std::exchange(m_pending, {});
    if (m_titleChanged) {
        m_titleChanged = false;
        const bool hadTitle = !m_journal.GetProblemTitle(m_current).empty();
        if (m_journal.SetProblemHeader(m_current, m_title, m_differentialDiagnosis, m_redaction) ==
            ProblemJournal::HeaderWrite::Written) {
            m_journalDirty = true;
            // A differential diagnosis or redaction typed into the free slot gave the problem
            // its default title: the title field shows it.
            if (!hadTitle && ProblemJournal::CleanHeaderField(m_title).empty()) {
                m_title = m_journal.GetProblemTitle(m_current);
                refresh.panel = true;
            }
        }
        Recount();
        refresh.caption = true;
    }
    if (m_sectionsChanged) {
        m_sectionsChanged = false;
        ProblemJournal::EntryWrite write = m_journal.SetEntry(m_day, m_current, m_sections);
        if (write.changed) {
            m_journalDirty = true;
            m_entryDaysOutOfDate = true;
        }
        if (write.titleCreated) {
            m_title = m_journal.GetProblemTitle(m_current);
            Recount();
            refresh.caption = true;
            refresh.panel = true;
        }
        bool daysChanged =
            write.dayBlockCreated || (write.entryDeleted && !m_journal.DayHasEntries(m_day));
        if (!m_dayAdded) {
            if (!std::binary_search(m_entryDays.begin(), m_entryDays.end(), m_day)) {
                daysChanged = true;
            }
            m_dayAdded = true;
        }
        if (daysChanged) {
            // The days are rebuilt from the record, which must hold the new journal first.
            StoreJournal();
            SetEntryDays(m_journal.Reader().EntryDays());
            if (m_dayEvents) m_dayEvents->EntryDaysRebuilt();
            if (m_dayEvents && (write.dayBlockCreated || write.entryDeleted)) {
                m_dayEvents->RebuildDayList();
            }
            refresh.dayList = true;
            refresh.caption = true;
        }
    }
    StoreJournal();
    return refresh;
}

EditorRefresh ProblemPanelModel::ReplaceJournal(std::u16string text) {
    EditorRefresh refresh = CommitCurrentProblem();
    if (Refuse()) return refresh;
    m_journal.SetText(std::move(text));
    m_journalDirty = true;
    StoreJournal();
    m_current = 0;
    Recount();
    SetEntryDays(m_journal.Reader().EntryDays());
    if (m_dayEvents) {
        m_dayEvents->EntryDaysRebuilt();
        m_dayEvents->RebuildDayList();
    }
    ShowCurrentProblem();
    refresh.panel = refresh.caption = refresh.dayList = refresh.day = true;
    refresh.patientList = refresh.treatmentTable = refresh.actionTable = true;
    refresh.problemSummary = refresh.evolutionSummary = refresh.daySummary = true;
    return refresh;
}

void ProblemPanelModel::ShowCurrentProblem(bool opening) {
    JournalReader reader = m_journal.Reader();
    std::optional<ProblemHeader> header = reader.GetProblemHeader(m_current);
    m_title = header ? header->title : std::u16string();
    m_differentialDiagnosis = header ? header->differentialDiagnosis : std::u16string();
    m_redaction = header ? header->redaction : std::u16string();
    m_sections = reader.GetEntry(m_day, m_current);
    m_urgency = UrgencyOf(m_title);
    m_urgencyText = UrgencyMark(m_urgency, opening);
    m_titleChanged = false;
    m_sectionsChanged = false;
}

bool ProblemPanelModel::MayChange() {
    if (!m_record) return false;
    if (m_gate) return m_gate();
    if (!m_record->IsReadOnly()) return true;
    m_messages.ShowNotice(kReadOnly, 1000, true);
    return false;
}

EditorRefresh ProblemPanelModel::CommitOrDefer(EditCommit commit, const EditorRefresh& refresh) {
    if (commit == EditCommit::Deferred) {
        m_pending |= refresh;
        return {};
    }
    EditorRefresh result = CommitCurrentProblem();
    result |= refresh;
    return result;
}

ProblemPanelModel::EditResult ProblemPanelModel::EditTitle(std::u16string text, EditCommit commit) {
    EditResult result;
    if (Refuse()) {
        m_title = m_journal.GetProblemTitle(m_current);
        result.accepted = false;
        result.refresh.panel = true;
        return result;
    }
    m_title = std::move(text);
    m_titleChanged = true;
    EditorRefresh changed;
    changed.caption = true;
    changed.patientList = m_current == 0;
    changed.problemSummary = true;
    result.refresh = CommitOrDefer(commit, changed);
    return result;
}

ProblemPanelModel::EditResult ProblemPanelModel::EditDifferentialDiagnosis(std::u16string text,
                                                                           EditCommit commit) {
    EditResult result;
    if (Refuse()) {
        m_differentialDiagnosis = m_journal.GetDifferentialDiagnosis(m_current);
        result.accepted = false;
        result.refresh.panel = true;
        return result;
    }
    m_differentialDiagnosis = std::move(text);
    m_titleChanged = true;
    result.refresh = CommitOrDefer(commit, {});
    return result;
}

ProblemPanelModel::EditResult ProblemPanelModel::EditRedaction(std::u16string text,
                                                               EditCommit commit) {
    EditResult result;
    if (Refuse()) {
        m_redaction = m_journal.GetProblemRedaction(m_current);
        result.accepted = false;
        result.refresh.panel = true;
        return result;
    }
    m_redaction = std::move(text);
    m_titleChanged = true;
    result.refresh = CommitOrDefer(commit, {});
    return result;
}

ProblemPanelModel::EditResult ProblemPanelModel::EditSection(int section, std::u16string text,
                                                             EditCommit commit) {
    EditResult result;
    if (section < 0 || section >= kSectionCount) {
        result.accepted = false;
        return result;
    }
    auto index = static_cast<size_t>(section);
    if (Refuse()) {
        m_sections[index] = m_journal.GetSection(m_day, m_current, section);
        result.accepted = false;
        result.refresh.panel = true;
        return result;
    }
    m_sections[index] = std::move(text);
    m_sectionsChanged = true;
    EditorRefresh changed;
    changed.treatmentTable = section == static_cast<int>(Section::Medicine);
    changed.actionTable = section == static_cast<int>(Section::Attitude);
    result.refresh = CommitOrDefer(commit, changed);
    return result;
}

EditorRefresh ProblemPanelModel::MoveTo(int problem) {
    EditorRefresh refresh = CommitCurrentProblem();
    m_current = std::clamp(problem, 0, kMaxProblems - 1);
    Recount();
    ShowCurrentProblem();
    refresh.caption = true;
    refresh.panel = true;
    refresh.evolutionSummary = true;
    return refresh;
}

EditorRefresh ProblemPanelModel::NextProblem() {
    EditorRefresh refresh = CommitCurrentProblem();
    int next = m_current;
    // Only a problem with a stored title can be left forward, so at most one empty slot
    // follows the last problem and the numbers never have a gap.
    if (!m_journal.GetProblemTitle(m_current).empty()) {
        if (m_current + 1 >= kMaxProblems) {
            m_messages.ShowNotice(kTooManyProblems, 2000, true);
        } else {
            next = m_current + 1;
        }
    }
    refresh |= MoveTo(next);
    return refresh;
}

EditorRefresh ProblemPanelModel::PreviousProblem() {
    return MoveTo(m_current - 1);
}

bool ProblemPanelModel::CanSummaryNext() const {
    return m_current + 1 < kMaxProblems && !m_journal.GetProblemTitle(m_current + 1).empty();
}

std::u16string ProblemPanelModel::StateMark(int problem) const {
    std::u16string state = m_journal.GetProblemState(problem);
    if (state == u"I") return u"(" + FirstLetter(m_words.solved) + u")";
    if (state == u"C") return u"(" + FirstLetter(m_words.closed) + u")";
    return {};
}

std::u16string ProblemPanelModel::Caption() const {
    std::u16string mark = StateMark(m_current);
    return FirstLetter(m_words.problem) + ToText(m_current + 1) + u"/" + ToText(m_count) + u": " +
           m_journal.Reader().ProblemSpanText(m_current, mark.empty(), m_words) + u" " + mark;
}

std::vector<std::u16string> ProblemPanelModel::ProblemListRows() {
    CommitCurrentProblem();
    Recount();
    std::vector<std::u16string> rows;
    JournalReader reader = m_journal.Reader();
    for (int p = 0; p < m_count; ++p) {
        std::u16string mark = StateMark(p);
        rows.push_back(FirstLetter(m_words.problemNumber) + ToText(p + 1) + u": " +
                       reader.GetProblemTitle(p) + u"   " + mark + u"(" +
                       reader.ProblemSpanText(p, mark.empty(), m_words) + u")");
    }
    if (rows.empty()) rows.push_back(kNoProblemRow);
    return rows;
}

int ProblemPanelModel::PreselectedRow() const {
    for (int p = 0; p < m_count; ++p) {
        if (m_journal.GetProblemTitle(p) == m_title) return p;
    }
    return -1;
}

EditorRefresh ProblemPanelModel::ChooseProblem(int row) {
    if (row < 0 || row > std::max(m_count - 1, 0)) return {};
    EditorRefresh refresh = MoveTo(row);
    refresh.problemSummary = true;
    return refresh;
}

int ProblemPanelModel::UrgencyOf(std::u16string_view title) {
    std::u16string trimmed = TrimBlanks(std::u16string(title));
    if (EndsWith(trimmed, u"(!!!)")) return 2;
    if (EndsWith(trimmed, u"(!)")) return 1;
    return 0;
}

ProblemPanelModel::EditResult ProblemPanelModel::CycleUrgency() {
    int urgency = (m_urgency + 1) % 3;
    std::u16string title = TrimBlanks(m_title);
    if (EndsWith(title, u"!)")) {
        while (!title.empty() && title.back() == u')') title.pop_back();
        while (!title.empty() && (title.back() == u'(' || title.back() == u'!')) title.pop_back();
        title = TrimBlanks(std::move(title));
    }
    if (urgency == 1) title += u" (!)";
    if (urgency == 2) title += u" (!!!)";
    EditResult result = EditTitle(std::move(title));
    if (result.accepted) {
        m_urgency = urgency;
        m_urgencyText = UrgencyMark(urgency, true);
    }
    result.refresh.panel = true;
    return result;
}

ProblemPanelModel::SectionLayout ProblemPanelModel::NextEnlargedLayout() const {
    if (m_layout == SectionLayout::AnamnesiaStatus) return SectionLayout::AttitudeExaminations;
    if (m_layout == SectionLayout::AttitudeExaminations) return SectionLayout::AnamnesiaStatus;
    return m_lastEnlarged == SectionLayout::AnamnesiaStatus ? SectionLayout::AttitudeExaminations
                                                            : SectionLayout::AnamnesiaStatus;
}

void ProblemPanelModel::ToggleEnlargedLayout() {
    m_layout = NextEnlargedLayout();
    m_lastEnlarged = m_layout;
}

const std::u16string& ProblemPanelModel::SectionText(int section) const {
    static const std::u16string kNone;
    if (section < 0 || section >= kSectionCount) return kNone;
    return m_sections[static_cast<size_t>(section)];
}

}  // namespace pondrel
