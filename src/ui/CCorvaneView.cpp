#include "ui/CCorvaneView.h"

#include <QFont>
#include <QLabel>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include "platform/Platform.h"
#include "records/WorkingFolders.h"
#include "ui/DevicePicture.h"
#include "ui/QtText.h"

namespace pondrel {

namespace {

// Below the last band there is room for the last page to scroll to its offset.
constexpr int kFormHeight = CCorvaneView::kFirstPageOffset +
                            CCorvaneView::kPageCount * CCorvaneView::kPageHeight +
                            CCorvaneView::kPageHeight;

}  // namespace

CCorvaneView::CCorvaneView(Platform& platform, const WorkingFolders& folders, CCorvaneDoc& document,
                           QWidget* parent)
    : QScrollArea(parent), m_platform(platform), m_folders(folders), m_document(document) {
    setObjectName(QStringLiteral("corvaneView"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(false);

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
}

void CCorvaneView::showEvent(QShowEvent* event) {
    QScrollArea::showEvent(event);
    if (!m_startUpBegun) {
        m_startUpBegun = true;
        // After the window is on screen, as when the form is first shown.
        QTimer::singleShot(0, this, [this] { RunStartUp(); });
    }
}

void CCorvaneView::wheelEvent(QWheelEvent* event) {
    // The form moves page by page, by the program's commands only.
    event->accept();
}

void CCorvaneView::RunStartUp() {
    StartUp startUp(m_platform, m_folders, *this);
    m_startUpResult = startUp.Run();
    if (m_startUpFinished) m_startUpFinished(*m_startUpResult);
}

void CCorvaneView::ShowPage(int page) {
    if (page < 0 || page >= kPageCount) return;
    m_currentPage = page;
    verticalScrollBar()->setValue(kFirstPageOffset + kPageHeight * page);
}

void CCorvaneView::ShowNotice(const std::u16string& text, int milliseconds, bool warning) {
    if (!m_ready) return;
    m_platform.timers.Start(TimerId::Notice, milliseconds, [this] { HideNotice(); });
    const int characters = static_cast<int>(text.size());
    const int extra = characters > 20 ? (characters / 20) * 22 : 0;
    m_notice->setGeometry(25, 125 - extra / 2, 190, 23 + extra);
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
        band->show();
        m_pages[static_cast<size_t>(page)] = band;
    }
}

bool CCorvaneView::ReadLabels() {
    // The labels file is read here once the labels subsystem joins the form.
    return true;
}

void CCorvaneView::SetToday(DayNumber today) {
    m_today = today;
}

bool CCorvaneView::ReadPreferences() {
    // The preferences file, then the wallpaper picture, are read here once the settings
    // subsystem joins the form.
    return true;
}

bool CCorvaneView::LoadIconPictures() {
    return pondrel::LoadIconPictures(
        m_platform.messages, m_folders, [this](const std::u16string& path) {
            QImage& target = path == m_folders.InstallationFile(kPatientsIconsFile)
                                 ? m_patientIcons
                                 : m_scrollListIcons;
            return LoadDevicePicture(m_platform.files, path, target);
        });
}

void CCorvaneView::StartTimers() {
    // Auto-save, backup and connection watchdog start here once their owners join the form.
}

void CCorvaneView::MarkReady() {
    m_ready = true;
}

void CCorvaneView::LoadActivePatients() {
    // The active patients are loaded into the document here once the patient set joins.
}

void CCorvaneView::ShowFirstPage() {
    ShowPage(0);
}

void CCorvaneView::CloseStartUpPicture() {
    if (m_closePicture) m_closePicture();
}

void CCorvaneView::OpenConnection() {
    // The connection opens here, when the preferences ask for it, once the network joins.
}

}  // namespace pondrel
