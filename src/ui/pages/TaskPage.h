#pragma once

#include <QPointer>

#include "journal/ui/CTaskPanel.h"
#include "mainform/FormPage.h"
#include "ui/pages/PagePlugin.h"

namespace pondrel {

class PageHost;
class FieldPages;
class UserMessages;
struct Labels;

// The tasks page (page 19): the task panel over field 98 of the record shown. Every change of
// the panel is stored through the field pages' one path (read-only and not-begun rules); a
// refused change puts the panel back to what the record holds.
class TaskPage final : public FormPage, public PagePlugin {
public:
    static constexpr int kPage = 19;

    // Installs the panel in page 19 of `view` and registers the page; everything must outlive it.
    TaskPage(PageHost& view, FieldPages& fields, UserMessages& messages);
    ~TaskPage() override;
    TaskPage(const TaskPage&) = delete;
    TaskPage& operator=(const TaskPage&) = delete;

    CTaskPanel* Panel() const { return m_panel; }
    void SetLabels(const Labels& labels) override;

    // FormPage: the page is shown (LoadTasks: the rows in their saved order). Shown again for
    // the same record while the page stays in view and the rows compose what the record holds,
    // the rows stay where they are: the saved order (done tasks last) comes when the page is
    // shown again or another patient is, never under the caret of a line being typed.
    void ShowRecord(PatientRecord* record) override;
    // Every change is stored as it is made.
    void Commit() override {}
    void Leave() override { m_inView = nullptr; }
    void Release() override { m_inView = nullptr; }

private:
    PageHost& m_view;
    FieldPages& m_fields;
    QPointer<CTaskPanel> m_panel;
    bool m_listsAttached = false;
    // The record the rows were loaded from while the page stays in view; null once the page is
    // left or the records are let go.
    const PatientRecord* m_inView = nullptr;
};

}  // namespace pondrel
