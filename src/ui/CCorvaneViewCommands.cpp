// The commands of the main form: command bar, main menu, record navigation, the preferences
// exchange, help and about, and saving on exit.

#include <QLabel>
#include <QListWidget>
#include <QWidget>

#include "platform/Platform.h"
#include "records/ActivePatients.h"
#include "records/CCorvaneDoc.h"
#include "records/WorkingFolders.h"
#include "settings/PreferencesFile.h"
#include "settings/ui/CPreferencesDlg.h"
#include "ui/CAboutDlg.h"
#include "ui/CCommandBar.h"
#include "ui/CCorvaneView.h"
#include "ui/CHelpDlg.h"
#include "ui/CRecordNavigator.h"
#include "ui/ProblemPage.h"
#include "ui/QtText.h"
#include "mainform/PatientBox.h"

namespace pondrel {

namespace {

constexpr size_t kHelpFileMaxBytes = 1000000;
constexpr char16_t kNotAvailable[] = u"Not available yet";

}  // namespace

void CCorvaneView::OnCommandBar(int button) {
    switch (static_cast<CCommandBar::Button>(button)) {
        case CCommandBar::Button::MainMenu:
            ToggleMainMenu();
            break;
        case CCommandBar::Button::PatientBox:
            TogglePatientList();
            break;
        case CCommandBar::Button::PageList:
            TogglePageList();
            break;
        case CCommandBar::Button::PreviousPage:
            PreviousPage();
            break;
        case CCommandBar::Button::NextPage:
            NextPage();
            break;
        case CCommandBar::Button::Tasks:
            ClosePopups();
            ShowPage(kTasksPage);
            break;
        case CCommandBar::Button::Problems:
            ClosePopups();
            ShowPage(kProblemsPage);
            break;
        case CCommandBar::Button::DaySummary:
            ClosePopups();
            ShowPage(kDaySummaryPage);
            break;
        case CCommandBar::Button::InputPanel:
            ToggleInputPanel();
            break;
    }
}

void CCorvaneView::OnMenuItem(QListWidgetItem* item) {
    if (!item) return;
    const auto command = static_cast<MenuCommand>(item->data(Qt::UserRole).toInt());
    if (command == MenuCommand::Separator) {
        m_mainMenu->clearSelection();
        m_mainMenu->setCurrentRow(-1);
        return;
    }
    m_mainMenu->hide();
    RunMenuCommand(command);
}

void CCorvaneView::RunMenuCommand(MenuCommand command) {
    ClosePopups();
    switch (command) {
        case MenuCommand::NewPatient:
            NewPatient();
            break;
        case MenuCommand::ClearCheckBoxes:
            ClearCheckBoxes();
            break;
        case MenuCommand::SaveAll:
            SaveAllPatients();
            break;
        case MenuCommand::OpenAll:
            OpenAllPatients();
            break;
        case MenuCommand::CloseOne:
            CloseOnePatient();
            break;
        case MenuCommand::Preferences:
            RunPreferences();
            break;
        case MenuCommand::FilesManager:
        case MenuCommand::QuickLoad:
        case MenuCommand::EditShortcuts:
        case MenuCommand::EditWindows:
            // The files manager, quick load, label editor and windows editor are not part of
            // the program yet: say so rather than pretend.
            NotAvailable();
            break;
        case MenuCommand::Undo:
            EditField("undo");
            break;
        case MenuCommand::Cut:
            EditField("cut");
            break;
        case MenuCommand::Copy:
            EditField("copy");
            break;
        case MenuCommand::Paste:
            EditField("paste");
            break;
        case MenuCommand::Help:
            ShowHelp();
            break;
        case MenuCommand::About:
            ShowAbout();
            break;
        case MenuCommand::Exit:
            // The connection to the server closes here once the network joins the form.
            window()->close();
            break;
        case MenuCommand::Separator:
            break;
    }
}

void CCorvaneView::NotAvailable() {
    ShowNotice(kNotAvailable, 2000, false);
}

bool CCorvaneView::IsOnShownPage(const QWidget* widget) const {
    const QWidget* page = Page(CurrentPage());
    return widget && page && page->isAncestorOf(widget);
}

void CCorvaneView::EditField(const char* operation) {
    QWidget* field = m_lastField;
    // Only a field of the page in view: one scrolled away keeps what it holds.
    if (!field || !field->isEnabled() || !IsOnShownPage(field)) return;
    QMetaObject::invokeMethod(field, operation);
    field->setFocus(Qt::OtherFocusReason);
}

// ---- Records ----------------------------------------------------------------------------------

void CCorvaneView::CommitShownValues() {
    // Every page, not only the one shown: a page keeps its working copies until its commit,
    // and none may miss a save.
    for (const PageHooks& hooks : m_hooks) {
        if (hooks.commit) hooks.commit();
    }
}

void CCorvaneView::RefreshRecord() {
    RefreshPatientBox();
    const PageHooks& hooks = m_hooks[static_cast<size_t>(CurrentPage())];
    if (hooks.refresh) hooks.refresh();
}

void CCorvaneView::RefreshPatientBox() {
    const PatientSet& patients = m_document.Patients();
    if (m_recordNavigator) {
        m_recordNavigator->SetCounter(ToQString(RecordNavigation::CounterText(patients)));
    }
    if (m_commandBar) {
        if (const PatientRecord* record = patients.Current()) {
            PatientBoxView box = PatientBoxOf(*record, m_labels);
            m_commandBar->SetPatient(ToQString(box.text), box.readOnly);
        } else {
            m_commandBar->SetPatient(QString(), false);
        }
    }
}

void CCorvaneView::ReleaseRecords() {
    CommitShownValues();
    for (const PageHooks& hooks : m_hooks) {
        if (hooks.release) hooks.release();
    }
}

void CCorvaneView::MoveRecord(RecordNavigation::Move move) {
    if (move == RecordNavigation::Move::NewPatient) {
        NewPatient();
        return;
    }
    CommitShownValues();
    RecordNavigation::Apply(m_document.Patients(), move);
    // An empty record appended by "Next" joins the patient list when it is refreshed.
    RefreshRecord();
}

void CCorvaneView::NewPatient() {
    CommitShownValues();
    RecordNavigation::Apply(m_document.Patients(), RecordNavigation::Move::NewPatient);
    ShowPage(0);
    RefreshRecord();
    ShowNotice(u"New patient", 2000, false);
}

void CCorvaneView::ClearCheckBoxes() {
    CommitShownValues();
    RecordNavigation::ClearCheckBoxes(m_document.Patients());
    RefreshRecord();
    ShowNotice(u"Check boxes cleared", 2000, false);
}

// ---- The preferences exchange -----------------------------------------------------------------

void CCorvaneView::RunPreferences() {
    if (!m_preferencesLoaded) return;
    CommitShownValues();
    // The file the exchange writes keeps the pane the problems page shows now.
    if (m_problemPage) m_problemPage->StorePane(m_preferences);
    RunPreferencesExchange(m_preferences, *this, m_platform.files, m_platform.messages, m_folders);
}

void CCorvaneView::ShowPreferencesDialog(PreferencesEdit& edit) {
    CPreferencesDlg::Edit(edit, this);
}

void CCorvaneView::ApplyOutcome(const PreferencesOutcome& outcome) {
    m_unitWords = outcome.unitWords;
    // The date order may have changed.
    if (m_problemPage) m_problemPage->ApplyPreferences(m_preferences);
    if (outcome.locationListChanged) m_locations.SetNamesText(m_preferences.locationList);
    if (outcome.autoSaveTimer != PreferencesOutcome::AutoSaveTimer::Unchanged) {
        m_active->SetAutoSaveInterval(m_preferences.general.autoSaveInterval);
    }
}

// ---- Help and About ---------------------------------------------------------------------------

void CCorvaneView::ShowHelp() {
    const std::u16string path = m_folders.InstallationFile(CHelpDlg::kHelpFile);
    std::string bytes;
    if (!m_platform.files.ReadFile(path, kHelpFileMaxBytes, bytes)) {
        m_platform.messages.ShowBox(
            u"The help file <PondrelHelp.htm> can not be found.\r\nIt "
            u"must be present into the folder <<" +
                path + u">>",
            u"Help", BoxButtons::Ok, BoxIcon::Error);
        return;
    }
    auto* dialog =
        new CHelpDlg(QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())),
                     QString::fromLatin1(CHelpDlg::kMainAnchor), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_showingDialog = true;
    connect(dialog, &QDialog::finished, this, [this] { m_showingDialog = false; });
    dialog->open();
}

