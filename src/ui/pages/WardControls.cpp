#include "ui/pages/WardControls.h"

#include <QDialog>
#include <QEvent>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

#include "labels/Labels.h"
#include "layout/ui/CFieldWindows.h"
#include "mainform/MainFormController.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "platform/ui/CPopupList.h"
#include "platform/ui/QtText.h"
#include "journal/ui/CSectionEdit.h"
#include "records/ActivePatients.h"
#include "records/CCorvaneDoc.h"
#include "records/FilesHold.h"
#include "records/LocationList.h"
#include "records/LocationSwitch.h"
#include "records/PatientRecord.h"
#include "records/PatientSet.h"
#include "records/WorkingFolders.h"
#include "records/ui/CLocationEditorDlg.h"
#include "records/ui/CRoomsEditorDlg.h"
#include "settings/Preferences.h"
#include "settings/PreferencesExchange.h"
#include "ui/pages/FieldPages.h"
#include "ui/pages/PageHost.h"
#include "ui/pages/SyncPages.h"

namespace pondrel {

namespace {

constexpr int kRoomField = 94;
constexpr int kIconSize = 16;
constexpr int kIconCount = 24;
// "Sel" and "Edit" stand at the right end of the room window, which gives them its room.
constexpr int kSelWidth = 18;
constexpr int kEditWidth = 22;
constexpr int kButtonsWidth = kSelWidth + kEditWidth + 1;
constexpr int kLeastRoomWindow = 20;

QFont Pixels(QFont font, int pixels) {
    font.setPixelSize(pixels);
    return font;
}

QPushButton* SmallButton(const QString& text, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setFont(Pixels(button->font(), 10));
    button->setStyleSheet(QStringLiteral("QPushButton { padding: 0; }"));
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

WardControls::WardControls(PageHost& view, FieldPages& fields, Platform& platform, SyncPages* sync)
    : m_view(view), m_fields(fields), m_platform(platform), m_sync(sync) {
    QWidget* bandZero = m_view.Page(0);
    m_locationButton = SmallButton(QString(), QStringLiteral("locationButton"), bandZero);
    m_locationButton->setGeometry(132, 0, 106, 16);  // the page title's whole height
    connect(m_locationButton, &QPushButton::clicked, this, [this] { ToggleLocationList(); });
    m_locationButton->show();

    m_locationList = new CPopupList(&m_view.Widget());
    m_locationList->setObjectName(QStringLiteral("locationList"));
    m_locationList->setFont(Pixels(m_locationList->font(), 11));
    m_locationList->hide();
    connect(m_locationList, &CPopupList::chosen, this, [this](int row) { ChooseLocation(row); });

    m_roomSel = SmallButton(QStringLiteral("Sel"), QStringLiteral("roomSel"), bandZero);
    m_roomEdit = SmallButton(QStringLiteral("Edit"), QStringLiteral("roomEdit"), bandZero);
    connect(m_roomSel, &QPushButton::clicked, this, [this] { ToggleRoomList(); });
    connect(m_roomEdit, &QPushButton::clicked, this, [this] { EditRooms(); });

    m_roomList = new QTreeWidget(&m_view.Widget());
    m_roomList->setObjectName(QStringLiteral("roomList"));
    m_roomList->setRootIsDecorated(false);
    m_roomList->setHeaderLabels(
        {QStringLiteral("Room N\u00B0"), QStringLiteral("Patient"), QStringLiteral("Location")});
    m_roomList->setColumnWidth(0, 60);
    m_roomList->setColumnWidth(1, 120);
    m_roomList->setIconSize(QSize(kIconSize, kIconSize));
    m_roomList->setFont(Pixels(m_roomList->font(), 10));
    m_roomList->header()->setFont(Pixels(m_roomList->font(), 10));
    m_roomList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_roomList->hide();
    connect(m_roomList, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { PickRoom(m_roomList->indexOfTopLevelItem(item)); });

    PlaceRoomButtons();
}

WardControls::~WardControls() = default;

bool WardControls::FilesBusy() const {
    // A file exchange with the server under way (its answer would land in the wrong set).
    return m_sync && m_sync->Session().Files().OperationUnderWay();
}

// ---- The room window's buttons ------------------------------------------------------------------

bool WardControls::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::ParentChange:
            PlaceRoomButtons();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

void WardControls::PlaceRoomButtons() {
    if (m_placing) return;
    CSectionEdit* room = m_fields.Windows().Edit(kRoomField);
    if (room && room != m_roomWindow) {
        // The buttons follow the window wherever an arrangement puts it.
        m_roomWindow = room;
        room->installEventFilter(this);
    }
    const bool editing = m_view.Navigation().WindowsEditorOpen();
    const bool placedAgain = room && room->geometry() != m_shrunkWindow;
    if (!room || room->isHidden() || editing || !room->parentWidget() ||
        (placedAgain && room->width() < kLeastRoomWindow + kButtonsWidth)) {
        m_roomSel->hide();
        m_roomEdit->hide();
        return;
    }
    QWidget* band = room->parentWidget();
    if (placedAgain) {
        // Placed again by its arrangement: the window keeps its place and gives the buttons its
        // right end.
        m_placing = true;
        room->resize(room->width() - kButtonsWidth, room->height());
        m_placing = false;
        m_shrunkWindow = room->geometry();
    }
    const QRect window = m_shrunkWindow;
    const int x = window.right() + 2;
    const int height = std::min(window.height(), 17);
    m_roomSel->setParent(band);
    m_roomEdit->setParent(band);
    m_roomSel->setGeometry(x, window.y(), kSelWidth, height);
    m_roomEdit->setGeometry(x + kSelWidth, window.y(), kEditWidth, height);
    m_roomSel->show();
    m_roomEdit->show();
}

// ---- Rooms ----------------------------------------------------------------------------------

void WardControls::LoadRoomList() {
    RoomsFile file;
    const std::u16string path = m_view.Folders().InstallationFile(kDefaultRoomsFile.substr(1));
    const RoomsReadFailure failure = ReadRoomsFile(m_platform.files, path, file);
    if (failure != RoomsReadFailure::None) {
        // The list stays empty; nothing is ever written back from it.
        m_rooms.clear();
        m_platform.messages.ShowBox(RoomsReadMessage(failure, path), u"Open");
    } else {
        m_rooms = std::move(file.rooms);
    }
    m_rows = BuildRoomList(m_rooms, m_view.Locations());
    if (m_roomList->isVisible()) FillRoomList();
}

void WardControls::FillRoomList() {
    const Labels& labels = m_view.GetLabels();
    FillOccupants(m_rows, m_view.Document().Patients(),
                  [&labels](const PatientRecord& record) { return labels.TitleWord(record.sex); });
    m_roomList->clear();
    const QImage& icons = m_view.PatientIcons();
    for (const RoomListRow& row : m_rows) {
        auto* item = new QTreeWidgetItem(m_roomList);
        item->setText(0, ToQString(row.name));
        item->setText(1, ToQString(row.occupant));
        item->setText(2, ToQString(row.location));
        if (row.icon < kIconCount && icons.width() >= (row.icon + 1) * kIconSize) {
            item->setIcon(0, QIcon(QPixmap::fromImage(
                                 icons.copy(row.icon * kIconSize, 0, kIconSize, kIconSize))));
        }
        if (!row.isRoom) item->setForeground(0, QColor(0x20, 0x3a, 0x6a));
    }
}

void WardControls::ToggleRoomList() {
    if (m_roomList->isVisible()) {
        m_roomList->hide();
        return;
    }
    m_view.ClosePopups();
    m_locationList->hide();
    FillRoomList();
    m_roomList->setGeometry(0, 0, PageHost::kWidth, PageHost::kPageHeight);
    m_roomList->show();
    m_roomList->raise();
}

void WardControls::PickRoom(int row) {
    if (row < 0 || row >= static_cast<int>(m_rows.size())) return;
    MainFormController& controller = m_view.Controller();
    // A read-only folder or a record not begun is refused with the usual notices.
    if (!controller.MayChangeRecord()) return;
    FillOccupants(m_rows, m_view.Document().Patients(), {});
    const RoomPick pick = DecideRoomPick(m_rows, row);
    UserMessages& messages = m_platform.messages;
    if (pick == RoomPick::Nothing) return;
    if (pick == RoomPick::Taken) {
        messages.ShowNotice(u"This bed is already taken", 1000, true);
        return;
    }
    if (pick == RoomPick::Close &&
        messages.ShowBox(u"Do you really want to close the patient's hospitalization ?",
                         u"Close hospitalization ?", BoxButtons::OkCancel) != BoxAnswer::Ok) {
        m_roomList->hide();
        messages.ShowNotice(u"Cancel", 2000);
        return;
    }
    const RoomListRow picked = m_rows[static_cast<size_t>(row)];
    LocationList& locations = m_view.Locations();
    ActivePatients& active = controller.Active();
    PatientRecord* record = controller.ShownRecord();
    const bool moves = !picked.isRoom || (!picked.location.empty() &&
                                          !EqualsIgnoreCase(picked.location, record->location));
    // A move reloads the set: not while files are being exchanged or held.
    if (moves && (active.PendingTransfers() > 0 || active.FilesHeld() || FilesBusy())) {
        messages.ShowNotice(u"Wait for the end of the file exchange", 2000, true);
        return;
    }
    controller.CommitAll();
    const std::u16string before = record->location;
    PlaceInRoom(*record, picked, m_platform.clock.Now());
    if (record->location != before) {
        // The counters follow the patient at once, whether the view switches or not.
        locations.UncountPatient(before);
        locations.CountPatient(record->location);
    }
    m_roomList->hide();
    controller.ShowRecord();
    controller.RefreshPatientList();
    const std::u16string moved = record->location;
    if (moved == locations.Selected()) return;
    if (!active.SaveAll(QuietLevel::Silent) &&
        messages.ShowBox(u"An error occurs while saving the patient's folder before moving to the "
                         u"new location. Do you want to close without saving ?",
                         u"Close without saving all?", BoxButtons::OkCancel,
                         BoxIcon::Question) != BoxAnswer::Ok) {
        return;
    }
    const std::u16string fileName = record->fileName;
    if (!SwitchTo(moved)) return;
    PatientSet& patients = m_view.Document().Patients();
    for (int i = 0; i < patients.Count(); ++i) {
        PatientRecord* candidate = patients.At(i);
        if (candidate && !fileName.empty() && candidate->fileName == fileName) {
            patients.SetCurrent(i);
            candidate->icon = 0;
            break;
        }
    }
    controller.ShowRecord();
    controller.RefreshPatientList();
}

bool WardControls::EditRooms() {
    m_view.ClosePopups();
    m_roomList->hide();
    MainFormController& controller = m_view.Controller();
    controller.CommitAll();
    bool written = false;
    {
        // The editor writes the rooms file: nothing else writes files while it is open.
        FilesHold hold(controller.Active());
        CRoomsEditorDlg dialog({m_platform.files, m_view.Dialogs(), m_platform.messages},
                               m_view.Folders().InstallationFile(kDefaultRoomsFile.substr(1)),
                               m_view.Locations().Names(), m_view.PatientIcons(), &m_view.Widget());
        written = dialog.exec() == QDialog::Accepted;
    }
    if (written) {
        m_platform.messages.ShowNotice(u"Modifications done", 1300);
    } else {
        m_platform.messages.ShowNotice(u"Cancel", 1300, true);
    }
    LoadRoomList();
    controller.RefreshPatientList();
    return written;
}

// ---- Locations ------------------------------------------------------------------------------

void WardControls::ShowLocationCaption() {
    const LocationList& locations = m_view.Locations();
    const std::u16string selected = locations.Selected();
    // Two of the general entries are spelt otherwise in the counting list.
    std::u16string_view entry = selected;
    if (selected == kAllActivatedFolders) entry = kCountAllActivated;
    if (selected == kNoLocation) entry = kCountNoLocation;
    m_locationButton->setText(
        ToQString(selected + u" (" + ToText(locations.CounterOf(entry)) + u")"));
    m_locationButton->setToolTip(ToQString(selected));
}

void WardControls::ToggleLocationList() {
    if (m_locationList->isVisible()) {
        m_locationList->hide();
        return;
    }
    m_view.ClosePopups();
    m_roomList->hide();
    LocationList& locations = m_view.Locations();
    const std::vector<LocationList::Row> rows = locations.ListRows();
    std::vector<std::u16string> texts;
    int current = -1;
    for (const LocationList::Row& row : rows) {
        if (!row.selection.empty() && row.selection == locations.Selected()) {
            current = static_cast<int>(texts.size());
        }
        texts.push_back(row.text);
    }
    m_locationList->SetRows(texts);
    const int height =
        m_locationList->HeightFor(static_cast<int>(texts.size()), 40, PageHost::kPageHeight - 20);
    m_locationList->setGeometry(20, 16, PageHost::kWidth - 24, height);
    m_locationList->setCurrentRow(current);
    m_locationList->show();
    m_locationList->raise();
    m_locationList->setFocus(Qt::OtherFocusReason);
}

void WardControls::ChooseLocation(int row) {
    // The row's position says what it selects; its text (with the counter) is never parsed.
    const std::vector<LocationList::Row> rows = m_view.Locations().ListRows();
    m_locationList->hide();
    if (row < 0 || row >= static_cast<int>(rows.size())) return;
    const std::u16string selection = rows[static_cast<size_t>(row)].selection;
    if (selection.empty()) return;  // the separator
    SwitchTo(selection);
}

bool WardControls::SwitchTo(const std::u16string& name) {
    MainFormController& controller = m_view.Controller();
    LocationSwitchHooks hooks;
    hooks.filesBusy = [this] { return FilesBusy(); };
    hooks.reloaded = [this] { AfterReload(); };
    const LocationSwitch result =
        ChangeLocation(name, controller.Active(), m_view.Document().Patients(), m_view.Locations(),
                       m_platform.messages, hooks);
    ShowLocationCaption();
    return result == LocationSwitch::Switched;
}

void WardControls::AfterReload() {
    LoadRoomList();
    m_view.Controller().RefreshPatientList();
    m_view.Controller().ShowRecord();
    // The synchronisation page lists the files of the patients now loaded.
    if (m_sync) {
        m_sync->Session().Files().RebuildHandheldList();
        m_sync->RefreshPages();
    }
    ShowLocationCaption();
}

// ---- The form's hooks -----------------------------------------------------------------------

void WardControls::ApplyPreferences(const Preferences& /*preferences*/) {
    PlaceRoomButtons();
    LoadRoomList();
    ShowLocationCaption();
}

void WardControls::ApplyOutcome(const PreferencesOutcome& outcome,
                                const Preferences& /*preferences*/) {
    if (!outcome.locationListChanged) return;
    // The counting list changed: the counters are counted again from the files, which reading
    // the set again does (after saving it).
    ActivePatients& active = m_view.Controller().Active();
    if (m_view.Controller().PatientsLoaded() && active.PendingTransfers() == 0 &&
        !active.FilesHeld() && !FilesBusy() && active.SaveAll(QuietLevel::Silent)) {
        active.LoadActivePatients();
        AfterReload();
        return;
    }
    LoadRoomList();
    ShowLocationCaption();
}

void WardControls::AddPreferencesDialogues(CPreferencesDlg::PluggedDialogues& dialogues) {
    dialogues.emplace_back(QStringLiteral("patientsLocationButton"),
                           [this](PreferencesEdit& edit, QWidget* parent) {
                               CLocationEditorDlg dialog(edit.locationList, m_view.Locations(),
                                                         m_platform.messages, parent);
                               if (dialog.exec() == QDialog::Accepted) {
                                   edit.locationList = dialog.Text();
                               }
                           });
}

void WardControls::Start() {
    ShowLocationCaption();
    PlaceRoomButtons();
}

void WardControls::PageShown(int page) {
    if (page != 0) {
        m_locationList->hide();
        m_roomList->hide();
    }
    PlaceRoomButtons();
}

}  // namespace pondrel
