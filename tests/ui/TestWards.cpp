// The locations, rooms and beds on the main form: the location list and its counters, the room
// list (place, move, close), the rooms editor and the location editor.

#include <fstream>
#include <functional>
#include <iterator>

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "FormTestBase.h"
#include "labels/QuickLoad.h"
#include "platform/UserMessages.h"
#include "platform/ui/CPopupList.h"
#include "records/ActivePatients.h"
#include "records/FilesHold.h"
#include "records/ItemEncoding.h"
#include "records/LocationList.h"
#include "records/PatientFileWriter.h"
#include "records/RoomsFile.h"
#include "settings/ui/CPreferencesDlg.h"
#include "ui/seams/QtFileDialogs.h"
#include "ui/seams/QtUserMessages.h"

namespace pondrel {

namespace {

class NoMessages final : public UserMessages {
public:
    BoxAnswer ShowBox(const std::u16string&, const std::u16string&, BoxButtons, BoxIcon) override {
        return BoxAnswer::Ok;
    }
    void ShowNotice(const std::u16string&, int, bool) override {}
};

struct Placed {
    std::u16string location;
    std::u16string room;
};

}  // namespace

class TestWards : public QObject, private test::FormTestBase {
    Q_OBJECT

private slots:
    void init() { Prepare(); }
    void cleanup() { Finish(); }

