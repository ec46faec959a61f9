#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QObject>
#include <QPointer>

#include "layout/ArrangementFiles.h"
#include "mainform/FieldChanges.h"
#include "mainform/FormPage.h"
#include "ui/pages/PagePlugin.h"

class QLineEdit;
class QWidget;

namespace pondrel {

class PageHost;
class CFieldWindows;
class FieldShortcuts;
class FileDialogs;
class FreeFieldControls;
class IdentityControls;
class SummaryPageSet;
struct Labels;
struct Platform;
struct PatientRecord;
struct Preferences;

// The pages of field windows: the form pages 0 to 18 arranged by the arrangement in force, the
// free-field pages 28 and 29 and the identity page 30. Every change typed into a window, and
// every change of the tasks, quick notes, civility, icon or form choice, goes through
// ChangeField / the FieldChanges it owns, then the windows and the patient list follow.
// Registered with the view's controller as the FormPage of each of these pages.
class FieldPages final : public QObject, public PagePlugin {
public:
    static constexpr int kFreeFieldPages[2] = {28, 29};
    static constexpr int kIdentityPage = 30;

    // Builds the windows in the bands of `view` (after the bands exist). Everything must outlive
    // the pages.
    FieldPages(PageHost& view, Platform& platform, FileDialogs& dialogs,
               std::u16string installationFolder);
    ~FieldPages() override;
    FieldPages(const FieldPages&) = delete;
    FieldPages& operator=(const FieldPages&) = delete;

    // After the labels were read: captions and age words.
    void SetLabels(const Labels& labels) override;
    // After the preferences were read or changed: units, new folder type, free-field layout
    // and titles.
    void ApplyPreferences(const Preferences& preferences) override;
    void ApplyOutcome(const PreferencesOutcome& outcome, const Preferences& preferences) override;
    // Into the preferences before they are written: the arrangement in force (items 30 to 35)
    // and the free-field layout and titles (items 10 to 13).
    void StoreArrangement(Preferences& preferences) const;
    void StorePreferences(Preferences& preferences) const override {
        StoreArrangement(preferences);
    }
    void SetPatientIcons(const QImage& icons) override;

    // A field of the record shown changed on the form (a window, the task panel, the quick
    // notes, the form list): the rules run and the form follows. Nothing without a record.
    FieldChangeResult ChangeField(int field, std::u16string_view text);
    // The record on screen (null while the set is empty).
    PatientRecord* Record() const { return m_record; }
    // The summary pages, marked out of date when a change touches what they show.
    void SetSummaries(SummaryPageSet* summaries) { m_summaries = summaries; }

    FieldChanges& Changes() { return m_changes; }
    CFieldWindows& Windows() { return *m_windows; }
    ArrangementFiles& Arrangements() { return m_arrangements; }
    IdentityControls& Identity() { return *m_identity; }
    // The shortcut lists of the windows; null until the labels are set.
    FieldShortcuts* Shortcuts() { return m_shortcuts.get(); }
    FreeFieldControls& FreeControls() { return *m_freeControls; }
    // The free-field layout shown and the four texts of the free-field pages (titles, then
    // positions), kept in the preferences by StoreArrangement.
    FreeFieldLayout& FreeFields() { return m_freeFields; }
    std::array<std::u16string, kFreeFieldCaptions>& FreeTexts() { return m_freeTexts; }
    // Places the free fields again after their layout changed.
    void PlaceFreeFields();

    // Applies the arrangement in force again (after the windows editor or Open changed it).
    void ApplyArrangement();
    // Called at the end of every ApplyArrangement (the drawing areas follow the "P" flags).
    void SetArrangementApplied(std::function<void()> applied) { m_applied = std::move(applied); }
    // A "P" flag of the free-field pages changed: the drawing areas follow, as after an
    // arrangement.
    void GroupsChanged() {
        if (m_applied) m_applied();
    }
    // Shows the record on screen again in every window.
    void ShowRecord(PatientRecord* record);
    // The focus went on from `before` to `now` (Tab, Shift+Tab, or a pop-up list hidden): from a
    // field window, a window of another page brings its page into view; from anything else the
    // focus does not go to a window out of view.
    void FollowFocus(QWidget* before, QWidget* now);
    void FocusMoved(QWidget* before, QWidget* now) override { FollowFocus(before, now); }
    // The user leaves the window of `field`: its unit and growth band (FieldChanges::OnFieldLeft).
    void LeaveField(int field);

private:
    class Page;
    void OnEdited(int field);
    void OnFocusChanged(QWidget* before, QWidget* now);
    // Before a save, a record move or another page: the window with the focus is left as far
    // as the record goes; the focus and the caret stay.
    void LeaveFocusedField();
    void AfterChange(const FieldChangeResult& result, int editedField);
    // A record not begun takes its name and birth date only: every other window is closed to
    // typing until then, so that nothing typed there is thrown away.
    void OpenWindowsWhenBegun();
    bool IsClosedUntilBegun(int field) const;
    void PlaceIdentityPage();
    std::u16string CaptionOf(int field) const;

    PageHost& m_view;
    Platform& m_platform;
    std::unique_ptr<CFieldWindows> m_windows;
    FieldChanges m_changes;
    ArrangementFiles m_arrangements;
    std::unique_ptr<IdentityControls> m_identity;
    std::vector<std::unique_ptr<Page>> m_pages;
    std::unique_ptr<FreeFieldControls> m_freeControls;
    FreeFieldLayout m_freeFields;
    std::array<std::u16string, kFreeFieldCaptions> m_freeTexts{};
    const Labels* m_labels = nullptr;
    PatientRecord* m_record = nullptr;
    SummaryPageSet* m_summaries = nullptr;
    std::unique_ptr<FieldShortcuts> m_shortcuts;
    std::function<void()> m_applied;
};

}  // namespace pondrel
