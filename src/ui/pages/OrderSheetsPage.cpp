#include "ui/pages/OrderSheetsPage.h"

#include "journal/JournalDays.h"
#include "journal/RecordEditing.h"
#include "journal/ui/COrderSheets.h"
#include "journal/ui/PanelWords.h"
#include "mainform/MainFormController.h"
#include "platform/Clock.h"
#include "records/PatientRecord.h"
#include "settings/Preferences.h"
#include "settings/SettingsValues.h"
#include "ui/pages/PageHost.h"

namespace pondrel {

OrderSheetsPage::OrderSheetsPage(PageHost& view, Clock& clock)
    : m_form(view.Controller()),
      m_clock(clock),
      m_sheets(new COrderSheets),
      m_tables(m_words, [this] {
          if (!m_record) return TreatmentInputs{};
          TreatmentDays days = TreatmentDays::Of(DatesOf(*m_record), CalendarDayOf(m_clock.Now()));
          return TreatmentInputs{m_record->problemJournal, days, m_dateOrder};
      }) {
    view.InstallPage(kPage, m_sheets);
    m_form.SetPage(kPage, this);
}

OrderSheetsPage::~OrderSheetsPage() {
    m_form.SetPage(kPage, nullptr);
    if (m_sheets) m_sheets->Show(nullptr);
}

COrderSheets* OrderSheetsPage::Sheets() const {
    return m_sheets;
}

void OrderSheetsPage::SetLabels(const Labels& labels) {
    m_words = PanelWords::From(labels).journal;
    m_tables.MarkAllStale();
    if (m_sheets) m_sheets->SetLabels(labels);
}

void OrderSheetsPage::ApplyPreferences(const Preferences& preferences) {
    m_dateOrder = DateOrderOf(preferences.regional.dateOrder);
    if (m_sheets && m_record) m_sheets->Show(&m_tables);
}

void OrderSheetsPage::ShowRecord(PatientRecord* record) {
    m_record = record;
    m_tables.MarkAllStale();
    if (m_sheets) m_sheets->Show(record ? &m_tables : nullptr);
}

void OrderSheetsPage::Release() {
    m_record = nullptr;
    if (m_sheets) m_sheets->Show(nullptr);
}

}  // namespace pondrel
