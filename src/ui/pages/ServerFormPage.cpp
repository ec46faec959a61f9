#include "ui/pages/ServerFormPage.h"

#include <QObject>
#include <QTimer>

#include "mainform/MainFormController.h"
#include "sync/FileExchange.h"

namespace pondrel {

ServerFormPage::ServerFormPage(MainFormController& controller, int page, FileExchange& files)
    : m_controller(controller),
      m_page(page),
      m_files(files),
      m_context(std::make_unique<QObject>()) {
    m_controller.SetPage(m_page, this);
}

ServerFormPage::~ServerFormPage() {
    m_controller.SetPage(m_page, nullptr);
}

void ServerFormPage::ShowRecord(PatientRecord* /*record*/) {
    if (m_rebuildDue) return;
    m_rebuildDue = true;
    QTimer::singleShot(0, m_context.get(), [this] {
        m_rebuildDue = false;
        m_files.RebuildHandheldList();
    });
}

}  // namespace pondrel
