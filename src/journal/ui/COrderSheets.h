#pragma once

#include <QWidget>

#include <string>

#include "journal/TreatmentTables.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace pondrel {

struct Labels;

// The drug and action order sheets (page 27), 240 x 290: the treatment sheet above the action
// sheet, each a list of three columns (what was given, from when, until when), the last row in
// view; the "Now" button shows instead what runs today (the running lists), with the day of
// treatment. Treatment rows are on pink, action rows on violet.
class COrderSheets final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 290;

    explicit COrderSheets(QWidget* parent = nullptr);

    // The captions (the Medicine and Attitude captions of the problem panel, "Start", "Stop",
    // "Now").
    void SetLabels(const Labels& labels);
    // Shows the tables; `tables` must stay alive while shown (the "Now" button reads it again).
    // Null shows nothing (no patient).
    void Show(TreatmentTables* tables);
    bool ShowsRunningLists() const { return m_running; }

private:
    void Fill();
    void FillSheet(QTreeWidget* view, TreatmentKind kind);
    void FillRunning(QTreeWidget* view, TreatmentKind kind);
    void Headings(QTreeWidget* view, TreatmentKind kind);
    static void FitColumns(QTreeWidget* view);

    TreatmentTables* m_tables = nullptr;
    bool m_running = false;
    std::u16string m_medicine = u"Medicine";
    std::u16string m_attitude = u"Attitude";
    std::u16string m_start = u"Start";
    std::u16string m_stop = u"Stop";
    std::u16string m_now = u"Now";
    QPushButton* m_nowButton = nullptr;
    QLabel* m_title = nullptr;  // names the view shown: the sheets, or what runs now
    QTreeWidget* m_treatments = nullptr;
    QTreeWidget* m_actions = nullptr;
};

}  // namespace pondrel
