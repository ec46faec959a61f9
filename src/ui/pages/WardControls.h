#pragma once

#include <string>
#include <vector>

#include <QObject>
#include <QPointer>
#include <QRect>

#include "records/RoomList.h"
#include "records/RoomsFile.h"
#include "ui/pages/PagePlugin.h"

class QPushButton;
class QTreeWidget;

namespace pondrel {

class CPopupList;
class FieldPages;
class PageHost;
class SyncPages;
struct Platform;

// The locations, rooms and beds on the main form: the location list (the button at the top of
// page 0, with the number of patients in each location), the room list ("Sel" beside
// "Room N°") from which the current patient is placed in a room, moved to another location or
// discharged into "Closed hospitalization", the rooms editor ("Edit" beside "Room N°") and the
// location editor of the Preferences dialogue ("Patients' location"). Keeps the rooms of the
// rooms file; the patient list and the summaries take their room order from RoomRows().
class WardControls final : public QObject, public PagePlugin {
public:
    // `view`, `fields`, `platform` and `sync` (may be null) must outlive the controls.
    WardControls(PageHost& view, FieldPages& fields, Platform& platform, SyncPages* sync);
    ~WardControls() override;
    WardControls(const WardControls&) = delete;
    WardControls& operator=(const WardControls&) = delete;

    // The rows of the room list for the selected location, without occupants.
    const std::vector<RoomListRow>& RoomRows() const { return m_rows; }

    // LoadRoomList: the rooms file read again, the rows rebuilt for the selected location.
    void LoadRoomList();
    // ShowLocationList: shows the location list with its counters, or hides it.
    void ToggleLocationList();
    // Choosing the row `row` of the location list (by its position, never by its text).
    void ChooseLocation(int row);
    // ChangeLocation: saves, selects `name` and reads its patients. True when switched.
    bool SwitchTo(const std::u16string& name);
    // After patients were read (the set, or one file into it): the room list, the patient
    // list, the record shown, the synchronisation file list and the location's counter.
    void AfterReload();
    // ShowRoomList: the rooms with their occupants, or hidden.
    void ToggleRoomList();
    // PickRoom: the current patient placed at row `row` of the room list.
    void PickRoom(int row);
    // The rooms editor; true when its rows were written.
    bool EditRooms();

    void ApplyPreferences(const Preferences& preferences) override;
    void ApplyOutcome(const PreferencesOutcome& outcome, const Preferences& preferences) override;
    void AddPreferencesDialogues(CPreferencesDlg::PluggedDialogues& dialogues) override;
    void Start() override;
    void PageShown(int page) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PlaceRoomButtons();
    void FillRoomList();
    void ShowLocationCaption();
    bool FilesBusy() const;

    PageHost& m_view;
    FieldPages& m_fields;
    Platform& m_platform;
    SyncPages* m_sync;
    std::vector<Room> m_rooms;
    std::vector<RoomListRow> m_rows;
    QPointer<QPushButton> m_locationButton;
    QPointer<CPopupList> m_locationList;
    QPointer<QPushButton> m_roomSel;
    QPointer<QPushButton> m_roomEdit;
    QPointer<QTreeWidget> m_roomList;
    QPointer<QWidget> m_roomWindow;  // the "Room N°" window the buttons follow
    QRect m_shrunkWindow;            // its place once it gave the buttons their room
    bool m_placing = false;
};

}  // namespace pondrel
