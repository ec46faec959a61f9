#pragma once

#include <QDialog>

#include <optional>
#include <string>

#include "labels/LabelEditor.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace pondrel {

class DeviceFileSystem;
class UserMessages;
struct Labels;

// The label editor ("Edit labels"): the caption and the shortcut list of one field, edited in
// the dialogue and saved into that field's record of "Labels.txt". The list commands are
// LabelEditor's; the save is LabelsFile::SaveFieldRecord, which refuses a file another program
// changed since the dialogue opened.
class CLabelEditorDlg final : public QDialog {
    Q_OBJECT
public:
    struct Input {
        int field = 0;
        std::u16string defaultName;  // the field's name in the record model
        std::u16string title;        // its caption now
        std::u16string shortcutList;
        std::u16string fieldText;  // the field's value: the word list
        std::u16string installationFolder;
    };

    // `files` and `messages` must outlive the dialogue.
    CLabelEditorDlg(const Input& input, DeviceFileSystem& files, UserMessages& messages,
                    QWidget* parent = nullptr);

    // The file was written; Title() and List() are what it holds now.
    bool Saved() const { return m_saved; }
    std::u16string Title() const { return m_title; }
    std::u16string List() const { return m_editor.List(); }

    // "Ed shortcuts" of the main form for field `field` (-1 when no field has the focus):
    // refuses fields that cannot be edited, runs the dialogue, and on a save takes the new
    // caption and list into `labels` and says "Save successfull"; otherwise "Nothing was
    // saved !". Labels 111 and 112 then get the unit words of `units` (0 metric). True when
    // saved.
    static bool EditShortcuts(Labels& labels, int field, const std::u16string& fieldText,
                              int units, const std::u16string& installationFolder,
                              DeviceFileSystem& files, UserMessages& messages,
                              QWidget* parent);

public slots:
    // The dialogue's own close asks whether to save first.
    void reject() override;

private:
    void ShowRows();
    void RowChosen(int row);
    void Show(const LabelEditor::Result& result);
    void Save();
    void CloseWithout();
    void InsertAtCaret(const std::u16string& text);
    void TagChosen(int row);
    void WordChosen(int row);

    Input m_input;
    LabelEditor m_editor;
    DeviceFileSystem& m_files;
    UserMessages& m_messages;
    std::optional<std::string> m_readBefore;  // the file as the dialogue found it
    std::u16string m_title;
    bool m_saved = false;
    bool m_closing = false;

    QLineEdit* m_titleEdit = nullptr;
    QListWidget* m_rows = nullptr;
    QLineEdit* m_text = nullptr;
    QSpinBox* m_count = nullptr;
    QPushButton* m_menu = nullptr;
    QPushButton* m_back = nullptr;
    QListWidget* m_tags = nullptr;
    QListWidget* m_words = nullptr;
};

}  // namespace pondrel
