#include "sync/ui/CServerPage.h"

#include <QButtonGroup>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/ui/PageTitle.h"
#include "platform/ui/QtText.h"
#include "sync/FileExchange.h"
#include "sync/ui/CConnectButtons.h"
#include "sync/ui/CFileList.h"

namespace pondrel {

namespace {

constexpr int kButtonHeight = 20;
constexpr int kTextPixels = 11;
constexpr int kSmallPixels = 10;

// The row of `fileName` in `rows` (the key of a list row is its file name), or -1.
template <typename Row>
int RowOfFile(const std::vector<Row>& rows, const QString& fileName) {
    if (fileName.isEmpty()) return -1;
    const std::u16string wanted = ToU16(fileName);
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].columns[Row::kFileName] == wanted) return static_cast<int>(i);
    }
    return -1;
}

QRadioButton* Choice(const char* text, const char* name, QWidget* parent) {
    auto* choice = new QRadioButton(QString::fromLatin1(text), parent);
    choice->setObjectName(QString::fromLatin1(name));
    choice->setFocusPolicy(Qt::NoFocus);
    return choice;
}

QButtonGroup* Exclusive(QRadioButton* first, QRadioButton* second, QWidget* parent) {
    auto* group = new QButtonGroup(parent);
    group->addButton(first);
    group->addButton(second);
    first->setChecked(true);
    return group;
}

}  // namespace

CServerPage::CServerPage(const QString& title, FileExchange& files, QWidget* parent)
    : QWidget(parent), m_files(files) {
    setObjectName(QStringLiteral("serverPage"));
    QFont text = font();
    text.setPixelSize(kTextPixels);
    setFont(text);
    QFont small = text;
    small.setPixelSize(kSmallPixels);

    auto* heading = new QLabel(title + QStringLiteral(" : Files exchange"), this);
    heading->setObjectName(QStringLiteral("serverTitle"));
    heading->setFixedHeight(16);
    StylePageTitle(heading);

    m_buttons = new CConnectButtons(QStringLiteral("server"), this);
    for (QPushButton* button : m_buttons->findChildren<QPushButton*>()) {
        button->setFixedHeight(kButtonHeight);
    }
    m_buttons->setFixedWidth(124);
    m_pdaChoice = Choice("PDA", "pdaChoice", this);
    m_serverChoice = Choice("Server", "serverChoice", this);
    Exclusive(m_pdaChoice, m_serverChoice, this);
    auto* connectRow = new QHBoxLayout;
    connectRow->setSpacing(4);
    connectRow->addWidget(m_buttons);
    connectRow->addStretch(1);
    connectRow->addWidget(m_pdaChoice);
    connectRow->addWidget(m_serverChoice);

    m_onlineUsers = new QLabel(this);
    m_onlineUsers->setObjectName(QStringLiteral("onlineUsersLine"));
    m_onlineUsers->setFont(small);
    SetOnlineUsers(QStringLiteral("Offline"));

    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("filesCaption"));
    QFont bold = text;
    bold.setBold(true);
    m_caption->setFont(bold);
    m_activeChoice = Choice("Active", "activeChoice", this);
    m_archiveChoice = Choice("Archive", "archiveChoice", this);
    Exclusive(m_activeChoice, m_archiveChoice, this);
    auto* captionRow = new QHBoxLayout;
    captionRow->setSpacing(4);
    captionRow->addWidget(m_caption);
    captionRow->addStretch(1);
    captionRow->addWidget(m_activeChoice);
    captionRow->addWidget(m_archiveChoice);

    m_handheld = new CFileList(QStringLiteral("handheldList"),
                               {"Patient", "File name", "Current user", "Code", "State",
                                "Date update", "Time update", "Info"},
                               {100, 112, 66, 46, 52, 64, 64, 160}, this);
    m_handheld->SetOnlineLook(true);
    m_handheld->viewport()->installEventFilter(this);
    m_server = new CFileList(QStringLiteral("serverList"),
                             {"Patient", "File name", "Current user", "Imported", "Code", "State",
                              "Date update", "Time update"},
                             {100, 112, 66, 50, 36, 52, 64, 64}, this);
    m_archive = new CFileList(QStringLiteral("archiveList"), {"Patient", "File"}, {104, 122}, this);

    m_pdaButtons = BuildPdaButtons();
    m_serverButtons = BuildServerButtons();

    auto* body = new QVBoxLayout;
    body->setContentsMargins(3, 0, 3, 3);
    body->setSpacing(2);
    body->addLayout(connectRow);
    body->addWidget(m_onlineUsers);
    body->addLayout(captionRow);
    body->addWidget(m_handheld, 1);
    body->addWidget(m_server, 1);
    body->addWidget(m_archive, 1);
    body->addWidget(m_pdaButtons);
    body->addWidget(m_serverButtons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(heading);
    layout->addLayout(body, 1);

    connect(m_pdaChoice, &QRadioButton::clicked, this, [this] { ChooseView(View::Pda); });
    connect(m_serverChoice, &QRadioButton::clicked, this, [this] { ChooseView(View::Server); });
    connect(m_activeChoice, &QRadioButton::clicked, this,
            [this] { ChooseServerFiles(ServerFiles::Active); });
    connect(m_archiveChoice, &QRadioButton::clicked, this,
            [this] { ChooseServerFiles(ServerFiles::Archive); });
    ChooseView(View::Pda);
    Refresh();
}

