#include "sync/ui/CFileList.h"

#include <QHeaderView>

#include <array>

#include "sync/ui/SyncIcons.h"

namespace pondrel {

namespace {

constexpr int kIconCount = 10;
constexpr int kKeyRole = Qt::UserRole;

const QIcon& FileIconPicture(int icon) {
    static const std::array<QIcon, kIconCount> pictures = [] {
        std::array<QIcon, kIconCount> drawn;
        for (int i = 0; i < kIconCount; ++i) drawn[static_cast<size_t>(i)] = DrawFileIcon(i);
        return drawn;
    }();
    static const QIcon none;
    return icon >= 0 && icon < kIconCount ? pictures[static_cast<size_t>(icon)] : none;
}

}  // namespace

CFileList::CFileList(const QString& objectName, const QStringList& headings,
                     const std::vector<int>& widths, QWidget* parent)
    : QTreeWidget(parent) {
    setObjectName(objectName);
    setColumnCount(static_cast<int>(headings.size()));
    setHeaderLabels(headings);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setIconSize(QSize(16, 16));
    setIndentation(0);
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::Box);
    QFont small = font();
    small.setPixelSize(10);
    setFont(small);
    header()->setFont(small);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setMinimumSectionSize(20);
    for (size_t c = 0; c < widths.size(); ++c) setColumnWidth(static_cast<int>(c), widths[c]);
    SetOnlineLook(false);
}

void CFileList::ShowRows(const std::vector<FileListRow>& rows) {
    const QString chosen = ChosenKey();
    const int count = static_cast<int>(rows.size());
    // The rows are rewritten in place: the list keeps its scroll position.
    while (topLevelItemCount() > count) delete takeTopLevelItem(topLevelItemCount() - 1);
    while (topLevelItemCount() < count) addTopLevelItem(new QTreeWidgetItem);
    QTreeWidgetItem* again = nullptr;
    for (int r = 0; r < count; ++r) {
        const FileListRow& row = rows[static_cast<size_t>(r)];
        QTreeWidgetItem* item = topLevelItem(r);
        for (int c = 0; c < columnCount(); ++c) {
            item->setText(c, c < row.cells.size() ? row.cells[c] : QString());
        }
        item->setIcon(0, FileIconPicture(row.icon));
        item->setData(0, kKeyRole, row.key);
        const bool choosable = !row.key.isEmpty();
        item->setFlags(choosable ? Qt::ItemIsEnabled | Qt::ItemIsSelectable
                                  : Qt::ItemFlags(Qt::ItemIsEnabled));
        item->setFirstColumnSpanned(!choosable);
        if (!again && choosable && row.key == chosen) again = item;
    }
    clearSelection();
    if (again) {
        setCurrentItem(again);
        again->setSelected(true);
    } else {
        setCurrentItem(nullptr);
    }
}

QString CFileList::ChosenKey() const {
    const QList<QTreeWidgetItem*> chosen = selectedItems();
    return chosen.isEmpty() ? QString() : chosen.first()->data(0, kKeyRole).toString();
}

void CFileList::SetOnlineLook(bool online) {
    QPalette look = palette();
    look.setColor(QPalette::Base, Qt::white);
    look.setColor(QPalette::Text, online ? QColor(Qt::black) : QColor(180, 180, 255));
    setPalette(look);
}

}  // namespace pondrel
