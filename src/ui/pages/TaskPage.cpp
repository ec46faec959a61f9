#include "ui/pages/TaskPage.h"

#include <QAbstractButton>
#include <QLineEdit>

#include "journal/ui/CTaskPanel.h"
#include "labels/ui/CShortcutLists.h"
#include "labels/Labels.h"
#include "mainform/MainFormController.h"
#include "platform/ui/QtText.h"
#include "records/PatientRecord.h"
#include "ui/pages/PageHost.h"
#include "ui/pages/FieldPages.h"
#include "ui/pages/FieldShortcuts.h"

namespace pondrel {

namespace {
constexpr int kToDoField = 98;
constexpr int kToDoLabel = 76;  // the name of the page
}  // namespace

TaskPage::TaskPage(PageHost& view, FieldPages& fields, UserMessages& messages)
    : m_view(view), m_fields(fields), m_panel(new CTaskPanel(messages)) {
    view.InstallPage(kPage, m_panel);
    m_panel->SetChangeHandler([this](const std::u16string& todo) {
        // The record on screen, which the change goes to: the field windows may still hold
        // the patient shown before, whose tasks must never come into these rows.
        PatientRecord* record = m_view.Controller().ShownRecord();
        if (!record) return;
        const FieldChangeResult result = m_fields.ChangeField(kToDoField, todo);
        // A refused change puts the rows back to what the record holds.
        if (!result.stored && record->Field(kToDoField) != todo) {
            m_panel->Load(record->Field(kToDoField));
        }
    });
    view.Controller().SetPage(kPage, this);
}

TaskPage::~TaskPage() {
    m_view.Controller().SetPage(kPage, nullptr);
}

void TaskPage::SetLabels(const Labels& labels) {
    if (!m_panel) return;
    m_panel->SetHeading(ToQString(labels.Label(kToDoLabel)));
    FieldShortcuts* shortcuts = m_fields.Shortcuts();
    if (!shortcuts || m_listsAttached) return;
    // Each task line takes the list of the To do field; a row chosen is stored as a key is.
    m_listsAttached = true;
    for (size_t row = 0; row < TaskPanelModel::kMaxRows; ++row) {
        shortcuts->Attach(m_panel->Line(row), kToDoField);
    }
    QObject::connect(&shortcuts->Lists(), &CShortcutLists::fieldChanged, m_panel,
                     [this](QWidget* edit, int field) {
                         if (field == kToDoField && m_panel) m_panel->LineChanged(edit);
                     });
    // A tap on a row's priority, done or delete button is done with the open list.
    for (QAbstractButton* button : m_panel->findChildren<QAbstractButton*>()) {
        QObject::connect(button, &QAbstractButton::pressed, m_panel,
                         [shortcuts] { shortcuts->Lists().Close(); });
    }
}

void TaskPage::ShowRecord(PatientRecord* record) {
    if (!m_panel) return;
    const std::u16string todo = record ? record->Field(kToDoField) : std::u16string();
    if (record && record == m_inView && m_panel->Shows(todo)) return;
    m_inView = record;
    m_panel->Load(todo);
}

}  // namespace pondrel
