#include "labels/ui/CLabelEditorDlg.h"

#include <algorithm>
#include <set>

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>

#include "labels/Labels.h"
#include "labels/LabelsFile.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"
#include "platform/ui/DialogStyle.h"
#include "platform/ui/QtText.h"
#include "records/PatientRecord.h"

namespace pondrel {

namespace {

constexpr int kFastMove = 17;
constexpr int kMaxMenuCount = 999;
// The box keeps a moved row at least this many rows below its top.
constexpr int kRowsAboveMoved = 5;
constexpr char16_t kEditCaption[] = u"Edit shortcuts";

QPushButton* CommandButton(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

// The characters the dialogue refuses are taken out as they are typed; the caret stays put.
void RefuseCharacters(QLineEdit* edit) {
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        const std::u16string typed = text.toStdU16String();
        const std::u16string clean = LabelEditor::Clean(typed);
        if (clean == typed) return;
        const int caret = edit->cursorPosition() - static_cast<int>(typed.size() - clean.size());
        edit->setText(ToQString(clean));
        edit->setCursorPosition(std::max(caret, 0));
    });
}

}  // namespace

CLabelEditorDlg::CLabelEditorDlg(const Input& input, DeviceFileSystem& files,
                                 UserMessages& messages, QWidget* parent)
    : QDialog(parent),
      m_input(input),
      m_editor(input.shortcutList),
      m_files(files),
      m_messages(messages),
      m_title(input.title) {
    setObjectName("labelEditorDialog");
    setWindowTitle("Edit labels");
    FitHandheldForm(this);
    m_readBefore = LabelsFile(m_files, m_messages, m_input.installationFolder).ReadBytesQuietly();

    auto* heading = new QLabel(ToQString(u"Label of the box (Default = " + input.defaultName +
                                         u") : N\u00B0" + ToText(input.field)),
                               this);
    heading->setObjectName("heading");
    heading->setWordWrap(true);
    m_titleEdit = new QLineEdit(ToQString(input.title), this);
    m_titleEdit->setObjectName("titleEdit");
    m_rows = new QListWidget(this);
    m_rows->setObjectName("shortcutRows");
    m_tags = new QListWidget(this);
    m_tags->setObjectName("tagsList");
    for (const std::u16string& row : LabelEditor::TagRows()) m_tags->addItem(ToQString(row));
    m_words = new QListWidget(this);
    m_words->setObjectName("wordsList");
    for (const std::u16string& row : LabelEditor::WordRows(input.fieldText)) {
        m_words->addItem(ToQString(row));
    }
    m_tags->hide();
    m_words->hide();
    m_text = new QLineEdit(this);
    m_text->setObjectName("textEdit");
    m_count = new QSpinBox(this);
    m_count->setObjectName("countBox");
    m_count->setRange(0, kMaxMenuCount);
    m_count->setEnabled(false);
    RefuseCharacters(m_titleEdit);
    RefuseCharacters(m_text);

    QPushButton* add = CommandButton(this, "addButton", "Add");
    QPushButton* remove = CommandButton(this, "deleteButton", "Delete");
    QPushButton* rename = CommandButton(this, "renameButton", "Rename");
    QPushButton* up = CommandButton(this, "upButton", "Up");
    QPushButton* upFast = CommandButton(this, "upFastButton", "+");
    QPushButton* down = CommandButton(this, "downButton", "Down");
    QPushButton* downFast = CommandButton(this, "downFastButton", "+");
    m_menu = CommandButton(this, "menuButton", "Menu on");
    m_back = CommandButton(this, "backButton", "Menu back");
    QPushButton* tags = CommandButton(this, "tagsButton", "Tags");
    QPushButton* words = CommandButton(this, "wordsButton", "Text");
    QPushButton* save = CommandButton(this, "saveButton", "Save");
    QPushButton* cancel = CommandButton(this, "cancelButton", "Cancel");

    auto* textRow = new QHBoxLayout;
    textRow->addWidget(m_text, 1);
    textRow->addWidget(m_count);
    auto* commands = new QGridLayout;
    commands->setSpacing(2);
    commands->addWidget(add, 0, 0, 1, 2);
    commands->addWidget(remove, 0, 2, 1, 2);
    commands->addWidget(rename, 0, 4, 1, 2);
    commands->addWidget(up, 1, 0, 1, 2);
    commands->addWidget(upFast, 1, 2);
    commands->addWidget(down, 1, 3, 1, 2);
    commands->addWidget(downFast, 1, 5);
    commands->addWidget(m_menu, 2, 0, 1, 3);
    commands->addWidget(m_back, 2, 3, 1, 3);
    commands->addWidget(tags, 3, 0, 1, 2);
    commands->addWidget(words, 3, 2, 1, 2);
    commands->addWidget(save, 4, 0, 1, 3);
    commands->addWidget(cancel, 4, 3, 1, 3);
    auto* lists = new QGridLayout;
    lists->addWidget(m_rows, 0, 0);
    lists->addWidget(m_tags, 0, 0);
    lists->addWidget(m_words, 0, 0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);
    layout->addWidget(heading);
    layout->addWidget(m_titleEdit);
    layout->addLayout(lists, 1);
    layout->addLayout(textRow);
    layout->addLayout(commands);

    auto text = [this] { return m_text->text().toStdU16String(); };
    connect(add, &QPushButton::clicked, this, [this, text] { Show(m_editor.Add(text())); });
    connect(remove, &QPushButton::clicked, this, [this] {
        LabelEditor::Result result = m_editor.Delete();
        if (result.Done()) m_text->clear();
        Show(result);
    });
    connect(rename, &QPushButton::clicked, this,
            [this, text] { Show(m_editor.Rename(text(), m_count->value())); });
    connect(up, &QPushButton::clicked, this, [this] { Show(m_editor.MoveUp(1)); });
    connect(upFast, &QPushButton::clicked, this, [this] { Show(m_editor.MoveUp(kFastMove)); });
    connect(down, &QPushButton::clicked, this, [this] { Show(m_editor.MoveDown(1)); });
    connect(downFast, &QPushButton::clicked, this,
            [this] { Show(m_editor.MoveDown(kFastMove)); });
    connect(m_menu, &QPushButton::clicked, this, [this] {
        LabelEditor::Result result = m_editor.ToggleMenu();
        if (!result.Done() && m_editor.SelectionState().menuOff) {
            result.caption = u"Inactivate menu";
        }
        Show(result);
    });
    connect(m_back, &QPushButton::clicked, this, [this] { Show(m_editor.ToggleBack()); });
    connect(tags, &QPushButton::clicked, this, [this] {
        m_words->hide();
        m_tags->setVisible(!m_tags->isVisible());
    });
    connect(words, &QPushButton::clicked, this, [this] {
        m_tags->hide();
        m_words->setVisible(!m_words->isVisible());
    });
    connect(save, &QPushButton::clicked, this, &CLabelEditorDlg::Save);
    connect(cancel, &QPushButton::clicked, this, &CLabelEditorDlg::CloseWithout);
    connect(m_rows, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { RowChosen(m_rows->row(item)); });
    connect(m_tags, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { TagChosen(m_tags->row(item)); });
    connect(m_words, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { WordChosen(m_words->row(item)); });

    ShowRows();
}

