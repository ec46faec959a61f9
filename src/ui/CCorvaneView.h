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
#include "mainform/MainFormController.h"
#include "mainform/MainFormHost.h"
#include "mainform/MainMenu.h"
#include "mainform/PageNavigation.h"
#include "platform/DateTime.h"
#include "records/DayNumber.h"
#include "records/LocationList.h"
#include "settings/Preferences.h"
#include "settings/PreferencesExchange.h"
#include "settings/SettingsValues.h"
#include "startup/StartUp.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace pondrel {

class ActivePatients;
class CCommandBar;
class CInputPanel;
class CRecordNavigator;
class ExamPage;
class GrowthCurves;
class LetterPages;
class OrderSheetsPage;
class ProblemPage;
class FieldPages;
class QuickNotesPage;
class TaskPage;
class CPatientList;
class CWindowsEditor;
class QtFileDialogs;
class SummaryPageSet;
class SyncPages;
class CCorvaneDoc;
struct Platform;
struct WorkingFolders;

// The main form's widget: one tall form of 39 page bands of 290 pixels, scrolled so that one
// page shows at a time, with the pop-up lists of the command bar (main menu, page list), the
// record navigation of page 0, the input panel and the transient notice. It runs start-up when
// it is first shown and carries out the main menu's commands. The record on screen, the pages
// and the commands on the set are the controller's (Controller(), see MainFormController.h);
// pages plug in as FormPage.h says.
class CCorvaneView final : public QScrollArea,
                           private StartUpSteps,
                           private PreferencesExchangeHost,
                           private MainFormHost {
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
    const PageNavigation& Navigation() const { return m_controller->Navigation(); }
    const UnitWords& Units() const { return m_unitWords; }
    // The main form without its widgets: the record on screen, the pages, the commands.
    MainFormController& Controller() { return *m_controller; }
    // The active patient set: loading, saving, auto-save and backup.
    ActivePatients& Active() { return m_controller->Active(); }

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
    // Puts `widget` into page `page`'s band, filling it (the page's name is then the widget's
    // to show); the form takes ownership. The page's FormPage is registered with the
    // controller (Controller().SetPage).
    void InstallPage(int page, QWidget* widget);
    // The problems page (page 20) once the controls are built.
    ProblemPage* Problems() const { return m_problemPage.get(); }
    // The pages of field windows (0 to 18, 28 to 30) once the controls are built.
    FieldPages* Fields() const { return m_fieldPages.get(); }
    TaskPage* Tasks() const { return m_taskPage.get(); }
    // The patient list behind the patient box.
    CPatientList* PatientList() const { return m_patientList; }
    Platform& GetPlatform() { return m_platform; }
    // The windows editor of the form pages.
    CWindowsEditor* WindowsEditor() const { return m_windowsEditor; }
    QuickNotesPage* QuickNotes() const { return m_quickNotes.get(); }
    // The open and save dialogues of the platform.
    QtFileDialogs& FileDialogs() { return *m_fileDialogs; }
    // The letter pages (26 and 35) once the controls are built.
    LetterPages* Letters() const { return m_letterPages.get(); }
    // The seven summary pages once the controls are built.
    SummaryPageSet* Summaries() const { return m_summaryPages.get(); }
    // Pages 31 to 33 and the connection to the server.
    SyncPages* Sync() const { return m_syncPages.get(); }
    // The exam table page (page 36) once the controls are built.
    ExamPage* Exams() const { return m_examPage.get(); }
    // The growth curve sets, read when the controls are built.
    const GrowthCurves* Curves() const { return m_growthCurves.get(); }
    // The order sheets page (page 27) once the controls are built.
    OrderSheetsPage* OrderSheets() const { return m_orderSheetsPage.get(); }

    // Shows page p (0 to 38): the page being left finishes its work first.
    void ShowPage(int page) { m_controller->ShowPage(page); }
    int CurrentPage() const { return m_controller->CurrentPage(); }
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
    void RunPreferences();
    // "Ed shortcuts": the label editor for the field that had the focus last.
    void RunLabelEditor();
    // The captions, lists and words of m_labels onto every page.
    void ApplyLabels();
    void ShowHelp();
    void ShowAbout();

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
    // Tab moves between the field windows; the page shown follows the focus, whole pages only.
    bool focusNextPrevChild(bool next) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

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
    void SetShowingDialog(bool showing) override;
    void ShowPreferencesDialog(PreferencesEdit& edit) override;
    void ApplyOutcome(const PreferencesOutcome& outcome) override;
    void RefreshForm() override { m_controller->ShowRecord(); }

    // What the controller asks of the widget.
    void ScrollToPage(int page) override;
    void ShowPatientBox() override;
    void PatientsChanged() override;
    void SavePreferences() override;

    Platform& m_platform;
    const WorkingFolders& m_folders;
    CCorvaneDoc& m_document;
    QWidget* m_form = nullptr;  // the tall form, owned by the scroll area
    std::array<QWidget*, kPageCount> m_pages{};
    std::array<QLabel*, kPageCount> m_pageTitles{};
    QLabel* m_notice = nullptr;
    QListWidget* m_mainMenu = nullptr;
    QListWidget* m_pageList = nullptr;
    CInputPanel* m_inputPanel = nullptr;
    CRecordNavigator* m_recordNavigator = nullptr;
    std::unique_ptr<ProblemPage> m_problemPage;  // page 20, from BuildControls on
    std::unique_ptr<QtFileDialogs> m_fileDialogs;
    std::unique_ptr<FieldPages> m_fieldPages;      // pages 0 to 18, 28 to 30
    std::unique_ptr<TaskPage> m_taskPage;          // page 19
    std::unique_ptr<QuickNotesPage> m_quickNotes;  // page 37
    CPatientList* m_patientList = nullptr;         // a child of the view
    CWindowsEditor* m_windowsEditor = nullptr;     // a child of the view
    std::unique_ptr<LetterPages> m_letterPages;  // pages 26 and 35, from BuildControls on
    std::unique_ptr<SummaryPageSet> m_summaryPages;  // pages 21 to 25, 34 and 38, after it
    std::unique_ptr<SyncPages> m_syncPages;          // pages 31 to 33 and the connection
    std::unique_ptr<GrowthCurves> m_growthCurves;     // read once, from BuildControls on
    std::unique_ptr<ExamPage> m_examPage;             // page 36, after them
    std::unique_ptr<OrderSheetsPage> m_orderSheetsPage;  // page 27, from BuildControls on
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
    std::unique_ptr<MainFormController> m_controller;
    UnitWords m_unitWords = UnitWordsOf(0);
    std::array<QString, kPageCount> m_pageNames;

    bool m_ready = false;
    bool m_showingDialog = false;
    DateTime m_startTime;
    DayNumber m_today = 0;
    QImage m_patientIcons;
    QImage m_scrollListIcons;
};

}  // namespace pondrel
