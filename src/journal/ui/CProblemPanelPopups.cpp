// The pop-up lists of the problem panel: the problem list, the day list, the month calendar, the
// section history and history period lists, the stop lists and the shortcut lists.

#include "journal/ui/CProblemPanel.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QTextCharFormat>

#include "journal/EditedRecord.h"
#include "journal/HistoryPeriod.h"
#include "journal/JournalDays.h"
#include "journal/SectionHistory.h"
#include "journal/ui/CDayPopup.h"
#include "journal/ui/CSectionArea.h"
#include "journal/ui/CSectionEdit.h"
#include "journal/ui/CStopList.h"
#include "labels/ui/CShortcutLists.h"
#include "platform/ui/CPopupList.h"

namespace pondrel {

using EditCommit = ProblemPanelModel::EditCommit;

void CProblemPanel::BuildPopups() {
    m_problemList = new CPopupList(this);
    m_problemList->setObjectName("problemList");
    m_problemList->SetClosesOnFocusOut(true);
    connect(m_problemList, &CPopupList::chosen, this, [this](int row) {
        m_problemList->hide();
        Act(m_model.ChooseProblem(row));
    });

    m_historyList = new CPopupList(this);
    m_historyList->setObjectName("historyList");
    connect(m_historyList, &CPopupList::chosen, this, &CProblemPanel::ChooseHistoryRow);

    m_periodList = new CPopupList(this);
    m_periodList->setObjectName("periodList");
    connect(m_periodList, &CPopupList::chosen, this, [this](int row) {
        m_periodList->hide();
        const auto& names = HistoryPeriod::Names();
        if (row < 0 || row >= static_cast<int>(names.size())) return;
        Act(m_days.ChooseHistoryPeriod(names[static_cast<size_t>(row)]));
    });

    m_dayPopup = new CDayPopup(m_days, this);
    m_dayPopup->SetHandler([this](const EditorRefresh& refresh, bool close) {
        if (close) m_dayPopup->hide();
        Act(refresh);
    });

    m_stopList = new CStopList(m_stops, this);
    m_stopList->SetPlacement([this](StopButton button) {
        return m_area->BoxGeometry(static_cast<int>(SectionOf(button)));
    });
    m_stopList->SetCommitted([this](const EditorRefresh& refresh) { Act(refresh); });
    m_stopList->SetChosen([this](const TreatmentStops::Result& result) { StopChosen(result); });

    m_shortcuts = new CShortcutLists(m_labels, this);
    m_shortcuts->SetOpening([this] { CloseBut(nullptr); });
    m_shortcuts->SetSources([this] {
        ShortcutSources sources;
        if (EditedRecord* record = m_model.Record()) {
            sources.usualDrugs = record->Field(64);
            sources.pastHistory = record->Field(63);
            sources.quickNotes = record->Field(kQuickNotesField);
        }
        return sources;
    });
    m_shortcuts->Attach(m_title, 87);
    m_shortcuts->Attach(m_redaction, 199);
    m_shortcuts->Attach(m_area->DifferentialDiagnosis(), 86);
    for (int i = 0; i < kSectionCount; ++i) m_shortcuts->Attach(m_area->Section(i), 88 + i);

    m_calendar = new QCalendarWidget(this);
    m_calendar->setObjectName("calendar");
    m_calendar->setDateRange(QDate(1900, 1, 1), QDate(9999, 12, 31));
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_calendar->setGridVisible(false);
    m_calendar->hide();
    connect(m_calendar, &QCalendarWidget::currentPageChanged, this,
            &CProblemPanel::ShowCalendarMonth);
    connect(m_calendar, &QCalendarWidget::clicked, this, [this](QDate date) {
        m_calendar->hide();
        Act(m_days.ChooseCalendarDate(date.year(), date.month(), date.day()));
    });
}

void CProblemPanel::CloseBut(QWidget* keep) {
    for (QWidget* popup : std::initializer_list<QWidget*>{m_problemList, m_historyList,
                                                          m_periodList, m_dayPopup, m_calendar}) {
        if (popup != keep) popup->hide();
    }
    if (m_stopList && keep != m_stopList->List()) m_stopList->Close();
    if (m_shortcuts && keep != m_shortcuts->List()) m_shortcuts->Close();
    if (keep != m_historyList) m_historySection = -1;
}

void CProblemPanel::ToggleProblemList() {
    if (m_problemList->isVisible() || !IsOpen()) {
        m_problemList->hide();
        return;
    }
    CloseBut(m_problemList);
    Act(Commit());
    std::vector<std::u16string> rows = m_model.ProblemListRows();
    m_problemList->SetRows(rows);
    m_problemList->setCurrentRow(m_model.PreselectedRow());
    int height = m_problemList->HeightFor(static_cast<int>(rows.size()), 40, kHeight - kTitleTop);
    m_problemList->setGeometry(0, kTitleTop, kWidth, height);
    m_problemList->show();
    m_problemList->raise();
    m_problemList->setFocus(Qt::PopupFocusReason);
}

void CProblemPanel::ToggleDayList() {
    if (m_dayPopup->isVisible() || !IsOpen()) {
        m_dayPopup->hide();
        return;
    }
    CloseBut(m_dayPopup);
    if (m_dayListStale) {
        m_dayPopup->ShowRows();
        m_dayListStale = false;
    }
    m_dayPopup->ShowDates();
    m_dayPopup->setGeometry(0, kProblemBarTop, kWidth, kHeight - kProblemBarTop);
    m_dayPopup->show();
    m_dayPopup->raise();
    m_dayPopup->SelectCurrentRow();
}

void CProblemPanel::ToggleCalendar() {
    if (m_calendar->isVisible() || !IsOpen()) {
        m_calendar->hide();
        return;
    }
    CloseBut(m_calendar);
    DateTime current = DateOfDay(m_model.CurrentDay());
    QDate date(current.year, current.month, current.day);
    m_calendar->setSelectedDate(date);
    m_calendar->setCurrentPage(date.year(), date.month());
    ShowCalendarMonth(date.year(), date.month());
    m_calendar->setGeometry(0, kProblemBarTop, kWidth, 180);
    m_calendar->show();
    m_calendar->raise();
}

void CProblemPanel::ShowCalendarMonth(int year, int month) {
    // Entry days in bold over the shown month and the days of its neighbours in the grid.
    int firstYear = year;
    int firstMonth = month;
    MonthCalendar::StepMonth(firstYear, firstMonth, -1);
    m_calendar->setDateTextFormat(QDate(), QTextCharFormat());
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setForeground(QColor(0, 0, 160));
    for (DayNumber day : m_days.BoldDays(DayNumberOf(firstYear, firstMonth, 1))) {
        DateTime t = DateOfDay(day);
        m_calendar->setDateTextFormat(QDate(t.year, t.month, t.day), bold);
    }
}

void CProblemPanel::ToggleHistory(int section) {
    if ((m_historyList->isVisible() && m_historySection == section) || !IsOpen()) {
        CloseBut(nullptr);
        return;
    }
    CloseBut(m_historyList);
    Act(Commit());
    m_historySection = section;
    auto which = static_cast<Section>(section);
    std::vector<std::u16string> rows = SectionHistory::Rows(
        m_model.Journal().Reader(), m_days.HistoryInput(m_dateOrder), which, m_words.journal);
    m_historyList->SetRows(rows);
    int shownRows = static_cast<int>(rows.size());
    if (which == Section::Examinations) {
        // Two columns of 120 pixels.
        m_historyList->setFlow(QListView::LeftToRight);
        m_historyList->setWrapping(true);
        m_historyList->setGridSize(
            QSize(kWidth / 2 - 4, m_historyList->fontMetrics().height() + 2));
        shownRows = (shownRows + 1) / 2;
    } else {
        m_historyList->setFlow(QListView::TopToBottom);
        m_historyList->setWrapping(false);
        m_historyList->setGridSize(QSize());
    }
    int height = m_historyList->HeightFor(shownRows, 40, 200);
    QRect box = m_area->BoxGeometry(section);
    int top = box.bottom() + 1;
    if (top + height > kHeight) top = box.top() - height;
    if (top < 0) top = kHeight - height;
    m_historyList->setGeometry(0, top, kWidth, height);
    m_historyList->show();
    m_historyList->raise();
}

void CProblemPanel::ChooseHistoryRow(int row) {
    if (m_historySection < 0 || row < 0 || row >= m_historyList->count()) return;
    int section = m_historySection;
    CSectionEdit* edit = m_area->Section(section);
    std::u16string text = edit->Text();
    SectionHistory::Choice choice =
        SectionHistory::Choose(m_historyList->item(row)->text().toStdU16String(),
                               static_cast<Section>(section), text, m_words.journal);
    SectionHistory::Insertion insertion = SectionHistory::Insert(choice, text, edit->Caret());
    ProblemPanelModel::EditResult result =
        m_model.EditSection(section, insertion.text, EditCommit::Deferred);
    if (result.accepted) {
        edit->ShowText(insertion.text);
        edit->SetCaret(insertion.caret);
        edit->setFocus();
    }
    Restore(result);
}

void CProblemPanel::TogglePeriods() {
    if (m_periodList->isVisible() || !IsOpen()) {
        m_periodList->hide();
        return;
    }
    CloseBut(m_periodList);
    const auto& names = HistoryPeriod::Names();
    m_periodList->SetRows(names);
    const SubfolderDates& dates = m_days.Dates();
    std::u16string shown = HistoryPeriod::EffectiveName(dates.historyPeriod, dates.IsAmbulatory());
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == shown) m_periodList->setCurrentRow(static_cast<int>(i));
    }
    int height =
        m_periodList->HeightFor(static_cast<int>(names.size()), 40, kHeight - kSectionsTop);
    m_periodList->setGeometry(kWidth - 150, kSectionsTop, 150, height);
    m_periodList->show();
    m_periodList->raise();
}

void CProblemPanel::StopChosen(const TreatmentStops::Result& result) {
    Act(result.refresh);
    if (!result.stopped) return;
    CSectionEdit* edit = m_area->Section(static_cast<int>(result.focus));
    edit->setFocus();
    edit->SetCaret(result.caret);
}

}  // namespace pondrel
