#include "layout/ui/CVectorPictureDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/UserMessages.h"
#include "platform/ui/DialogStyle.h"
#include "platform/ui/QtText.h"
#include "records/ui/ReservedCharacters.h"

namespace pondrel {

namespace {

constexpr int kMaxNameLength = 40;

}  // namespace

CVectorPictureDlg::CVectorPictureDlg(VectorPictureEditor& editor, UserMessages& messages,
                                     QWidget* parent)
    : QDialog(parent), m_editor(editor), m_messages(messages) {
    setObjectName(QStringLiteral("vectorPictureDialog"));
    setWindowTitle(QStringLiteral("Vectorial picture"));
    FitHandheldForm(this);
    setStyleSheet(QStringLiteral("QDialog, QLabel, QPushButton { background: rgb(250,200,220); }"));

    auto* heading = new QLabel(QStringLiteral("Vectorial picture preferences"), this);
    heading->setObjectName(QStringLiteral("heading"));
    QFont font = heading->font();
    font.setBold(true);
    heading->setFont(font);
    heading->setAlignment(Qt::AlignCenter);

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("pictureName"));
    m_name->setMaxLength(kMaxNameLength);
    m_name->setValidator(new ReservedCharacterValidator(m_name));
    m_names = new QListWidget(this);
    m_names->setObjectName(QStringLiteral("pictureNames"));

    auto* buttons = new QGridLayout;
    buttons->setSpacing(4);
    const auto button = [&](const char* text, const char* name, int row, int column,
                            void (CVectorPictureDlg::*action)()) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        buttons->addWidget(b, row, column);
        connect(b, &QPushButton::clicked, this, action);
        return b;
    };
    button("Add", "addButton", 0, 0, &CVectorPictureDlg::Add);
    button("Delete", "deleteButton", 0, 1, &CVectorPictureDlg::Delete);
    button("Rename", "renameButton", 0, 2, &CVectorPictureDlg::Rename);
    button("Save on", "saveOnButton", 1, 0, &CVectorPictureDlg::SaveOn);
    button("Cancel", "cancelButton", 1, 1, &QDialog::reject);
    button("OK", "okButton", 1, 2, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(heading);
    layout->addWidget(m_name);
    layout->addWidget(m_names, 1);
    layout->addLayout(buttons);

    // Selecting a name copies it into the edit.
    connect(m_names, &QListWidget::currentRowChanged, this, [this](int row) {
        m_editor.Select(row);
        if (QListWidgetItem* item = m_names->item(row)) m_name->setText(item->text());
    });
    ShowNames();
}

void CVectorPictureDlg::ShowNames() {
    const QSignalBlocker quiet(m_names);
    m_names->clear();
    for (const std::u16string& name : m_editor.Names()) m_names->addItem(ToQString(name));
    m_names->setCurrentRow(m_editor.Selected());
    if (QListWidgetItem* item = m_names->currentItem()) m_name->setText(item->text());
}

void CVectorPictureDlg::Add() {
    bool added = false;
    const PictureMessage message = m_editor.Add(ToU16(m_name->text()), added);
    if (added) ShowNames();
    m_messages.ShowBox(message.text, message.caption, BoxButtons::Ok,
                       added ? BoxIcon::Information : BoxIcon::Warning);
}

void CVectorPictureDlg::Delete() {
    m_editor.Delete();
    ShowNames();
}

void CVectorPictureDlg::Rename() {
    if (const auto refusal = m_editor.Rename(ToU16(m_name->text()))) {
        m_messages.ShowBox(refusal->text, refusal->caption, BoxButtons::Ok, BoxIcon::Warning);
        return;
    }
    ShowNames();
}

void CVectorPictureDlg::SaveOn() {
    const auto question = m_editor.SaveOnQuestion();
    if (!question) {
        m_messages.ShowBox(u"An error occur. Saving aborted", u"Save on error", BoxButtons::Ok,
                           BoxIcon::Error);
        return;
    }
    if (m_messages.ShowBox(question->text, question->caption, BoxButtons::OkCancel,
                           BoxIcon::Question) != BoxAnswer::Ok) {
        return;
    }
    if (!m_editor.SaveOn()) {
        m_messages.ShowBox(u"An error occur. Saving aborted", u"Save on error", BoxButtons::Ok,
                           BoxIcon::Error);
    }
}

}  // namespace pondrel