    void locationListCountsAndSwitches();
    void locationListWaitsForHeldFiles();
    void roomListPlacesMovesAndCloses();
    void roomListRefusesAReadOnlyFolder();
    void roomsEditorWritesAndRefusesCutFiles();
    void locationEditorAsksBeforeRenaming();
    void patientListFollowsTheRooms();
    void quickLoadShowsTheArchivedPatient();
    void quickLoadOfALoadedPatientShowsIt();

private:
    // Patients written into the active folder, one per entry, in that location and room; their
    // file names.
    std::vector<std::u16string> WritePatients(const std::vector<Placed>& placed) {
        DemoOptions options;
        options.patients = static_cast<int>(placed.size());
        options.today = SystemClock().Now();
        std::vector<PatientRecord> records = MakeDemoPatients(options);
        HostFileSystem files(m_device);
        NoMessages messages;
        PatientFileWriter writer(
            files, messages, PatientFolders{std::u16string(WorkingFolders::kActivePatients), u""});
        std::vector<std::u16string> names;
        for (size_t i = 0; i < records.size(); ++i) {
            records[i].location = placed[i].location;
            records[i].SetField(94, placed[i].room);
            records[i].exitDateSet = 0;
            SaveState state;
            state.quiet = QuietLevel::Automatic;
            if (writer.SavePatient(records[i], static_cast<int>(i), SaveMode::Normal, state) !=
                SaveOutcome::Written) {
                qWarning("patient %d not written", static_cast<int>(i));
                return {};
            }
            names.push_back(records[i].fileName);
        }
        return names;
    }
    void WriteWard() {
        WritePatients({{u"Ward A", u"101"},
                       {u"Ward A", u"102"},
                       {u"Ward A", u"103"},
                       {u"Ward B", u"116"},
                       {u"Ward B", u"101"},  // an odd room name: 101 of ward B, not of ward A
                       {u"Closed hospitalization", u""},
                       {u"Old ward", u"7"}});
    }
    QStringList LocationRows() {
        if (!Tap(QStringLiteral("locationButton"))) return {};
        auto* list = Named<CPopupList>(QStringLiteral("locationList"));
        QStringList rows;
        for (int i = 0; list && i < list->count(); ++i) rows << list->item(i)->text();
        return rows;
    }
    bool ChooseLocation(const QString& rowText) {
        auto* list = Named<CPopupList>(QStringLiteral("locationList"));
        if (!list || !list->isVisible()) {
            if (!Tap(QStringLiteral("locationButton"))) return false;
        }
        return test::ClickRow(*list, rowText);
    }
    QString Selected() { return ToQString(View().Locations().Selected()); }
    QTreeWidget* RoomList() { return Named<QTreeWidget>(QStringLiteral("roomList")); }
    // Taps the row of the room list whose room column is `room`.
    bool PickRoom(const QString& room) {
        QTreeWidget* list = RoomList();
        if (!list) return false;
        if (!list->isVisible() && !Tap(QStringLiteral("roomSel"))) return false;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = list->topLevelItem(i);
            if (item->text(0) != room) continue;
            list->scrollToItem(item);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(item).center());
            return true;
        }
        qWarning("no room %s", qPrintable(room));
        return false;
    }
    QString OccupantOf(const QString& room) {
        QTreeWidget* list = RoomList();
        for (int i = 0; list && i < list->topLevelItemCount(); ++i) {
            if (list->topLevelItem(i)->text(0) == room) return list->topLevelItem(i)->text(1);
        }
        return QStringLiteral("<none>");
    }
    bool ShowPatientIn(const std::u16string& room) {
        for (int i = 0; i < Patients().Count(); ++i) {
            if (Patients().At(i)->Field(94) == room) {
                Patients().SetCurrent(i);
                View().Controller().ShowRecord();
                return true;
            }
        }
        return false;
    }
    QtUserMessages& Boxes() { return m_program->Messages(); }
    // The ward, and two more patients of ward A and one of a location no longer in the list
    // moved into the archive folder; their file names.
    std::vector<std::u16string> WriteWardAndArchive() {
        std::vector<std::u16string> names = WritePatients({{u"Ward A", u"101"},
                                                           {u"Ward A", u"102"},
                                                           {u"Ward A", u"103"},
                                                           {u"Ward B", u"116"},
                                                           {u"Ward B", u"101"},
                                                           {u"Closed hospitalization", u""},
                                                           {u"Old ward", u"7"},
                                                           {u"Ward A", u"104"},
                                                           {u"Ward A", u"105"},
                                                           {u"Old ward", u"9"}});
        if (names.size() != 10) return {};
        HostFileSystem files(m_device);
        for (size_t i = 7; i < 10; ++i) {
            if (!files.MoveFile(WorkingFolders::ActiveFile(names[i]),
                                JoinPath(WorkingFolders::kArchives, names[i]))) {
                return {};
            }
        }
        return {names[7], names[8], names[9]};
    }
    bool InArchive(const std::u16string& name) {
        return HostFileSystem(m_device).FileExists(JoinPath(WorkingFolders::kArchives, name));
    }
    bool Active(const std::u16string& name) {
        return HostFileSystem(m_device).FileExists(WorkingFolders::ActiveFile(name));
    }
    // "Quick load file" from the main menu: `name`'s last and first names typed, its row
    // tapped. `during` looks at the dialogue after the tap (null: the dialogue must close).
    bool QuickLoad(const std::u16string& name,
                   const std::function<void(QWidget* dialog)>& during = {}) {
        const QString row = ToQString(QuickLoadRow(name));
        const QStringList parts = row.split(QLatin1Char(' '));
        bool closed = false;
        const bool opened = test::WithModal(
            [&] { ChooseMenu(QStringLiteral("Quick load file")); },
            [&](QWidget* dialog) {
                if (dialog->objectName() != QStringLiteral("quickLoadDialog")) return;
                if (!test::Type(*dialog, QStringLiteral("searchBox"),
                                parts.value(0).left(3) + QLatin1Char(' ') + parts.value(1))) {
                    return;
                }
                auto* rows = test::Child<QListWidget>(*dialog, QStringLiteral("rows"));
                if (!rows || !test::ClickRow(*rows, row)) return;
                if (during) during(dialog);
                closed = !dialog->isVisible();
            });
        return opened && (during || closed);
    }
    QString PatientBoxText() { return Named<QPushButton>(QStringLiteral("patientBox"))->text(); }
};

