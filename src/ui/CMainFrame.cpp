#include "ui/CMainFrame.h"

#include <QCloseEvent>

#include "platform/Platform.h"
#include "ui/CCorvaneView.h"

namespace pondrel {

CMainFrame::CMainFrame(Platform& platform, const WorkingFolders& folders, CCorvaneDoc& document,
                       QWidget* parent)
    : QMainWindow(parent), m_platform(platform) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QStringLiteral("Pondrel"));
    m_view = new CCorvaneView(platform, folders, document, this);
    setCentralWidget(m_view);
    setFixedSize(kWidth, kHeight);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // Saving on exit (preferences, then every record) runs here once the patient set joins.
    for (TimerId id : {TimerId::AutoSave, TimerId::Backup, TimerId::Notice, TimerId::Watchdog,
                       TimerId::ServerTimeout, TimerId::SyncTick, TimerId::ServerOperation,
                       TimerId::ChatFading}) {
        m_platform.timers.Stop(id);
    }
    event->accept();
}

}  // namespace pondrel
