#include "charts/ui/CExamTablePage.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>

#include "charts/ui/CExamGraphWnd.h"
#include "platform/ui/QtText.h"

namespace pondrel {

namespace {

constexpr int kListFontPixels = 11;
const QColor kTitlesBackground(235, 207, 197);
const QColor kTitlesText(235, 207, 191);
const QColor kValuesBackground(244, 227, 218);

QTableWidget* MakeGrid(const QString& name, const QColor& base, const QColor& textBackground,
                       QWidget* parent) {
    auto* grid = new QTableWidget(parent);
    grid->setObjectName(name);
    QFont font = grid->font();
    font.setPixelSize(kListFontPixels);
    grid->setFont(font);
    grid->horizontalHeader()->setFont(font);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(CExamTablePage::kRowHeight);
    grid->verticalHeader()->setMinimumSectionSize(CExamTablePage::kRowHeight);
    grid->horizontalHeader()->setSectionsClickable(true);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->horizontalHeader()->setFixedHeight(CExamTablePage::kRowHeight + 2);
    // Narrow columns: the header texts need all their room.
    grid->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { padding: 0px 1px; }"));
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setShowGrid(true);
    grid->setWordWrap(false);
    grid->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    QPalette palette = grid->palette();
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, textBackground);
    palette.setColor(QPalette::Text, Qt::black);
    grid->setPalette(palette);
    return grid;
}

}  // namespace

CExamTablePage::CExamTablePage(ExamGraph& graph, std::function<DateTime()> now, QWidget* parent)
    : QWidget(parent), m_graph(graph) {
    setObjectName(QStringLiteral("examTablePage"));
    resize(kWidth, kHeight);
    m_titles = MakeGrid(QStringLiteral("examTitles"), kTitlesBackground, kTitlesText, this);
    m_titles->setColumnCount(1);
    m_titles->setHorizontalHeaderLabels({QStringLiteral("Exams")});
    m_titles->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_titles->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_titles->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_values = MakeGrid(QStringLiteral("examValues"), kValuesBackground, kValuesBackground, this);
    m_values->horizontalHeader()->setStretchLastSection(true);
    m_graphWnd = new CExamGraphWnd(graph, std::move(now), this);
    m_graphWnd->SetTapHandler([this] { ToggleGraphSize(); });
    m_graphWnd->SetZoomHandler([this] {
        m_graph.SetCurvesShown(!m_graph.CurvesShown());
        RefreshGraph();
        if (m_onZoom) m_onZoom(m_graph.CurvesShown());
    });

    for (QTableWidget* grid : {m_titles, m_values}) {
        connect(grid->horizontalHeader(), &QHeaderView::sectionClicked, this,
                [this](int) { ToggleGridHeight(); });
        connect(grid, &QTableWidget::cellPressed, this, [this](int row, int) { SelectRow(row); });
        connect(grid, &QTableWidget::currentCellChanged, this,
                [this](int row, int, int, int) { SelectRow(row); });
    }
    connect(m_titles->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { FollowScroll(m_titles, m_values); });
    connect(m_values->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { FollowScroll(m_values, m_titles); });
    // The latest days stay in view while the grid finds its size (the vertical scroll bar comes
    // once the rows are in and narrows it): a grid showing its last column keeps showing it.
    QScrollBar* across = m_values->horizontalScrollBar();
    connect(across, &QScrollBar::rangeChanged, this, [this, across](int, int maximum) {
        if (m_showingLatest) across->setValue(maximum);
    });
    connect(across, &QScrollBar::valueChanged, this,
            [this, across](int value) { m_showingLatest = value == across->maximum(); });
    PlaceChildren();
    Fill();
}

void CExamTablePage::SetTable(ExamTable table) {
    if (table == m_table && m_titles->rowCount() == static_cast<int>(table.rows.size())) {
        RefreshGraph();
        return;
    }
    m_table = std::move(table);
    Fill();
}