void TestWards::locationListCountsAndSwitches() {
    WriteWard();
    QVERIFY(Start());
    QCOMPARE(Selected(), QStringLiteral("All department"));
    QCOMPARE(Patients().Count(), 6);  // every patient but the closed one
    const QStringList expected{QStringLiteral("Ward A (3)"),
                               QStringLiteral("Ward B (2)"),
                               QString(57, QLatin1Char('-')),
                               QStringLiteral("All department (5)"),
                               QStringLiteral("All activated folders (7)"),
                               QStringLiteral("Closed hospitalization (1)"),
                               QStringLiteral("No location (1)")};
    QCOMPARE(LocationRows(), expected);
    test::Screenshot(*m_program->Frame(), QStringLiteral("wards-location-list"));
    // The separator selects nothing.
    QVERIFY(ChooseLocation(QString(57, QLatin1Char('-'))));
    QCOMPARE(Selected(), QStringLiteral("All department"));

    // Every selection loads what its counter counts; the counters stay after any number of
    // switches and back.
    struct Step {
        QString row;
        QString selected;
        int loaded;
    };
    const Step steps[] = {
        {QStringLiteral("Ward B (2)"), QStringLiteral("Ward B"), 2},
        {QStringLiteral("No location (1)"), QStringLiteral("No location"), 1},
        {QStringLiteral("Closed hospitalization (1)"), QStringLiteral("Closed hospitalization"), 1},
        {QStringLiteral("All activated folders (7)"), QStringLiteral("All activated folders"), 7},
        {QStringLiteral("Ward A (3)"), QStringLiteral("Ward A"), 3},
        {QStringLiteral("Ward B (2)"), QStringLiteral("Ward B"), 2},
        {QStringLiteral("All department (5)"), QStringLiteral("All department"), 6},
    };
    for (int round = 0; round < 2; ++round) {
        for (const Step& step : steps) {
            QVERIFY2(ChooseLocation(step.row), qPrintable(step.row));
            QCOMPARE(Selected(), step.selected);
            QCOMPARE(Patients().Count(), step.loaded);
            QCOMPARE(Named<QPushButton>(QStringLiteral("locationButton"))->text(), step.row);
            QCOMPARE(LocationRows(), expected);
            Named<CPopupList>(QStringLiteral("locationList"))->hide();
        }
    }
    // Closing the list without a choice keeps the selection and the patients.
    QVERIFY(Tap(QStringLiteral("locationButton")));
    QTest::keyClick(Named<CPopupList>(QStringLiteral("locationList")), Qt::Key_Escape);
    QCOMPARE(Selected(), QStringLiteral("All department"));
    QCOMPARE(Patients().Count(), 6);
}

void TestWards::locationListWaitsForHeldFiles() {
    WriteWard();
    QVERIFY(Start());
    {
        // A dialogue holding the files (the label editor, the files manager...).
        FilesHold hold(View().Active());
        QVERIFY(ChooseLocation(QStringLiteral("Ward B (2)")));
        QCOMPARE(Selected(), QStringLiteral("All department"));
        QCOMPARE(Patients().Count(), 6);
        QCOMPARE(NoticeText(), QStringLiteral("Wait for the end of the file exchange"));
    }
    View().Active().SetPendingTransfers(1);
    QVERIFY(ChooseLocation(QStringLiteral("Ward B (2)")));
    QCOMPARE(Selected(), QStringLiteral("All department"));
    View().Active().SetPendingTransfers(0);
    QVERIFY(ChooseLocation(QStringLiteral("Ward B (2)")));
    QCOMPARE(Selected(), QStringLiteral("Ward B"));
    // The server page lists the files of the patients now loaded.
    auto* handheld = Named<QTreeWidget>(QStringLiteral("handheldList"));
    QVERIFY(handheld);
    QCOMPARE(handheld->topLevelItemCount(), 2);
    QVERIFY(ChooseLocation(QStringLiteral("All activated folders (7)")));
    QCOMPARE(handheld->topLevelItemCount(), 7);
}

