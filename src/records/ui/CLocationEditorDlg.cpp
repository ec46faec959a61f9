#include "records/ui/CLocationEditorDlg.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "platform/Text.h"
#include "platform/UserMessages.h"
#include "platform/ui/DialogStyle.h"
#include "platform/ui/QtText.h"
#include "records/LocationList.h"
#include "records/ui/PlaceNameValidator.h"

namespace pondrel {

namespace {

constexpr const char16_t* kCaption = u"Patients' location";

std::vector<std::u16string> NamesOf(std::u16string_view text) {
    LocationList list;
    list.SetNamesText(text);
    return list.Names();
}

}  // namespace

CLocationEditorDlg::CLocationEditorDlg(std::u16string_view listText, const LocationList& counted,
                                       UserMessages& messages, QWidget* parent)
    : QDialog(parent), m_editing(NamesOf(listText)), m_counted(counted), m_messages(messages) {
    setObjectName(QStringLiteral("locationEditor"));
    setWindowTitle(QStringLiteral("Patients' location"));
    FitHandheldForm(this);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("locationNames"));
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("locationName"));
    // The characters no location name may hold are refused as they are typed or pasted.
    m_name->setValidator(new PlaceNameValidator(m_name));

    auto* buttons = new QGridLayout;
    buttons->setSpacing(3);
    auto button = [this, buttons](const char* text, const char* name, int row, int column) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        buttons->addWidget(b, row, column);
        return b;
    };
    connect(button("Add", "addButton", 0, 0), &QPushButton::clicked, this,
            &CLocationEditorDlg::Add);
    connect(button("Rename", "renameButton", 0, 1), &QPushButton::clicked, this,
            &CLocationEditorDlg::Rename);
    connect(button("Delete", "deleteButton", 0, 2), &QPushButton::clicked, this,
            &CLocationEditorDlg::Delete);
    connect(button("Up", "upButton", 1, 0), &QPushButton::clicked, this, &CLocationEditorDlg::Up);
    connect(button("Down", "downButton", 1, 1), &QPushButton::clicked, this,
            &CLocationEditorDlg::Down);
    connect(button("Clear", "clearButton", 1, 2), &QPushButton::clicked, m_name, &QLineEdit::clear);
    connect(button("Help", "helpButton", 2, 0), &QPushButton::clicked, this,
            [this] { ShowHelp(true); });
    connect(button("Cancel", "cancelButton", 2, 1), &QPushButton::clicked, this, &QDialog::reject);
    QPushButton* ok = button("OK", "okButton", 2, 2);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    m_help = new QTextBrowser(this);
    m_help->setObjectName(QStringLiteral("locationHelp"));
    m_help->setOpenLinks(false);
    m_help->setHtml(QStringLiteral(
        "<p>The locations are the parts of the department: for example the emergency room, the "
        "wards, the intensive care unit.</p><p>Every patient's folder keeps its location. The "
        "patients' view can be switched from one location to another with the location list of "
        "the first page; the rooms of each location are set in the rooms editor.</p>"
        "<p><a href=\"close\">Click here to close Help</a></p>"));
    connect(m_help, &QTextBrowser::anchorClicked, this, [this] { ShowHelp(false); });
    m_help->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_help, 1);
    layout->addWidget(m_name);
    layout->addLayout(buttons);

    connect(m_list, &QListWidget::currentRowChanged, this, &CLocationEditorDlg::OnRowChosen);
    Fill();
}

void CLocationEditorDlg::Fill() {
    const QSignalBlocker blocker(m_list);
    m_list->clear();
    for (const std::u16string& name : m_editing.Names()) m_list->addItem(ToQString(name));
    m_list->setCurrentRow(m_editing.Selected());
}

void CLocationEditorDlg::OnRowChosen(int row) {
    m_editing.Select(row);
    if (m_editing.Selected() >= 0) {
        m_name->setText(ToQString(m_editing.Names()[static_cast<size_t>(row)]));
    }
}

bool CLocationEditorDlg::Tell(const std::u16string& message) {
    if (message.empty()) return true;
    m_messages.ShowBox(message, kCaption, BoxButtons::Ok, BoxIcon::Warning);
    return false;
}

bool CLocationEditorDlg::Confirm(bool deleting) {
    const std::u16string question = m_editing.QuestionBeforeChange(m_counted, deleting);
    if (question.empty()) return true;
    return m_messages.ShowBox(question, kCaption, BoxButtons::OkCancel, BoxIcon::Question) ==
           BoxAnswer::Ok;
}

void CLocationEditorDlg::Add() {
    const bool added = Tell(m_editing.Add(ToU16(m_name->text())));
    Fill();
    if (!added) m_name->setFocus(Qt::OtherFocusReason);
}

void CLocationEditorDlg::Rename() {
    const int row = m_editing.Selected();
    // The same name again changes nothing and asks nothing.
    const std::u16string typed = TrimRightSpaces(ToU16(m_name->text()));
    if (row >= 0 && typed == m_editing.Names()[static_cast<size_t>(row)]) return;
    if (row >= 0 && !Confirm(false)) return;
    Tell(m_editing.Rename(typed));
    Fill();
}

void CLocationEditorDlg::Delete() {
    if (m_editing.Selected() >= 0 && !Confirm(true)) return;
    if (!Tell(m_editing.Delete())) return;
    Fill();
    const int row = m_editing.Selected();
    m_name->setText(row >= 0 ? ToQString(m_editing.Names()[static_cast<size_t>(row)]) : QString());
}

void CLocationEditorDlg::Up() {
    Tell(m_editing.Up());
    Fill();
}

void CLocationEditorDlg::Down() {
    Tell(m_editing.Down());
    Fill();
}

void CLocationEditorDlg::ShowHelp(bool shown) {
    m_help->setVisible(shown);
    m_list->setVisible(!shown);
}

}  // namespace pondrel