void CCorvaneView::ShowAbout() {
    auto* dialog = new CAboutDlg(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_showingDialog = true;
    connect(dialog, &QDialog::finished, this, [this] { m_showingDialog = false; });
    dialog->open();
}

}  // namespace pondrel

namespace pondrel {

// ---- The active patient set -------------------------------------------------------------------

void CCorvaneView::StartTimers() {
    m_active->SetAutoSaveInterval(m_preferences.general.autoSaveInterval);
    m_active->StartTimers();
    // The backup timer's first tick comes as soon as start-up is over. The connection watchdog
    // starts here once the network joins the form.
}

void CCorvaneView::LoadActivePatients() {
    m_active->SetRememberedPosition(m_preferences.currentPatientPosition);
    m_active->LoadActivePatients();
    m_patientsLoaded = true;
}

void CCorvaneView::OnWindowActivation(bool active) {
    if (active) {
        m_active->OnWindowActivated();
    } else {
        m_active->OnWindowDeactivated();
    }
}

void CCorvaneView::SaveAllPatients() {
    if (!m_patientsLoaded) return;
    m_active->SaveAllCommand();
}

void CCorvaneView::OpenAllPatients() {
    if (!m_patientsLoaded) return;
    ReleaseRecords();
    m_active->OpenAll();
    RefreshRecord();
}

void CCorvaneView::CloseOnePatient() {
    if (!m_patientsLoaded) return;
    ReleaseRecords();
    m_active->CloseOne();
    RefreshRecord();
}

void CCorvaneView::SavePreferencesNow() {
    if (!m_preferencesLoaded) return;
    if (m_patientsLoaded) {
        m_preferences.currentPatientPosition = m_document.Patients().CurrentNumber();
    }
    // The location list itself is the preferences' own (the exchange edits it there).
    m_preferences.selectedLocation = m_locations.Selected();
    if (m_problemPage) m_problemPage->StorePane(m_preferences);
    SavePreferences(m_platform.files, m_platform.messages, m_folders, m_preferences);
}

bool CCorvaneView::SaveOnExit() {
    CommitShownValues();
    if (!m_patientsLoaded) {
        // Start-up did not get as far as the patients: there is nothing of theirs to save.
        SavePreferencesNow();
        return true;
    }
    return m_active->SaveOnExit(true);
}

}  // namespace pondrel