QPushButton* CServerPage::AddButton(QLayout* row, const char* text, const char* name,
                                    void (CServerPage::*command)()) {
    auto* button = new QPushButton(QString::fromUtf8(text), this);
    button->setObjectName(QString::fromLatin1(name));
    button->setFixedHeight(kButtonHeight);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, command] { (this->*command)(); });
    row->addWidget(button);
    return button;
}

QWidget* CServerPage::BuildPdaButtons() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("pdaButtons"));
    auto* first = new QHBoxLayout;
    auto* second = new QHBoxLayout;
    m_synch = AddButton(first, "Synch", "synchButton", &CServerPage::Synch);
    m_synchAll = AddButton(first, "Synch all", "synchAllButton", &CServerPage::SynchAll);
    AddButton(first, "Delete", "deleteButton", &CServerPage::Delete);
    m_lock = AddButton(second, "Lock", "lockButton", &CServerPage::Lock);
    m_unlock = AddButton(second, "Unlock", "unlockButton", &CServerPage::Unlock);
    m_lockAll = AddButton(second, "L All", "lockAllButton", &CServerPage::LockAll);
    m_unlockAll = AddButton(second, "U All", "unlockAllButton", &CServerPage::UnlockAll);
    auto* rows = new QVBoxLayout(panel);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(2);
    for (QHBoxLayout* row : {first, second}) {
        row->setSpacing(2);
        rows->addLayout(row);
    }
    return panel;
}

QWidget* CServerPage::BuildServerButtons() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("serverButtons"));
    auto* first = new QHBoxLayout;
    auto* second = new QHBoxLayout;
    m_importOne = AddButton(first, "Import one", "importOneButton", &CServerPage::ImportOne);
    m_importAll = AddButton(first, "Import all", "importAllButton", &CServerPage::ImportAll);
    AddButton(first, "Clear list", "clearListButton", &CServerPage::ClearList);
    m_archivate = AddButton(second, "Archivate -->", "archivateButton", &CServerPage::Archivate);
    m_activate = AddButton(second, "<-- Activate", "activateButton", &CServerPage::Activate);
    auto* rows = new QVBoxLayout(panel);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(2);
    for (QHBoxLayout* row : {first, second}) {
        row->setSpacing(2);
        rows->addLayout(row);
    }
    return panel;
}

void CServerPage::SetOnlineUsers(const QString& text) {
    m_onlineText = text;
    m_onlineUsers->setToolTip(text);
    // One line: the names that do not fit end in "...", the whole line is the tool tip.
    const int width = 240 - 6;
    m_onlineUsers->setText(m_onlineUsers->fontMetrics().elidedText(text, Qt::ElideRight, width));
}

void CServerPage::SetOnline(bool online) {
    m_online = online;
    UpdateEnabled();
}

void CServerPage::ChooseView(View view) {
    m_view = view;
    const bool server = view == View::Server;
    (server ? m_serverChoice : m_pdaChoice)->setChecked(true);
    m_caption->setText(server ? QStringLiteral("--- Server ---") : QStringLiteral("--- PDA ---"));
    m_handheld->setVisible(!server);
    m_pdaButtons->setVisible(!server);
    m_serverButtons->setVisible(server);
    m_activeChoice->setVisible(server);
    m_archiveChoice->setVisible(server);
    // The server's view always opens on its active files.
    if (server) {
        ChooseServerFiles(ServerFiles::Active);
    } else {
        m_server->hide();
        m_archive->hide();
        UpdateEnabled();
    }
}

