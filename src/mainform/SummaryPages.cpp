#include "mainform/SummaryPages.h"

#include <algorithm>

#include "documents/HtmlSink.h"
#include "documents/HtmlSummaries.h"
#include "documents/OpenPatientView.h"
#include "journal/DayNavigator.h"
#include "journal/JournalDays.h"
#include "journal/JournalFormat.h"
#include "journal/JournalReader.h"
#include "journal/ProblemPanelModel.h"

namespace pondrel {

namespace {

constexpr int kSummaryPages[kSummaryKinds] = {21, 22, 38, 24, 25, 23, 34};

// What a page was built from, as one number (64-bit FNV-1a): two builds from the same inputs
// show the same page.
class Inputs {
public:
    void Add(long long value) {
        for (int i = 0; i < 8; ++i) Byte(static_cast<unsigned char>(value >> (8 * i)));
    }
    void Add(std::u16string_view text) {
        Add(static_cast<long long>(text.size()));
        for (char16_t c : text) {
            Byte(static_cast<unsigned char>(c));
            Byte(static_cast<unsigned char>(c >> 8));
        }
    }
    void Add(const DateTime& t) {
        for (int part : {t.year, t.month, t.day, t.hour, t.minute, t.second}) Add(part);
    }
    uint64_t Value() const { return m_hash; }

private:
    void Byte(unsigned char b) {
        m_hash ^= b;
        m_hash *= 1099511628211ull;
    }
    uint64_t m_hash = 14695981039346656037ull;
};

// Everything of a record a summary may show.
void AddRecord(Inputs& inputs, const PatientRecord& record) {
    for (const std::u16string& field : record.fields) inputs.Add(field);
    inputs.Add(record.problemJournal);
    for (int value :
         {record.sex, record.exitDateSet, record.admissionDay, record.historyStartDay}) {
        inputs.Add(value);
    }
    inputs.Add(record.admission);
    inputs.Add(record.exit);
    inputs.Add(record.subfolderType);
}

// What the tasks summary shows of a record: its identity, room, to-do text and first title.
void AddTasksOf(Inputs& inputs, const PatientRecord& record) {
    for (int field : {2, 3, 4, 5, 6, 94, 98}) inputs.Add(record.Field(field));
    inputs.Add(record.sex);
    inputs.Add(JournalReader(record.problemJournal).GetProblemTitle(0));
}

bool IsPatientKind(SummaryKind kind) {
    return kind != SummaryKind::Tasks && kind != SummaryKind::AllPatients;
}

}  // namespace

int SummaryPageOf(SummaryKind kind) {
    return kSummaryPages[static_cast<size_t>(kind)];
}

std::optional<SummaryKind> SummaryKindOfPage(int page) {
    for (int k = 0; k < kSummaryKinds; ++k) {
        if (kSummaryPages[k] == page) return static_cast<SummaryKind>(k);
    }
    return std::nullopt;
}

void SummaryPages::MarkAllStale() {
    for (Page& page : m_pages) page.stale = true;
}

const std::u16string& SummaryPages::Caption(SummaryKind kind) const {
    return Slot(kind).caption;
}

std::optional<SummaryEditor> SummaryPages::EditorOf(PatientRecord* record) {
    if (!record || record->inUse == 0) return std::nullopt;
    return m_form.Editor(*record);
}

bool SummaryPages::Show(SummaryKind kind, PatientRecord* record, HtmlSink& sink) {
    const SummaryContext& context = m_form.Context();
    const DayNumber today = m_form.Today();
    Inputs inputs;
    inputs.Add(static_cast<long long>(m_form.SettingsStamp()));
    inputs.Add(today);

    std::optional<OpenPatient> open;
    std::optional<FormArrangement> arrangement;
    std::vector<const PatientRecord*> patients;
    DayNumber day = 0;
    std::u16string dayCaption;
    if (IsPatientKind(kind)) {
        if (auto editor = EditorOf(record)) {
            open = OpenPatientOf(*record, editor->panel, editor->days);
            AddRecord(inputs, *record);
            inputs.Add(open->currentDay);
            inputs.Add(open->currentProblem);
            inputs.Add(static_cast<long long>(open->days.size()));
            if (!open->days.empty()) {
                inputs.Add(open->days.front());
                inputs.Add(open->days.back());
            }
            inputs.Add(open->dayCaption);
        }
        if (open && kind == SummaryKind::Entry) {
            arrangement = m_form.Arrangement();
            for (int page : arrangement->fieldPage) inputs.Add(page);
            for (const auto& title : arrangement->pageTitles) inputs.Add(title);
            for (const auto& title : arrangement->blockTitles) inputs.Add(title);
            inputs.Add(arrangement->admissionCaption);
        }
    } else {
        patients = m_form.PatientList();
        inputs.Add(static_cast<long long>(patients.size()));
        for (const PatientRecord* patient : patients) {
            if (kind == SummaryKind::Tasks) {
                AddTasksOf(inputs, *patient);
            } else {
                AddRecord(inputs, *patient);
            }
        }
        if (kind == SummaryKind::AllPatients) {
            day = AllPatientsDay(record);
            auto editor = EditorOf(record);
            dayCaption =
                editor ? editor->days.DateLabel() : DateLabelText(day, day, false, context.words);
            inputs.Add(day);
            inputs.Add(dayCaption);
        }
    }

    Page& page = Slot(kind);
    if (page.built && !page.stale && page.inputs == inputs.Value()) return false;
    page.built = true;
    page.stale = false;
    page.inputs = inputs.Value();
    if (IsPatientKind(kind) && !open) {
        // No patient to summarise (an empty set or a record not begun yet): an empty page.
        sink.Clear();
        sink.AppendHtml(u"<HTML><BODY></BODY></HTML>");
        sink.EndOfSource();
        page.caption.clear();
        return true;
    }
    switch (kind) {
        case SummaryKind::Day:
            page.caption = BuildDaySummary(sink, *open, context);
            break;
        case SummaryKind::Problem:
            page.caption = BuildProblemSummary(sink, *open, context);
            break;
        case SummaryKind::Evolution:
            BuildEvolutionSummary(sink, *open, context);
            break;
        case SummaryKind::Exams:
            BuildExamsSummary(sink, *open, context);
            break;
        case SummaryKind::Entry:
            BuildEntrySummary(sink, *open, *arrangement, context);
            break;
        case SummaryKind::Tasks:
            BuildTasksSummary(sink, patients, context);
            break;
        case SummaryKind::AllPatients:
            page.caption = BuildAllPatientsSummary(sink, patients, day, dayCaption, context);
            break;
    }
    return true;
}

bool SummaryPages::Moved(bool changed, const EditorRefresh& refresh) {
    m_form.EditorMoved(refresh);
    if (changed) {
        MarkStale(SummaryKind::Day);
        MarkStale(SummaryKind::AllPatients);
    }
    return changed;
}

bool SummaryPages::MoveDay(PatientRecord* record, DayCommand command) {
    auto editor = EditorOf(record);
    if (!editor) return false;
    const DayNumber before = editor->panel.CurrentDay();
    DayNavigator& days = editor->days;
    EditorRefresh refresh;
    switch (command) {
        case DayCommand::PreviousDay:
            if (!days.CanSummaryPreviousDay()) return false;
            refresh = days.PreviousDay();
            break;
        case DayCommand::NextDay:
            refresh = days.NextDay();
            break;
        case DayCommand::PreviousEntryDay:
            refresh = days.PreviousEntryDay();
            break;
        case DayCommand::NextEntryDay:
            refresh = days.NextEntryDay();
            break;
        case DayCommand::Now:
            refresh = days.Now();
            break;
        case DayCommand::FirstDay:
            refresh = days.FirstDay();
            break;
    }
    return Moved(editor->panel.CurrentDay() != before, refresh);
}

SummaryPages::ListRows SummaryPages::DayRows(PatientRecord* record) {
    auto editor = EditorOf(record);
    if (!editor) return {};
    return {editor->days.DayRows(), editor->days.SelectedRow()};
}

bool SummaryPages::ChooseDayRow(PatientRecord* record, int row) {
    auto editor = EditorOf(record);
    if (!editor) return false;
    const DayNumber before = editor->panel.CurrentDay();
    EditorRefresh refresh = editor->days.ChooseDayRow(row);
    return Moved(editor->panel.CurrentDay() != before, refresh);
}

SummaryPages::ListRows SummaryPages::ProblemRows(PatientRecord* record) {
    auto editor = EditorOf(record);
    if (!editor) return {};
    ListRows list{editor->panel.ProblemListRows(), -1};
    list.selected = editor->panel.PreselectedRow();
    return list;
}

bool SummaryPages::ChooseProblemRow(PatientRecord* record, int row) {
    auto editor = EditorOf(record);
    if (!editor || row < 0 || row >= editor->panel.ProblemCount()) return false;
    const int before = editor->panel.CurrentProblem();
    m_form.EditorMoved(editor->panel.ChooseProblem(row));
    return editor->panel.CurrentProblem() != before;
}

bool SummaryPages::PreviousProblem(PatientRecord* record) {
    auto editor = EditorOf(record);
    if (!editor || !editor->panel.CanSummaryPrevious()) return false;
    const int before = editor->panel.CurrentProblem();
    EditorRefresh refresh = editor->panel.PreviousProblem();
    m_form.EditorMoved(refresh);
    return editor->panel.CurrentProblem() != before;
}

bool SummaryPages::NextProblem(PatientRecord* record) {
    auto editor = EditorOf(record);
    if (!editor || !editor->panel.CanSummaryNext()) return false;
    const int before = editor->panel.CurrentProblem();
    EditorRefresh refresh = editor->panel.NextProblem();
    m_form.EditorMoved(refresh);
    return editor->panel.CurrentProblem() != before;
}

DayNumber SummaryPages::AllPatientsDay(PatientRecord* record) {
    if (auto editor = EditorOf(record)) return editor->panel.CurrentDay();
    return m_ownDay.value_or(m_form.Today());
}

bool SummaryPages::MoveAllPatientsDay(PatientRecord* record, AllPatientsMove move) {
    const DayNumber today = m_form.Today();
    const DayNumber day = AllPatientsDay(record);
    DayNumber target = today;
    if (move == AllPatientsMove::Previous) target = std::max(day - 1, kFirstJournalDay);
    if (move == AllPatientsMove::Next) target = std::min(day + 1, kLastJournalDay);
    if (target == day) return false;
    if (auto editor = EditorOf(record)) {
        return Moved(true, editor->days.GoToDay(target));
    }
    m_ownDay = target;
    MarkStale(SummaryKind::Day);
    MarkStale(SummaryKind::AllPatients);
    return true;
}

}  // namespace pondrel
