#include "journal/ui/CProblemPanel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "journal/EditedRecord.h"
#include "journal/HistoryPeriod.h"
#include "journal/ui/CProblemManagerDlg.h"
#include "platform/UserMessages.h"
#include "journal/JournalReader.h"
#include "journal/SectionHistory.h"
#include "journal/ui/CDayPopup.h"
#include "journal/ui/CSectionArea.h"
#include "journal/JournalDays.h"
#include "journal/ui/CSectionEdit.h"
#include "journal/ui/CStopList.h"
#include "records/ui/ReservedCharacters.h"
#include "labels/Labels.h"
#include "labels/ui/CShortcutLists.h"
#include "platform/ui/QtText.h"

namespace pondrel {

namespace {

using EditCommit = ProblemPanelModel::EditCommit;
using Layout = ProblemPanelModel::SectionLayout;
using BottomPane = ProblemPanelModel::BottomPane;

template <typename T>
T* Named(QWidget* parent, const char* name, QRect geometry) {
    auto* widget = new T(parent);
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

// Buttons never take the focus: the field that had it keeps it, as the panel's commands ask.
QPushButton* Button(QWidget* parent, const char* name, QRect geometry, const QString& text = {}) {
    auto* button = Named<QPushButton>(parent, name, geometry);
    button->setText(text);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QToolButton* Arrow(QWidget* parent, const char* name, QRect geometry, Qt::ArrowType arrow) {
    auto* button = Named<QToolButton>(parent, name, geometry);
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// A caption too wide for its button is drawn smaller, down to 8 pixels, rather than cut at
// both ends (a long date label, a problem caption with both dates).
void FitCaption(QAbstractButton* button, int pixelSize) {
    constexpr int kMinimumPixelSize = 8;
    constexpr int kFrame = 8;  // the button's frame and padding, both sides
    QFont font = button->font();
    for (int size = pixelSize; size >= kMinimumPixelSize; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).horizontalAdvance(button->text()) <= button->width() - kFrame) break;
    }
    button->setFont(font);
}

EditorRefresh Everything() {
    EditorRefresh all;
    all.panel = all.caption = all.dayList = all.day = all.historyCaptions = true;
    return all;
}

}  // namespace

CProblemPanel::CProblemPanel(UserMessages& messages, Clock& clock, QWidget* parent)
    : QWidget(parent),
      m_messages(messages),
      m_model(messages, m_words.journal),
      m_days(m_model, clock, messages, m_words.journal),
      m_treatments(m_words.journal,
                   [this] {
                       TreatmentDays days{m_days.Today(), m_days.LastDay(), m_model.CurrentDay(),
                                          FirstDayOf(m_days.Dates())};
                       return TreatmentInputs{m_model.Journal().Text(), days, m_dateOrder};
                   }),
      m_stops(m_model, m_treatments, messages, m_words.journal) {
    setObjectName("problemPanel");
    setFixedSize(kWidth, kHeight);
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    setStyleSheet("QPushButton { padding: 0px 1px; } QToolButton { padding: 0px; }");
    BuildDateBar();
    BuildProblemBar();
    BuildSections();
    BuildPopups();
    SetDateOrder(m_dateOrder);
    ShowWords();
    Refresh(Everything());
    SetProblemManagerHandler([this] { RunProblemManager(); });
}

CProblemPanel::~CProblemPanel() {
    // The fields are destroyed after the editor; the focus they lose on the way must not reach
    // it. Nothing is committed here: the record may be gone already (see ClosePatient).
    for (QObject* child : findChildren<QObject*>())
        QObject::disconnect(child, nullptr, this, nullptr);
}

void CProblemPanel::BuildDateBar() {
    const int y = kDateBarTop;
    m_previousEntryDay = Button(this, "previousEntryDay", {0, y, 16, kRow}, "<");
    m_dateLabel = Button(this, "dateLabel", {17, y, 102, kRow});
    m_dateLabel->setFlat(true);
    m_nextEntryDay = Button(this, "nextEntryDay", {120, y, 16, kRow}, ">");
    m_previousDay = Arrow(this, "previousDay", {137, y, 16, kRow}, Qt::LeftArrow);
    m_nextDay = Arrow(this, "nextDay", {154, y, 16, kRow}, Qt::RightArrow);
    m_now = Button(this, "now", {171, y, 28, kRow});
    m_firstDay = Button(this, "firstDay", {200, y, 20, kRow});
    m_calendarButton = Button(this, "calendarButton", {221, y, 19, kRow});

    connect(m_previousEntryDay, &QPushButton::clicked, this,
            [this] { Act(m_days.PreviousEntryDay()); });
    connect(m_nextEntryDay, &QPushButton::clicked, this, [this] { Act(m_days.NextEntryDay()); });
    connect(m_previousDay, &QToolButton::clicked, this, [this] { Act(m_days.PreviousDay()); });
    connect(m_nextDay, &QToolButton::clicked, this, [this] { Act(m_days.NextDay()); });
    connect(m_now, &QPushButton::clicked, this, [this] { Act(m_days.Now()); });
    connect(m_firstDay, &QPushButton::clicked, this, [this] { Act(m_days.FirstDay()); });
    connect(m_dateLabel, &QPushButton::clicked, this, &CProblemPanel::ToggleDayList);
    connect(m_calendarButton, &QPushButton::clicked, this, &CProblemPanel::ToggleCalendar);
}

void CProblemPanel::BuildProblemBar() {
    int y = kProblemBarTop;
    m_previousProblem = Arrow(this, "previousProblem", {0, y, 16, kRow}, Qt::LeftArrow);
    m_problemButton = Button(this, "problemButton", {17, y, 131, kRow});
    m_problemButton->setStyleSheet("text-align: left; padding-left: 2px;");
    m_nextProblem = Arrow(this, "nextProblem", {149, y, 16, kRow}, Qt::RightArrow);
    m_resetLayout = Button(this, "resetLayout", {166, y, 22, kRow}, "All");
    m_toggleLayout = Button(this, "toggleLayout", {189, y, 24, kRow});
    m_manager = Button(this, "problemManager", {214, y, 26, kRow}, "Mgr");
    m_manager->setToolTip("Problem manager");
    m_manager->hide();

    y = kTitleTop;
    m_urgency = Button(this, "urgency", {0, y, 22, kRow});
    m_title = Named<QLineEdit>(this, "title", {23, y, 217, kRow});
    m_codeSearch = Button(this, "codeSearch", {220, y, 20, kRow}, "C");
    m_codeSearch->setToolTip("ICD-10 code search");
    m_codeSearch->hide();
    m_title->setValidator(new ReservedCharacterValidator(m_title));

    y = kRedactionTop;
    m_redaction = Named<CSectionEdit>(this, "redaction", {0, y, 128, kRow});
    m_redaction->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_redaction->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_redaction->document()->setDocumentMargin(1);
    // One row high: a wrapped second line would show only its top.
    m_redaction->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_historyPeriod = Button(this, "historyPeriod", {129, y, 111, kRow});

    connect(m_previousProblem, &QToolButton::clicked, this,
            [this] { Act(m_model.PreviousProblem()); });
    connect(m_nextProblem, &QToolButton::clicked, this, [this] { Act(m_model.NextProblem()); });
    connect(m_problemButton, &QPushButton::clicked, this, &CProblemPanel::ToggleProblemList);
    connect(m_resetLayout, &QPushButton::clicked, this, [this] {
        m_model.ResetLayout();
        ArrangeSections();
    });
    connect(m_toggleLayout, &QPushButton::clicked, this, [this] {
        m_model.ToggleEnlargedLayout();
        ArrangeSections();
    });
    connect(m_manager, &QPushButton::clicked, this, [this] {
        if (m_managerHandler) m_managerHandler();
    });
    connect(m_urgency, &QPushButton::clicked, this, [this] {
        ProblemPanelModel::EditResult result = m_model.CycleUrgency();
        Act(result.refresh);
        if (result.accepted) {
            m_title->setFocus();
            m_title->end(false);
        }
    });
    connect(m_codeSearch, &QPushButton::clicked, this, [this] {
        if (m_codeSearchHandler) m_codeSearchHandler();
    });
    connect(m_title, &QLineEdit::textEdited, this, &CProblemPanel::TitleEdited);
    connect(m_title, &QLineEdit::editingFinished, this, [this] { Act(Commit()); });
    connect(m_redaction, &CSectionEdit::edited, this, &CProblemPanel::RedactionEdited);
    connect(m_redaction, &CSectionEdit::left, this, [this] { Act(Commit()); });
    connect(m_historyPeriod, &QPushButton::clicked, this, &CProblemPanel::TogglePeriods);
}

void CProblemPanel::BuildSections() {
    m_area = new CSectionArea(this);
    m_area->setGeometry(0, kSectionsTop, kWidth, kHeight - kSectionsTop);
    connect(m_area, &CSectionArea::sectionEdited, this, &CProblemPanel::SectionEdited);
    connect(m_area, &CSectionArea::differentialDiagnosisEdited, this,
            &CProblemPanel::DifferentialDiagnosisEdited);
    connect(m_area, &CSectionArea::historyPressed, this, &CProblemPanel::ToggleHistory);
    connect(m_area, &CSectionArea::stopPressed, this, [this](int section) {
        if (!IsOpen()) return;
        CloseBut(m_stopList->List());
        for (StopButton button : kStopButtons) {
            if (static_cast<int>(SectionOf(button)) == section) m_stopList->Toggle(button);
        }
        ShowStopButtons();
    });
    connect(m_area, &CSectionArea::differentialDiagnosisPanePressed, this,
            [this] { SetPane(BottomPane::DifferentialDiagnosis); });
    connect(m_area, &CSectionArea::otherPanePressed, this, [this] { SetPane(BottomPane::Other); });
    connect(m_area, &CSectionArea::fieldLeft, this, [this] { Act(Commit()); });
}

// --- The main window's calls ---

void CProblemPanel::SetLabels(const Labels& labels) {
    // The editor keeps a reference to the journal words, which are replaced in place.
    m_words = PanelWords::From(labels);
    m_labels = labels;
    m_shortcuts->Close();
    m_treatments.MarkAllStale();
    ShowWords();
    if (IsOpen()) m_days.BuildDayList(false);
    Refresh(Everything());
}

void CProblemPanel::SetDateOrder(DateOrder order) {
    m_dateOrder = order;
    m_dayPopup->SetDateOrder(order);
}

void CProblemPanel::SetPane(BottomPane pane) {
    if (pane == BottomPane::Other) {
        m_model.ShowOtherPane();
    } else {
        m_model.ShowDifferentialDiagnosisPane();
    }
    if (m_historySection == static_cast<int>(Section::Other)) CloseBut(nullptr);
    ShowProblem();
}

void CProblemPanel::OpenPatient(EditedRecord& record) {
    CloseBut(nullptr);
    m_treatments.MarkAllStale();
    EditorRefresh refresh = m_days.OpenPatient(record);
    m_dayPopup->SetEditable(!record.IsReadOnly());
    refresh |= Everything();
    Act(refresh);
}

void CProblemPanel::ClosePatient() {
    CloseBut(nullptr);
    EditorRefresh refresh = m_days.ClosePatient();
    refresh |= Everything();
    Act(refresh);
}

void CProblemPanel::PageShown() {
    if (!IsOpen()) return;
    EditorRefresh refresh = m_days.PageShown();
    refresh |= m_days.BuildDayList(false);
    Act(refresh);
}

void CProblemPanel::PageLeft() {
    CloseBut(nullptr);
    Act(Commit());
}

EditorRefresh CProblemPanel::Commit() {
    EditorRefresh refresh = m_model.CommitCurrentProblem();
    Refresh(refresh);
    return refresh;
}

void CProblemPanel::SetQuickNotesStore(std::function<void(const std::u16string&)> store) {
    m_shortcuts->SetQuickNotesStore(std::move(store));
}

void CProblemPanel::SetCodeSearchHandler(std::function<void()> handler) {
    m_codeSearchHandler = std::move(handler);
    bool shown = static_cast<bool>(m_codeSearchHandler);
    m_codeSearch->setVisible(shown);
    m_title->setGeometry(23, kTitleTop, shown ? 196 : 217, kRow);
}

std::u16string CProblemPanel::Diagnosis() const { return m_title->text().toStdU16String(); }

bool CProblemPanel::ReplaceDiagnosis(const std::u16string& text) {
    ProblemPanelModel::EditResult result = m_model.EditTitle(text, EditCommit::Now);
    Act(result.refresh);
    ShowProblem();
    return result.accepted;
}

void CProblemPanel::SetChangeGate(std::function<bool()> gate) {
    m_model.SetChangeGate(std::move(gate));
}

void CProblemPanel::SetProblemManagerHandler(std::function<void()> handler) {
    m_managerHandler = std::move(handler);
    m_manager->setVisible(static_cast<bool>(m_managerHandler));
}

void CProblemPanel::RunProblemManager() {
    if (!IsOpen()) return;
    Act(Commit());  // the working copies reach the journal first
    CloseBut(nullptr);
    EditedRecord* record = m_model.Record();
    // A record the gate refuses is shown without commands, after the gate's notice.
    const bool readOnly = !m_model.MayChange();
    CProblemManagerDlg::Words words;
    auto word = [this](int index, std::u16string& target) {
        if (!m_labels.Label(index).empty()) target = m_labels.Label(index);
    };
    word(170, words.active);
    word(128, words.solved);
    word(177, words.closed);
    CProblemManagerDlg dialogue(m_model.Journal().Text(), m_model.CurrentProblem(), words,
                                readOnly, record->MaxJournalLength(), m_messages, this);
    const bool accepted = dialogue.exec() == QDialog::Accepted;
    if (readOnly) return;
    if (!accepted) {
        m_messages.ShowNotice(u"Cancel", 1300, true);
        return;
    }
    // The record may have been let go while the dialogue was open.
    if (!IsOpen() || m_model.Record() != record) return;
    Act(m_model.ReplaceJournal(dialogue.Journal()));
    m_messages.ShowNotice(u"Modifications done", 1300);
}

// --- Actions ---

void CProblemPanel::Act(const EditorRefresh& refresh) {
    Refresh(refresh);
    if (m_refreshHandler) m_refreshHandler(refresh);
}

void CProblemPanel::Restore(ProblemPanelModel::EditResult result) {
    // A refused change: the field gets the stored text back (the notice says why).
    if (!result.accepted) ShowProblem();
    Act(result.refresh);
}

void CProblemPanel::SectionEdited(int section) {
    CSectionEdit* edit = m_area->Section(section);
    size_t caret = edit->Caret();
    ProblemPanelModel::EditResult result =
        m_model.EditSection(section, edit->Text(), EditCommit::Deferred);
    Restore(result);
    if (!result.accepted) edit->SetCaret(caret > 0 ? caret - 1 : 0);
}

void CProblemPanel::TitleEdited() {
    Restore(m_model.EditTitle(m_title->text().toStdU16String(), EditCommit::Deferred));
}

void CProblemPanel::DifferentialDiagnosisEdited() {
    Restore(m_model.EditDifferentialDiagnosis(m_area->DifferentialDiagnosis()->Text(),
                                              EditCommit::Deferred));
}

void CProblemPanel::RedactionEdited() {
    Restore(m_model.EditRedaction(m_redaction->Text(), EditCommit::Deferred));
}

// --- Showing ---

void CProblemPanel::Refresh(const EditorRefresh& refresh) {
    if (refresh.panel) {
        ShowProblem();
        EnableControls();
    }
    if (refresh.caption) ShowCaption();
    if (refresh.dayList) {
        m_dayListStale = true;
        if (m_dayPopup->isVisible()) {
            m_dayPopup->ShowRows();
            m_dayListStale = false;
        }
    }
    if (refresh.day || refresh.dayList) {
        ShowDay();
        m_dayPopup->ShowDates();
    }
    if (refresh.historyCaptions) ShowHistoryCaption();
    if (refresh.treatmentTable) m_treatments.MarkStale(TreatmentKind::Treatments);
    if (refresh.actionTable) m_treatments.MarkStale(TreatmentKind::Actions);
    if (refresh.panel || refresh.day || refresh.dayList || refresh.treatmentTable ||
        refresh.actionTable) {
        ShowStopButtons();
    }
}

void CProblemPanel::ShowStopButtons() {
    for (StopButton button : kStopButtons) {
        m_area->SetStopEnabled(static_cast<int>(SectionOf(button)),
                               IsOpen() && m_stops.IsEnabled(button));
    }
}

void CProblemPanel::ShowProblem() {
    QString title = ToQString(m_model.Title());
    if (m_title->text() != title) m_title->setText(title);
    m_redaction->ShowText(m_model.Redaction());
    m_area->DifferentialDiagnosis()->ShowText(m_model.DifferentialDiagnosis());
    for (int i = 0; i < kSectionCount; ++i) m_area->Section(i)->ShowText(m_model.SectionText(i));
    m_urgency->setText(ToQString(m_model.UrgencyText()));

    // The '+' buttons: enabled and bold when the section has something to offer.
    SectionHistoryInput input = m_days.HistoryInput(m_dateOrder);
    JournalReader reader = m_model.Journal().Reader();
    for (int i = 0; i < kSectionCount; ++i) {
        m_area->SetHistoryEnabled(
            i, IsOpen() && SectionHistory::IsEnabled(reader, input, static_cast<Section>(i)));
    }
    ArrangeSections();
}

void CProblemPanel::ShowCaption() {
    m_problemButton->setText(IsOpen() ? ToQString(m_model.Caption()) : QString());
    m_problemButton->setToolTip(m_problemButton->text());
    FitCaption(m_problemButton, font().pixelSize());
}

void CProblemPanel::ShowDay() {
    m_dateLabel->setText(IsOpen() ? ToQString(m_days.DateLabel()) : QString());
    FitCaption(m_dateLabel, font().pixelSize());
    // A day after today is marked: what is written there is missing from today's summaries.
    const bool future = IsOpen() && m_days.IsFutureDay();
    if (m_dateLabel->property("futureDay").toBool() != future) {
        m_dateLabel->setProperty("futureDay", future);
        m_dateLabel->setStyleSheet(future ? QStringLiteral("QPushButton { color: rgb(170,60,0); "
                                                           "background: rgb(255,230,200); "
                                                           "border: 1px dashed rgb(170,60,0); }")
                                          : QString());
        m_dateLabel->setToolTip(future ? QStringLiteral("A day after today") : QString());
    }
    if (m_dayPopup->isVisible()) m_dayPopup->SelectCurrentRow();
}

void CProblemPanel::ShowHistoryCaption() {
    const SubfolderDates& dates = m_days.Dates();
    m_historyPeriod->setText(IsOpen() ? ToQString(HistoryPeriod::EffectiveName(
                                            dates.historyPeriod, dates.IsAmbulatory()))
                                      : QString());
}

void CProblemPanel::ShowWords() {
    m_area->SetWords(m_words);
    m_title->setPlaceholderText(ToQString(m_words.title));
    m_redaction->setPlaceholderText(ToQString(m_words.redaction));
    m_now->setText(ToQString(m_words.journal.now));
    m_firstDay->setText(ToQString(m_words.journal.dayLetter.substr(0, 1) + u"1"));
    m_calendarButton->setText(ToQString(m_words.journal.dayLetter.substr(0, 1)));
    m_calendarButton->setToolTip("Calendar");
    m_dayPopup->SetWords(m_words);
}

void CProblemPanel::EnableControls() {
    bool open = IsOpen();
    for (QWidget* control : std::initializer_list<QWidget*>{
             m_previousEntryDay, m_dateLabel, m_nextEntryDay, m_previousDay, m_nextDay, m_now,
             m_firstDay, m_calendarButton, m_previousProblem, m_problemButton, m_nextProblem,
             m_manager, m_urgency, m_title, m_codeSearch, m_redaction, m_historyPeriod}) {
        control->setEnabled(open);
    }
    m_area->SetFieldsEnabled(open);
}

void CProblemPanel::ArrangeSections() {
    Layout layout = m_model.Layout();
    m_area->Arrange(layout, m_model.Pane());
    // The enlarged-layout button names the pair it shows next by their initials.
    auto initial = [this](Section s) {
        return ToQString(m_words.sections[static_cast<size_t>(s)].substr(0, 1));
    };
    bool nextAnamnesia = m_model.NextEnlargedLayout() == Layout::AnamnesiaStatus;
    m_toggleLayout->setText(
        nextAnamnesia ? initial(Section::Anamnesia) + "/" + initial(Section::Status)
                      : initial(Section::Attitude) + "/" + initial(Section::Examinations));
    m_resetLayout->setEnabled(layout != Layout::All);
}

}  // namespace pondrel