void CServerPage::ChooseServerFiles(ServerFiles files) {
    m_serverFiles = files;
    const bool archive = files == ServerFiles::Archive;
    (archive ? m_archiveChoice : m_activeChoice)->setChecked(true);
    m_server->setVisible(!archive);
    m_archive->setVisible(archive);
    UpdateEnabled();
    // The archived files are asked for each time they are chosen; the list waits for them.
    if (archive) m_files.ShowArchive();
    Refresh();
}

void CServerPage::UpdateEnabled() {
    for (QPushButton* button : {m_synch, m_synchAll, m_lock, m_unlock, m_lockAll, m_unlockAll,
                                m_importOne, m_importAll}) {
        button->setEnabled(m_online);
    }
    m_archiveChoice->setEnabled(m_online);
    m_archivate->setEnabled(m_serverFiles == ServerFiles::Active);
    m_activate->setEnabled(m_serverFiles == ServerFiles::Archive);
    m_server->SetOnlineLook(m_online);
    m_archive->SetOnlineLook(m_online);
}

void CServerPage::Refresh() {
    RefreshHandheld();
    RefreshServer();
    RefreshArchive();
}

void CServerPage::RefreshHandheld() {
    std::vector<FileListRow> rows;
    for (const ActiveFileRow& file : m_files.Handheld()) {
        FileListRow row;
        for (const std::u16string& cell : file.columns) row.cells << ToQString(cell);
        row.icon = file.icon;
        row.key = ToQString(file.columns[ActiveFileRow::kFileName]);
        rows.push_back(std::move(row));
    }
    m_handheld->ShowRows(rows);
}

void CServerPage::RefreshServer() {
    using S = ServerFileRow;
    std::vector<FileListRow> rows;
    for (const ServerFileRow& file : m_files.Server()) {
        const auto& c = file.columns;
        FileListRow row;
        // Imported comes fourth on the page.
        row.cells << ToQString(c[S::kPatient]) << ToQString(c[S::kFileName])
                  << ToQString(c[S::kCurrentUser]) << ToQString(file.imported)
                  << ToQString(c[S::kCode]) << ToQString(c[S::kState])
                  << ToQString(c[S::kDateUpdate]) << ToQString(c[S::kTimeUpdate]);
        row.icon = file.icon;
        row.key = ToQString(c[S::kFileName]);
        rows.push_back(std::move(row));
    }
    m_server->ShowRows(rows);
}

void CServerPage::RefreshArchive() {
    std::vector<FileListRow> rows;
    for (const ArchiveRow& file : m_files.Archive()) {
        FileListRow row;
        row.cells << ToQString(file.patient) << ToQString(file.entry);
        row.key = ToQString(file.entry);
        rows.push_back(std::move(row));
    }
    m_archive->ShowRows(rows);
}

bool CServerPage::eventFilter(QObject* watched, QEvent* event) {
    // A tap on the handheld list ends an operation that is under way.
    if (watched == m_handheld->viewport() && event->type() == QEvent::MouseButtonPress) {
        m_files.TapHandheldList();
    }
    return QWidget::eventFilter(watched, event);
}

int CServerPage::ChosenHandheldRow() const {
    return RowOfFile(m_files.Handheld(), m_handheld->ChosenKey());
}

int CServerPage::ChosenServerRow() const {
    return RowOfFile(m_files.Server(), m_server->ChosenKey());
}

int CServerPage::ChosenArchiveRow() const {
    const QString key = m_archive->ChosenKey();
    if (key.isEmpty()) return -1;
    const auto& rows = m_files.Archive();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].entry == ToU16(key)) return static_cast<int>(i);
    }
    return -1;
}

void CServerPage::Synch() {
    m_files.SynchOne(ChosenHandheldRow());
}

void CServerPage::SynchAll() {
    m_files.SynchAll();
}

void CServerPage::Lock() {
    m_files.LockButton(ChosenHandheldRow());
}

void CServerPage::Unlock() {
    m_files.UnlockButton(ChosenHandheldRow());
}

void CServerPage::LockAll() {
    m_files.LockAll();
}

void CServerPage::UnlockAll() {
    m_files.UnlockAll();
}

void CServerPage::Delete() {
    m_files.DeleteHandheldFile(ChosenHandheldRow());
}

void CServerPage::ImportOne() {
    m_files.ImportOne(ChosenServerRow());
}

void CServerPage::ImportAll() {
    m_files.ImportAll();
}

void CServerPage::ClearList() {
    m_files.ClearList();
}

void CServerPage::Archivate() {
    m_files.ArchiveServerFile(ChosenServerRow());
}

void CServerPage::Activate() {
    if (m_files.ActivateArchivedFile(ChosenArchiveRow())) ChooseServerFiles(ServerFiles::Active);
}

}  // namespace pondrel
