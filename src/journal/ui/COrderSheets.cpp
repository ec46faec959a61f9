#include "journal/ui/COrderSheets.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolTip>
#include <QTreeWidget>

#include <algorithm>

#include "labels/Labels.h"
#include "platform/ui/QtText.h"

namespace pondrel {

namespace {

constexpr int kBarHeight = 20;
// The start and stop columns are at least this wide; wider when the font needs it.
constexpr int kStartWidth = 70;
constexpr int kStopWidth = 44;
constexpr int kNowWidth = 70;

const QColor kTreatmentColour(255, 230, 230);
const QColor kActionColour(255, 200, 255);

void Take(std::u16string& word, const std::u16string& value) {
    if (!value.empty()) word = value;
}

QTreeWidget* NewView(QWidget* parent, const char* name, const QColor& colour) {
    auto* view = new QTreeWidget(parent);
    view->setObjectName(name);
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(false);
    view->setWordWrap(true);
    view->setSelectionMode(QAbstractItemView::NoSelection);
    view->setFocusPolicy(Qt::NoFocus);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setTextElideMode(Qt::ElideRight);
    view->header()->setStretchLastSection(false);
    view->header()->setSectionsMovable(false);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::AlternateBase, colour);
    view->setPalette(palette);
    return view;
}

// A date or status cell on two lines, so the treatment's text keeps most of the width:
// "Mo 13.3.06" over "(D8)", "D3" over "We 15.3.06", "D8" over "(Start  13.3.06)".
QString TwoLines(std::u16string_view text) {
    size_t wide = text.find(u"  ");
    size_t bracket = text.find(u" (");
    size_t cut = std::min(wide, bracket);
    if (cut == std::u16string_view::npos) return ToQString(text);
    size_t rest = text.find_first_not_of(u' ', cut);
    return ToQString(text.substr(0, cut)) + u'\n' + ToQString(text.substr(rest));
}

// The whole drug line in lines that fit `width`: dose, route and frequency all readable.
QString Wrapped(const QString& text, const QFontMetrics& metrics, int width) {
    QStringList lines;
    QString line;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + u' ' + word;
        if (line.isEmpty() || metrics.horizontalAdvance(longer) <= width) {
            line = longer;
        } else {
            lines << line;
            line = word;
        }
        // A word wider than the column is cut where it must be.
        while (line.size() > 1 && metrics.horizontalAdvance(line) > width) {
            qsizetype fit = line.size() - 1;
            while (fit > 1 && metrics.horizontalAdvance(line.left(fit)) > width) --fit;
            lines << line.left(fit);
            line = line.mid(fit);
        }
    }
    if (!line.isEmpty()) lines << line;
    return lines.join(u'\n');
}

QTreeWidgetItem* Row(QTreeWidget* view, std::initializer_list<std::u16string_view> columns) {
    auto* item = new QTreeWidgetItem(view);
    int column = 0;
    for (auto text : columns) {
        item->setText(column, column == 0 ? ToQString(text) : TwoLines(text));
        item->setToolTip(column, ToQString(text));
        ++column;
    }
    return item;
}

}  // namespace

COrderSheets::COrderSheets(QWidget* parent) : QWidget(parent) {
    setObjectName("orderSheets");
    setFixedSize(kWidth, kHeight);
    QFont small = font();
    small.setPixelSize(10);
    setFont(small);

    m_title = new QLabel(tr("Order sheets"), this);
    m_title->setObjectName("orderSheetsTitle");
    m_title->setGeometry(4, 0, kWidth - 60, kBarHeight);
    QFont bold = m_title->font();
    bold.setBold(true);
    bold.setPixelSize(11);
    m_title->setFont(bold);
    m_nowButton = new QPushButton(this);
    m_nowButton->setObjectName("nowButton");
    m_nowButton->setCheckable(true);
    m_nowButton->setFocusPolicy(Qt::NoFocus);
    m_nowButton->setGeometry(kWidth - 52, 1, 50, kBarHeight - 2);
    connect(m_nowButton, &QPushButton::toggled, this, [this](bool running) {
        m_running = running;
        Fill();
    });

    const int half = (kHeight - kBarHeight) / 2;
    m_treatments = NewView(this, "treatmentSheet", kTreatmentColour);
    m_treatments->setGeometry(0, kBarHeight, kWidth, half);
    m_actions = NewView(this, "actionSheet", kActionColour);
    m_actions->setGeometry(0, kBarHeight + half, kWidth, kHeight - kBarHeight - half);
    m_nowButton->setText(ToQString(m_now));
    // A tap on a row shows its whole line (dose, route, frequency) as it stands in the journal.
    for (QTreeWidget* view : {m_treatments, m_actions}) {
        connect(view, &QTreeWidget::itemClicked, this, [view](QTreeWidgetItem* item, int) {
            const QString whole = item->toolTip(0);
            view->setProperty("shownWhole", whole);
            QToolTip::showText(view->viewport()->mapToGlobal(view->visualItemRect(item).topLeft()),
                               whole, view);
        });
    }
}

