#pragma once

#include <QPointer>

#include "charts/ExamGraph.h"
#include "mainform/FormPage.h"
#include "ui/pages/PagePlugin.h"

namespace pondrel {

class PageHost;
class CExamTablePage;
class Clock;
class GrowthCurves;

// The exam table page (page 36) of the main form: the grids and the graph in its band, plugged
// into the controller as a FormPage. The table is built from the record on screen whenever the
// page is shown or the record changes while it is shown; a table equal to the one shown keeps
// its selected row. Nothing is stored: the page writes nothing into the record.
class ExamPage final : public FormPage, public PagePlugin {
public:
    static constexpr int kPage = 36;

    // Installs the page in `view`. `view`, `clock` and `curves` must outlive the page.
    ExamPage(PageHost& view, Clock& clock, const GrowthCurves& curves);
    ~ExamPage() override;
    ExamPage(const ExamPage&) = delete;
    ExamPage& operator=(const ExamPage&) = delete;

    CExamTablePage* Widget() const;

    // The "Exams graph" button of the Preferences dialogue: the titles of the graph's exams.
    void AddPreferencesDialogues(CPreferencesDlg::PluggedDialogues& dialogues) override;

    // FormPage.
    void ShowRecord(PatientRecord* record) override;
    void Commit() override {}

private:
    PageHost& m_view;
    Clock& m_clock;
    ExamGraph m_graph;
    QPointer<CExamTablePage> m_widget;
};

}  // namespace pondrel