void TestWards::roomListPlacesMovesAndCloses() {
    WriteWard();
    QVERIFY(Start());
    QVERIFY(ChooseLocation(QStringLiteral("Ward A (3)")));
    QVERIFY(ShowPatientIn(u"101"));
    PatientRecord* patient = Patients().Current();
    const std::u16string fileName = patient->fileName;
    QVERIFY(Tap(QStringLiteral("roomSel")));
    QVERIFY(RoomList()->isVisible());
    // The rooms of ward A only, then the locations and the closing row.
    QCOMPARE(RoomList()->topLevelItemCount(), 15 + 2 + 1);
    QCOMPARE(RoomList()->topLevelItem(15)->text(0), QStringLiteral("-> Ward A"));
    QCOMPARE(RoomList()->topLevelItem(17)->text(0), QStringLiteral("-> Closed hospitalization"));
    QVERIFY(!OccupantOf(QStringLiteral("102")).isEmpty());
    QVERIFY(OccupantOf(QStringLiteral("104")).isEmpty());
    test::Screenshot(*m_program->Frame(), QStringLiteral("wards-room-list"));

    // A taken bed, the patient's own included, is refused.
    QVERIFY(PickRoom(QStringLiteral("102")));
    QCOMPARE(NoticeText(), QStringLiteral("This bed is already taken"));
    QCOMPARE(patient->Field(94), u"101");
    QVERIFY(PickRoom(QStringLiteral("101")));
    QCOMPARE(NoticeText(), QStringLiteral("This bed is already taken"));

    // A free bed: the room and its icon, the list closes.
    QVERIFY(PickRoom(QStringLiteral("114")));
    QCOMPARE(patient->Field(94), u"114");
    QCOMPARE(patient->icon, 5);
    QCOMPARE(Shown(94), QStringLiteral("114"));
    QVERIFY(!RoomList()->isVisible());
    QCOMPARE(Selected(), QStringLiteral("Ward A"));

    // Another location: saved, the view follows the patient, who is shown there with icon 0.
    QVERIFY(PickRoom(QStringLiteral("-> Ward B")));
    QCOMPARE(Selected(), QStringLiteral("Ward B"));
    QCOMPARE(Patients().Count(), 3);
    QVERIFY(Patients().Current());
    QCOMPARE(Patients().Current()->fileName, fileName);
    QCOMPARE(Patients().Current()->location, u"Ward B");
    QCOMPARE(Patients().Current()->icon, 0);
    QCOMPARE(ReadBack(fileName).location, u"Ward B");
    QCOMPARE(View().Locations().CounterOf(u"Ward A"), 2);
    QCOMPARE(View().Locations().CounterOf(u"Ward B"), 3);
    // Room 101 of ward B is held by the ward B patient, not by anyone of ward A.
    QVERIFY(Tap(QStringLiteral("roomSel")));
    QVERIFY(!OccupantOf(QStringLiteral("101")).isEmpty());
    QVERIFY(RoomList()->isVisible());

    // Closing: Cancel changes nothing.
    Boxes().QueueAnswer(BoxAnswer::Cancel);
    QVERIFY(PickRoom(QStringLiteral("-> Closed hospitalization")));
    QCOMPARE(Boxes().Shown().back().text,
             QStringLiteral("Do you really want to close the patient's hospitalization ?"));
    QCOMPARE(Boxes().Shown().back().caption, QStringLiteral("Close hospitalization ?"));
    QCOMPARE(NoticeText(), QStringLiteral("Cancel"));
    QCOMPARE(Patients().Current()->location, u"Ward B");
    QCOMPARE(Patients().Current()->exitDateSet, 0);
    // OK: the exit date is set and the patient goes to "Closed hospitalization".
    Boxes().QueueAnswer(BoxAnswer::Ok);
    QVERIFY(PickRoom(QStringLiteral("-> Closed hospitalization")));
    QCOMPARE(Selected(), QStringLiteral("Closed hospitalization"));
    QCOMPARE(Patients().Count(), 2);
    QCOMPARE(Patients().Current()->fileName, fileName);
    QCOMPARE(Patients().Current()->exitDateSet, 1);
    QCOMPARE(ReadBack(fileName).location, u"Closed hospitalization");
    QCOMPARE(View().Locations().CounterOf(u"Closed hospitalization"), 2);
    QCOMPARE(View().Locations().CounterOf(u"All department"), 4);
}

void TestWards::roomListRefusesAReadOnlyFolder() {
    WriteWard();
    QVERIFY(Start());
    QVERIFY(ChooseLocation(QStringLiteral("Ward A (3)")));
    QVERIFY(ShowPatientIn(u"101"));
    Patients().Current()->lockState = u"R";
    QVERIFY(PickRoom(QStringLiteral("110")));
    QCOMPARE(NoticeText(), QStringLiteral("Read only"));
    QCOMPARE(Patients().Current()->Field(94), u"101");
    QVERIFY(PickRoom(QStringLiteral("-> Ward B")));
    QCOMPARE(Selected(), QStringLiteral("Ward A"));
}

