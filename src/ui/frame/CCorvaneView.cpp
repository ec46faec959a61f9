#include "ui/frame/CCorvaneView.h"

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

#include "labels/LabelsFile.h"
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
#include "settings/SettingsValues.h"
#include "sync/ui/CConnectionIndicators.h"
#include "ui/frame/CCommandBar.h"
#include "ui/frame/CInputPanel.h"
#include "ui/frame/CPatientList.h"
#include "ui/frame/CRecordNavigator.h"
#include "ui/seams/DevicePicture.h"
#include "ui/seams/QtFileDialogs.h"

namespace pondrel {

namespace {

// Below the last band there is room for the last page to scroll to its offset.
constexpr int kFormHeight = CCorvaneView::kFirstPageOffset +
                            CCorvaneView::kPageCount * CCorvaneView::kPageHeight +
                            CCorvaneView::kPageHeight;
constexpr int kTitleHeight = 16;

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
    // The pages go while the form and the records still exist (the problem panel commits into
    // its record and lets it go); the connection ends with its pages, its workers with it.
    m_pieces.reset();
    if (m_commandBar) m_commandBar->SetHandler({});
    m_controller->Active().StopTimers();
}

void CCorvaneView::AttachCommandBar(CCommandBar* bar) {
    if (m_commandBar) m_commandBar->SetHandler({});
    m_commandBar = bar;
    CConnectionIndicators* indicators = bar ? bar->Indicators() : nullptr;
    for (PagePlugin* plugin : Plugins()) plugin->AttachIndicators(indicators);
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
    if (moved) {
        QWidget* now = QApplication::focusWidget();
        for (PagePlugin* plugin : Plugins()) plugin->FocusMoved(before, now);
    }
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
    if (watched == m_notice && event->type() == QEvent::MouseButtonRelease) {
        for (PagePlugin* plugin : Plugins()) {
            if (plugin->OnNoticeTapped()) return true;
        }
    }
    return QScrollArea::eventFilter(watched, event);
}

pondrel::FileDialogs& CCorvaneView::Dialogs() {
    return *m_fileDialogs;
}

const std::vector<PagePlugin*>& CCorvaneView::Plugins() const {
    static const std::vector<PagePlugin*> none;
    return m_pieces ? m_pieces->Plugins() : none;
}

void CCorvaneView::RunStartUp() {
    StartUp startUp(m_platform, m_folders, *this);
    m_startUpResult = startUp.Run();
    if (m_startUpFinished) m_startUpFinished(*m_startUpResult);
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
    for (PagePlugin* plugin : Plugins()) plugin->PageShown(page);
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
        for (PagePlugin* plugin : Plugins()) plugin->OnNoticeExpired();
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
    m_patientList = new CPatientList(*this);
    m_pieces = std::make_unique<PageList>(static_cast<PageHost&>(*this));
    if (m_commandBar) {
        for (PagePlugin* plugin : Plugins()) plugin->AttachIndicators(m_commandBar->Indicators());
    }
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
    for (PagePlugin* plugin : Plugins()) plugin->SetLabels(m_labels);
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
    Active().Reader().SetDateOrder(DateOrderOf(m_preferences.regional.dateOrder));
    for (PagePlugin* plugin : Plugins()) plugin->ApplyPreferences(m_preferences);
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
    for (PagePlugin* plugin : Plugins()) plugin->SetPatientIcons(m_patientIcons);
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
    for (PagePlugin* plugin : Plugins()) plugin->Start();
}

}  // namespace pondrel
