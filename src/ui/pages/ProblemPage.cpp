#include "ui/pages/ProblemPage.h"

#include <QApplication>

#include "journal/EditorRefresh.h"
#include "journal/RecordEditing.h"
#include "journal/ui/CProblemPanel.h"
#include "labels/ui/CCodeSearchDlg.h"
#include "mainform/MainFormController.h"
#include "platform/Platform.h"
#include "platform/UserMessages.h"
#include "records/PatientRecord.h"
#include "settings/Preferences.h"
#include "settings/SettingsValues.h"
#include "ui/pages/PageHost.h"

namespace pondrel {

namespace {

constexpr char16_t kNotBegun[] = u"Set first the patient's name and birth date";
constexpr int kNotBegunMs = 2000;
// The bottom-right pane as the preferences keep it.
constexpr int kPaneDifferentialDiagnosis = 1;
constexpr int kPaneOther = 2;

}  // namespace

ProblemPage::ProblemPage(PageHost& view, UserMessages& messages, Clock& clock)
    : m_view(view), m_form(view.Controller()), m_messages(messages), m_panel(new CProblemPanel(messages, clock)) {
    view.InstallPage(kPage, m_panel);
    m_panel->SetRefreshHandler([this](const EditorRefresh& refresh) { AfterAction(refresh); });
    m_panel->SetChangeGate([this] { return m_form.MayChangeRecord(); });
    m_panel->SetCodeSearchHandler([this] { RunCodeSearch(); });
    m_form.SetPage(kPage, this);
}

ProblemPage::~ProblemPage() {
    m_form.SetPage(kPage, nullptr);
    if (!m_panel) return;
    // The view is going: what the panel still reports after this has nowhere to go.
    m_panel->SetRefreshHandler({});
    Close();
}

CProblemPanel* ProblemPage::Panel() const {
    return m_panel;
}

void ProblemPage::SetLabels(const Labels& labels) {
    if (m_panel) m_panel->SetLabels(labels);
}

void ProblemPage::ApplyPreferences(const Preferences& preferences) {
    if (!m_panel) return;
    m_panel->SetDateOrder(DateOrderOf(preferences.regional.dateOrder));
    m_panel->SetPane(preferences.bottomRightPane == kPaneOther
                         ? ProblemPanelModel::BottomPane::Other
                         : ProblemPanelModel::BottomPane::DifferentialDiagnosis);
}

void ProblemPage::StorePane(Preferences& preferences) const {
    if (!m_panel) return;
    preferences.bottomRightPane = m_panel->Pane() == ProblemPanelModel::BottomPane::Other
                                      ? kPaneOther
                                      : kPaneDifferentialDiagnosis;
}

void ProblemPage::RunCodeSearch() {
    if (!m_panel || !m_panel->IsOpen()) return;
    CCodeSearchDlg dialog(m_panel->Diagnosis(), m_codeTable, m_view.GetPreferences().icdTablePath,
                          m_view.GetPlatform().files, m_view.Dialogs(), m_messages,
                          &m_view.Widget());
    if (dialog.exec() != QDialog::Accepted) {
        m_messages.ShowNotice(u"Cancel", 1000, true);
        return;
    }
    if (!m_panel || !m_panel->IsOpen()) return;
    // Read only or not begun: refused by the gate with its notice, the Diagnosis unchanged.
    m_panel->ReplaceDiagnosis(dialog.Diagnosis());
}

void ProblemPage::Commit() {
    if (!m_panel || !m_panel->IsOpen()) return;
    AfterAction(m_panel->Commit());
}

void ProblemPage::Leave() {
    if (!m_panel) return;
    // Typing must not go on into a field scrolled out of view (its field commits as it goes).
    if (QWidget* focused = QApplication::focusWidget(); focused && m_panel->isAncestorOf(focused)) {
        focused->clearFocus();
    }
    m_panel->PageLeft();
}

void ProblemPage::ShowRecord(PatientRecord* record) {
    if (!m_panel) return;
    Follow(record);
    if (m_panel->IsOpen()) {
        m_panel->PageShown();
    } else if (record && record->inUse == 0) {
        // An empty record is begun by its name and birth date on the identity page; until
        // then there is nothing to write problems into.
        m_messages.ShowNotice(kNotBegun, kNotBegunMs, false);
    }
}

void ProblemPage::Release() {
    Close();
}

void ProblemPage::Follow(PatientRecord* current) {
    if (current && current->inUse == 0) current = nullptr;
    if (current == m_record && (!current || m_panel->IsOpen())) return;
    if (!current) {
        Close();
        return;
    }
    auto editing = std::make_unique<RecordEditing>(*current);
    // The panel commits the patient shown before through the previous adapter, which must
    // live until the call returns.
    m_panel->OpenPatient(*editing);
    m_editing = std::move(editing);
    m_record = current;
}

void ProblemPage::Close() {
    if (m_panel && m_panel->IsOpen()) m_panel->ClosePatient();
    m_editing.reset();
    m_record = nullptr;
}

void ProblemPage::AfterAction(const EditorRefresh& refresh) {
    // The tables and summaries join the form later.
    if (refresh.patientList) m_form.RefreshPatientList();
}

}  // namespace pondrel
