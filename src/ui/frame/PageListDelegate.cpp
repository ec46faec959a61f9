#include "ui/frame/PageListDelegate.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace pondrel {

namespace {

constexpr int kSmallestPixels = 8;

QFont Sized(QFont font, int pixels) {
    font.setPixelSize(pixels);
    return font;
}

// The break between words that leaves the longer of the two lines shortest, when both fit.
QStringList TwoLines(const QString& name, const QFontMetrics& metrics, int width) {
    QStringList best;
    int bestWidest = width + 1;
    for (qsizetype at = name.indexOf(u' '); at > 0; at = name.indexOf(u' ', at + 1)) {
        const QString first = name.left(at);
        const QString second = name.mid(at + 1).trimmed();
        const int widest =
            std::max(metrics.horizontalAdvance(first), metrics.horizontalAdvance(second));
        if (widest < bestWidest) {
            bestWidest = widest;
            best = QStringList{first, second};
        }
    }
    return bestWidest <= width ? best : QStringList{};
}

}  // namespace

PageListDelegate::Shown PageListDelegate::Layout(const QString& name, const QFont& font,
                                                 int width) {
    const int base = font.pixelSize() > 0 ? font.pixelSize() : 10;
    for (int pixels = base; pixels >= std::min(base, kSmallestPixels); --pixels) {
        const QFontMetrics metrics(Sized(font, pixels));
        if (metrics.horizontalAdvance(name) <= width) return {{name}, pixels};
        if (pixels < base) {
            QStringList lines = TwoLines(name, metrics, width);
            if (!lines.isEmpty()) return {lines, pixels};
        }
    }
    // Too long for two lines even in the smallest type: the first line is cut at a blank (or
    // where it stops fitting), the second ends in an ellipsis.
    const int pixels = std::min(base, kSmallestPixels);
    const QFontMetrics metrics(Sized(font, pixels));
    qsizetype cut = 1;
    while (cut < name.size() && metrics.horizontalAdvance(name.left(cut + 1)) <= width) ++cut;
    const qsizetype blank = name.lastIndexOf(u' ', cut);
    if (blank > 0) cut = blank;
    const QString rest = name.mid(cut).trimmed();
    if (rest.isEmpty()) return {{name.left(cut)}, pixels};
    return {{name.left(cut), metrics.elidedText(rest, Qt::ElideRight, width)}, pixels};
}

void PageListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const QRect textRect =
        style->subElementRect(QStyle::SE_ItemViewItemText, &cell, widget).adjusted(1, 0, -1, 0);
    const QString name = cell.text;
    cell.text.clear();  // the background, the selection and the icon; the name is drawn below
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);

    const Shown shown = Layout(name, option.font, textRect.width());
    painter->save();
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    painter->setPen(option.palette.color(QPalette::Normal,
                                         selected ? QPalette::HighlightedText : QPalette::Text));
    const QFont font = Sized(option.font, shown.pixels);
    painter->setFont(font);
    // Two lines share the cell's height, a little tighter than the font would space them.
    const int step = std::min(QFontMetrics(font).height(),
                              option.rect.height() / static_cast<int>(shown.lines.size()));
    int top = option.rect.top() +
              (option.rect.height() - step * static_cast<int>(shown.lines.size())) / 2;
    for (const QString& line : shown.lines) {
        painter->drawText(QRect(textRect.left(), top, textRect.width(), step),
                          Qt::AlignLeft | Qt::AlignVCenter, line);
        top += step;
    }
    painter->restore();
}

}  // namespace pondrel
