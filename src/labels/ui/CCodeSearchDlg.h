#pragma once

#include <QDialog>

#include <string>

#include "labels/CodeTable.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace pondrel {

class DeviceFileSystem;
class FileDialogs;
class UserMessages;

// The ICD-10 code search ("C" beside the Diagnosis): key words searched in the code table, a
// row tapped puts its code in brackets after the diagnosis, "Add full code" takes the table's
// wording with its code. The diagnosis is given back only on OK (Diagnosis()); the table stays
// loaded in `table` for the next opening, and `path` follows "Load table" and the default-table
// question.
class CCodeSearchDlg final : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxRows = static_cast<int>(CodeSearchResult::kMaxRows);

    // `table`, `path`, `files`, `dialogs` and `messages` must outlive the dialogue.
    CCodeSearchDlg(const std::u16string& diagnosis, CodeTable& table, std::u16string& path,
                   DeviceFileSystem& files, FileDialogs& dialogs, UserMessages& messages,
                   QWidget* parent = nullptr);

    // The Problem box without the reserved characters.
    std::u16string Diagnosis() const;

    void Search();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowHeading();
    void LoadTable();
    void AskTable();
    void RowChosen();
    void AddFullCode();
    void ClearCode();
    void ToggleWords();
    void WordChosen(int row);

    CodeTable& m_table;
    std::u16string& m_path;
    DeviceFileSystem& m_files;
    FileDialogs& m_dialogs;
    UserMessages& m_messages;

    QLabel* m_heading = nullptr;
    QLineEdit* m_problem = nullptr;
    QLineEdit* m_words = nullptr;
    QTreeWidget* m_results = nullptr;
    QListWidget* m_diagnosisWords = nullptr;
};

}  // namespace pondrel
