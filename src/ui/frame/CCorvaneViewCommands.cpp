// The commands of the main form: command bar, main menu, record navigation, the preferences
// exchange, help and about, and saving on exit.

#include <QLabel>
#include <QListWidget>
#include <QWidget>

#include "labels/ui/CLabelEditorDlg.h"
#include "labels/ui/CShortcutLists.h"
#include "labels/ui/FieldWidgetText.h"
#include "mainform/PatientBox.h"
#include "platform/Platform.h"
#include "platform/ui/QtText.h"
#include "records/ActivePatients.h"
#include "records/CCorvaneDoc.h"
#include "records/FilesHold.h"
#include "records/FilesManager.h"
#include "records/ui/CFilesManagerDlg.h"
#include "documents/StatisticTables.h"
#include "ui/pages/SyncPages.h"
#include "sync/SyncSession.h"
#include "sync/FileExchange.h"
#include <QApplication>
#include <QCursor>
#include "records/WorkingFolders.h"
#include "settings/PreferencesFile.h"
#include "settings/SettingsValues.h"
#include "settings/ui/CPreferencesDlg.h"
#include "ui/frame/CAboutDlg.h"
#include "ui/frame/CCommandBar.h"
#include "ui/frame/CCorvaneView.h"
#include "ui/frame/CHelpDlg.h"
#include "ui/frame/CRecordNavigator.h"
#include "ui/frame/CPatientList.h"

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
            m_controller->NewPatient();
            break;
        case MenuCommand::ClearCheckBoxes:
            m_controller->ClearCheckBoxes();
            break;
        case MenuCommand::SaveAll:
            m_controller->SaveAll();
            break;
        case MenuCommand::OpenAll:
            m_controller->OpenAll();
            break;
        case MenuCommand::CloseOne:
            m_controller->CloseOne();
            break;
        case MenuCommand::Preferences:
            RunPreferences();
            break;
        case MenuCommand::FilesManager:
            RunFilesManager();
            break;
        case MenuCommand::QuickLoad:
            RunQuickLoad();
            break;
        case MenuCommand::EditWindows:
            // Commands of the pieces of the pages. One that no piece carries out is not part
            // of the program yet: say so rather than pretend.
            for (PagePlugin* plugin : Plugins()) {
                if (plugin->RunCommand(command)) return;
            }
            NotAvailable();
            break;
        case MenuCommand::EditShortcuts:
            RunLabelEditor();
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

// ---- What the controller asks of the widget ---------------------------------------------------

void CCorvaneView::ShowPatientBox() {
    const PatientSet& patients = m_document.Patients();
    if (m_recordNavigator) {
        m_recordNavigator->SetCounter(ToQString(RecordNavigation::CounterText(patients)));
    }
    // The window title follows the patient on screen at every move, as the box does: a task
    // bar points at the patient shown.
    if (const PatientRecord* record = patients.Current()) {
        PatientBoxView box = PatientBoxOf(*record, m_labels);
        if (m_commandBar) m_commandBar->SetPatient(ToQString(box.text), box.readOnly);
        const QString title = ToQString(box.text).trimmed();
        window()->setWindowTitle(title.isEmpty() ? QStringLiteral("Pondrel") : title);
    } else {
        if (m_commandBar) m_commandBar->SetPatient(QString(), false);
        window()->setWindowTitle(QStringLiteral("Pondrel"));
    }
}

void CCorvaneView::PatientsChanged() {
    if (m_patientList) m_patientList->Rebuild();
    ShowPatientBox();
}

// ---- The label editor ------------------------------------------------------------------------

void CCorvaneView::RunLabelEditor() {
    m_controller->CommitAll();
    // The editor writes the labels file: nothing else writes files while it is open.
    FilesHold hold(Active());
    int field = -1;
    std::u16string text;
    QWidget* edit = m_lastField;
    if (edit && IsOnShownPage(edit)) {
        const QVariant number = edit->property(CShortcutLists::kFieldProperty);
        if (number.isValid()) {
            field = number.toInt();
            text = FieldWidgetText::State(edit).text;
        }
    }
    if (CLabelEditorDlg::EditShortcuts(m_labels, field, text, m_preferences.regional.units,
                                       m_folders.installation, m_platform.files,
                                       m_platform.messages, this)) {
        ApplyLabels();
    }
}

// ---- The preferences exchange -----------------------------------------------------------------

