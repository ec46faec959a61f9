#pragma once

#include <QDialog>

#include <functional>
#include <string>

#include "labels/QuickLoad.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace pondrel {

// "Quick load file": the archived patients whose name parts start with the letters typed (with
// the dialogue's letter buttons or the keyboard), listed again at every key. A tap on a row
// hands the chosen file to `choose` (which brings it back: BringBack); the dialogue closes with
// OK when it answers Moved or AlreadyLoaded, and stays open otherwise.
class CQuickLoadDlg final : public QDialog {
    Q_OBJECT
public:
    using Chooser = std::function<QuickLoadOutcome(const std::u16string& fileName)>;

    CQuickLoadDlg(ArchiveNames names, Chooser choose, QWidget* parent = nullptr);

    // The file name (with ".pdr") chosen; empty when closed without a choice.
    const std::u16string& ChosenName() const { return m_chosen; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Search();
    void Insert(const QString& text);
    void RowChosen(int row);

    ArchiveNames m_names;
    Chooser m_choose;
    QuickLoadResult m_result;
    std::u16string m_chosen;
    QLineEdit* m_search = nullptr;
    QListWidget* m_rows = nullptr;
    QLabel* m_count = nullptr;
    QLabel* m_full = nullptr;
    QLabel* m_help = nullptr;
};

}  // namespace pondrel
