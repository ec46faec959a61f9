#include "records/ui/CFilesManagerDlg.h"

#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/Clock.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"
#include "platform/ui/DialogStyle.h"
#include "platform/ui/QtText.h"
#include "records/ui/CNewFolderDlg.h"

namespace pondrel {

namespace {

QPushButton* Button(QWidget* parent, const char* name, const char* text, QRect at) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setGeometry(at);
    return button;
}

QListWidget* List(QWidget* parent, const char* name, QRect at) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setGeometry(at);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

int Row(const QListWidget* list) {
    return list->currentItem() && list->currentItem()->isSelected() ? list->currentRow() : -1;
}

}  // namespace

CFilesManagerDlg::CFilesManagerDlg(DeviceFileSystem& files, UserMessages& messages, Clock& clock,
                                   const WorkingFolders& folders,
                                   std::u16string_view currentPatient, Statistics statistics,
                                   QWidget* parent)
    : QDialog(parent), m_core(files, messages, folders), m_messages(messages), m_clock(clock),
      m_statistics(std::move(statistics)) {
    setObjectName("filesManagerDialog");
    setWindowTitle("Files manager");
    FitHandheldForm(this);
    setFixedSize(kFormWidth, kFormHeight);

    auto* activeLabel = new QLabel("Activated folder", this);
    activeLabel->setGeometry(2, 0, 104, 14);
    auto* archivedLabel = new QLabel("Archived folder", this);
    archivedLabel->setGeometry(134, 0, 104, 14);
    m_active = List(this, "activeList", QRect(2, 15, 102, 110));
    m_archived = List(this, "archivedList", QRect(136, 15, 102, 110));
    m_archive = Button(this, "archiveButton", "->", QRect(106, 40, 28, 22));
    m_activate = Button(this, "activateButton", "<-", QRect(106, 70, 28, 22));
    auto* staysLabel = new QLabel("Contents of the folder", this);
    staysLabel->setGeometry(2, 127, 190, 14);
    m_select = Button(this, "selectButton", "E", QRect(200, 126, 38, 17));
    m_stays = List(this, "stayList", QRect(2, 144, 236, 56));
    m_titles = new QPlainTextEdit(this);
    m_titles->setObjectName("titlesBox");
    m_titles->setReadOnly(true);
    m_titles->setGeometry(2, 202, 236, 50);
    m_merge = Button(this, "mergeButton", "Merge", QRect(2, 255, 58, 22));
    m_copy = Button(this, "copyButton", "New copy", QRect(61, 255, 60, 22));
    m_blank = Button(this, "blankButton", "New blank", QRect(122, 255, 64, 22));
    m_stat = Button(this, "statButton", "Stat", QRect(187, 255, 51, 22));
    m_deleteStay = Button(this, "deleteStayButton", "Delete subfolder", QRect(2, 280, 106, 22));
    m_deleteFolder = Button(this, "deleteFolderButton", "Delete folder", QRect(109, 280, 84, 22));
    m_ok = Button(this, "okButton", "OK", QRect(194, 280, 44, 22));

    connect(m_active, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_filling) ActiveSelected(Row(m_active));
    });
    connect(m_archived, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_filling) ArchivedSelected(Row(m_archived));
    });
    connect(m_stays, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_filling) ShowTitles();
    });
    connect(m_archive, &QPushButton::clicked, this, &CFilesManagerDlg::Archive);
    connect(m_activate, &QPushButton::clicked, this, &CFilesManagerDlg::Activate);
    connect(m_select, &QPushButton::clicked, this, &CFilesManagerDlg::ChooseStay);
    connect(m_merge, &QPushButton::clicked, this, &CFilesManagerDlg::Merge);
    connect(m_copy, &QPushButton::clicked, this, [this] { NewStay(false); });
    connect(m_blank, &QPushButton::clicked, this, [this] { NewStay(true); });
    connect(m_stat, &QPushButton::clicked, this, &CFilesManagerDlg::Stat);
    connect(m_deleteStay, &QPushButton::clicked, this, &CFilesManagerDlg::DeleteStay);
    connect(m_deleteFolder, &QPushButton::clicked, this, &CFilesManagerDlg::DeleteFolder);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    m_core.ListFolders();
    m_core.Select(FilesManager::List::Active,
                  m_core.RowOf(FilesManager::List::Active, currentPatient));
    Refresh();
}