void CLabelEditorDlg::ShowRows() {
    const int scroll = m_rows->verticalScrollBar() ? m_rows->verticalScrollBar()->value() : 0;
    m_rows->clear();
    for (const LabelEditor::Row& row : m_editor.Rows()) {
        auto* item = new QListWidgetItem(ToQString(row.text), m_rows);
        if (row.kind == LabelEditor::RowKind::Header) {
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
        }
    }
    m_rows->verticalScrollBar()->setValue(scroll);
    LabelEditor::Selection state = m_editor.SelectionState();
    if (auto selected = m_editor.Selected()) {
        m_rows->setCurrentRow(*selected);
        // The selected row stays a few rows below the top of the box.
        const int top = m_rows->indexAt(QPoint(1, 1)).row();
        if (top < 0 || *selected < top + kRowsAboveMoved) {
            m_rows->scrollToItem(m_rows->item(std::max(*selected - kRowsAboveMoved, 0)),
                                 QAbstractItemView::PositionAtTop);
        }
        m_rows->scrollToItem(m_rows->item(*selected));
    }
    m_menu->setText(state.menuOff ? "Menu off" : "Menu on");
    m_menu->setEnabled(state.menuButtonEnabled);
    m_back->setEnabled(state.backEnabled);
    m_count->setEnabled(state.count.has_value());
    m_count->setValue(state.count.value_or(0));
}

