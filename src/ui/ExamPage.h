#pragma once

#include <QPointer>

#include "charts/ExamGraph.h"
#include "mainform/FormPage.h"

namespace pondrel {

class CCorvaneView;
class CExamTablePage;
class Clock;
class GrowthCurves;

// The exam table page (page 36) of the main form: the grids and the graph in its band, plugged
// into the controller as a FormPage. The table is built from the record on screen whenever the
// page is shown or the record changes while it is shown; a table equal to the one shown keeps
// its selected row. Nothing is stored: the page writes nothing into the record.
class ExamPage final : public FormPage {
public:
    static constexpr int kPage = 36;

    // Installs the page in `view`. `view`, `clock` and `curves` must outlive the page.
    ExamPage(CCorvaneView& view, Clock& clock, const GrowthCurves& curves);
    ~ExamPage() override;
    ExamPage(const ExamPage&) = delete;
    ExamPage& operator=(const ExamPage&) = delete;

    CExamTablePage* Widget() const;

    // FormPage.
    void ShowRecord(PatientRecord* record) override;
    void Commit() override {}

private:
    CCorvaneView& m_view;
    Clock& m_clock;
    ExamGraph m_graph;
    QPointer<CExamTablePage> m_widget;
};

}  // namespace pondrel
