#include "records/ui/CRoomsEditorDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/DeviceFileSystem.h"
#include "platform/FileDialogs.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"
#include "platform/ui/DialogStyle.h"
#include "platform/ui/QtText.h"
#include "records/ItemEncoding.h"
#include "records/RoomsFile.h"
#include "records/ui/PlaceNameValidator.h"

namespace pondrel {

namespace {

constexpr int kIconCount = 24;
constexpr int kIconSize = 16;
constexpr const char16_t* kSaveAsCaption = u"Save As...";

FileDialogRequest RoomsRequest(std::u16string title) {
    return FileDialogRequest{std::move(title), u"Patients' rooms (*.roo)|*.roo|", u"roo", u"\\"};
}

}  // namespace

CRoomsEditorDlg::CRoomsEditorDlg(Services services, std::u16string roomsPath,
                                 std::vector<std::u16string> locations, const QImage& icons,
                                 QWidget* parent)
    : QDialog(parent),
      m_services(services),
      m_path(std::move(roomsPath)),
      m_locations(std::move(locations)),
      m_icons(icons),
      m_editing({}) {
    setObjectName(QStringLiteral("roomsEditor"));
    setWindowTitle(QStringLiteral("Rooms"));
    FitHandheldForm(this);

    // The file as it is now: OK writes over it only when nobody changed it meanwhile.
    m_asRead = ReadForEditing(m_services.files, m_path, kMaxRoomsFileBytes);
    std::u16string refusal;
    if (m_asRead.bytes) {
        RoomsFile file;
        const RoomsReadFailure failure = m_asRead.complete
                                             ? ParseRoomsText(DecodeItemText(*m_asRead.bytes), file)
                                             : RoomsReadFailure::TooBig;
        if (failure == RoomsReadFailure::None) {
            m_editing = RoomsEditing(std::move(file.rooms));
        } else {
            m_refused = true;
            refusal = RoomsReadMessage(failure, m_path);
        }
    }
    // Why the list is empty stands above it (no box while the dialogue is being built).
    auto* refusalLine = new QLabel(ToQString(refusal), this);
    refusalLine->setObjectName(QStringLiteral("roomsRefusal"));
    refusalLine->setWordWrap(true);
    refusalLine->setStyleSheet(QStringLiteral("QLabel { color: #a01010; }"));
    refusalLine->setVisible(!refusal.empty());

    m_table = new QTreeWidget(this);
    m_table->setObjectName(QStringLiteral("roomsTable"));
    m_table->setRootIsDecorated(false);
    m_table->setHeaderLabels({QStringLiteral("Icon"), QStringLiteral("Room N\u00B0"),
                              QStringLiteral("Icon number"), QStringLiteral("Rank"),
                              QStringLiteral("Department")});
    m_table->setColumnWidth(0, 28);
    m_table->setColumnWidth(1, 46);
    m_table->setColumnWidth(2, 34);
    m_table->setColumnWidth(3, 32);
    m_table->setIconSize(QSize(kIconSize, kIconSize));
    connect(m_table, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) Select(m_table->indexOfTopLevelItem(item));
    });

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("roomName"));
    m_name->setPlaceholderText(QStringLiteral("Room N\u00B0"));
    m_name->setValidator(new PlaceNameValidator(m_name));
    m_location = new QLineEdit(this);
    m_location->setObjectName(QStringLiteral("roomLocation"));
    m_location->setPlaceholderText(QStringLiteral("Location"));
    m_location->setValidator(new PlaceNameValidator(m_location));
    // Typing changes the selected row at once.
    connect(m_name, &QLineEdit::textEdited, this, [this](const QString& text) {
        const std::u16string refused = m_editing.SetName(ToU16(text));
        if (!refused.empty()) m_services.messages.ShowNotice(refused, 1500, true);
        Fill();
    });
    connect(m_location, &QLineEdit::textEdited, this, [this](const QString& text) {
        const std::u16string refused = m_editing.SetLocation(ToU16(text));
        if (!refused.empty()) m_services.messages.ShowNotice(refused, 1500, true);
        Fill();
    });
    auto* select = new QPushButton(QStringLiteral("Select"), this);
    select->setObjectName(QStringLiteral("selectLocation"));
    select->setAutoDefault(false);
    connect(select, &QPushButton::clicked, this, &CRoomsEditorDlg::ToggleLocationChoices);
    m_locationChoices = new QListWidget(this);
    m_locationChoices->setObjectName(QStringLiteral("locationChoices"));
    for (const std::u16string& name : m_locations) m_locationChoices->addItem(ToQString(name));
    m_locationChoices->hide();
    connect(m_locationChoices, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        m_location->setText(item->text());
        m_editing.SetLocation(ToU16(item->text()));
        m_locationChoices->hide();
        Fill();
        layout()->activate();
    });

    m_iconList = new QListWidget(this);
    m_iconList->setObjectName(QStringLiteral("roomIcons"));
    m_iconList->setViewMode(QListView::IconMode);
    m_iconList->setMovement(QListView::Static);
    m_iconList->setIconSize(QSize(kIconSize, kIconSize));
    m_iconList->setGridSize(QSize(kIconSize + 3, kIconSize + 2));
    m_iconList->setFixedHeight(2 * (kIconSize + 2) + 4);
    m_iconList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int icon = 0; icon < kIconCount; ++icon) {
        auto* item = new QListWidgetItem(IconOf(icon), QString(), m_iconList);
        item->setData(Qt::UserRole, icon);
        item->setToolTip(QString::number(icon));
    }
    connect(m_iconList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        m_editing.SetIcon(item->data(Qt::UserRole).toInt());
        Fill();
    });

    auto* buttons = new QGridLayout;
    buttons->setSpacing(3);
    auto button = [this, buttons](const char* text, const char* name, int row, int column) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        buttons->addWidget(b, row, column);
        return b;
    };
    connect(button("Add", "addButton", 0, 0), &QPushButton::clicked, this, &CRoomsEditorDlg::Add);
    connect(button("Delete", "deleteButton", 0, 1), &QPushButton::clicked, this,
            &CRoomsEditorDlg::Delete);
    connect(button("Up", "upButton", 0, 2), &QPushButton::clicked, this, &CRoomsEditorDlg::Up);
    connect(button("Down", "downButton", 0, 3), &QPushButton::clicked, this,
            &CRoomsEditorDlg::Down);
    connect(button("Load", "loadButton", 1, 0), &QPushButton::clicked, this,
            &CRoomsEditorDlg::Load);
    connect(button("Save As", "saveAsButton", 1, 1), &QPushButton::clicked, this,
            &CRoomsEditorDlg::SaveAs);
    connect(button("Cancel", "cancelButton", 1, 2), &QPushButton::clicked, this, &QDialog::reject);
    connect(button("OK", "okButton", 1, 3), &QPushButton::clicked, this,
            &CRoomsEditorDlg::WriteAndClose);

    auto* boxes = new QHBoxLayout;
    boxes->setSpacing(3);
    boxes->addWidget(m_name, 2);
    boxes->addWidget(m_location, 3);
    boxes->addWidget(select);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);
    layout->addWidget(refusalLine);
    layout->addWidget(m_table, 1);
    layout->addLayout(boxes);
    layout->addWidget(m_locationChoices);
    layout->addWidget(m_iconList);
    layout->addLayout(buttons);
    Fill();
}

