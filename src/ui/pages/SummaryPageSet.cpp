#include "ui/pages/SummaryPageSet.h"

#include "ui/pages/WardControls.h"

#include "documents/RecordSummarySources.h"
#include "documents/SummaryDocumentCommands.h"
#include "documents/ui/CHtmlView.h"
#include "documents/ui/CSummaryPage.h"
#include "journal/Ages.h"
#include "journal/DayNavigator.h"
#include "journal/JournalDays.h"
#include "journal/ProblemPanelModel.h"
#include "journal/ui/CProblemPanel.h"
#include "labels/Labels.h"
#include "layout/FactoryArrangement.h"
#include "mainform/FormPage.h"
#include "mainform/MainFormController.h"
#include "mainform/PatientList.h"
#include "mainform/SummaryArrangement.h"
#include "platform/Clock.h"
#include "platform/ui/QtText.h"
#include "records/CCorvaneDoc.h"
#include "settings/Preferences.h"
#include "settings/SettingsValues.h"
#include "ui/pages/PageHost.h"
#include "ui/pages/ProblemPage.h"

namespace pondrel {

namespace {

constexpr int kNowLabel = 127;

struct PageLook {
    CSummaryPage::Bar bar;
    const char* name;
};

PageLook LookOf(SummaryKind kind) {
    switch (kind) {
        case SummaryKind::Day:
            return {CSummaryPage::Bar::Day, "daySummary"};
        case SummaryKind::Problem:
            return {CSummaryPage::Bar::Problem, "problemSummary"};
        case SummaryKind::Evolution:
            return {CSummaryPage::Bar::Caption, "evolutionSummary"};
        case SummaryKind::Exams:
            return {CSummaryPage::Bar::Caption, "examsSummary"};
        case SummaryKind::Entry:
            return {CSummaryPage::Bar::Caption, "entrySummary"};
        case SummaryKind::Tasks:
            return {CSummaryPage::Bar::Caption, "tasksSummary"};
        case SummaryKind::AllPatients:
            return {CSummaryPage::Bar::AllPatients, "allPatientsSummary"};
    }
    return {CSummaryPage::Bar::Caption, ""};
}

// 64-bit FNV-1a over the texts the summaries take from the labels and the preferences.
class Stamp {
public:
    void Add(std::u16string_view text) {
        for (char16_t c : text) Mix(c);
        Mix(0xFFFF);
    }
    void Add(int value) {
        Mix(static_cast<char16_t>(value)), Mix(static_cast<char16_t>(value >> 16));
    }
    uint64_t Value() const { return m_hash; }

private:
    void Mix(char16_t c) {
        m_hash = (m_hash ^ (c & 0xFF)) * 1099511628211ull;
        m_hash = (m_hash ^ (c >> 8)) * 1099511628211ull;
    }
    uint64_t m_hash = 14695981039346656037ull;
};

}  // namespace

// One summary page as the controller sees it.
class SummaryPageSet::Slot final : public FormPage {
public:
    Slot(SummaryPageSet& set, SummaryKind kind) : m_set(set), m_kind(kind) {}
    void ShowRecord(PatientRecord*) override { m_set.Show(m_kind); }
    void Commit() override {}

private:
    SummaryPageSet& m_set;
    SummaryKind m_kind;
};

SummaryPageSet::SummaryPageSet(PageHost& view, Clock& clock, ProblemPage& problems)
    : m_view(view), m_clock(clock), m_problems(problems) {
    for (int k = 0; k < kSummaryKinds; ++k) {
        const auto kind = static_cast<SummaryKind>(k);
        const PageLook look = LookOf(kind);
        auto* page = new CSummaryPage(look.bar, QString::fromLatin1(look.name));
        page->SetHandler([this, kind](CSummaryPage::Command command) {
            Command(kind, static_cast<int>(command));
        });
        page->SetListHandler([this, kind](int row) { ChooseRow(kind, row); });
        view.InstallPage(SummaryPageOf(kind), page);
        m_slots[static_cast<size_t>(k)] = std::make_unique<Slot>(*this, kind);
        view.Controller().SetPage(SummaryPageOf(kind), m_slots[static_cast<size_t>(k)].get());
    }
    AddDocumentButtons();
}

SummaryPageSet::~SummaryPageSet() {
    for (int k = 0; k < kSummaryKinds; ++k) {
        m_view.Controller().SetPage(SummaryPageOf(static_cast<SummaryKind>(k)), nullptr);
    }
}

CSummaryPage* SummaryPageSet::Page(SummaryKind kind) const {
    QWidget* band = m_view.Page(SummaryPageOf(kind));
    return band ? band->findChild<CSummaryPage*>(QString::fromLatin1(LookOf(kind).name)) : nullptr;
}

void SummaryPageSet::Show(SummaryKind kind) {
    CSummaryPage* page = Page(kind);
    if (!page) return;
    PatientRecord* record = m_view.Controller().ShownRecord();
    // The form does not repaint while a page is being built.
    const bool painting = m_view.Widget().updatesEnabled();
    m_view.Widget().setUpdatesEnabled(false);
    m_pages.Show(kind, record, page->View());
    m_view.Widget().setUpdatesEnabled(painting);
    const std::u16string& caption = m_pages.Caption(kind);
    if (kind == SummaryKind::Day || kind == SummaryKind::Problem ||
        kind == SummaryKind::AllPatients) {
        page->SetCaption(caption);
    } else {
        page->SetCaption(ToU16(m_view.PageName(SummaryPageOf(kind))));
    }
    UpdateBar(kind);
    page->update();
}

void SummaryPageSet::UpdateBar(SummaryKind kind) {
    CSummaryPage* page = Page(kind);
    const Labels& labels = m_view.GetLabels();
    page->SetButtonWords(ToQString(labels.Label(kNowLabel)), ToQString(labels.DayOneCaption()));
    PatientRecord* record = m_view.Controller().ShownRecord();
    ProblemPanelModel* panel = nullptr;
    DayNavigator* days = nullptr;
    if (CProblemPanel* widget = m_problems.Panel();
        widget && widget->IsOpen() && record && m_problems.OpenRecord() == record) {
        panel = &widget->Model();
        days = &widget->Days();
    }
    using C = CSummaryPage::Command;
    for (C command : {C::PreviousEntryDay, C::NextDay, C::NextEntryDay, C::FirstDay, C::Now,
                      C::PreviousProblem, C::NextProblem}) {
        page->EnableCommand(command, panel != nullptr);
    }
    page->EnableCommand(C::PreviousDay, kind == SummaryKind::AllPatients ||
                                            (days && days->CanSummaryPreviousDay()));
    if (panel) {
        page->EnableCommand(C::PreviousProblem, panel->CanSummaryPrevious());
        page->EnableCommand(C::NextProblem, panel->CanSummaryNext());
    }
    if (kind == SummaryKind::AllPatients) page->EnableCommand(C::NextDay, true);
}

void SummaryPageSet::Command(SummaryKind kind, int command) {
    PatientRecord* record = m_view.Controller().ShownRecord();
    using C = CSummaryPage::Command;
    using D = SummaryPages::DayCommand;
    bool changed = false;
    switch (static_cast<C>(command)) {
        case C::PreviousEntryDay:
            changed = m_pages.MoveDay(record, D::PreviousEntryDay);
            break;
        case C::PreviousDay:
            changed =
                kind == SummaryKind::AllPatients
                    ? m_pages.MoveAllPatientsDay(record, SummaryPages::AllPatientsMove::Previous)
                    : m_pages.MoveDay(record, D::PreviousDay);
            break;
        case C::NextDay:
            changed = kind == SummaryKind::AllPatients
                          ? m_pages.MoveAllPatientsDay(record, SummaryPages::AllPatientsMove::Next)
                          : m_pages.MoveDay(record, D::NextDay);
            break;
        case C::NextEntryDay:
            changed = m_pages.MoveDay(record, D::NextEntryDay);
            break;
        case C::FirstDay:
            changed = m_pages.MoveDay(record, D::FirstDay);
            break;
        case C::Now:
            changed = m_pages.MoveDay(record, D::Now);
            break;
        case C::PreviousProblem:
            changed = m_pages.PreviousProblem(record);
            break;
        case C::NextProblem:
            changed = m_pages.NextProblem(record);
            break;
        case C::Today:
            changed = m_pages.MoveAllPatientsDay(record, SummaryPages::AllPatientsMove::Today);
            break;
        case C::List: {
            m_sentencesShown = false;
            CSummaryPage* page = Page(kind);
            if (page->ListShown()) {
                page->HideList();
                break;
            }
            // The problem list is read after a commit, as the panel's own list is.
            SummaryPages::ListRows list =
                kind == SummaryKind::Day ? m_pages.DayRows(record) : m_pages.ProblemRows(record);
            if (!list.rows.empty()) page->ShowList(list.rows, list.selected);
            break;
        }
    }
    if (changed) Show(kind);
}

void SummaryPageSet::ChooseRow(SummaryKind kind, int row) {
    if (kind == SummaryKind::Problem && m_sentencesShown) {
        ChooseSentence(row);
        return;
    }
    PatientRecord* record = m_view.Controller().ShownRecord();
    const bool changed = kind == SummaryKind::Day ? m_pages.ChooseDayRow(record, row)
                                                  : m_pages.ChooseProblemRow(record, row);
    if (changed) Show(kind);
}

const SummaryContext& SummaryPageSet::Context() {
    // Made again only when the words or settings changed: the sources keep what they read.
    const uint64_t stamp = SettingsStamp();
    if (m_context && stamp == m_contextStamp) return *m_context;
    m_contextStamp = stamp;
    const Labels& labels = m_view.GetLabels();
    const DateOrder order = DateOrderOf(m_view.GetPreferences().regional.dateOrder);
    m_context.reset();
    m_sources.reset();
    m_words = JournalWordsFrom(labels);
    m_sources =
        std::make_unique<RecordSummarySources>(m_words, AgeWords::From(labels), order, m_clock);
    m_context =
        std::make_unique<SummaryContext>(SummaryContext{labels, m_words, order, *m_sources});
    return *m_context;
}

uint64_t SummaryPageSet::SettingsStamp() {
    const Labels& labels = m_view.GetLabels();
    const Preferences& preferences = m_view.GetPreferences();
    Stamp stamp;
    for (const auto& text : labels.captions) stamp.Add(text);
    for (const auto& text : labels.uiLabels) stamp.Add(text);
    for (const auto& text : labels.sectionCaptions) stamp.Add(text);
    for (const auto& text : labels.weekdayNames) stamp.Add(text);
    for (const auto& text : labels.monthNames) stamp.Add(text);
    for (const auto& text : labels.ageWords) stamp.Add(text);
    for (const auto& text : labels.shortMonthNames) stamp.Add(text);
    stamp.Add(preferences.regional.dateOrder);
    stamp.Add(preferences.sortColumn);
    stamp.Add(preferences.sortDirection);
    return stamp.Value();
}

std::optional<SummaryEditor> SummaryPageSet::Editor(PatientRecord& record) {
    m_problems.Follow(&record);
    CProblemPanel* panel = m_problems.Panel();
    if (!panel || !panel->IsOpen() || m_problems.OpenRecord() != &record) return std::nullopt;
    m_problems.Commit();
    return SummaryEditor{panel->Model(), panel->Days()};
}

void SummaryPageSet::EditorMoved(const EditorRefresh& refresh) {
    if (CProblemPanel* panel = m_problems.Panel()) panel->Refresh(refresh);
}

std::vector<const PatientRecord*> SummaryPageSet::PatientList() {
    const PatientSet& set = m_view.Document().Patients();
    const Labels& labels = m_view.GetLabels();
    const Preferences& preferences = m_view.GetPreferences();
    static const std::vector<RoomListRow> noRooms;
    auto rows = BuildPatientList(set, m_ward ? m_ward->RoomRows() : noRooms,
                                 {preferences.sortColumn, preferences.sortDirection}, labels, AgeWords::From(labels),
                                 DateOrderOf(preferences.regional.dateOrder), m_clock.Now());
    std::vector<const PatientRecord*> patients;
    patients.reserve(rows.size());
    for (const PatientListRow& row : rows) {
        if (row.IsEmptyBed()) continue;
        const PatientRecord* record = set.At(row.record);
        // An empty form is not a patient yet.
        if (record && record->inUse != 0) patients.push_back(record);
    }
    return patients;
}

FormArrangement SummaryPageSet::Arrangement() {
    const Preferences& preferences = m_view.GetPreferences();
    pondrel::Arrangement arrangement = FactoryArrangement();
    if (preferences.fieldLayoutsRead) {
        arrangement.fields = preferences.fieldLayouts;
        arrangement.pages = preferences.pages;
    }
    return SummaryArrangementOf(arrangement, m_view.GetLabels(), preferences);
}

DayNumber SummaryPageSet::Today() {
    return CalendarDayOf(m_clock.Now());
}

}  // namespace pondrel
