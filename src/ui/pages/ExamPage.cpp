#include "ui/pages/ExamPage.h"

#include "charts/ExamTable.h"
#include "charts/ui/CExamTablePage.h"
#include "charts/ui/CExamsGraphDlg.h"
#include "journal/JournalDays.h"
#include "labels/Labels.h"
#include "mainform/MainFormController.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "records/PatientRecord.h"
#include "settings/Preferences.h"
#include "ui/pages/PageHost.h"

namespace pondrel {

namespace {

constexpr int kDayFirst = 1;
constexpr int kImperialUnits = 1;

}  // namespace

ExamPage::ExamPage(PageHost& view, Clock& clock, const GrowthCurves& curves)
    : m_view(view), m_clock(clock), m_graph(curves) {
    m_widget = new CExamTablePage(m_graph, [this] { return m_clock.Now(); });
    m_widget->SetZoomHandler([this](bool shown) {
        // A program-wide option, saved with the preferences.
        m_view.GetPreferences().examGraphCurvesShown = shown ? 1 : 0;
    });
    view.InstallPage(kPage, m_widget);
    view.Controller().SetPage(kPage, this);
}

ExamPage::~ExamPage() {
    m_view.Controller().SetPage(kPage, nullptr);
}

void ExamPage::AddPreferencesDialogues(CPreferencesDlg::PluggedDialogues& dialogues) {
    UserMessages& messages = m_view.GetPlatform().messages;
    dialogues.push_back(
        {QStringLiteral("examsGraphButton"), [&messages](PreferencesEdit& edit, QWidget* parent) {
             CExamsGraphDlg::EditTitles(edit.examTitles, messages, parent);
         }});
}

CExamTablePage* ExamPage::Widget() const {
    return m_widget;
}

void ExamPage::ShowRecord(PatientRecord* record) {
    if (!m_widget) return;
    const Preferences& preferences = m_view.GetPreferences();
    const Labels& labels = m_view.GetLabels();
    m_graph.SetSettings(preferences.regional.dateOrder == kDayFirst,
                        preferences.regional.units == kImperialUnits);
    m_graph.SetWords(labels);
    m_graph.SetCurvesShown(preferences.examGraphCurvesShown == 1);
    ExamTable table;
    if (record && record->inUse != 0) {
        m_graph.SetPatient(*record);
        ExamTableInput input;
        input.record = record;
        input.labels = &labels;
        input.shownDays = ShownDaysOf(*record, CalendarDayOf(m_clock.Now()));
        input.examTitles = preferences.examTitles;
        input.dayFirst = preferences.regional.dateOrder == kDayFirst;
        table = BuildExamTable(input);
    } else {
        m_graph.SetPatient(PatientRecord());
    }
    m_widget->SetTable(std::move(table));
}

}  // namespace pondrel
