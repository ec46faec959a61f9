#include "ui/CCorvaneView.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>
#include <QWheelEvent>

#include "charts/GrowthCurves.h"
#include "journal/ui/CProblemPanel.h"
#include "labels/LabelsFile.h"
#include "labels/ShortcutList.h"
#include "mainform/NoticeLayout.h"
#include "mainform/PageNames.h"
#include "platform/HostFileSystem.h"
#include "platform/Platform.h"
#include "platform/ui/PageTitle.h"
#include "platform/ui/QtText.h"
#include "records/ActivePatients.h"
#include "records/CCorvaneDoc.h"
#include "records/WorkingFolders.h"
#include "settings/PreferencesFile.h"
#include "ui/CCommandBar.h"
#include "ui/CInputPanel.h"
#include "ui/CPatientList.h"
#include "ui/CWindowsEditor.h"
#include "ui/CRecordNavigator.h"
#include "ui/DevicePicture.h"
#include "ui/FieldPages.h"
#include "ui/IdentityControls.h"
#include "ui/ExamPage.h"
#include "ui/LetterPages.h"
#include "ui/OrderSheetsPage.h"
#include "ui/ProblemPage.h"
#include "ui/QuickNotesPage.h"
#include "ui/TaskPage.h"
#include "ui/QtFileDialogs.h"
#include "ui/SummaryPageSet.h"
#include "ui/SyncPages.h"

namespace pondrel {

namespace {

// Below the last band there is room for the last page to scroll to its offset.
constexpr int kFormHeight = CCorvaneView::kFirstPageOffset +
                            CCorvaneView::kPageCount * CCorvaneView::kPageHeight +
                            CCorvaneView::kPageHeight;
constexpr int kTitleHeight = 16;
constexpr int kPageListColumns = 3;
constexpr int kPageListRowHeight = 21;
constexpr int kIconSize = 16;

bool IsEditableField(QWidget* widget) {
    return qobject_cast<QLineEdit*>(widget) || qobject_cast<QTextEdit*>(widget) ||
           qobject_cast<QPlainTextEdit*>(widget);
}

}  // namespace

CCorvaneView::CCorvaneView(Platform& platform, const WorkingFolders& folders, CCorvaneDoc& document,
                           QWidget* parent)
    : QScrollArea(parent), m_platform(platform), m_folders(folders), m_document(document) {
    setObjectName(QStringLiteral("corvaneView"));
    m_fileDialogs =
        std::make_unique<QtFileDialogs>(dynamic_cast<HostFileSystem*>(&platform.files)
                                            ? dynamic_cast<HostFileSystem*>(&platform.files)->Root()
                                            : std::filesystem::path());
    m_fileDialogs->SetParent(this);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(false);
    // The fields of the form take the focus, never the form itself.
    setFocusPolicy(Qt::NoFocus);

    m_form = new QWidget;
    m_form->setObjectName(QStringLiteral("form"));
    m_form->setFixedSize(kWidth, kFormHeight);
    m_form->setAutoFillBackground(true);
    QPalette palette = m_form->palette();
    palette.setColor(QPalette::Window, Qt::white);
    m_form->setPalette(palette);
    setWidget(m_form);

    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("notice"));
    m_notice->setAlignment(Qt::AlignCenter);
    m_notice->setWordWrap(true);
    QFont font = m_notice->font();
    font.setPixelSize(12);
    m_notice->setFont(font);
    m_notice->hide();
    m_notice->installEventFilter(this);  // a tap on a mail or chat notice leads to it

    MainFormHost& host = *this;
    m_controller = std::make_unique<MainFormController>(m_platform, m_folders,
                                                        m_document.Patients(), m_locations, host);

    BuildPopups();

    // Undo, Cut, Copy and Paste act on the field of the form that had the focus last.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && IsEditableField(now) && m_form->isAncestorOf(now)) m_lastField = now;
    });
}

CCorvaneView::~CCorvaneView() {
    m_syncPages.reset();  // the connection ends, its workers with it
    // The letter and summary pages read the problem page: they go first. The problem panel
    // commits into its record and lets it go while both still exist.
    m_examPage.reset();
    m_letterPages.reset();
    m_summaryPages.reset();
    m_problemPage.reset();
    m_orderSheetsPage.reset();
    m_taskPage.reset();
    m_quickNotes.reset();
    m_fieldPages.reset();
    if (m_commandBar) m_commandBar->SetHandler({});
    m_controller->Active().StopTimers();
}

