#pragma once

#include <QFrame>

#include <functional>

#include "journal/EditorRefresh.h"
#include "records/DayNumber.h"

class QCheckBox;
class QDateEdit;
class QLabel;
class QListWidget;
class QPushButton;
class QTimeEdit;

namespace pondrel {

class DayNavigator;
struct PanelWords;

// The day list of the problem panel, opened by a tap on the date label: the subfolder type
// button, the admission and exit dates with their times (the exit date can be unchecked), and
// one row per listed day. Every change goes to the day navigator; the panel is told what to
// refresh.
class CDayPopup final : public QFrame {
    Q_OBJECT
public:
    // `close` is set when a day was chosen and the list should close.
    using Handler = std::function<void(const EditorRefresh& refresh, bool close)>;

    // `days` must outlive the pop-up.
    CDayPopup(DayNavigator& days, QWidget* parent = nullptr);

    void SetHandler(Handler handler) { m_handler = std::move(handler); }
    void SetWords(const PanelWords& words);
    void SetDateOrder(DateOrder order);
    // A read-only record shows its dates but refuses changes to them.
    void SetEditable(bool editable);

    // The rows of the day list as the navigator has them, and the current day's row selected.
    void ShowRows();
    void SelectCurrentRow();
    // The dates of the open patient, as stored.
    void ShowDates();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyAdmissionDate();
    void ApplyAdmissionTime();
    void ApplyExitDate();
    void ApplyExitTime();
    void Report(const EditorRefresh& refresh, bool close = false);
    // Runs a date change with the fields' own change reports held back.
    EditorRefresh Guarded(const std::function<EditorRefresh()>& change);

    DayNavigator& m_days;
    Handler m_handler;
    bool m_editable = true;
    bool m_showing = false;

    QPushButton* m_type;
    QLabel* m_admissionCaption;
    QDateEdit* m_admissionDate;
    QTimeEdit* m_admissionTime;
    QCheckBox* m_exitSet;
    QDateEdit* m_exitDate;
    QTimeEdit* m_exitTime;
    QListWidget* m_list;
};

}  // namespace pondrel
