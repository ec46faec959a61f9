#pragma once

#include <QPointer>

#include "journal/JournalWords.h"
#include "journal/TreatmentTables.h"
#include "mainform/FormPage.h"
#include "ui/pages/PagePlugin.h"

namespace pondrel {

class PageHost;
class COrderSheets;
class Clock;
class MainFormController;
struct Labels;
struct Preferences;

// The drug and action order sheets (page 27) of the main form, plugged into the main-form
// controller as a FormPage: the sheets and running lists of the record on screen, built from
// its journal and the dates of its subfolder, again whenever the record changed.
class OrderSheetsPage final : public FormPage, public PagePlugin {
public:
    static constexpr int kPage = 27;

    // Creates the sheets, installs them in page 27 of `view` and registers the page. `view` and
    // `clock` must outlive the page.
    OrderSheetsPage(PageHost& view, Clock& clock);
    ~OrderSheetsPage() override;
    OrderSheetsPage(const OrderSheetsPage&) = delete;
    OrderSheetsPage& operator=(const OrderSheetsPage&) = delete;

    COrderSheets* Sheets() const;

    // After the labels were read.
    void SetLabels(const Labels& labels) override;
    // After the preferences were read or changed: the date order.
    void ApplyPreferences(const Preferences& preferences) override;

    // FormPage: the page shows its record's tables; it writes nothing.
    void ShowRecord(PatientRecord* record) override;
    void Commit() override {}
    void Release() override;

private:
    MainFormController& m_form;
    Clock& m_clock;
    QPointer<COrderSheets> m_sheets;
    PatientRecord* m_record = nullptr;
    JournalWords m_words;
    DateOrder m_dateOrder = DateOrder::DayMonthYear;
    TreatmentTables m_tables;
};

}  // namespace pondrel
