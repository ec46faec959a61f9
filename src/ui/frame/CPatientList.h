#pragma once

#include <QTreeWidget>

#include <vector>

#include "mainform/PatientList.h"

namespace pondrel {

class CCorvaneView;

// The patient list behind the patient box: a list of 15 columns over the form (RebuildPatientList
// of the rows of BuildPatientList). A tap on a heading sorts by that column (again: the other way;
// the first column: the room order), and the sort, the column widths and their order are kept in
// the preferences. A tap on an empty bed says so; on the first column of a patient it toggles the
// patient's check box; on another column it shows that patient on the form and hides the list,
// which also hides when it loses the focus.
class CPatientList final : public QTreeWidget {
public:
    // `view` must outlive the list, which it holds as a child.
    explicit CPatientList(CCorvaneView& view);

    // Shows the list over the form (rebuilt first, the current patient selected) or hides it.
    void Toggle();
    // Rebuilds the rows from the patient set (when the list is shown) and the window title.
    void Rebuild();
    // Keeps the column widths and order in the preferences.
    void StoreColumns() const;
    const std::vector<PatientListRow>& Rows() const { return m_rows; }

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    static constexpr int kMinFittedColumn = 40;

    void FillRows();
    void ApplyColumns();
    // Widens the name, head doctor and problem columns to their texts, within the screen.
    void FitTextColumns();
    void OnTap(QTreeWidgetItem* item, int column);
    void OnHeading(int column);

    CCorvaneView& m_view;
    std::vector<PatientListRow> m_rows;
    bool m_columnsApplied = false;
};

}  // namespace pondrel
