#include "ui/frame/CPatientList.h"

#include "ui/pages/WardControls.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>

#include <algorithm>

#include "labels/Labels.h"
#include "mainform/MainFormController.h"
#include "mainform/PatientBox.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "platform/UserMessages.h"
#include "platform/ui/QtText.h"
#include "records/CCorvaneDoc.h"
#include "records/PatientRecord.h"
#include "settings/SettingsValues.h"
#include "ui/frame/CCorvaneView.h"
#include "journal/Ages.h"

namespace pondrel {

namespace {

constexpr int kIconSize = 16;
constexpr int kIconCount = 24;

// The default caption of each column.
constexpr const char* kHeadings[kPatientListColumns] = {
    "Room",  "Patient", "Head Dr", "Problem", "N\u00b0",   "Room",     "Title",  "Last",
    "First", "Birth",   "Age",     "Weight",  "Admission", "Location", "Checked"};

}  // namespace

CPatientList::CPatientList(CCorvaneView& view) : QTreeWidget(&view), m_view(view) {
    setObjectName(QStringLiteral("patientList"));
    setColumnCount(kPatientListColumns);
    QStringList headings;
    for (const char* heading : kHeadings) headings << QString::fromUtf8(heading);
    setHeaderLabels(headings);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setIconSize(QSize(kIconSize, kIconSize));
    setFrameShape(QFrame::Box);
    QFont font = this->font();
    font.setPixelSize(10);
    setFont(font);
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(true);
    header()->setSortIndicatorShown(true);
    header()->setStretchLastSection(false);
    connect(header(), &QHeaderView::sectionClicked, this,
            [this](int column) { OnHeading(column); });
    connect(this, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item, int column) { OnTap(item, column); });
    hide();
}

void CPatientList::ApplyColumns() {
    const Preferences& p = m_view.GetPreferences();
    for (int c = 0; c < kPatientListColumns; ++c) {
        setColumnWidth(c, ColumnWidth(p.columnWidths[static_cast<size_t>(c)]));
    }
    // The room column holds the check box and the icon before the room: it is wide enough to
    // show a room number after them.
    const int roomColumn =
        2 * kIconSize + 12 + fontMetrics().horizontalAdvance(QStringLiteral("0000"));
    if (columnWidth(0) < roomColumn) setColumnWidth(0, roomColumn);
    for (int visual = 0; visual < kPatientListColumns; ++visual) {
        const int logical = p.columnOrder[static_cast<size_t>(visual)];
        const int from = header()->visualIndex(logical);
        if (from != visual) header()->moveSection(from, visual);
    }
    m_columnsApplied = true;
}

void CPatientList::StoreColumns() const {
    if (!m_columnsApplied) return;
    Preferences& p = m_view.GetPreferences();
    for (int c = 0; c < kPatientListColumns; ++c) {
        p.columnWidths[static_cast<size_t>(c)] = columnWidth(c);
        p.columnOrder[static_cast<size_t>(c)] = header()->logicalIndex(c);
    }
}

void CPatientList::Toggle() {
    if (isVisible()) {
        StoreColumns();
        hide();
        return;
    }
    m_view.ClosePopups();
    if (!m_columnsApplied) ApplyColumns();
    FillRows();
    setGeometry(0, 0, CCorvaneView::kWidth, CCorvaneView::kHeight);
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
}

void CPatientList::Rebuild() {
    if (isVisible()) FillRows();
}

