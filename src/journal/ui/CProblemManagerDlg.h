#pragma once

#include <QDialog>

#include <array>
#include <string>

#include "journal/ProblemManager.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace pondrel {

class UserMessages;

// The problem manager ("Problem manager"): the patient's problems with their state and number;
// Up, Down, Active, Solved, Closed, Delete and Merge change a working copy of the journal, which
// reaches the patient only when the caller takes Journal() after OK. A read-only record is shown
// with every command disabled. The commands' logic is ProblemManager.
class CProblemManagerDlg final : public QDialog {
    Q_OBJECT
public:
    struct Words {
        std::u16string active = u"Active";  // labels 170, 128 and 177
        std::u16string solved = u"Solved";
        std::u16string closed = u"Closed";
    };

    // `messages` must outlive the dialogue. `lengthLimit` is the longest journal a merge may
    // leave (0 for none); `current` the problem selected first.
    CProblemManagerDlg(std::u16string_view journal, int current, const Words& words,
                       bool readOnly, size_t lengthLimit, UserMessages& messages,
                       QWidget* parent = nullptr);

    // The working copy, as the commands left it.
    std::u16string Journal() const { return m_manager.Text(); }
    bool Changed() const { return m_manager.Changed(); }
    // The row selected, -1 for none.
    int SelectedRow() const { return m_selected; }
    bool MergeUnderWay() const { return m_mergeSource >= 0; }

private:
    void Rebuild();
    void RowTapped(int row);
    // The selected row, or none with the message box titled `caption`.
    bool HasSelection(const char16_t* caption);
    void Move(bool up);
    void SetState(char16_t state, const char16_t* caption);
    void Delete();
    void StartMerge();
    void EndMerge();
    void Merge(int destination);
    std::u16string StateWord(char16_t state) const;

    ProblemManager m_manager;
    Words m_words;
    UserMessages& m_messages;
    bool m_readOnly = false;
    int m_selected = -1;
    int m_mergeSource = -1;

    QTableWidget* m_list = nullptr;
    QLabel* m_mergePrompt = nullptr;
    QPushButton* m_mergeCancel = nullptr;
};

}  // namespace pondrel