void CCorvaneView::AttachCommandBar(CCommandBar* bar) {
    if (m_commandBar) m_commandBar->SetHandler({});
    m_commandBar = bar;
    if (m_syncPages) m_syncPages->AttachCommandBar(bar);
    if (!bar) return;
    bar->SetHandler([this](CCommandBar::Button button) { OnCommandBar(static_cast<int>(button)); });
    m_controller->ShowRecord();
}

void CCorvaneView::showEvent(QShowEvent* event) {
    QScrollArea::showEvent(event);
    if (!m_startUpBegun) {
        m_startUpBegun = true;
        // After the window is on screen, as when the form is first shown.
        QTimer::singleShot(0, this, [this] { RunStartUp(); });
    }
}

bool CCorvaneView::focusNextPrevChild(bool next) {
    // Not the scroll area's own, which scrolls by pixels to keep the focused field in view:
    // the page of the field that takes the focus is shown whole.
    QWidget* before = QApplication::focusWidget();
    const bool moved = QWidget::focusNextPrevChild(next);
    if (moved && m_fieldPages) m_fieldPages->FollowFocus(before, QApplication::focusWidget());
    return moved;
}

void CCorvaneView::wheelEvent(QWheelEvent* event) {
    // The form moves page by page, by the program's commands only.
    event->accept();
}

void CCorvaneView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    if (m_inputPanel) m_inputPanel->move(0, height() - CInputPanel::kHeight);
}

bool CCorvaneView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_notice && event->type() == QEvent::MouseButtonRelease && m_syncPages &&
        m_syncPages->OnNoticeTapped()) {
        return true;
    }
    return QScrollArea::eventFilter(watched, event);
}

void CCorvaneView::RunStartUp() {
    StartUp startUp(m_platform, m_folders, *this);
    m_startUpResult = startUp.Run();
    if (m_startUpFinished) m_startUpFinished(*m_startUpResult);
}

// ---- Pop-up lists -----------------------------------------------------------------------------

void CCorvaneView::BuildPopups() {
    m_mainMenu = new QListWidget(this);
    m_mainMenu->setObjectName(QStringLiteral("mainMenu"));
    m_mainMenu->setFrameShape(QFrame::Box);
    m_mainMenu->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_mainMenu->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mainMenu->setUniformItemSizes(true);
    // The field being edited keeps the focus (Cut, Copy and Paste act on it).
    m_mainMenu->setFocusPolicy(Qt::NoFocus);
    QFont font = m_mainMenu->font();
    font.setPixelSize(11);
    m_mainMenu->setFont(font);
    m_mainMenu->hide();
    connect(m_mainMenu, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { OnMenuItem(item); });
    connect(m_mainMenu, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { OnMenuItem(item); });
    FillMainMenu();

    m_pageList = new QListWidget(this);
    m_pageList->setObjectName(QStringLiteral("pageList"));
    m_pageList->setFrameShape(QFrame::NoFrame);
    m_pageList->setViewMode(QListView::ListMode);
    m_pageList->setFlow(QListView::LeftToRight);
    m_pageList->setWrapping(true);
    m_pageList->setResizeMode(QListView::Adjust);
    m_pageList->setUniformItemSizes(true);
    m_pageList->setFocusPolicy(Qt::NoFocus);
    m_pageList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // At most 39 items in 13 rows: the list never needs to scroll.
    m_pageList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pageList->setGridSize(QSize((kWidth - 3) / kPageListColumns, kPageListRowHeight));
    m_pageList->setIconSize(QSize(kIconSize, kIconSize));
    m_pageList->setTextElideMode(Qt::ElideRight);
    m_pageList->setStyleSheet(
        QStringLiteral("QListWidget { background: #f2f5fb; border-top: 1px solid #5070a8; }"));
    font.setPixelSize(10);
    m_pageList->setFont(font);
    m_pageList->hide();
    connect(m_pageList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { OnPageItem(item); });
    connect(m_pageList, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { OnPageItem(item); });

    m_inputPanel = new CInputPanel(this);
    m_inputPanel->move(0, kHeight - CInputPanel::kHeight);
    m_inputPanel->hide();
}

void CCorvaneView::FillMainMenu() {
    m_mainMenu->clear();
    for (const MenuEntry& entry : MainMenuEntries(Navigation().WindowsEditorOpen())) {
        auto* item = new QListWidgetItem(ToQString(entry.text), m_mainMenu);
        item->setData(Qt::UserRole, static_cast<int>(entry.command));
        item->setSizeHint(QSize(kMainMenuWidth - 4, kMenuRowHeight));
        if (entry.command == MenuCommand::Separator) item->setForeground(QColor(120, 120, 120));
    }
}

