#include "ui/frame/CMainFrame.h"

#include <QCloseEvent>
#include <QVBoxLayout>

#include "platform/Platform.h"
#include "ui/frame/CCommandBar.h"
#include "ui/frame/CCorvaneView.h"
#include "ui/frame/DialogWatcher.h"

namespace pondrel {

CMainFrame::CMainFrame(Platform& platform, const WorkingFolders& folders, CCorvaneDoc& document,
                       QWidget* parent)
    : QMainWindow(parent), m_platform(platform) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QStringLiteral("Pondrel"));
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("frameArea"));
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_view = new CCorvaneView(platform, folders, document, central);
    m_view->setFixedSize(CCorvaneView::kWidth, CCorvaneView::kHeight);
    m_commandBar = new CCommandBar(central);
    m_commandBar->setFixedWidth(kWidth);
    layout->addWidget(m_view);
    layout->addWidget(m_commandBar);
    setCentralWidget(central);
    setFixedSize(kWidth, kHeight);
    m_view->AttachCommandBar(m_commandBar);
    // Every dialogue opens over this window, its fields refusing the reserved characters.
    DialogWatcher::Install(this);
}

CMainFrame::~CMainFrame() {
    m_view->AttachCommandBar(nullptr);
}

void CMainFrame::CloseWithoutSaving() {
    m_saveOnClose = false;
    close();
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) m_view->OnWindowActivation(isActiveWindow());
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // Preferences, then every record; a failed save may keep the program running.
    if (m_saveOnClose && !m_view->Controller().SaveOnExit()) {
        event->ignore();
        return;
    }
    for (TimerId id : {TimerId::AutoSave, TimerId::Backup, TimerId::Notice, TimerId::Watchdog,
                       TimerId::ServerTimeout, TimerId::SyncTick, TimerId::ServerOperation,
                       TimerId::ChatFading}) {
        m_platform.timers.Stop(id);
    }
    event->accept();
}

}  // namespace pondrel
