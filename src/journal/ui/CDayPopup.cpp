#include "journal/ui/CDayPopup.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QColor>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <QTimer>

#include "journal/DayNavigator.h"
#include "journal/JournalDays.h"
#include "journal/ui/PanelWords.h"
#include "platform/ui/QtText.h"

namespace pondrel {

namespace {

QDate ToQDate(const DateTime& t) {
    return QDate(t.year, t.month, t.day);
}

QTime ToQTime(const DateTime& t) {
    return QTime(t.hour, t.minute, t.second);
}

DayNumber DayOf(const QDate& date) {
    return DayNumberOf(date.year(), date.month(), date.day());
}

QDateEdit* NewDateEdit(QWidget* parent, const char* name) {
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(name);
    edit->setCalendarPopup(true);
    edit->setDateRange(QDate(1900, 1, 1), QDate(9999, 12, 31));
    return edit;
}

QTimeEdit* NewTimeEdit(QWidget* parent, const char* name) {
    auto* edit = new QTimeEdit(parent);
    edit->setObjectName(name);
    edit->setDisplayFormat("H:mm");
    return edit;
}

}  // namespace

CDayPopup::CDayPopup(DayNavigator& days, QWidget* parent) : QFrame(parent), m_days(days) {
    setObjectName("dayPopup");
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    hide();

    m_type = new QPushButton(this);
    m_type->setObjectName("subfolderType");
    m_type->setFocusPolicy(Qt::NoFocus);
    m_type->setGeometry(2, 2, 110, 20);
    connect(m_type, &QPushButton::clicked, this, [this] { Report(m_days.SwitchSubfolderType()); });

    m_admissionCaption = new QLabel(this);
    m_admissionCaption->setObjectName("admissionCaption");
    m_admissionCaption->setGeometry(4, 24, 42, 20);
    m_admissionDate = NewDateEdit(this, "admissionDate");
    m_admissionDate->setGeometry(48, 24, 118, 20);
    m_admissionTime = NewTimeEdit(this, "admissionTime");
    m_admissionTime->setGeometry(168, 24, 68, 20);

    m_exitSet = new QCheckBox(QStringLiteral("Exit"), this);
    m_exitSet->setObjectName("exitSet");
    m_exitSet->setGeometry(4, 46, 44, 20);
    m_exitDate = NewDateEdit(this, "exitDate");
    m_exitDate->setGeometry(48, 46, 118, 20);
    m_exitTime = NewTimeEdit(this, "exitTime");
    m_exitTime->setGeometry(168, 46, 68, 20);

    m_list = new QListWidget(this);
    m_list->setObjectName("dayList");
    m_list->setUniformItemSizes(true);

    // A date is checked when the field is left or a date is picked on its calendar.
    connect(m_admissionDate, &QDateEdit::editingFinished, this, &CDayPopup::ApplyAdmissionDate);
    connect(m_admissionDate->calendarWidget(), &QCalendarWidget::clicked, this,
            [this] { QTimer::singleShot(0, this, &CDayPopup::ApplyAdmissionDate); });
    connect(m_admissionTime, &QTimeEdit::editingFinished, this, &CDayPopup::ApplyAdmissionTime);
    connect(m_exitSet, &QCheckBox::toggled, this, &CDayPopup::ApplyExitDate);
    connect(m_exitDate, &QDateEdit::editingFinished, this, &CDayPopup::ApplyExitDate);
    connect(m_exitDate->calendarWidget(), &QCalendarWidget::clicked, this,
            [this] { QTimer::singleShot(0, this, &CDayPopup::ApplyExitDate); });
    connect(m_exitTime, &QTimeEdit::editingFinished, this, &CDayPopup::ApplyExitTime);
    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        Report(m_days.ChooseDayRow(m_list->row(item)), true);
    });
}

void CDayPopup::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    m_list->setGeometry(2, 68, width() - 4, height() - 70);
}

void CDayPopup::SetWords(const PanelWords& words) {
    m_admissionCaption->setText(ToQString(words.admission));
}

void CDayPopup::SetDateOrder(DateOrder order) {
    QString format = order == DateOrder::DayMonthYear ? "d.M.yyyy" : "M.d.yyyy";
    m_admissionDate->setDisplayFormat(format);
    m_exitDate->setDisplayFormat(format);
}

