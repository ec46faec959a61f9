#include "platform/ui/CPopupList.h"

#include <QKeyEvent>

#include <algorithm>

#include "platform/ui/QtText.h"

namespace pondrel {

CPopupList::CPopupList(QWidget* parent) : QListWidget(parent) {
    setFrameShape(QFrame::Box);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setUniformItemSizes(true);
    hide();
    connect(this, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { emit chosen(row(item)); });
}

void CPopupList::SetRows(const std::vector<std::u16string>& rows) {
    clear();
    for (const auto& text : rows) {
        addItem(ToQString(text));
        // A row its column cuts is read whole in its tool tip.
        item(count() - 1)->setToolTip(ToQString(text));
    }
}

int CPopupList::HeightFor(int rows, int minimum, int maximum) const {
    int rowHeight = fontMetrics().height() + 2;
    return std::clamp(rows * rowHeight + 2 * frameWidth() + 4, minimum, maximum);
}

void CPopupList::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0) {
        emit chosen(currentRow());
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void CPopupList::focusOutEvent(QFocusEvent* event) {
    QListWidget::focusOutEvent(event);
    if (m_closesOnFocusOut && event->reason() != Qt::PopupFocusReason) hide();
}

}  // namespace pondrel