QIcon CRoomsEditorDlg::IconOf(int icon) const {
    if (m_icons.width() < (icon + 1) * kIconSize) return {};
    return QIcon(QPixmap::fromImage(m_icons.copy(icon * kIconSize, 0, kIconSize, kIconSize)));
}

void CRoomsEditorDlg::Fill() {
    const QSignalBlocker blocker(m_table);
    const std::vector<Room>& rooms = m_editing.Rooms();
    // Rows are changed in place while the user types, so that the list does not flicker.
    while (m_table->topLevelItemCount() > static_cast<int>(rooms.size())) {
        delete m_table->takeTopLevelItem(m_table->topLevelItemCount() - 1);
    }
    for (size_t i = 0; i < rooms.size(); ++i) {
        QTreeWidgetItem* item = m_table->topLevelItem(static_cast<int>(i));
        if (!item) item = new QTreeWidgetItem(m_table);
        const Room& room = rooms[i];
        item->setIcon(0, IconOf(room.icon));
        item->setText(1, ToQString(room.name));
        item->setText(2, QString::number(room.icon));
        item->setText(3, ToQString(RankText(room.rank)));
        item->setText(4, ToQString(room.location));
    }
    const int selected = m_editing.Selected();
    m_table->setCurrentItem(selected >= 0 ? m_table->topLevelItem(selected) : nullptr);
}