void TestWards::roomsEditorWritesAndRefusesCutFiles() {
    WriteWard();
    QVERIFY(Start());
    QVERIFY(ChooseLocation(QStringLiteral("Ward A (3)")));
    const std::filesystem::path rooms = Installation() / "Default rooms.roo";
    QVERIFY(test::WithModal(
        [&] { QVERIFY(Tap(QStringLiteral("roomEdit"))); },
        [&](QWidget* dialog) {
            auto* table = test::Child<QTreeWidget>(*dialog, QStringLiteral("roomsTable"));
            QVERIFY(table);
            QCOMPARE(table->topLevelItemCount(), 30);
            QCOMPARE(table->topLevelItem(0)->text(1), QStringLiteral("101"));
            QCOMPARE(table->topLevelItem(0)->text(3), QStringLiteral("00"));
            QCOMPARE(table->topLevelItem(29)->text(4), QStringLiteral("Ward B"));
            QVERIFY(test::Click(*dialog, QStringLiteral("addButton")));
            QCOMPARE(table->topLevelItemCount(), 31);
            // Refused characters never reach the name, typed or pasted.
            QVERIFY(test::Type(*dialog, QStringLiteral("roomName"), QStringLiteral("1#3|1")));
            QCOMPARE(table->topLevelItem(30)->text(1), QStringLiteral("131"));
            QVERIFY(test::Click(*dialog, QStringLiteral("selectLocation")));
            auto* choices = test::Child<QListWidget>(*dialog, QStringLiteral("locationChoices"));
            QVERIFY(choices && test::ClickRow(*choices, QStringLiteral("Ward A")));
            QCOMPARE(table->topLevelItem(30)->text(4), QStringLiteral("Ward A"));
            QVERIFY(test::Click(*dialog, QStringLiteral("upButton")));
            QCOMPARE(table->topLevelItem(29)->text(1), QStringLiteral("131"));
            test::Screenshot(*dialog, QStringLiteral("wards-rooms-editor"));
            QVERIFY(test::Click(*dialog, QStringLiteral("okButton")));
        }));
    QCOMPARE(NoticeText(), QStringLiteral("Modifications done"));
    {
        HostFileSystem files(m_device);
        RoomsFile read;
        QCOMPARE(ReadRoomsFile(files, u"\\Program files\\Pondrel\\Default rooms.roo", read),
                 RoomsReadFailure::None);
        QCOMPARE(read.rooms.size(), size_t(31));
        QCOMPARE(read.rooms[29].name, u"131");
        QCOMPARE(read.rooms[29].location, u"Ward A");
    }
    // The new room is in the room list of ward A at its rank.
    QVERIFY(Tap(QStringLiteral("roomSel")));
    QCOMPARE(RoomList()->topLevelItem(15)->text(0), QStringLiteral("131"));
    RoomList()->hide();

    // A rooms file over 200 rooms is refused whole, and OK never writes a cut list over it.
    std::vector<Room> many;
    for (int i = 0; i < 201; ++i) many.push_back(Room{ToU16(QString::number(i)), 0, i, u"Ward A"});
    {
        std::string bytes = EncodeItemText(RoomsText(many));
        std::ofstream(rooms, std::ios::binary | std::ios::trunc) << bytes;
    }
    const std::string before = [&] {
        std::ifstream in(rooms, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }();
    Boxes().QueueAnswer(BoxAnswer::Cancel);  // "Replace all its rooms ?" : no
    Boxes().QueueAnswer(BoxAnswer::Ok);      // the form reads the file again: refused
    QVERIFY(test::WithModal(
        [&] { QVERIFY(Tap(QStringLiteral("roomEdit"))); },
        [&](QWidget* dialog) {
            auto* table = test::Child<QTreeWidget>(*dialog, QStringLiteral("roomsTable"));
            QCOMPARE(table->topLevelItemCount(), 0);
            auto* refusal = test::Child<QLabel>(*dialog, QStringLiteral("roomsRefusal"));
            QVERIFY(refusal && refusal->text().contains(QStringLiteral("more than 200 rooms")));
            test::Screenshot(*dialog, QStringLiteral("wards-rooms-editor-refused"));
            QVERIFY(test::Click(*dialog, QStringLiteral("okButton")));
            QVERIFY(Boxes().Shown().back().text.contains(QStringLiteral("Replace all its rooms")));
            QVERIFY(dialog->isVisible());  // not written, still open
            QVERIFY(test::Click(*dialog, QStringLiteral("cancelButton")));
        }));
    QCOMPARE(NoticeText(), QStringLiteral("Cancel"));
    const std::string after = [&] {
        std::ifstream in(rooms, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }();
    QVERIFY(after == before);
    QVERIFY(Boxes().Shown().back().text.contains(QStringLiteral("more than 200 rooms")));
    QCOMPARE(Boxes().Shown().back().caption, QStringLiteral("Open"));
}

void TestWards::locationEditorAsksBeforeRenaming() {
    WriteWard();
    QVERIFY(Start());
    const auto open = [&] { QVERIFY(ChooseMenu(QStringLiteral("Preferences"))); };
    QVERIFY(test::WithModal(open, [&](QWidget* preferences) {
        auto* button =
            test::Child<QPushButton>(*preferences, QStringLiteral("patientsLocationButton"));
        QVERIFY(button && button->isEnabled());
        QVERIFY(test::WithModal(
            [&] { QVERIFY(test::Click(*preferences, QStringLiteral("patientsLocationButton"))); },
            [&](QWidget* dialog) {
                auto* names = test::Child<QListWidget>(*dialog, QStringLiteral("locationNames"));
                QCOMPARE(names->count(), 2);
                // A general entry and the refused characters are no names.
                QVERIFY(test::Type(*dialog, QStringLiteral("locationName"),
                                   QStringLiteral("No location")));
                Boxes().QueueAnswer(BoxAnswer::Ok);
                QVERIFY(test::Click(*dialog, QStringLiteral("addButton")));
                QCOMPARE(names->count(), 2);
                auto* name = test::Child<QLineEdit>(*dialog, QStringLiteral("locationName"));
                name->clear();
                QVERIFY(
                    test::Type(*dialog, QStringLiteral("locationName"), QStringLiteral("ICU{}#|")));
                QCOMPARE(name->text(), QStringLiteral("ICU"));
                QVERIFY(test::Click(*dialog, QStringLiteral("addButton")));
                QCOMPARE(names->count(), 3);
                // Renaming ward A, where three patients are: asked first, with the count.
                QVERIFY(test::ClickRow(*names, QStringLiteral("Ward A")));
                name->clear();
                QVERIFY(
                    test::Type(*dialog, QStringLiteral("locationName"), QStringLiteral("Cardio")));
                Boxes().QueueAnswer(BoxAnswer::Cancel);
                QVERIFY(test::Click(*dialog, QStringLiteral("renameButton")));
                QVERIFY(Boxes().Shown().back().text.startsWith(
                    QStringLiteral("3 patients are in <Ward A>")));
                QCOMPARE(names->item(0)->text(), QStringLiteral("Ward A"));
                Boxes().QueueAnswer(BoxAnswer::Ok);
                QVERIFY(test::Click(*dialog, QStringLiteral("renameButton")));
                QCOMPARE(names->item(0)->text(), QStringLiteral("Cardio"));
                test::Screenshot(*dialog, QStringLiteral("wards-location-editor"));
                QVERIFY(test::Click(*dialog, QStringLiteral("okButton")));
            }));
        QVERIFY(test::Click(*preferences, QStringLiteral("okButton")));
    }));
    QCOMPARE(View().GetPreferences().locationList, u"Cardio|Ward B|ICU|");
    // The renamed ward's patients are counted, and loaded, under "No location".
    const QStringList rows = LocationRows();
    QVERIFY2(rows.contains(QStringLiteral("Cardio (0)")), qPrintable(rows.join(u',')));
    QVERIFY(rows.contains(QStringLiteral("No location (4)")));
    QVERIFY(ChooseLocation(QStringLiteral("No location (4)")));
    QCOMPARE(Patients().Count(), 4);
}

void TestWards::patientListFollowsTheRooms() {
    WriteWard();
    QVERIFY(Start());
    QVERIFY(ChooseLocation(QStringLiteral("Ward B (2)")));
    QVERIFY(Tap(QStringLiteral("patientBox")));
    auto* list = Named<QTreeWidget>(QStringLiteral("patientList"));
    QVERIFY(list && list->isVisible());
    // Ward B's 15 rooms in order, two of them taken, then the patient of a room not in the
    // file (room 101 is ward A's).
    QCOMPARE(list->topLevelItemCount(), 15 + 1);
    QVERIFY(list->topLevelItem(0)->text(1).isEmpty() == false);
    test::Screenshot(*m_program->Frame(), QStringLiteral("wards-patient-list"));
}

void TestWards::quickLoadShowsTheArchivedPatient() {
    const std::vector<std::u16string> archived = WriteWardAndArchive();
    QCOMPARE(archived.size(), size_t(3));
    QVERIFY(Start());
    QCOMPARE(Selected(), QStringLiteral("All department"));
    QCOMPARE(Patients().Count(), 6);

    // Shown by the location selected: the file joins the set, the patient is shown.
    QVERIFY(QuickLoad(archived[0]));
    QCOMPARE(Selected(), QStringLiteral("All department"));
    QCOMPARE(Patients().Count(), 7);
    QVERIFY(Patients().Current());
    QCOMPARE(Patients().Current()->fileName, archived[0]);
    QVERIFY(Active(archived[0]) && !InArchive(archived[0]));
    const QString box = PatientBoxText();
    QVERIFY2(box.contains(ToQString(Patients().Current()->Field(2))), qPrintable(box));
    QCOMPARE(Named<QPushButton>(QStringLiteral("locationButton"))->text(),
             QStringLiteral("All department (6)"));
    QCOMPARE(Boxes().Shown().size(), size_t(0));
    test::Screenshot(*m_program->Frame(), QStringLiteral("wards-quick-loaded"));

    // Ward B selected: the patient of ward A is shown by selecting ward A.
    QVERIFY(ChooseLocation(QStringLiteral("Ward B (2)")));
    QCOMPARE(Patients().Count(), 2);
    // While a transfer with the server is pending nothing moves and the dialogue stays.
    View().Active().SetPendingTransfers(1);
    QVERIFY(QuickLoad(archived[1], [this](QWidget* dialog) {
        QVERIFY(dialog->isVisible());
        QCOMPARE(NoticeText(),
                 QStringLiteral("A transfer with the server is under way: quick load waits for it"));
    }));
    QVERIFY(InArchive(archived[1]) && !Active(archived[1]));
    QCOMPARE(Selected(), QStringLiteral("Ward B"));
    View().Active().SetPendingTransfers(0);
    View().HideNotice();

    QVERIFY(QuickLoad(archived[1]));
    QCOMPARE(Selected(), QStringLiteral("Ward A"));
    QCOMPARE(Patients().Count(), 5);
    QVERIFY(Patients().Current());
    QCOMPARE(Patients().Current()->fileName, archived[1]);
    QCOMPARE(Patients().Current()->Field(94), std::u16string(u"105"));
    QCOMPARE(Named<QPushButton>(QStringLiteral("locationButton"))->text(),
             QStringLiteral("Ward A (5)"));
    QVERIFY(PatientBoxText().contains(ToQString(Patients().Current()->Field(2))));
    QVERIFY(Active(archived[1]) && !InArchive(archived[1]));
    QCOMPARE(Boxes().Shown().size(), size_t(0));
    test::Screenshot(*m_program->Frame(), QStringLiteral("wards-quick-loaded-ward"));
    // The patient list lists it.
    QVERIFY(Tap(QStringLiteral("patientBox")));
    test::Screenshot(*m_program->Frame(), QStringLiteral("wards-quick-loaded-list"));
    QVERIFY(Tap(QStringLiteral("patientBox")));

    // A location no longer in the list: shown under "No location".
    QVERIFY(QuickLoad(archived[2]));
    QCOMPARE(Selected(), QStringLiteral("No location"));
    QCOMPARE(Patients().Count(), 2);
    QVERIFY(Patients().Current());
    QCOMPARE(Patients().Current()->fileName, archived[2]);
}

void TestWards::quickLoadOfALoadedPatientShowsIt() {
    const std::vector<std::u16string> archived = WriteWardAndArchive();
    QCOMPARE(archived.size(), size_t(3));
    QVERIFY(Start());
    // An archived copy of a patient loaded, who is not the one on screen.
    QVERIFY(Patients().Count() > 1);
    const int other = Patients().CurrentIndex() == 0 ? 1 : 0;
    const std::u16string loaded = Patients().At(other)->fileName;
    HostFileSystem files(m_device);
    std::string bytes;
    QVERIFY(files.ReadFile(WorkingFolders::ActiveFile(loaded), 1000000, bytes));
    QVERIFY(files.WriteFile(JoinPath(WorkingFolders::kArchives, loaded), bytes));
    const int count = Patients().Count();

    QVERIFY(QuickLoad(loaded));
    QCOMPARE(Patients().Count(), count);
    QCOMPARE(Patients().CurrentIndex(), other);
    QVERIFY(PatientBoxText().contains(ToQString(Patients().At(other)->Field(2))));
    // Nothing moved, nothing asked.
    QVERIFY(InArchive(loaded) && Active(loaded));
    QCOMPARE(Boxes().Shown().size(), size_t(0));
}

}  // namespace pondrel

QTEST_MAIN(pondrel::TestWards)
#include "TestWards.moc"