QIcon CCorvaneView::PageIcon(int page) const {
    const int icon = Navigation().IconOf(page);
    if (m_scrollListIcons.width() < (icon + 1) * kIconSize) return {};
    return QIcon(
        QPixmap::fromImage(m_scrollListIcons.copy(icon * kIconSize, 0, kIconSize, kIconSize)));
}

void CCorvaneView::FillPageList() {
    m_pageList->clear();
    for (int page : Navigation().Order()) {
        auto* item =
            new QListWidgetItem(PageIcon(page), m_pageNames[static_cast<size_t>(page)], m_pageList);
        item->setData(Qt::UserRole, page);
        // Within its cell, so a long name is shortened rather than drawn over its neighbour.
        item->setSizeHint(m_pageList->gridSize());
        item->setToolTip(m_pageNames[static_cast<size_t>(page)]);
    }
}

void CCorvaneView::PlacePopup(QWidget* popup, int width, int height) {
    // The lists stand on the command bar.
    popup->setGeometry(0, kHeight - height, width, height);
    popup->show();
    popup->raise();
    if (m_notice->isVisible()) m_notice->raise();
}

bool CCorvaneView::MainMenuOpen() const {
    return m_mainMenu->isVisible();
}

bool CCorvaneView::PageListOpen() const {
    return m_pageList->isVisible();
}

void CCorvaneView::ClosePopups() {
    m_mainMenu->hide();
    m_pageList->hide();
    if (m_patientList && m_patientList->isVisible()) {
        m_patientList->StoreColumns();
        m_patientList->hide();
    }
}

void CCorvaneView::ToggleMainMenu() {
    if (MainMenuOpen()) {
        m_mainMenu->hide();
        return;
    }
    ClosePopups();
    m_mainMenu->clearSelection();
    m_mainMenu->setCurrentRow(-1);
    PlacePopup(m_mainMenu, kMainMenuWidth, m_mainMenu->count() * kMenuRowHeight + 4);
}

void CCorvaneView::TogglePageList() {
    if (PageListOpen()) {
        m_pageList->hide();
        return;
    }
    ClosePopups();
    PlacePopup(m_pageList, kWidth, PageNavigation::PageListHeight(m_pageList->count()));
    if (std::optional<int> position = Navigation().PositionOf(CurrentPage())) {
        m_pageList->setCurrentRow(*position);
        m_pageList->scrollToItem(m_pageList->currentItem());
    } else {
        m_pageList->setCurrentRow(-1);
    }
}

void CCorvaneView::TogglePatientList() {
    if (m_patientList) m_patientList->Toggle();
}

void CCorvaneView::OnPageItem(QListWidgetItem* item) {
    if (!item) return;
    const int page = item->data(Qt::UserRole).toInt();
    m_pageList->hide();
    ShowPage(page);
}

void CCorvaneView::ToggleInputPanel() {
    const bool show = !m_inputPanel->isVisible();
    QWidget* focused = QApplication::focusWidget();
    if (!focused || !IsEditableField(focused)) focused = m_lastField;
    // A field of a page scrolled away does not get the focus back.
    if (focused && !IsOnShownPage(focused)) focused = nullptr;
    m_inputPanel->move(0, height() - CInputPanel::kHeight);
    m_inputPanel->setVisible(show);
    if (show) m_inputPanel->raise();
    if (m_commandBar) m_commandBar->SetInputPanelDown(show);
    // The field being edited keeps its focus.
    if (focused) focused->setFocus(Qt::OtherFocusReason);
}

bool CCorvaneView::InputPanelShown() const {
    return m_inputPanel->isVisible();
}

// ---- Pages ------------------------------------------------------------------------------------

QString CCorvaneView::PageName(int page) const {
    if (page < 0 || page >= kPageCount) return {};
    return m_pageNames[static_cast<size_t>(page)];
}

void CCorvaneView::RebuildPageOrder() {
    std::array<int, kFormPageCount> flags{};
    for (int page = 0; page < kFormPageCount; ++page) {
        flags[static_cast<size_t>(page)] = m_preferences.pages[static_cast<size_t>(page)].aFlag;
    }
    m_controller->Navigation().SetFormPageFlags(flags);
    const auto names = PageNames(m_labels, m_preferences);
    for (int page = 0; page < kPageCount; ++page) {
        m_pageNames[static_cast<size_t>(page)] = ToQString(names[static_cast<size_t>(page)]);
        if (QLabel* title = m_pageTitles[static_cast<size_t>(page)]) {
            title->setText(m_pageNames[static_cast<size_t>(page)]);
        }
    }
    FillPageList();
    FillMainMenu();
}

