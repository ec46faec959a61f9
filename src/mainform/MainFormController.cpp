#include "mainform/MainFormController.h"

#include "mainform/FieldChanges.h"
#include "mainform/FormPage.h"
#include "mainform/MainFormHost.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "records/ActivePatients.h"
#include "records/PatientSet.h"
#include "records/WorkingFolders.h"

namespace pondrel {

namespace {

bool IsPage(int page) {
    return page >= 0 && page < kPageCount;
}

std::u16string WhyUnsaved(SaveOutcome outcome) {
    switch (outcome) {
        case SaveOutcome::IncompleteName:
            return u"incomplete name";
        case SaveOutcome::InvalidName:
            return u"invalid name";
        case SaveOutcome::Conflict:
            return u"another file has the same name";
        case SaveOutcome::CannotCreate:
            return u"cannot create the file";
        case SaveOutcome::RefusedTooBig:
            return u"too big";
        case SaveOutcome::NotInUse:
        case SaveOutcome::NoName:
        case SaveOutcome::Written:
        case SaveOutcome::WrittenTooBig:
            break;
    }
    return {};
}

}  // namespace

MainFormController::MainFormController(Platform& platform, const WorkingFolders& folders,
                                       PatientSet& patients, LocationList& locations,
                                       MainFormHost& host)
    : m_platform(platform),
      m_patients(patients),
      m_host(host),
      m_unsavedAtEnd(platform.files, folders) {
    ActivePatientsHooks hooks;
    hooks.commitForm = [this] { CommitAll(); };
    hooks.refreshForm = [this] {
        m_host.PatientsChanged();
        ShowRecord();
    };
    hooks.savePreferences = [this] { m_host.SavePreferences(); };
    hooks.releaseForm = [this] { ReleaseAll(); };
    m_active = std::make_unique<ActivePatients>(platform.files, platform.messages, platform.timers,
                                                folders, patients, locations, std::move(hooks));
}

MainFormController::~MainFormController() {
    m_active->StopTimers();
}

// ---- Pages ------------------------------------------------------------------------------------

void MainFormController::SetPage(int page, FormPage* formPage) {
    if (IsPage(page)) m_pages[static_cast<size_t>(page)] = formPage;
}

FormPage* MainFormController::PageAt(int page) const {
    return IsPage(page) ? m_pages[static_cast<size_t>(page)] : nullptr;
}

void MainFormController::ShowPage(int page) {
    if (!IsPage(page)) return;
    // The page being left finishes its work first. Showing the page already shown only
    // commits: the field being edited keeps the focus.
    if (FormPage* left = PageAt(CurrentPage())) {
        if (page != CurrentPage()) {
            left->Leave();
        } else {
            left->Commit();
        }
    }
    m_host.ScrollToPage(page);
    m_navigation.SetCurrent(page);
    if (FormPage* shown = PageAt(page)) shown->ShowRecord(ShownRecord());
}

void MainFormController::ShowFirstPage() {
    ShowPage(m_navigation.Order().front());
    m_host.ShowPatientBox();
}

bool MainFormController::NextPage() {
    std::optional<int> page = m_navigation.Next();
    if (page) ShowPage(*page);
    return page.has_value();
}

bool MainFormController::PreviousPage() {
    std::optional<int> page = m_navigation.Previous();
    if (page) ShowPage(*page);
    return page.has_value();
}

// ---- The record on screen ---------------------------------------------------------------------

PatientRecord* MainFormController::ShownRecord() const {
    return m_patients.Current();
}

void MainFormController::CommitAll() {
    // Every page, not only the one shown: a page keeps its working copies until its commit,
    // and none may miss a save.
    for (FormPage* page : m_pages) {
        if (page) page->Commit();
    }
}

void MainFormController::ReleaseAll() {
    CommitAll();
    for (FormPage* page : m_pages) {
        if (page) page->Release();
    }
}

void MainFormController::ShowRecord() {
    m_host.ShowPatientBox();
    if (FormPage* shown = PageAt(CurrentPage())) shown->ShowRecord(ShownRecord());
}

void MainFormController::RefreshPatientBox() {
    m_host.ShowPatientBox();
}

bool MainFormController::MayChangeRecord() {
    const PatientRecord* record = ShownRecord();
    return record && MayChangeOutsideIdentity(*record, m_platform.messages);
}

void MainFormController::RefreshPatientList() {
    m_host.PatientsChanged();
    m_host.ShowPatientBox();
}

// ---- Record navigation ------------------------------------------------------------------------

void MainFormController::MoveRecord(RecordNavigation::Move move) {
    if (move == RecordNavigation::Move::NewPatient) {
        NewPatient();
        return;
    }
    CommitAll();
    if (RecordNavigation::Apply(m_patients, move).appended) m_host.PatientsChanged();
    ShowRecord();
}

void MainFormController::NewPatient() {
    CommitAll();
    if (RecordNavigation::Apply(m_patients, RecordNavigation::Move::NewPatient).appended) {
        m_host.PatientsChanged();
    }
    if (CurrentPage() == 0) {
        ShowRecord();
    } else {
        ShowPage(0);
        m_host.ShowPatientBox();
    }
    m_platform.messages.ShowNotice(u"New patient", 2000, false);
}

void MainFormController::ClearCheckBoxes() {
    CommitAll();
    RecordNavigation::ClearCheckBoxes(m_patients);
    m_host.PatientsChanged();
    ShowRecord();
    m_platform.messages.ShowNotice(u"Check boxes cleared", 2000, false);
}

// ---- The active set ---------------------------------------------------------------------------

void MainFormController::LoadActivePatients(int rememberedPosition) {
    m_active->SetRememberedPosition(rememberedPosition);
    m_active->LoadActivePatients();
    m_patientsLoaded = true;
    // The last end from outside may have left patients unsaved: the doctor is told once.
    if (std::optional<std::u16string> unsaved = m_unsavedAtEnd.Take()) {
        m_platform.messages.ShowBox(*unsaved, std::u16string(UnsavedAtEnd::kCaption),
                                    BoxButtons::Ok, BoxIcon::Warning);
    }
}

void MainFormController::SaveAll() {
    if (!m_patientsLoaded) return;
    // The set commits the pages before it writes anything.
    m_active->SaveAllCommand();
    // A save trims the names it writes.
    m_host.ShowPatientBox();
}

void MainFormController::OpenAll() {
    if (!m_patientsLoaded) return;
    // The set shows the record again when it was read again; answered Cancel, or after a
    // failed save, nothing changed.
    m_active->OpenAll();
}

void MainFormController::CloseOne() {
    if (!m_patientsLoaded) return;
    m_active->CloseOne();
}

bool MainFormController::SaveOnExit() {
    CommitAll();
    if (!m_patientsLoaded) {
        // Start-up did not get as far as the patients: there is nothing of theirs to save.
        m_host.SavePreferences();
        return true;
    }
    const bool ending = m_active->SaveOnExit(true);
    // The doctor answered every question of this end: an older note tells nothing true any more.
    if (ending) m_unsavedAtEnd.Forget();
    return ending;
}

MainFormController::UnattendedSave MainFormController::SaveUnattended() {
    UnattendedSave result;
    CommitAll();
    m_host.SavePreferences();
    if (m_patientsLoaded) {
        // Silent: no box or notice that nobody would answer or see.
        result.saved = m_active->SaveAll(QuietLevel::Silent);
        const auto& outcomes = m_active->LastOutcomes();
        for (size_t i = 0; i < outcomes.size(); ++i) {
            const std::u16string why = WhyUnsaved(outcomes[i]);
            if (why.empty()) continue;
            const PatientRecord* record = m_patients.At(static_cast<int>(i));
            result.unsaved.push_back(Format(u"patient n\u00B0%d ", {static_cast<int>(i) + 1}) +
                                     record->Field(2) + u" " + record->Field(3) + u" " +
                                     record->Field(6) + u": " + why);
        }
        // Nobody sees the terminal: the next start names these patients (and a save that
        // worked removes an older note).
        m_unsavedAtEnd.Record(result.unsaved, m_platform.clock.Now());
    }
    return result;
}

}  // namespace pondrel