void CRoomsEditorDlg::Select(int row) {
    m_editing.Select(row);
    ShowSelected();
}

void CRoomsEditorDlg::ShowSelected() {
    const int row = m_editing.Selected();
    const Room* room = row >= 0 ? &m_editing.Rooms()[static_cast<size_t>(row)] : nullptr;
    m_name->setText(room ? ToQString(room->name) : QString());
    m_location->setText(room ? ToQString(room->location) : QString());
    const QSignalBlocker blocker(m_iconList);
    m_iconList->setCurrentRow(room ? room->icon : -1);
}

void CRoomsEditorDlg::Add() {
    const std::u16string refusal = m_editing.Add();
    if (!refusal.empty()) {
        m_services.messages.ShowBox(refusal, u"Add", BoxButtons::Ok, BoxIcon::Warning);
        return;
    }
    Fill();
    ShowSelected();
    m_name->setFocus(Qt::OtherFocusReason);
}

void CRoomsEditorDlg::Delete() {
    m_editing.Delete();
    Fill();
    ShowSelected();
}

void CRoomsEditorDlg::Up() {
    m_editing.Up();
    Fill();
}

void CRoomsEditorDlg::Down() {
    m_editing.Down();
    Fill();
}

void CRoomsEditorDlg::ToggleLocationChoices() {
    m_locationChoices->setVisible(!m_locationChoices->isVisible());
}

void CRoomsEditorDlg::Load() {
    const std::optional<std::u16string> path =
        m_services.dialogs.AskOpenFile(RoomsRequest(u"Load"));
    if (!path) return;
    RoomsFile file;
    const RoomsReadFailure failure = ReadRoomsFile(m_services.files, *path, file);
    if (failure != RoomsReadFailure::None) {
        m_services.messages.ShowBox(RoomsReadMessage(failure, *path), u"Load", BoxButtons::Ok,
                                    BoxIcon::Warning);
        return;
    }
    m_editing = RoomsEditing(std::move(file.rooms));
    Fill();
    ShowSelected();
}

void CRoomsEditorDlg::SaveAs() {
    const std::optional<std::u16string> path =
        m_services.dialogs.AskSaveFile(RoomsRequest(std::u16string(kSaveAsCaption)));
    if (!path) {
        m_services.messages.ShowBox(u"Cancel", kSaveAsCaption);
        return;
    }
    if (!WriteRoomsFile(m_services.files, *path, m_editing.Rooms())) {
        m_services.messages.ShowBox(u"Save failure !", kSaveAsCaption, BoxButtons::Ok,
                                    BoxIcon::Error);
        return;
    }
    if (!EqualsIgnoreCase(*path, m_path)) {
        m_services.messages.ShowBox(u"The file <" + *path + u"> has been saved.", kSaveAsCaption);
    } else {
        // The rooms file itself was written: OK later compares with what is there now.
        m_asRead = ReadForEditing(m_services.files, m_path, kMaxRoomsFileBytes);
        m_refused = false;
    }
}

void CRoomsEditorDlg::WriteAndClose() {
    if (m_refused) {
        // The file on disk holds rooms this list never showed: replacing it loses them.
        if (!m_asRead.complete) {
            m_services.messages.ShowBox(
                u"The file <" + m_path +
                    u"> was not loaded and is too big to be replaced: it is left unchanged.",
                u"Rooms", BoxButtons::Ok, BoxIcon::Warning);
            return;
        }
        const BoxAnswer answer = m_services.messages.ShowBox(
            u"The file <" + m_path +
                u"> was not loaded. Replace all its rooms with the rooms of this list ?",
            u"Rooms", BoxButtons::OkCancel, BoxIcon::Question);
        if (answer != BoxAnswer::Ok) return;
    }
    if (m_editing.Rooms().size() > kMaxRooms) return;
    const std::string bytes = EncodeItemText(RoomsText(m_editing.Rooms()));
    if (bytes.size() > kMaxRoomsFileBytes) {
        m_services.messages.ShowBox(u"Save failure !", u"Rooms", BoxButtons::Ok, BoxIcon::Error);
        return;
    }
    if (WriteIfUnchanged(m_services.files, m_services.messages, m_asRead, bytes) !=
        CheckedWrite::Written) {
        return;
    }
    accept();
}

}  // namespace pondrel
