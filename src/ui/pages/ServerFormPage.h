#pragma once

#include <memory>

#include "mainform/FormPage.h"

class QObject;

namespace pondrel {

class FileExchange;
class MainFormController;

// Page 33 as the form's controller sees it: each time the page is shown the handheld list is
// made again from the open patients (a patient opened or created since is listed at once).
// The rebuild runs from the event loop, never inside the command that showed the page: that
// command may be walking the very list (a lock state that shows the record again).
class ServerFormPage final : public FormPage {
public:
    // Registers itself for `page`; `controller` and `files` must outlive it.
    ServerFormPage(MainFormController& controller, int page, FileExchange& files);
    ~ServerFormPage() override;
    ServerFormPage(const ServerFormPage&) = delete;
    ServerFormPage& operator=(const ServerFormPage&) = delete;

    void ShowRecord(PatientRecord* record) override;
    void Commit() override {}

private:
    MainFormController& m_controller;
    int m_page;
    FileExchange& m_files;
    bool m_rebuildDue = false;
    std::unique_ptr<QObject> m_context;  // a pending rebuild ends with this object
};

}  // namespace pondrel
