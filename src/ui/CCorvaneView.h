#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QImage>
#include <QPointer>
#include <QScrollArea>

#include "labels/Labels.h"
#include "platform/DateTime.h"
#include "records/DayNumber.h"
#include "records/LocationList.h"
#include "startup/StartUp.h"
#include "settings/Preferences.h"
#include "settings/PreferencesExchange.h"
#include "settings/SettingsValues.h"
#include "mainform/MainMenu.h"
#include "mainform/PageNavigation.h"
#include "mainform/RecordNavigation.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace pondrel {

class ActivePatients;
class CCommandBar;
class CInputPanel;
class CRecordNavigator;
class ProblemPage;
class CCorvaneDoc;
struct Platform;
struct WorkingFolders;

// The main form: one tall form of 39 page bands of 290 pixels, scrolled so that one page shows
// at a time, with the pop-up lists of the command bar (main menu, page list), the record
// navigation of page 0, the input panel and the transient notice. It runs start-up when it is
// first shown and carries out the main menu's commands.
class CCorvaneView final : public QScrollArea,
                           private StartUpSteps,
                           private PreferencesExchangeHost {
public:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 290;  // the part of the form in view: one page
    static constexpr int kPageCount = pondrel::kPageCount;
    static constexpr int kPageHeight = 290;
    static constexpr int kFirstPageOffset = 291;
    static constexpr int kMainMenuWidth = 132;
    static constexpr int kMenuRowHeight = 13;

    // `platform`, `folders` and `document` must outlive the form.
    CCorvaneView(Platform& platform, const WorkingFolders& folders, CCorvaneDoc& document,
                 QWidget* parent = nullptr);
    ~CCorvaneView() override;

    // The command bar of the frame; the form answers its taps and keeps its patient box up to
    // date. Must outlive the form or be detached with nullptr.
    void AttachCommandBar(CCommandBar* bar);

    // The document holding the patient set the form shows and edits.
    CCorvaneDoc& Document() { return m_document; }
    const Labels& GetLabels() const { return m_labels; }
    Preferences& GetPreferences() { return m_preferences; }
    LocationList& Locations() { return m_locations; }
    const PageNavigation& Navigation() const { return m_navigation; }
    const UnitWords& Units() const { return m_unitWords; }
    // The active patient set: loading, saving, auto-save and backup.
    ActivePatients& Active() { return *m_active; }

    // Called at the end of start-up step j to close the start-up picture.
    void SetStartUpPictureCloser(std::function<void()> close) { m_closePicture = std::move(close); }
    // Called once start-up has run; false when a step stopped it and the program must quit.
    void SetStartUpFinished(std::function<void(bool)> finished) {
        m_startUpFinished = std::move(finished);
    }
    // True once every start-up step ran, false when one stopped it, none before.
    std::optional<bool> StartUpResult() const { return m_startUpResult; }

    // The transient notice over the form (nothing is shown before the form is ready).
    void ShowNotice(const std::u16string& text, int milliseconds, bool warning);
    void HideNotice();
    bool IsReady() const { return m_ready; }

    // ---- Pages -------------------------------------------------------------------------------
    // What a page's owner plugs in. `commit` writes the page's working values back into the
    // record: it runs when the page is left, before record navigation and before saving.
    // `refresh` shows the current record again: when the page is shown and after the record
    // changed while it is shown. `release` lets go of the record the page holds, on every page,
    // before records may be destroyed (the set read again, a patient closed); the page takes
    // the current record again at its next `refresh`. `leave`, when set, runs instead of
    // `commit` when another page is shown (a page that also closes its pop-up lists then).
    struct PageHooks {
        std::function<void()> commit;
        std::function<void()> refresh;
        std::function<void()> release;
        std::function<void()> leave;
    };
    // Puts `widget` into page `page`'s band, filling it (the page's name is then the widget's
    // to show); the form takes ownership.
    void InstallPage(int page, QWidget* widget);
    void SetPageHooks(int page, PageHooks hooks);
    // The problems page (page 20) once the controls are built.
    ProblemPage* Problems() const { return m_problemPage.get(); }

    // Shows page p (0 to 38): the page being left finishes its work first.
    void ShowPage(int page);
    int CurrentPage() const { return m_navigation.Current(); }
    QWidget* Page(int page) const { return m_pages.at(static_cast<size_t>(page)); }
    QString PageName(int page) const;
    void NextPage();
    void PreviousPage();
    // Rebuilds the page order, the names and the page list (after the flags, names or
    // positions changed).
    void RebuildPageOrder();

    // ---- Pop-up lists and the input panel ----------------------------------------------------
    void ToggleMainMenu();
    void TogglePageList();
    void TogglePatientList();
    void ClosePopups();
    bool MainMenuOpen() const;
    bool PageListOpen() const;
    void ToggleInputPanel();
    bool InputPanelShown() const;

    // ---- Commands ----------------------------------------------------------------------------
    void RunMenuCommand(MenuCommand command);
    // Record navigation of page 0 ("First", "Prev", "Next", "Last", "New").
    void MoveRecord(RecordNavigation::Move move);
    void NewPatient();
    void ClearCheckBoxes();
    void SaveAllPatients();
    void OpenAllPatients();
    void CloseOnePatient();
    void RunPreferences();
    void ShowHelp();
    void ShowAbout();
    // Closing the main window: preferences, then every record. False when the program must
    // keep running.
    bool SaveOnExit();

    // Writes the shown values back into the current record (every page's commit).
    void CommitShownValues();
    // Shows the current record again: patient box, counter, the page shown.
    void RefreshRecord();
    // The patient box of the command bar and the record counter only.
    void RefreshPatientBox();
    // Every page lets go of its record (see PageHooks::release).
    void ReleaseRecords();

    // The main window was activated or deactivated (automatic saving runs while it is active).
    void OnWindowActivation(bool active);

    // Set while a modal dialogue of the program is open.
    bool ShowingDialog() const { return m_showingDialog; }

    DateTime StartTime() const { return m_startTime; }
    DayNumber Today() const { return m_today; }
    // The icon strips of the installation folder, loaded at start-up.
    const QImage& PatientIcons() const { return m_patientIcons; }
    const QImage& ScrollListIcons() const { return m_scrollListIcons; }

protected:
    void showEvent(QShowEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void RunStartUp();
    void BuildPopups();
    void BuildRecordNavigation(QWidget* band);
    void FillMainMenu();
    void FillPageList();
    void PlacePopup(QWidget* popup, int width, int height);
    void OnMenuItem(QListWidgetItem* item);
    void OnPageItem(QListWidgetItem* item);
    void OnCommandBar(int button);
    void EditField(const char* operation);
    bool IsOnShownPage(const QWidget* widget) const;
    void NotAvailable();
    QIcon PageIcon(int page) const;
    void SavePreferencesNow();

    // Start-up steps, in the order they run.
    void RecordStartTime(const DateTime& now) override;
    void BuildControls() override;
    bool ReadLabels() override;
    void SetToday(DayNumber today) override;
    bool ReadPreferences() override;
    bool LoadIconPictures() override;
    void StartTimers() override;
    void MarkReady() override;
    void LoadActivePatients() override;
    void ShowFirstPage() override;
    void CloseStartUpPicture() override;
    void OpenConnection() override;

    // The preferences exchange.
    void SetShowingDialog(bool showing) override { m_showingDialog = showing; }
    void ShowPreferencesDialog(PreferencesEdit& edit) override;
    void ApplyOutcome(const PreferencesOutcome& outcome) override;
    void RefreshForm() override { RefreshRecord(); }

    Platform& m_platform;
    const WorkingFolders& m_folders;
    CCorvaneDoc& m_document;
    QWidget* m_form = nullptr;  // the tall form, owned by the scroll area
    std::array<QWidget*, kPageCount> m_pages{};
    std::array<QLabel*, kPageCount> m_pageTitles{};
    std::array<PageHooks, kPageCount> m_hooks{};
    QLabel* m_notice = nullptr;
    QListWidget* m_mainMenu = nullptr;
    QListWidget* m_pageList = nullptr;
    CInputPanel* m_inputPanel = nullptr;
    CRecordNavigator* m_recordNavigator = nullptr;
    std::unique_ptr<ProblemPage> m_problemPage;  // page 20, from BuildControls on
    QPointer<CCommandBar> m_commandBar;
    QPointer<QWidget> m_lastField;  // the field that had the focus last

    bool m_startUpBegun = false;
    std::optional<bool> m_startUpResult;
    std::function<void()> m_closePicture;
    std::function<void(bool)> m_startUpFinished;

    Labels m_labels = Labels::Defaults();
    Preferences m_preferences;
    bool m_preferencesLoaded = false;  // never write defaults over a file that was not read
    LocationList m_locations;
    std::unique_ptr<ActivePatients> m_active;
    bool m_patientsLoaded = false;  // nothing is saved on exit before the patients were loaded
    UnitWords m_unitWords = UnitWordsOf(0);
    PageNavigation m_navigation;
    std::array<QString, kPageCount> m_pageNames;

    bool m_ready = false;
    bool m_showingDialog = false;
    DateTime m_startTime;
    DayNumber m_today = 0;
    QImage m_patientIcons;
    QImage m_scrollListIcons;
};

}  // namespace pondrel
