#pragma once

#include <QStringList>
#include <QStyledItemDelegate>

namespace pondrel {

// The cells of the page list: the page's icon, then its name on one line, or, when the name is
// wider than its cell, in a type a pixel or two smaller, on two lines broken between words if
// need be (a name still too long ends in an ellipsis). A doctor reads "Mail manager" or
// "Auscultation" whole rather than their first letters.
class PageListDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // A name as drawn: its lines and the pixel size of their type.
    struct Shown {
        QStringList lines;
        int pixels = 0;
    };
    // `name` in `width` pixels, from the list's font `font` (sized in pixels).
    static Shown Layout(const QString& name, const QFont& font, int width);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

}  // namespace pondrel
