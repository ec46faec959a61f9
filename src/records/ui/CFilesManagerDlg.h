#pragma once

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

#include "records/FilesManager.h"

class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace pondrel {

class Clock;
class UserMessages;

// The files manager ("Files manager"): the active and archived patient files side by side, a
// file's stays with their titles, and the operations on the files (archive, activate, choose
// the current stay, new stay, delete, merge, statistics). The operations themselves are
// FilesManager's; the dialogue asks the questions and shows the result. The caller saves the
// set before and reads it again after (SaveBeforeFilesManager) and holds the files meanwhile.
class CFilesManagerDlg final : public QDialog {
    Q_OBJECT
public:
    // "Stat": the source folder (true: active) and its files in list order.
    using Statistics = std::function<void(bool activeFolder, const std::vector<std::u16string>&)>;

    // Every reference must outlive the dialogue. `currentPatient` is the display name of the
    // open patient, selected first.
    CFilesManagerDlg(DeviceFileSystem& files, UserMessages& messages, Clock& clock,
                     const WorkingFolders& folders, std::u16string_view currentPatient,
                     Statistics statistics, QWidget* parent = nullptr);

    bool MergeMode() const { return m_mergeMode; }
    const FilesManager& Core() const { return m_core; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void Refresh();
    void ActiveSelected(int row);
    void ArchivedSelected(int row);
    void ShowTitles();
    void SetMergeMode(bool on);
    // Ends merge mode before any other button's operation.
    void Begin();
    void Archive();
    void Activate();
    void ChooseStay();
    void Merge();
    void MergeInto(int archivedRow);
    void NewStay(bool blank);
    void DeleteStay();
    void DeleteFolder();
    void Stat();
    // Whether a change of the selected active file would be refused before any question: the
    // core then shows why.
    bool RefusedBeforeQuestion(bool needsStay) const;
    std::u16string SelectedDisplayName() const;
    int SelectedStay() const;

    FilesManager m_core;
    UserMessages& m_messages;
    Clock& m_clock;
    Statistics m_statistics;
    bool m_mergeMode = false;
    bool m_filling = false;
    int m_mergeSource = -1;

    QListWidget* m_active = nullptr;
    QListWidget* m_archived = nullptr;
    QListWidget* m_stays = nullptr;
    QPlainTextEdit* m_titles = nullptr;
    QPushButton* m_archive = nullptr;
    QPushButton* m_activate = nullptr;
    QPushButton* m_select = nullptr;
    QPushButton* m_merge = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_blank = nullptr;
    QPushButton* m_stat = nullptr;
    QPushButton* m_deleteStay = nullptr;
    QPushButton* m_deleteFolder = nullptr;
    QPushButton* m_ok = nullptr;
};

}  // namespace pondrel