void CFilesManagerDlg::Refresh() {
    m_filling = true;
    const auto fill = [](QListWidget* list, const std::vector<FolderEntry>& entries, int row) {
        list->clear();
        for (const FolderEntry& entry : entries) list->addItem(ToQString(entry.displayName));
        list->clearSelection();
        if (row >= 0) {
            list->setCurrentRow(row);
            list->scrollToItem(list->item(row));
        }
    };
    fill(m_active, m_core.Entries(FilesManager::List::Active),
         m_core.SelectedRow(FilesManager::List::Active));
    fill(m_archived, m_core.Entries(FilesManager::List::Archived),
         m_core.SelectedRow(FilesManager::List::Archived));
    m_stays->clear();
    for (const Stay& stay : m_core.Stays()) m_stays->addItem(ToQString(StayLine(stay)));
    const int current = m_core.CurrentStay();
    if (current >= 0) m_stays->setCurrentRow(current);
    m_filling = false;
    ShowTitles();
    // The stays of an archived file cannot be changed: it can only be activated or merged into.
    const bool active = m_core.LastList() == FilesManager::List::Active;
    for (QPushButton* button : {m_copy, m_blank, m_deleteStay, m_deleteFolder, m_select}) {
        button->setEnabled(active && !m_mergeMode);
    }
}

void CFilesManagerDlg::ShowTitles() {
    const int row = SelectedStay();
    const auto& stays = m_core.Stays();
    m_titles->setPlainText(row >= 0 && row < static_cast<int>(stays.size())
                               ? ToQString(TitleBox(stays[static_cast<size_t>(row)].titles))
                               : QString());
}

int CFilesManagerDlg::SelectedStay() const {
    return Row(m_stays);
}

std::u16string CFilesManagerDlg::SelectedDisplayName() const {
    const auto list = m_core.LastList();
    const int row = m_core.SelectedRow(list);
    const auto& entries = m_core.Entries(list);
    return row >= 0 && row < static_cast<int>(entries.size())
               ? entries[static_cast<size_t>(row)].displayName
               : std::u16string();
}

void CFilesManagerDlg::SetMergeMode(bool on) {
    m_mergeMode = on;
    m_merge->setText(on ? "-> Dest" : "Merge");
    for (QWidget* widget : std::initializer_list<QWidget*>{
             m_active, m_stays, m_titles, m_archive, m_activate, m_select, m_copy, m_blank,
             m_stat, m_deleteStay, m_deleteFolder}) {
        widget->setEnabled(!on);
    }
    if (on) {
        // Any archived row chosen now is the destination, the one selected before included.
        m_filling = true;
        m_archived->clearSelection();
        m_filling = false;
    } else {
        Refresh();
    }
}

void CFilesManagerDlg::Begin() {
    if (m_mergeMode) SetMergeMode(false);
}

void CFilesManagerDlg::mousePressEvent(QMouseEvent* event) {
    // The stylus anywhere but on the archived list and the merge button ends merge mode.
    if (m_mergeMode) SetMergeMode(false);
    QDialog::mousePressEvent(event);
}

void CFilesManagerDlg::ActiveSelected(int row) {
    Begin();
    m_core.Select(FilesManager::List::Active, row);
    Refresh();
}

void CFilesManagerDlg::ArchivedSelected(int row) {
    if (m_mergeMode) {
        MergeInto(row);
        return;
    }
    m_core.Select(FilesManager::List::Archived, row);
    Refresh();
}

void CFilesManagerDlg::Archive() {
    Begin();
    m_core.Archive();
    Refresh();
}

void CFilesManagerDlg::Activate() {
    Begin();
    m_core.Activate();
    Refresh();
}

void CFilesManagerDlg::ChooseStay() {
    Begin();
    const int row = SelectedStay();
    if (row < 0) return;
    m_core.ChooseStay(row);
    Refresh();
}

void CFilesManagerDlg::Merge() {
    if (m_mergeMode) {
        SetMergeMode(false);
        return;
    }
    const int source = m_core.LastList() == FilesManager::List::Active
                           ? m_core.SelectedRow(FilesManager::List::Active)
                           : -1;
    if (source < 0) {
        m_core.Merge(-1, -1);  // says what to select
        return;
    }
    m_mergeSource = source;
    SetMergeMode(true);
}

void CFilesManagerDlg::MergeInto(int archivedRow) {
    const int source = m_mergeSource;
    SetMergeMode(false);
    if (archivedRow < 0) {
        m_core.Merge(source, -1);
        return;
    }
    const auto& active = m_core.Entries(FilesManager::List::Active);
    const auto& archived = m_core.Entries(FilesManager::List::Archived);
    if (source < 0 || source >= static_cast<int>(active.size()) ||
        archivedRow >= static_cast<int>(archived.size())) {
        return;
    }
    const std::u16string a = active[static_cast<size_t>(source)].displayName;
    const std::u16string b = archived[static_cast<size_t>(archivedRow)].displayName;
    const BoxAnswer answer = m_messages.ShowBox(
        u"Do you want to insert the folder of the activated patient <" + a +
            u"> into the folder of the archivated patients <" + b +
            u"> ?\r\nThis operation is dangerous because you can not reverse it. If you are not "
            u"sure, read again the documentation.",
        u"Confirm merging", BoxButtons::OkCancel, BoxIcon::Warning);
    if (answer != BoxAnswer::Ok) {
        m_messages.ShowBox(u"Merging canceled.", u"Cancel");
        m_core.Select(FilesManager::List::Archived, archivedRow);
        Refresh();
        return;
    }
    m_core.Merge(source, archivedRow);
    Refresh();
}