void CExamTablePage::Fill() {
    m_syncing = true;
    const int rows = static_cast<int>(m_table.rows.size());
    const int columns = static_cast<int>(m_table.days.size());
    m_titles->clearContents();
    m_values->clear();
    m_titles->setRowCount(rows);
    m_values->setRowCount(rows);
    m_values->setColumnCount(columns);
    QStringList labels;
    for (const std::u16string& label : m_table.columnLabels) labels << ToQString(label);
    m_values->setHorizontalHeaderLabels(labels);
    for (int r = 0; r < rows; ++r) {
        auto* title =
            new QTableWidgetItem(ToQString(m_table.rows[static_cast<size_t>(r)].ShownTitle()));
        title->setToolTip(ToQString(m_table.rows[static_cast<size_t>(r)].title));
        m_titles->setItem(r, 0, title);
        for (int c = 0; c < columns; ++c) {
            const std::u16string& cell =
                m_table.cells[static_cast<size_t>(r)][static_cast<size_t>(c)];
            if (!cell.empty()) m_values->setItem(r, c, new QTableWidgetItem(ToQString(cell)));
        }
    }
    // Every column as wide as a date and some room; when they leave room, the last one fills
    // the grid (the header stretches it).
    const int columnWidth =
        m_values->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00     "));
    m_values->horizontalHeader()->setDefaultSectionSize(columnWidth);
    for (int c = 0; c < columns; ++c) m_values->setColumnWidth(c, columnWidth);
    m_syncing = false;
    m_selected = -1;
    SelectRow(0);
    if (rows == 0) {
        m_graph.LoadGraphRow(ExamRow{});
        RefreshGraph();
    }
    // The latest days show, once the grid knows its size.
    QMetaObject::invokeMethod(this, &CExamTablePage::ScrollToLatest, Qt::QueuedConnection);
}

void CExamTablePage::ScrollToLatest() {
    m_showingLatest = true;
    m_values->horizontalScrollBar()->setValue(m_values->horizontalScrollBar()->maximum());
}

void CExamTablePage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    QMetaObject::invokeMethod(this, &CExamTablePage::ScrollToLatest, Qt::QueuedConnection);
}

void CExamTablePage::SelectRow(int row) {
    if (m_syncing || row < 0 || row >= static_cast<int>(m_table.rows.size())) return;
    if (row == m_selected) return;
    m_syncing = true;
    m_selected = row;
    for (QTableWidget* grid : {m_titles, m_values}) {
        grid->selectRow(row);
        int column = grid->currentColumn() < 0 ? 0 : grid->currentColumn();
        grid->setCurrentCell(row, column, QItemSelectionModel::NoUpdate);
    }
    m_titles->scrollToItem(m_titles->item(row, 0));
    FollowScroll(m_titles, m_values);
    m_syncing = false;
    m_graph.LoadGraphRow(m_table.rows[static_cast<size_t>(row)]);
    RefreshGraph();
}

void CExamTablePage::RefreshGraph() {
    m_graphWnd->Refresh();
}

void CExamTablePage::FollowScroll(QTableWidget* from, QTableWidget* to) {
    to->verticalScrollBar()->setValue(from->verticalScrollBar()->value());
}

void CExamTablePage::ToggleGridHeight() {
    m_gridsTall = !m_gridsTall;
    PlaceChildren();
    if (m_gridsTall) {
        m_titles->raise();
        m_values->raise();
    } else if (m_selected >= 0) {
        m_titles->scrollToItem(m_titles->item(m_selected, 0));
        FollowScroll(m_titles, m_values);
    }
}

void CExamTablePage::ToggleGraphSize() {
    m_graphLarge = !m_graphLarge;
    PlaceChildren();
    if (m_graphLarge) m_graphWnd->raise();
    RefreshGraph();
}

void CExamTablePage::PlaceChildren() {
    const int grids = m_gridsTall ? kTallGrids : kShortGrids;
    m_titles->setGeometry(0, 1, kTitlesWidth, grids);
    m_values->setGeometry(kTitlesWidth, 1, kWidth - kTitlesWidth, grids);
    if (m_graphLarge) {
        m_graphWnd->setGeometry(0, 1, kWidth, kLargeGraphHeight);
    } else {
        m_graphWnd->setGeometry(0, kSmallGraphTop, kWidth, kSmallGraphHeight);
    }
}

}  // namespace pondrel