void CLabelEditorDlg::RowChosen(int row) {
    m_tags->hide();
    m_words->hide();
    m_editor.Select(row);
    LabelEditor::Selection state = m_editor.SelectionState();
    m_text->setText(ToQString(state.text));
    m_text->end(false);
    ShowRows();
}

void CLabelEditorDlg::Show(const LabelEditor::Result& result) {
    m_tags->hide();
    m_words->hide();
    if (!result.Done()) {
        m_messages.ShowBox(result.text, result.caption);
        return;
    }
    ShowRows();
}

void CLabelEditorDlg::InsertAtCaret(const std::u16string& text) {
    m_text->insert(ToQString(LabelEditor::Clean(text)));
    m_text->setFocus();
}

void CLabelEditorDlg::TagChosen(int row) {
    LabelEditor::Tag tag = LabelEditor::TagOf(row);
    if (tag.atCaret) {
        InsertAtCaret(tag.token);
    } else {
        m_text->setText(ToQString(tag.token));
        m_text->setFocus();
    }
}

void CLabelEditorDlg::WordChosen(int row) {
    if (row == 0) {
        m_text->insert(" ");
    } else if (row == 1) {
        m_text->backspace();
    } else if (QListWidgetItem* item = m_words->item(row)) {
        const QString text = m_text->text();
        const int caret = m_text->cursorPosition();
        QString word = item->text();
        if (caret > 0 && text.at(caret - 1) != u' ') word.prepend(u' ');
        m_text->insert(word);
    }
    m_text->setFocus();
}

void CLabelEditorDlg::Save() {
    // The labels files saved by the editor during this run of the program: the first save of
    // each keeps the file as it was before as "Labels.txt.bak"; later saves leave that copy.
    static std::set<std::u16string> backedUp;
    LabelsFile file(m_files, m_messages, m_input.installationFolder);
    const std::u16string title = m_titleEdit->text().toStdU16String();
    const bool keepBackup = !backedUp.contains(file.Path());
    switch (file.SaveFieldRecord(m_input.field, m_input.title, title, m_editor.List(),
                                 m_readBefore, keepBackup)) {
        case LabelsFile::FieldSave::Saved:
            backedUp.insert(file.Path());
            m_saved = true;
            m_title = LabelsFile::CleanTitle(title);
            m_closing = true;
            accept();
            break;
        case LabelsFile::FieldSave::KeepEditing:
            break;
        case LabelsFile::FieldSave::Failed:
            CloseWithout();
            break;
    }
}

void CLabelEditorDlg::CloseWithout() {
    m_closing = true;
    QDialog::reject();
}

void CLabelEditorDlg::reject() {
    if (m_closing) {
        QDialog::reject();
        return;
    }
    switch (m_messages.ShowBox(u"Do you want to save before you exit ?", u"Warning",
                               BoxButtons::YesNoCancel, BoxIcon::Question)) {
        case BoxAnswer::Yes:
            Save();
            break;
        case BoxAnswer::No:
            CloseWithout();
            break;
        default:
            break;
    }
}

bool CLabelEditorDlg::EditShortcuts(Labels& labels, int field, const std::u16string& fieldText,
                                    int units, const std::u16string& installationFolder,
                                    DeviceFileSystem& files, UserMessages& messages,
                                    QWidget* parent) {
    if (field < 0) {
        messages.ShowBox(u"First select a window to edit !", kEditCaption);
        return false;
    }
    if (field == 0 || field == 15 || field == 95 || field >= kLabelsFieldCount) {
        messages.ShowBox(u"This window can not be edited !", kEditCaption);
        return false;
    }
    Input input{field,          FieldName(field), labels.Caption(field), labels.ShortcutList(field),
                fieldText, installationFolder};
    CLabelEditorDlg dialogue(input, files, messages, parent);
    dialogue.exec();
    const bool saved = dialogue.Saved();
    if (saved) {
        labels.captions[static_cast<size_t>(field)] = dialogue.Title();
        labels.shortcutLists[static_cast<size_t>(field)] = dialogue.List();
        messages.ShowNotice(u"Save successfull", 1000);
    } else {
        messages.ShowNotice(u"Nothing was saved !", 3000, true);
    }
    labels.uiLabels[111] = units == 1 ? u"lbs" : u"kg";
    labels.uiLabels[112] = units == 1 ? u"in" : u"cm";
    return saved;
}

}  // namespace pondrel