void CCorvaneView::RunPreferences() {
    if (!m_preferencesLoaded) return;
    m_controller->CommitAll();
    // The file the exchange writes keeps the pane the problems page shows now.
    for (PagePlugin* plugin : Plugins()) plugin->StorePreferences(m_preferences);
    RunPreferencesExchange(m_preferences, *this, m_platform.files, m_platform.messages, m_folders);
}

void CCorvaneView::RunFilesManager() {
    if (!m_controller->PatientsLoaded()) return;
    m_controller->CommitAll();
    bool saved = false;
    PatientSet& patients = m_document.Patients();
    if (!SaveBeforeFilesManager(Active(), patients, m_platform.messages, &saved)) return;
    std::u16string current;
    if (const PatientRecord* record = patients.Current()) {
        current = record->Field(2) + u" " + record->Field(3) + u" " + record->Field(6);
    }
    StatisticOptions statistics;
    for (int k = 0; k < kFieldCount; ++k) {
        statistics.captions[static_cast<size_t>(k)] = m_labels.Caption(k);
    }
    statistics.dayFirst = m_preferences.regional.dateOrder == 1;
    SetShowingDialog(true);
    {
        // Nothing else writes patient files while the dialogue changes them.
        FilesHold hold(Active());
        CFilesManagerDlg dialog(
            m_platform.files, m_platform.messages, m_platform.clock, m_folders, current,
            [this, &statistics](bool activeFolder, const std::vector<std::u16string>& names) {
                QApplication::setOverrideCursor(Qt::WaitCursor);
                RunStatisticTables(m_platform.files, m_platform.messages, activeFolder, names,
                                   statistics);
                QApplication::restoreOverrideCursor();
            },
            this);
        dialog.exec();
    }
    SetShowingDialog(false);
    // What the dialogue changed on disk comes back into the set.
    m_controller->LoadActivePatients(Active().RememberedPosition());
    if (saved) {
        if (SyncPages* sync = Find<SyncPages>()) sync->Session().Files().RebuildHandheldList();
    }
}

void CCorvaneView::ShowPreferencesDialog(PreferencesEdit& edit) {
    // The dialogue edits the settings the preferences file is written from when it closes:
    // what the server sends about files meanwhile, and the automatic saves, wait for it.
    FilesHold hold(Active());
    CPreferencesDlg::PluggedDialogues plugged;
    for (PagePlugin* plugin : Plugins()) plugin->AddPreferencesDialogues(plugged);
    CPreferencesDlg::Edit(edit, this, plugged);
}

void CCorvaneView::SetShowingDialog(bool showing) {
    m_showingDialog = showing;
    // The lights of the command bar are not drawn meanwhile.
    for (PagePlugin* plugin : Plugins()) plugin->SetShowingDialog(showing);
}

void CCorvaneView::ApplyOutcome(const PreferencesOutcome& outcome) {
    m_unitWords = outcome.unitWords;
    if (outcome.locationListChanged) m_locations.SetNamesText(m_preferences.locationList);
    // The date order may have changed.
    Active().Reader().SetDateOrder(DateOrderOf(m_preferences.regional.dateOrder));
    for (PagePlugin* plugin : Plugins()) plugin->ApplyOutcome(outcome, m_preferences);
    if (outcome.autoSaveTimer != PreferencesOutcome::AutoSaveTimer::Unchanged) {
        Active().SetAutoSaveInterval(m_preferences.general.autoSaveInterval);
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
    Active().SetAutoSaveInterval(m_preferences.general.autoSaveInterval);
    Active().StartTimers();
    // The backup timer's first tick comes as soon as start-up is over. The connection watchdog
    // starts here once the network joins the form.
}

void CCorvaneView::LoadActivePatients() {
    m_controller->LoadActivePatients(m_preferences.currentPatientPosition);
}

void CCorvaneView::OnWindowActivation(bool active) {
    if (active) {
        Active().OnWindowActivated();
    } else {
        Active().OnWindowDeactivated();
    }
}

void CCorvaneView::SavePreferences() {
    if (!m_preferencesLoaded) return;
    if (m_controller->PatientsLoaded()) {
        m_preferences.currentPatientPosition = m_document.Patients().CurrentNumber();
    }
    // The location list itself is the preferences' own (the exchange edits it there).
    m_preferences.selectedLocation = m_locations.Selected();
    for (PagePlugin* plugin : Plugins()) plugin->StorePreferences(m_preferences);
    if (m_patientList) m_patientList->StoreColumns();
    pondrel::SavePreferences(m_platform.files, m_platform.messages, m_folders, m_preferences);
}

}  // namespace pondrel