bool CFilesManagerDlg::RefusedBeforeQuestion(bool needsStay) const {
    if (m_core.SelectedText().empty()) return true;
    if (m_core.LastList() != FilesManager::List::Active ||
        m_core.SelectedRow(FilesManager::List::Active) < 0) {
        return true;
    }
    if (HeldByAnotherUser(m_core.SelectedText())) return true;
    return needsStay && SelectedStay() < 0;
}

void CFilesManagerDlg::NewStay(bool blank) {
    Begin();
    const std::u16string caption = blank ? u"New blank hospitalization" : u"New Copy";
    if (m_core.SelectedText().empty()) {
        m_messages.ShowBox(u"No patient selected. Select a patient before.", caption);
        return;
    }
    if (HeldByAnotherUser(m_core.SelectedText())) {
        m_core.RefuseHeld(false);
        return;
    }
    const std::u16string type = CNewFolderDlg::Ask(this);
    if (type.empty()) return;
    if (m_core.SelectedRow(m_core.LastList()) < 0) {
        m_messages.ShowBox(u"Select before a patient in the active or archive list", caption);
        return;
    }
    const int stay = SelectedStay();
    if (stay < 0) {
        m_messages.ShowBox(u"Select before the subfolder that will be used as a template for the "
                           u"new hospitalization.",
                           caption);
        return;
    }
    const std::u16string question =
        u"Do you really want to create a new " +
        std::u16string(type == u"Ambu" ? u"ambulatory" : u"hospitalization") +
        u" folder based on the previous one \"" +
        StayRange(m_core.Stays()[static_cast<size_t>(stay)]) + u"\" for the patient " +
        SelectedDisplayName() + u" ?";
    if (m_messages.ShowBox(question, caption, BoxButtons::OkCancel, BoxIcon::Question) !=
        BoxAnswer::Ok) {
        return;
    }
    m_core.NewStay(stay, type, blank, m_clock.Now());
    Refresh();
}

void CFilesManagerDlg::DeleteStay() {
    Begin();
    const int stay = SelectedStay();
    if (RefusedBeforeQuestion(true) || m_core.Stays().size() < 2) {
        m_core.DeleteStay(stay);  // says why not
        return;
    }
    const std::u16string question = u"Do you really want to delete the subfolder \"" +
                                    StayRange(m_core.Stays()[static_cast<size_t>(stay)]) +
                                    u"\" of the patient " + SelectedDisplayName() + u" ?";
    if (m_messages.ShowBox(question, u"Delete subfolder ?", BoxButtons::OkCancel,
                           BoxIcon::Question) != BoxAnswer::Ok) {
        return;
    }
    m_core.DeleteStay(stay);
    Refresh();
}

void CFilesManagerDlg::DeleteFolder() {
    Begin();
    if (RefusedBeforeQuestion(false)) {
        m_core.DeleteFolder();  // says why not
        return;
    }
    const std::u16string name = SelectedDisplayName();
    if (m_messages.ShowBox(u"Do you really want to delete the folder of the patient " + name +
                               u" ?",
                           u"Delete folder ?", BoxButtons::OkCancel, BoxIcon::Question) !=
        BoxAnswer::Ok) {
        return;
    }
    if (m_messages.ShowBox(u"The folder of the patient " + name + u" containing " +
                               ToText(static_cast<long long>(m_core.Stays().size())) +
                               u" hospitalizations will be deleted. Confirm this dangerous "
                               u"operation.",
                           u"Confirm delete folder ?", BoxButtons::OkCancel,
                           BoxIcon::Warning) != BoxAnswer::Ok) {
        return;
    }
    m_core.DeleteFolder();
    Refresh();
}

void CFilesManagerDlg::Stat() {
    if (m_mergeMode) {
        SetMergeMode(false);
        return;
    }
    if (!m_statistics) return;
    const bool active = m_core.SelectedRow(FilesManager::List::Active) >= 0;
    std::vector<std::u16string> names;
    for (const FolderEntry& entry :
         m_core.Entries(active ? FilesManager::List::Active : FilesManager::List::Archived)) {
        names.push_back(entry.fileName);
    }
    m_statistics(active, names);
}

}  // namespace pondrel
