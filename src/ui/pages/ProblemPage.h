#pragma once

#include <memory>

#include <QPointer>

#include "labels/CodeTable.h"
#include "mainform/FormPage.h"
#include "ui/pages/PagePlugin.h"

namespace pondrel {

class PageHost;
class CProblemPanel;
class Clock;
class MainFormController;
class RecordEditing;
class UserMessages;
struct EditorRefresh;
struct Labels;
struct Preferences;

// The problems page (page 20) of the main form: the problem panel in its band and the record it
// edits, plugged into the main-form controller as a FormPage. The panel edits the current record of
// the set once that record is begun; an empty record (not in use yet) is shown with the panel empty
// and disabled, and the page says why. Every change the panel makes to the record passes the
// form's one gate (MainFormController::MayChangeRecord). The panel's typing reaches the record at
// every commit: when the page is left, before record navigation and before every save.
//
// The panel keeps its patient, day and problem while another page is shown; it follows the
// current record when the page is shown again or the record changes while it is shown. Before
// the set may destroy records (Open all, Close one) it lets its record go.
class ProblemPage final : public FormPage, public PagePlugin {
public:
    static constexpr int kPage = 20;

    // Creates the panel, installs it in page 20 of `view` and registers the page with the
    // view's controller. `view`, `messages` and `clock` must outlive the page; the panel belongs
    // to the view's form.
    ProblemPage(PageHost& view, UserMessages& messages, Clock& clock);
    // Commits into the open record and lets it go (the panel's destructor does not commit).
    ~ProblemPage() override;
    ProblemPage(const ProblemPage&) = delete;
    ProblemPage& operator=(const ProblemPage&) = delete;

    CProblemPanel* Panel() const;
    // The record the panel edits, if any.
    const PatientRecord* OpenRecord() const { return m_record; }

    // After the labels were read.
    void SetLabels(const Labels& labels) override;
    // After the preferences were read or changed: the date order and the bottom-right pane.
    void ApplyPreferences(const Preferences& preferences) override;
    void ApplyOutcome(const PreferencesOutcome& /*outcome*/,
                      const Preferences& preferences) override {
        ApplyPreferences(preferences);
    }
    // The bottom-right pane into the preferences (1 differential diagnosis, 2 Other).
    void StorePane(Preferences& preferences) const;
    void StorePreferences(Preferences& preferences) const override { StorePane(preferences); }

    // FormPage.
    // The page is shown or the record on screen changed: the panel follows it. An empty record
    // (not begun) is shown with the panel empty, and a notice says why.
    void ShowRecord(PatientRecord* record) override;
    // Writes the typing into the record; the focus and caret stay where they are.
    void Commit() override;
    // The page is left: commits and closes the panel's pop-up lists.
    void Leave() override;
    // Lets go of the record before the set may destroy it.
    void Release() override;

    // The panel shows `current` (opened on its last day and problem 1 when it showed another
    // patient); an empty record or none closes it. The summary pages use it to summarise the
    // record on screen as the panel shows it.
    void Follow(PatientRecord* current);

    // The "C" beside the Diagnosis: the ICD-10 code search on the Diagnosis; its OK replaces the
    // Diagnosis through the form's gate, Cancel says "Cancel".
    void RunCodeSearch();

private:
    void Close();
    void AfterAction(const EditorRefresh& refresh);

    PageHost& m_view;
    MainFormController& m_form;
    UserMessages& m_messages;
    QPointer<CProblemPanel> m_panel;
    std::unique_ptr<RecordEditing> m_editing;  // the adapter the panel holds, over m_record
    PatientRecord* m_record = nullptr;
    CodeTable m_codeTable;  // read at the first search, kept until the program ends
};

}  // namespace pondrel
