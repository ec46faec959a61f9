#pragma once

#include <QDialog>

#include <string>

#include "charts/ExamTitlesEditor.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;

namespace pondrel {

class UserMessages;

// The "Exams graph" dialogue, opened from the Preferences dialogue: edits the exam titles list,
// the rows of the exam table in their order, each title with its aliases ("Leu,WBC").
class CExamsGraphDlg final : public QDialog {
    Q_OBJECT
public:
    // `messages` must outlive the dialogue.
    CExamsGraphDlg(std::u16string_view storedTitles, UserMessages& messages,
                   QWidget* parent = nullptr);

    // Shows the dialogue modally on `titles` (preferences item 42), which "OK" replaces.
    static void EditTitles(std::u16string& titles, UserMessages& messages, QWidget* parent);

    const ExamTitlesEditor& Editor() const { return m_editor; }
    bool HelpShown() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPushButton* AddButton(const QString& text, const char* name,
                           void (ExamTitlesEditor::*action)());
    void ShowList();
    void ShowHelp(bool shown);

    ExamTitlesEditor m_editor;
    QLineEdit* m_edit = nullptr;
    QListWidget* m_list = nullptr;
    QTextBrowser* m_help = nullptr;
    QPushButton* m_closeHelp = nullptr;
};

}  // namespace pondrel
