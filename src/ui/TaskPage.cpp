#include "ui/TaskPage.h"

#include "journal/ui/CTaskPanel.h"
#include "labels/Labels.h"
#include "mainform/MainFormController.h"
#include "platform/ui/QtText.h"
#include "records/PatientRecord.h"
#include "ui/CCorvaneView.h"
#include "ui/FieldPages.h"

namespace pondrel {

namespace {
constexpr int kToDoField = 98;
constexpr int kToDoLabel = 76;  // the name of the page
}  // namespace

TaskPage::TaskPage(CCorvaneView& view, FieldPages& fields, UserMessages& messages)
    : m_view(view), m_fields(fields), m_panel(new CTaskPanel(messages)) {
    view.InstallPage(kPage, m_panel);
    m_panel->SetChangeHandler([this](const std::u16string& todo) {
        PatientRecord* record = m_fields.Record();
        if (!record) return;
        const FieldChangeResult result = m_fields.ChangeField(kToDoField, todo);
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
    if (m_panel) m_panel->SetHeading(ToQString(labels.Label(kToDoLabel)));
}

void TaskPage::ShowRecord(PatientRecord* record) {
    if (!m_panel) return;
    m_panel->Load(record ? record->Field(kToDoField) : std::u16string());
}

}  // namespace pondrel
