#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "mainform/PageNavigation.h"
#include "mainform/RecordNavigation.h"
#include "mainform/UnsavedAtEnd.h"

namespace pondrel {

class ActivePatients;
class FormPage;
class LocationList;
class MainFormHost;
class PatientSet;
struct PatientRecord;
struct Platform;
struct WorkingFolders;

// The main form without its widgets: the record on screen (the set's current record), the
// pages and which one is shown, the commits before saves, moves and page changes, the record
// navigation of page 0, and the commands on the active set ("Save all", "Open all", "Close
// one", saving on exit). Pages plug in through FormPage (see FormPage.h); the widget showing
// the form implements MainFormHost. Runs on the user-interface thread.
class MainFormController {
public:
    // Everything must outlive the controller. The controller owns the active set's loader and
    // saver (Active()), with its timers.
    MainFormController(Platform& platform, const WorkingFolders& folders, PatientSet& patients,
                       LocationList& locations, MainFormHost& host);
    ~MainFormController();
    MainFormController(const MainFormController&) = delete;
    MainFormController& operator=(const MainFormController&) = delete;

    // ---- Pages -------------------------------------------------------------------------------
    // Registers the page object of page `page` (0 to 38), replacing any other; nullptr removes
    // it. The object must stay alive until it is removed.
    void SetPage(int page, FormPage* formPage);
    FormPage* PageAt(int page) const;

    // Shows page `page` (0 to 38; others are ignored): the page being left finishes its work
    // first (Leave; only Commit when the page shown is shown again), then the form scrolls to
    // the page and the page shows the record on screen.
    void ShowPage(int page);
    // The first page of the page order, with the patient box.
    void ShowFirstPage();
    // The previous / next page in the page order; false when there is none.
    bool NextPage();
    bool PreviousPage();
    int CurrentPage() const { return m_navigation.Current(); }
    PageNavigation& Navigation() { return m_navigation; }
    const PageNavigation& Navigation() const { return m_navigation; }

    // ---- The record on screen ----------------------------------------------------------------
    // The current record of the set; null while the set is empty.
    PatientRecord* ShownRecord() const;
    // Every page writes its working values into its record, the page shown or not.
    void CommitAll();
    // Every page commits, then lets go of its record (before the set destroys records).
    void ReleaseAll();
    // The record on screen changed: the patient box, then the page shown shows it again.
    void ShowRecord();
    // A page changed what the patient box shows (name, birth date, lock).
    void RefreshPatientBox();
    // A page changed what the patient list shows (a record begun, a name or a check mark).
    void RefreshPatientList();
    // The one gate of every action that changes the record on screen outside its field windows:
    // a stop line written from the stop list, an exam title edited, the problem panel's typing,
    // shortcut rows and urgency, the problem manager, and the pages to come (a drawing on a
    // body picture, a room picked, a code taken from the ICD-10 search). Call it before
    // changing anything: false, with the usual notice ("Read only", or "Set first the
    // patient's name and birth date" for a record not begun), when the action must change
    // nothing; false without a record.
    bool MayChangeRecord();

    // ---- Record navigation of page 0 ---------------------------------------------------------
    // "First", "Prev", "Next", "Last" (and "New", as NewPatient): commits, moves, shows.
    void MoveRecord(RecordNavigation::Move move);
    // "New patient": the last record, an empty one appended after it when it is in use, shown
    // on page 0 with the notice "New patient".
    void NewPatient();
    // "Clear check boxes".
    void ClearCheckBoxes();

    // ---- The active set ----------------------------------------------------------------------
    ActivePatients& Active() { return *m_active; }
    // Reads the active folder into the set, selecting the record at `rememberedPosition`
    // (counted from 1) when there is one; then tells the patients an end from outside left
    // unsaved, if any.
    void LoadActivePatients(int rememberedPosition);
    // Nothing is saved before the patients were loaded (the set holds no file yet).
    bool PatientsLoaded() const { return m_patientsLoaded; }
    // "Save all", "Open all", "Close one". Open all and Close one ask first; the pages let go
    // of their records only when the set is really read again or a record removed.
    void SaveAll();
    void OpenAll();
    void CloseOne();

    // Closing the main window: the preferences, then every record. False when the user chose
    // to keep the program running after a failed save. An end the doctor answered removes the
    // note of an earlier end from outside.
    bool SaveOnExit();

    // Saving with nobody to answer (a termination signal, the end of the desktop session): the
    // same saves as SaveOnExit, with no question, box or notice. A record that cannot be written
    // (incomplete name, another file of the same name, a write failure) stays unsaved and is
    // described in `unsaved`, and named again to the doctor at the next start (UnsavedAtEnd).
    // The program may go on running afterwards.
    struct UnattendedSave {
        bool saved = true;  // every record in use was written
        std::vector<std::u16string> unsaved;
    };
    UnattendedSave SaveUnattended();

private:
    Platform& m_platform;
    PatientSet& m_patients;
    MainFormHost& m_host;
    std::unique_ptr<ActivePatients> m_active;
    PageNavigation m_navigation;
    std::array<FormPage*, kPageCount> m_pages{};
    bool m_patientsLoaded = false;
    UnsavedAtEnd m_unsavedAtEnd;
};

}  // namespace pondrel