void CPatientList::FillRows() {
    const Preferences& p = m_view.GetPreferences();
    const PatientListOrder order{p.sortColumn, p.sortDirection};
    Platform& platform = m_view.GetPlatform();
    const AgeWords words = AgeWords::From(m_view.GetLabels());
    static const std::vector<RoomListRow> noRooms;
    const WardControls* ward = m_view.Find<WardControls>();
    m_rows = BuildPatientList(m_view.Document().Patients(), ward ? ward->RoomRows() : noRooms,
                              order, m_view.GetLabels(), words,
                              DateOrderOf(p.regional.dateOrder), platform.clock.Now());
    clear();
    const QImage& icons = m_view.PatientIcons();
    const int current = m_view.Document().Patients().CurrentIndex();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(m_rows.size()));
    QTreeWidgetItem* currentItem = nullptr;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const PatientListRow& row = m_rows[i];
        auto* item = new QTreeWidgetItem;
        for (int c = 0; c < kPatientListColumns; ++c) {
            const QString text = ToQString(row.columns[static_cast<size_t>(c)]);
            item->setText(c, text);
            // A text its column cuts is read whole in its tool tip.
            if (!text.isEmpty()) item->setToolTip(c, text);
        }
        item->setData(0, Qt::UserRole, static_cast<int>(i));
        if (!row.IsEmptyBed()) {
            item->setCheckState(0, row.checked ? Qt::Checked : Qt::Unchecked);
            if (icons.width() >= kIconCount * kIconSize) {
                item->setIcon(0, QIcon(QPixmap::fromImage(
                                     icons.copy(row.icon * kIconSize, 0, kIconSize, kIconSize))));
            }
        }
        if (row.record == current) currentItem = item;
        items.push_back(item);
    }
    addTopLevelItems(items);
    FitTextColumns();
    if (currentItem) setCurrentItem(currentItem);
    header()->setSortIndicator(order.sortColumn == 0 ? -1 : order.sortColumn,
                               order.sortDirection == 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void CPatientList::FitTextColumns() {
    // The patient's name, his head doctor and his problem are read whole at a glance: their
    // columns grow to their longest text (never shrink below the width the user gave them),
    // the name as far as the screen beside the room allows, the others up to a screen's width
    // reached by scrolling.
    struct Fit {
        int column;
        int most;
    };
    const int screen = CCorvaneView::kWidth - 2 * frameWidth() -
                       style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const Fit fits[] = {{PatientListRow::kPatient, screen - columnWidth(PatientListRow::kRoom)},
                        {PatientListRow::kHeadDoctor, screen / 2},
                        {PatientListRow::kProblem, screen}};
    const int padding = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 8;
    for (const Fit& fit : fits) {
        int widest = 0;
        for (int i = 0; i < topLevelItemCount(); ++i) {
            widest = std::max(widest,
                              fontMetrics().horizontalAdvance(topLevelItem(i)->text(fit.column)));
        }
        const int wanted = std::min(widest + padding, std::max(fit.most, kMinFittedColumn));
        if (columnWidth(fit.column) < wanted) setColumnWidth(fit.column, wanted);
    }
}

void CPatientList::OnHeading(int column) {
    Preferences& p = m_view.GetPreferences();
    const PatientListOrder order = TapHeading({p.sortColumn, p.sortDirection}, column);
    p.sortColumn = order.sortColumn;
    p.sortDirection = order.sortDirection;
    FillRows();
}

void CPatientList::OnTap(QTreeWidgetItem* item, int column) {
    if (!item) return;
    const int index = item->data(0, Qt::UserRole).toInt();
    if (index < 0 || static_cast<size_t>(index) >= m_rows.size()) return;
    const PatientListRow& row = m_rows[static_cast<size_t>(index)];
    PatientSet& patients = m_view.Document().Patients();
    switch (TapRow(row, column)) {
        case PatientListTap::EmptyBed:
            m_view.GetPlatform().messages.ShowNotice(u"This bed is not taken by a patient", 2000,
                                                     true);
            return;
        case PatientListTap::ToggleCheck:
            if (PatientRecord* record = patients.At(row.record)) {
                record->checked = record->checked == 1 ? 0 : 1;
                FillRows();
            }
            return;
        case PatientListTap::Open:
            StoreColumns();
            hide();
            m_view.Controller().CommitAll();
            if (patients.SetCurrent(row.record)) m_view.Controller().ShowRecord();
            return;
    }
}

void CPatientList::focusOutEvent(QFocusEvent* event) {
    QTreeWidget::focusOutEvent(event);
    // The list closes when the focus goes elsewhere, not to its own header or a message box.
    QWidget* now = QApplication::focusWidget();
    if (now && (now == this || isAncestorOf(now))) return;
    if (QApplication::activeModalWidget()) return;
    StoreColumns();
    hide();
}

void CPatientList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        StoreColumns();
        hide();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OnTap(currentItem(), 1);
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

}  // namespace pondrel
