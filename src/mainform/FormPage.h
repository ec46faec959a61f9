#pragma once

namespace pondrel {

struct PatientRecord;

// One page of the main form, as the main-form controller (MainFormController) sees it. Every
// page that shows or edits the current record implements it; pages that only show something
// fixed need none.
//
// How a new page plugs in (the problems page, src/ui/pages/ProblemPage, is a complete example):
//   1. Build the page's widget and put it into its band with PageHost::InstallPage(page,
//      widget) (src/ui/pages/PageHost.h); the form owns the widget from then on. Add the page's
//      class to the one list of src/ui/pages/PageList.cpp; it hears the form (labels,
//      preferences, start, menu commands) as a PagePlugin. The form itself does not change.
//   2. Implement FormPage in a small class that keeps the widget and the record it shows, and
//      register it with MainFormController::SetPage(page, this). Remove it with
//      SetPage(page, nullptr) before it is destroyed. One page object per page number.
//   3. ShowRecord is the only way a page learns which record to show. Keep working copies of
//      what the user types in the page; write them into the record in Commit, never at every
//      keystroke.
//   4. A page that keeps a pointer or reference to a record must drop it in Release: the set
//      is about to destroy records (Open all, Close one, Close all). The next ShowRecord gives
//      the page its record again.
//   5. An action that changes the record other than by typing into a field window (a drawing,
//      a room picked, the problem manager, a code from the ICD-10 search) first asks
//      MainFormController::MayChangeRecord(): it refuses a folder read only and a record not
//      begun with the usual notices, and the action then changes nothing.
//   6. A dialogue that edits files on disk holds the files while it is open (FilesHold of
//      records/FilesHold.h) and writes through WriteIfUnchanged.
// The controller calls these on the user-interface thread, never from inside one of them.
class FormPage {
public:
    virtual ~FormPage() = default;

    // The page is shown, or the record changed while the page is shown: show `record` (the
    // record on screen, the set's current one). `record` is null only while the set is empty,
    // before the patients are loaded. Called again with the same record after every command
    // that may have changed it, so a page refreshes what it shows from it.
    virtual void ShowRecord(PatientRecord* record) = 0;

    // Writes the page's working values into the record it shows. Runs before every save, every
    // record move, every command acting on the set and when the page is left, on every page,
    // shown or not. A page with nothing to write does nothing. The focus and the caret stay
    // where they are.
    virtual void Commit() = 0;

    // Another page is shown instead of this one. By default the page commits; a page that also
    // closes its pop-up lists or takes the focus out of its fields does so here (and commits).
    virtual void Leave() { Commit(); }

    // The set is about to destroy records: let go of every pointer or reference to a record.
    // The values were committed just before. By default nothing is held.
    virtual void Release() {}

protected:
    FormPage() = default;
    FormPage(const FormPage&) = default;
    FormPage& operator=(const FormPage&) = default;
};

}  // namespace pondrel