void CDayPopup::SetEditable(bool editable) {
    m_editable = editable;
    ShowDates();
}

void CDayPopup::ShowRows() {
    m_list->clear();
    const auto& days = m_days.ShownDays();
    const auto& rows = m_days.DayRows();
    for (size_t i = 0; i < rows.size(); ++i) {
        auto* item = new QListWidgetItem(ToQString(rows[i]), m_list);
        // A day after today stands out: what is written there is not in today's summaries.
        if (i < days.size() && m_days.IsFutureDay(days[i])) {
            item->setForeground(QColor(170, 60, 0));
            item->setData(Qt::UserRole, true);
            item->setToolTip(QStringLiteral("A day after today"));
        }
    }
    SelectCurrentRow();
}

void CDayPopup::SelectCurrentRow() {
    int row = m_days.SelectedRow();
    if (row < 0) {
        m_list->clearSelection();
        m_list->setCurrentRow(-1);
        return;
    }
    m_list->setCurrentRow(row);
    m_list->scrollToItem(m_list->item(row), QAbstractItemView::PositionAtCenter);
}

void CDayPopup::ShowDates() {
    m_showing = true;
    const SubfolderDates& dates = m_days.Dates();
    m_type->setText(ToQString(m_days.SubfolderTypeCaption()));
    m_admissionDate->setDate(ToQDate(dates.admission));
    m_admissionTime->setTime(ToQTime(dates.admission));
    {
        QSignalBlocker block(m_exitSet);
        m_exitSet->setChecked(dates.exitDateSet == 1);
    }
    m_exitDate->setDate(ToQDate(dates.exit));
    m_exitTime->setTime(ToQTime(dates.exit));
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_type, m_admissionDate, m_admissionTime, m_exitSet}) {
        control->setEnabled(m_editable);
    }
    m_exitDate->setEnabled(m_editable && dates.exitDateSet == 1);
    m_exitTime->setEnabled(m_editable && dates.exitDateSet == 1);
    m_showing = false;
}

void CDayPopup::Report(const EditorRefresh& refresh, bool close) {
    ShowDates();
    if (m_handler) m_handler(refresh, close);
}

EditorRefresh CDayPopup::Guarded(const std::function<EditorRefresh()>& change) {
    // A message box of a refused date takes the focus, which ends the field's editing again.
    m_showing = true;
    EditorRefresh refresh = change();
    m_showing = false;
    return refresh;
}

void CDayPopup::ApplyAdmissionDate() {
    if (m_showing || !m_editable) return;
    QDate picked = m_admissionDate->date();
    if (DayOf(picked) == m_days.Dates().admissionDay) return;
    // A refused date shows its message; the field then gets the stored date back.
    Report(Guarded([&] {
        return m_days.ChangeAdmissionDate(picked.year(), picked.month(), picked.day()).refresh;
    }));
}

void CDayPopup::ApplyAdmissionTime() {
    if (m_showing || !m_editable) return;
    QTime time = m_admissionTime->time();
    if (time == ToQTime(m_days.Dates().admission)) return;
    Report(m_days.ChangeAdmissionTime(time.hour(), time.minute(), time.second()).refresh);
}

void CDayPopup::ApplyExitDate() {
    if (m_showing || !m_editable) return;
    const SubfolderDates& dates = m_days.Dates();
    if (!m_exitSet->isChecked()) {
        if (dates.exitDateSet != 1) return;
        Report(Guarded([&] { return m_days.ChangeExitDate(std::nullopt).refresh; }));
        return;
    }
    QDate picked = m_exitDate->date();
    if (dates.exitDateSet == 1 && DayOf(picked) == CalendarDayOf(dates.exit)) return;
    QTime time = m_exitTime->time();
    DateTime exit{picked.year(), picked.month(), picked.day(),
                  time.hour(),   time.minute(),  time.second()};
    Report(Guarded([&] { return m_days.ChangeExitDate(exit).refresh; }));
}

void CDayPopup::ApplyExitTime() {
    if (m_showing || !m_editable || m_days.Dates().exitDateSet != 1) return;
    QTime time = m_exitTime->time();
    if (time == ToQTime(m_days.Dates().exit)) return;
    Report(m_days.ChangeExitTime(time.hour(), time.minute(), time.second()).refresh);
}

}  // namespace pondrel