void COrderSheets::SetLabels(const Labels& labels) {
    Take(m_medicine, labels.Caption(91));
    Take(m_attitude, labels.Caption(93));
    Take(m_start, labels.Label(121));
    Take(m_stop, labels.Label(122));
    Take(m_now, labels.Label(130));
    m_nowButton->setText(ToQString(m_now));
    Fill();
}

void COrderSheets::Show(TreatmentTables* tables) {
    m_tables = tables;
    Fill();
}

void COrderSheets::Fill() {
    // The title says which view is shown; the pressed button goes back to the sheets.
    m_title->setText(m_running ? tr("Order sheets") + QStringLiteral(": ") + ToQString(m_now)
                               : tr("Order sheets"));
    m_nowButton->setToolTip(m_running ? tr("Back to the order sheets") : tr("What runs now"));
    for (auto [view, kind] : {std::pair{m_treatments, TreatmentKind::Treatments},
                              std::pair{m_actions, TreatmentKind::Actions}}) {
        view->clear();
        Headings(view, kind);
        if (!m_tables) continue;
        if (m_running) {
            FillRunning(view, kind);
        } else {
            FillSheet(view, kind);
        }
        FitColumns(view);
        if (view->topLevelItemCount() > 0) {
            view->scrollToItem(view->topLevelItem(view->topLevelItemCount() - 1));
        }
    }
}

void COrderSheets::Headings(QTreeWidget* view, TreatmentKind kind) {
    QString caption = ToQString(kind == TreatmentKind::Treatments ? m_medicine : m_attitude);
    if (m_running) {
        view->setColumnCount(2);
        view->setHeaderLabels({caption, ToQString(m_now)});
    } else {
        view->setColumnCount(3);
        view->setHeaderLabels({caption, ToQString(m_start), ToQString(m_stop)});
    }
}

void COrderSheets::FillSheet(QTreeWidget* view, TreatmentKind kind) {
    for (const auto& row : m_tables->Sheet(kind).rows) Row(view, {row.text, row.start, row.stop});
}

void COrderSheets::FillRunning(QTreeWidget* view, TreatmentKind kind) {
    for (const auto& row : m_tables->Lists(kind).running) Row(view, {row.text, row.status});
}

void COrderSheets::FitColumns(QTreeWidget* view) {
    // The text takes what the date columns leave; those hold their texts whole.
    constexpr int kPadding = 12;  // the cell's margins on both sides
    const int columns = view->columnCount();
    const int minimum[] = {0, columns == 3 ? kStartWidth : kNowWidth, kStopWidth};
    const QFontMetrics metrics(view->font());
    const QFontMetrics header(view->header()->font());
    int used = 0;
    for (int column = 1; column < columns; ++column) {
        int width = std::max(minimum[column],
                             header.horizontalAdvance(view->headerItem()->text(column)) + kPadding);
        for (int row = 0; row < view->topLevelItemCount(); ++row) {
            for (const QString& line : view->topLevelItem(row)->text(column).split(u'\n')) {
                width = std::max(width, metrics.horizontalAdvance(line) + kPadding);
            }
        }
        view->setColumnWidth(column, width);
        used += width;
    }
    // Room is kept for the scroll bar, so the columns fit whether it shows or not.
    const int room = view->width() - 2 * view->frameWidth() -
                     view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view);
    const int textWidth = std::max(60, room - used);
    view->setColumnWidth(0, textWidth);
    for (int row = 0; row < view->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = view->topLevelItem(row);
        item->setText(0, Wrapped(item->toolTip(0), metrics, textWidth - kPadding));
    }
}

}  // namespace pondrel