void CCorvaneView::InstallPage(int page, QWidget* widget) {
    if (page < 0 || page >= kPageCount || !widget) return;
    QWidget* band = m_pages[static_cast<size_t>(page)];
    if (!band) return;
    widget->setParent(band);
    widget->setGeometry(0, 0, kWidth, kPageHeight);
    if (QLabel* title = m_pageTitles[static_cast<size_t>(page)]) title->hide();
    widget->show();
}

void CCorvaneView::ScrollToPage(int page) {
    verticalScrollBar()->setValue(kFirstPageOffset + kPageHeight * page);
    if (m_windowsEditor) m_windowsEditor->PageShown(page);
}

void CCorvaneView::NextPage() {
    ClosePopups();
    m_controller->NextPage();
}

void CCorvaneView::PreviousPage() {
    ClosePopups();
    m_controller->PreviousPage();
}

// ---- Notice -----------------------------------------------------------------------------------

void CCorvaneView::ShowNotice(const std::u16string& text, int milliseconds, bool warning) {
    if (!m_ready) return;
    m_platform.timers.Start(TimerId::Notice, milliseconds, [this] {
        HideNotice();
        if (m_syncPages) m_syncPages->OnNoticeExpired();
    });
    const NoticeBox box = NoticeBoxFor(text);
    m_notice->setGeometry(box.x, box.y, box.width, box.height);
    m_notice->setProperty("warning", warning);
    m_notice->setStyleSheet(
        warning ? QStringLiteral("QLabel { color: black; border: 1px solid #b06080; background: "
                                 "qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffe4ee, "
                                 "stop:1 #f4a6c0); }")
                : QStringLiteral("QLabel { color: black; border: 1px solid #5070a8; background: "
                                 "qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #e4eeff, "
                                 "stop:1 #a6c0f4); }"));
    QString shown = ToQString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_notice->setText(shown);
    m_notice->show();
    m_notice->raise();
}

void CCorvaneView::HideNotice() {
    m_platform.timers.Stop(TimerId::Notice);
    m_notice->hide();
}

// ---- Start-up steps ---------------------------------------------------------------------------

void CCorvaneView::RecordStartTime(const DateTime& now) {
    m_startTime = now;
    // The locks shared with the network receive thread are members of the connection; they
    // exist with it.
}

void CCorvaneView::BuildControls() {
    for (int page = 0; page < kPageCount; ++page) {
        auto* band = new QWidget(m_form);
        band->setObjectName(QStringLiteral("page%1").arg(page));
        band->setGeometry(0, kFirstPageOffset + kPageHeight * page, kWidth, kPageHeight);
        auto* title = new QLabel(band);
        title->setObjectName(QStringLiteral("pageTitle%1").arg(page));
        title->setGeometry(0, 0, kWidth, kTitleHeight);
        StylePageTitle(title);
        m_pageTitles[static_cast<size_t>(page)] = title;
        m_pages[static_cast<size_t>(page)] = band;
        band->show();
    }
    BuildRecordNavigation(m_pages[0]);
    m_problemPage = std::make_unique<ProblemPage>(*this, m_platform.messages, m_platform.clock);
    m_growthCurves = std::make_unique<GrowthCurves>(GrowthCurves::Load(m_platform.messages));
    m_fieldPages =
        std::make_unique<FieldPages>(*this, m_platform, *m_fileDialogs, m_folders.installation);
    m_fieldPages->Changes().SetGrowthCurves(m_growthCurves.get());
    // The problem panel's shortcut lists move quick-note lines through the form's one path.
    m_problemPage->Panel()->SetQuickNotesStore([this](const std::u16string& notes) {
        if (m_fieldPages) m_fieldPages->ChangeField(kQuickNotesField, notes);
    });
    m_taskPage = std::make_unique<TaskPage>(*this, *m_fieldPages, m_platform.messages);
    m_quickNotes = std::make_unique<QuickNotesPage>(*this, *m_fieldPages, m_platform.messages);
    m_patientList = new CPatientList(*this);
    m_windowsEditor = new CWindowsEditor(*this, *m_fieldPages);
    m_summaryPages = std::make_unique<SummaryPageSet>(*this, m_platform.clock, *m_problemPage);
    m_letterPages = std::make_unique<LetterPages>(*this, m_platform, m_folders);
    m_syncPages = std::make_unique<SyncPages>(*this, m_platform, m_folders);
    if (m_commandBar) m_syncPages->AttachCommandBar(m_commandBar);
    m_examPage = std::make_unique<ExamPage>(*this, m_platform.clock, *m_growthCurves);
    m_orderSheetsPage = std::make_unique<OrderSheetsPage>(*this, m_platform.clock);
    RebuildPageOrder();
}

