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
#include "ui/pages/PageHost.h"
#include "ui/pages/PageList.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace pondrel {

class ActivePatients;
class CCommandBar;
class CInputPanel;
class CRecordNavigator;
class GrowthCurves;
class CPatientList;
class QtFileDialogs;
class CCorvaneDoc;
struct Platform;
struct WorkingFolders;

// The main form's widget: one tall form of 39 page bands of 290 pixels, scrolled so that one
// page shows at a time, with the pop-up lists of the command bar (main menu, page list), the
// record navigation of page 0, the input panel and the transient notice. It runs start-up when
// it is first shown and carries out the main menu's commands. The record on screen, the pages
// and the commands on the set are the controller's (Controller(), see MainFormController.h).
// The form knows its pages only through the list of src/ui/pages/PageList.cpp: each page sees
// the form as a PageHost, shows the record as a FormPage and hears the form as a PagePlugin.
class CCorvaneView final : public QScrollArea,
                           public PageHost,
                           private StartUpSteps,
                           private PreferencesExchangeHost,
                           private MainFormHost {
public:
    static constexpr int kWidth = PageHost::kWidth;
    static constexpr int kHeight = 290;  // the part of the form in view: one page
    static constexpr int kPageCount = PageHost::kPageCount;
    static constexpr int kPageHeight = PageHost::kPageHeight;
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

    // ---- What the pages may use (PageHost) ---------------------------------------------------
    QWidget& Widget() override { return *this; }
    // The document holding the patient set the form shows and edits.
    CCorvaneDoc& Document() override { return m_document; }
    const Labels& GetLabels() const override { return m_labels; }
    Preferences& GetPreferences() override { return m_preferences; }
    LocationList& Locations() override { return m_locations; }
    const PageNavigation& Navigation() const override { return m_controller->Navigation(); }
    const UnitWords& Units() const { return m_unitWords; }
    // The main form without its widgets: the record on screen, the pages, the commands.
    MainFormController& Controller() override { return *m_controller; }
    // The active patient set: loading, saving, auto-save and backup.
    ActivePatients& Active() { return m_controller->Active(); }
    Platform& GetPlatform() override { return m_platform; }
    const WorkingFolders& Folders() const override { return m_folders; }
    pondrel::FileDialogs& Dialogs() override;
    // The open and save dialogues of the platform.
    QtFileDialogs& FileDialogs() { return *m_fileDialogs; }

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
    void HideNotice() override;
    bool IsReady() const { return m_ready; }

    // ---- Pages -------------------------------------------------------------------------------
    // Puts `widget` into page `page`'s band, filling it (the page's name is then the widget's
    // to show); the form takes ownership. The page's FormPage is registered with the
    // controller (Controller().SetPage).
    void InstallPage(int page, QWidget* widget) override;
    // The piece of the pages of class T (ProblemPage, FieldPages, SyncPages...) once the
    // controls are built, else null.
    template <class T>
    T* Find() const {
        return m_pieces ? m_pieces->Find<T>() : nullptr;
    }
    // The patient list behind the patient box.
    CPatientList* PatientList() const { return m_patientList; }
    // The growth curve sets, read when the controls are built.
    const GrowthCurves* Curves() const { return m_pieces ? &m_pieces->Curves() : nullptr; }

    // Shows page p (0 to 38): the page being left finishes its work first.
    void ShowPage(int page) override { m_controller->ShowPage(page); }
    int CurrentPage() const override { return m_controller->CurrentPage(); }
    QWidget* Page(int page) const override { return m_pages.at(static_cast<size_t>(page)); }
    QString PageName(int page) const override;
    void NextPage();
    void PreviousPage();
    // Rebuilds the page order, the names and the page list (after the flags, names or
    // positions changed).
    void RebuildPageOrder() override;

    // ---- Pop-up lists and the input panel ----------------------------------------------------
    void ToggleMainMenu();
    void TogglePageList();
    void TogglePatientList();
    void ClosePopups() override;
    bool MainMenuOpen() const;
    bool PageListOpen() const;
    void ToggleInputPanel();
    bool InputPanelShown() const;

    // ---- Commands ----------------------------------------------------------------------------
    void RunMenuCommand(MenuCommand command);
    void RunPreferences();
    // "Files manager ->": the set saved, the dialogue, the set read again.
    void RunFilesManager();
    // "Quick load file": the dialogue, the archived file brought back, read into the set and
    // shown (under the location that shows it).
    void RunQuickLoad();
    // Makes the loaded record of `fileName` the current one and shows it.
    void ShowQuickLoaded(const std::u16string& fileName);
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
    const QImage& PatientIcons() const override { return m_patientIcons; }
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
    // A line or text field: Undo, Cut, Copy and Paste act on the last one that had the focus.
    static bool IsEditableField(const QWidget* widget);
    void NotAvailable();
    QIcon PageIcon(int page) const;
    // Every piece of the pages in the order they were built (none before the controls are).
    const std::vector<PagePlugin*>& Plugins() const;

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
    std::unique_ptr<QtFileDialogs> m_fileDialogs;
    CPatientList* m_patientList = nullptr;  // a child of the view
    std::unique_ptr<PageList> m_pieces;     // the pages, from BuildControls on
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
