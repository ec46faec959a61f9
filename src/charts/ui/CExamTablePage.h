#pragma once

#include <QWidget>

#include <functional>

#include "charts/ExamGraph.h"
#include "charts/ExamTable.h"

class QTableWidget;

namespace pondrel {

class CExamGraphWnd;

// Page 36 of the main form: the exam table as two grids kept on the same row (the titles, the
// values day by day) and the graph of the selected row below them. A tap on a column header
// makes the grids tall or short again; a tap on the graph makes it large or small again.
class CExamTablePage final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 290;
    static constexpr int kRowHeight = 15;
    static constexpr int kTitlesWidth = 58;
    static constexpr int kShortGrids = 129;
    static constexpr int kTallGrids = 276;
    static constexpr int kSmallGraphTop = 129;
    static constexpr int kSmallGraphHeight = 148;
    static constexpr int kLargeGraphHeight = 276;

    // `graph` must outlive the page; `now` gives the moment the graph is drawn for.
    CExamTablePage(ExamGraph& graph, std::function<DateTime()> now, QWidget* parent = nullptr);

    // Shows a new table: the grids are filled again, row 0 is selected and drawn. A table equal
    // to the one shown changes nothing, and the selected row stays.
    void SetTable(ExamTable table);
    const ExamTable& Table() const { return m_table; }
    // Selects a row in both grids and draws it (nothing when out of range).
    void SelectRow(int row);
    int SelectedRow() const { return m_selected; }
    // The graph's data or settings changed: it is drawn again.
    void RefreshGraph();

    void ToggleGridHeight();
    void ToggleGraphSize();
    bool GridsTall() const { return m_gridsTall; }
    bool GraphLarge() const { return m_graphLarge; }

    QTableWidget* TitlesGrid() const { return m_titles; }
    QTableWidget* ValuesGrid() const { return m_values; }
    CExamGraphWnd* GraphWindow() const { return m_graphWnd; }

    // "Zoom" was pressed: the owner stores the option (the graph has it already).
    void SetZoomHandler(std::function<void(bool shown)> handler) { m_onZoom = std::move(handler); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Fill();
    void ScrollToLatest();
    void PlaceChildren();
    void FollowScroll(QTableWidget* from, QTableWidget* to);

    ExamGraph& m_graph;
    ExamTable m_table;
    QTableWidget* m_titles = nullptr;
    QTableWidget* m_values = nullptr;
    CExamGraphWnd* m_graphWnd = nullptr;
    int m_selected = -1;
    bool m_gridsTall = false;
    bool m_graphLarge = false;
    bool m_syncing = false;
    bool m_showingLatest = true;  // the values grid shows its last column
    std::function<void(bool)> m_onZoom;
};

}  // namespace pondrel