void CCorvaneView::BuildRecordNavigation(QWidget* band) {
    m_recordNavigator = new CRecordNavigator(band);
    m_recordNavigator->move(0, kTitleHeight + 3);
    m_recordNavigator->SetHandler([this](CRecordNavigator::Button button) {
        switch (button) {
            case CRecordNavigator::Button::First:
                m_controller->MoveRecord(RecordNavigation::Move::First);
                break;
            case CRecordNavigator::Button::Previous:
                m_controller->MoveRecord(RecordNavigation::Move::Previous);
                break;
            case CRecordNavigator::Button::Next:
                m_controller->MoveRecord(RecordNavigation::Move::Next);
                break;
            case CRecordNavigator::Button::Last:
                m_controller->MoveRecord(RecordNavigation::Move::Last);
                break;
            case CRecordNavigator::Button::Close:
                m_controller->CloseOne();
                break;
            case CRecordNavigator::Button::New:
                m_controller->NewPatient();
                break;
        }
    });
    m_recordNavigator->show();
}

bool CCorvaneView::ReadLabels() {
    LabelsFile file(m_platform.files, m_platform.messages, m_folders.installation);
    LabelsLoadOutcome outcome = file.Load();
    // Without the file the program cannot run; an unreadable one leaves the built-in words.
    if (outcome.status == LabelsLoadStatus::Missing) return false;
    m_labels = std::move(outcome.labels);
    ApplyLabels();
    return true;
}

void CCorvaneView::ApplyLabels() {
    if (m_problemPage) m_problemPage->SetLabels(m_labels);
    if (m_fieldPages) m_fieldPages->SetLabels(m_labels);
    if (m_taskPage) m_taskPage->SetLabels(m_labels);
    if (m_quickNotes) m_quickNotes->SetLabels(m_labels);
    if (m_letterPages) m_letterPages->SetLabels(m_labels);
    if (m_orderSheetsPage) m_orderSheetsPage->SetLabels(m_labels);
}

void CCorvaneView::SetToday(DayNumber today) {
    m_today = today;
}

bool CCorvaneView::ReadPreferences() {
    const PreferencesLoad load =
        LoadPreferences(m_platform.files, m_platform.messages, m_folders, m_preferences);
    if (load == PreferencesLoad::QuitProgram) return false;
    m_preferencesLoaded = true;
    m_locations.SetNamesText(m_preferences.locationList);
    m_locations.Select(m_preferences.selectedLocation);
    m_unitWords = UnitWordsOf(m_preferences.regional.units);
    if (m_problemPage) m_problemPage->ApplyPreferences(m_preferences);
    if (m_orderSheetsPage) m_orderSheetsPage->ApplyPreferences(m_preferences);
    if (m_fieldPages) m_fieldPages->ApplyPreferences(m_preferences);
    if (m_syncPages) m_syncPages->ApplyPreferences(m_preferences);
    RebuildPageOrder();
    // The wallpaper picture is loaded here once the display settings join the form.
    return true;
}

bool CCorvaneView::LoadIconPictures() {
    const bool loaded = pondrel::LoadIconPictures(
        m_platform.messages, m_folders, [this](const std::u16string& path) {
            QImage& target = path == m_folders.InstallationFile(kPatientsIconsFile)
                                 ? m_patientIcons
                                 : m_scrollListIcons;
            return LoadDevicePicture(m_platform.files, path, target);
        });
    if (loaded) FillPageList();
    if (m_fieldPages) m_fieldPages->Identity().SetPatientIcons(m_patientIcons);
    return loaded;
}

void CCorvaneView::MarkReady() {
    m_ready = true;
}

void CCorvaneView::ShowFirstPage() {
    m_controller->ShowFirstPage();
    // Painted now, before the first backup copies the files.
    if (isVisible()) window()->repaint();
}

void CCorvaneView::CloseStartUpPicture() {
    if (m_closePicture) m_closePicture();
}

void CCorvaneView::OpenConnection() {
    // The standby watch and the periodic tick start; Connect when the preferences ask for it.
    if (m_syncPages) m_syncPages->StartAtProgramStart();
}

}  // namespace pondrel
