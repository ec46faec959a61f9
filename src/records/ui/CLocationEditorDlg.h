#pragma once

#include <string>

#include <QDialog>

#include "records/PlaceEditors.h"

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace pondrel {

class LocationList;
class UserMessages;

// The location editor ("Patients' location" of the Preferences dialogue): a list of the
// department's locations and a name box, with Add, Rename, Delete, Up, Down, Clear and Help.
// It edits a copy of the list; Text() is the list text to keep after OK. Renaming or deleting a
// location where patients are counted asks first and says how many. `counted` and `messages`
// must outlive the dialogue.
class CLocationEditorDlg final : public QDialog {
    Q_OBJECT
public:
    CLocationEditorDlg(std::u16string_view listText, const LocationList& counted,
                       UserMessages& messages, QWidget* parent = nullptr);

    // Every name followed by "|".
    std::u16string Text() const { return m_editing.Text(); }

    void Add();
    void Rename();
    void Delete();
    void Up();
    void Down();
    void ShowHelp(bool shown);

private:
    void Fill();
    void OnRowChosen(int row);
    // Shows `message` when not empty; true when there was none.
    bool Tell(const std::u16string& message);
    // The question before renaming or deleting a location holding patients; true to go on.
    bool Confirm(bool deleting);

    LocationEditing m_editing;
    const LocationList& m_counted;
    UserMessages& m_messages;
    QListWidget* m_list;
    QLineEdit* m_name;
    QTextBrowser* m_help;
};

}  // namespace pondrel
