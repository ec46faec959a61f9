#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "TestPlatform.h"
#include "records/ActivePatients.h"
#include "records/ItemEncoding.h"
#include "records/LocationList.h"
#include "records/LocationSwitch.h"
#include "records/PatientFileWriter.h"
#include "records/PatientRecord.h"
#include "records/PatientSet.h"
#include "records/PlaceEditors.h"
#include "records/RoomList.h"
#include "records/RoomsFile.h"

namespace pondrel::test {
namespace {

const std::u16string kCent(1, kItemEnd);

std::u16string RoomItems(std::u16string_view name, int icon, std::u16string_view rank,
                         std::u16string_view location) {
    return std::u16string(name) + kCent + ToText(icon) + kCent + std::u16string(rank) + kCent +
           std::u16string(location) + kCent;
}

std::u16string ManyRooms(int count) {
    std::u16string text = u"v3.5#";
    for (int i = 0; i < count; ++i) text += RoomItems(ToText(i), 0, RankText(i), u"Ward A");
    return text;
}

// --- Rooms files -----------------------------------------------------------------------------

TEST(RoomsFileTest, FileOfTheEditorRoundTripsByteForByte) {
    MemoryFileSystem files;
    const std::vector<Room> rooms = FactoryRooms();
    ASSERT_EQ(rooms.size(), 30u);
    ASSERT_TRUE(WriteRoomsFile(files, u"\\Default rooms.roo", rooms));
    RoomsFile read;
    ASSERT_EQ(ReadRoomsFile(files, u"\\Default rooms.roo", read), RoomsReadFailure::None);
    EXPECT_EQ(read.versionMark, u"v3.5");
    EXPECT_EQ(read.rooms, rooms);
    ASSERT_TRUE(WriteRoomsFile(files, u"\\Again.roo", read.rooms));
    EXPECT_EQ(files.Bytes(u"\\Again.roo"), files.Bytes(u"\\Default rooms.roo"));
    // Ranks are written with two digits at least.
    EXPECT_NE(DecodeItemText(*files.Bytes(u"\\Again.roo")).find(u"07" + kCent), std::u16string::npos);
}

TEST(RoomsFileTest, OldFilesWithoutMarkHaveThreeItemsAndNoLocation) {
    RoomsFile read;
    const std::u16string text =
        u"12" + kCent + u"3" + kCent + u"00" + kCent + u"14" + kCent + u"0" + kCent + u"01" + kCent;
    ASSERT_EQ(ParseRoomsText(text, read), RoomsReadFailure::None);
    EXPECT_EQ(read.versionMark, u"");
    ASSERT_EQ(read.rooms.size(), 2u);
    EXPECT_EQ(read.rooms[0], (Room{u"12", 3, 0, u""}));
    EXPECT_EQ(read.rooms[1], (Room{u"14", 0, 1, u""}));
    // A "#" beyond position 5 is no mark; an incomplete last room keeps its name.
    ASSERT_EQ(ParseRoomsText(u"Bed 101#b" + kCent + u"1", read), RoomsReadFailure::None);
    EXPECT_EQ(read.versionMark, u"");
    ASSERT_EQ(read.rooms.size(), 1u);
    EXPECT_EQ(read.rooms[0].name, u"Bed 101#b");
    EXPECT_EQ(read.rooms[0].icon, 1);
}

TEST(RoomsFileTest, OversizedFilesAreRefusedWholeAndNeverWritten) {
    MemoryFileSystem files;
    RoomsFile read;
    read.rooms = {Room{u"kept", 1, 0, u"Ward A"}};

    files.AddFile(u"\\200.roo", EncodeItemText(ManyRooms(200)));
    EXPECT_EQ(ReadRoomsFile(files, u"\\200.roo", read), RoomsReadFailure::None);
    EXPECT_EQ(read.rooms.size(), 200u);

    read.rooms = {Room{u"kept", 1, 0, u"Ward A"}};
    files.AddFile(u"\\201.roo", EncodeItemText(ManyRooms(201)));
    EXPECT_EQ(ReadRoomsFile(files, u"\\201.roo", read), RoomsReadFailure::TooManyRooms);
    ASSERT_EQ(read.rooms.size(), 1u);  // untouched
    EXPECT_NE(RoomsReadMessage(RoomsReadFailure::TooManyRooms, u"\\201.roo").find(u"200 rooms"),
              std::u16string::npos);

    // 100 001 bytes (an odd size: padding after a valid text) and exactly 100 000 bytes.
    std::string big = EncodeItemText(ManyRooms(3));
    big.resize(100001, '\0');
    files.AddFile(u"\\big.roo", big);
    EXPECT_EQ(ReadRoomsFile(files, u"\\big.roo", read), RoomsReadFailure::TooBig);
    EXPECT_EQ(read.rooms.size(), 1u);
    big.resize(100000);
    files.AddFile(u"\\limit.roo", big);
    EXPECT_EQ(ReadRoomsFile(files, u"\\limit.roo", read), RoomsReadFailure::None);

    EXPECT_EQ(ReadRoomsFile(files, u"\\none.roo", read), RoomsReadFailure::CannotOpen);
    EXPECT_EQ(RoomsReadMessage(RoomsReadFailure::CannotOpen, u"\\none.roo"),
              u"The file <\\none.roo> can not be opened.");

    // The writer never produces what the reader would refuse.
    std::vector<Room> tooMany(201, Room{u"r", 0, 0, u"Ward A"});
    EXPECT_FALSE(WriteRoomsFile(files, u"\\out.roo", tooMany));
    std::vector<Room> tooLong(200, Room{std::u16string(260, u'x'), 0, 0, u"Ward A"});
    EXPECT_FALSE(WriteRoomsFile(files, u"\\out.roo", tooLong));
    EXPECT_FALSE(files.Bytes(u"\\out.roo").has_value());
}

// --- Room list and occupancy -----------------------------------------------------------------

class RoomListTest : public ::testing::Test {
protected:
    PatientRecord& Patient(std::u16string last, std::u16string room, std::u16string location) {
        PatientRecord& r = set.AddNew();
        r.inUse = 1;
        r.SetField(2, std::move(last));
        r.SetField(3, u"Anna");
        r.SetField(6, u"1950");
        r.SetField(94, std::move(room));
        r.location = std::move(location);
        return r;
    }

    FixedClock clock;
    PatientSet set{clock};
    LocationList locations;
    std::vector<Room> rooms{{u"12", 1, 0, u"Ward A"},
                            {u"12", 2, 1, u"Ward B"},
                            {u"14", 3, 2, u"Ward B"},
                            {u"Old", 4, 3, u""}};
};

TEST_F(RoomListTest, SameRoomNameInTwoLocationsIsTakenOnlyWhereThePatientIs) {
    locations.SetNamesText(u"Ward A|Ward B|");
    Patient(u"Smith", u"12", u"ward a");  // names compare ignoring case
    std::vector<RoomListRow> rows = BuildRoomList(rooms, locations);  // All department
    ASSERT_EQ(rows.size(), 4u + 3u);
    FillOccupants(rows, set, [](const PatientRecord&) { return std::u16string(u"Mrs"); });
    EXPECT_EQ(rows[0].occupant, u"Mrs Smith A  1950");
    EXPECT_EQ(rows[1].occupant, u"");  // room 12 of ward B is free
    EXPECT_EQ(DecideRoomPick(rows, 0), RoomPick::Taken);
    EXPECT_EQ(DecideRoomPick(rows, 1), RoomPick::Place);
    EXPECT_EQ(rows[4].name, u"-> Ward A");
    EXPECT_EQ(rows[4].iconNumber, u"27");
    EXPECT_EQ(rows[6].name, u"-> Closed hospitalization");
    EXPECT_EQ(rows[6].iconNumber, u"0");
    EXPECT_EQ(DecideRoomPick(rows, 6), RoomPick::Close);
    EXPECT_EQ(DecideRoomPick(rows, 7), RoomPick::Nothing);
}

TEST_F(RoomListTest, RowsFollowTheSelectedLocation) {
    locations.SetNamesText(u"Ward A|Ward B|");
    locations.Select(u"Ward B");
    std::vector<RoomListRow> rows = BuildRoomList(rooms, locations);
    ASSERT_EQ(rows.size(), 2u + 3u);
    EXPECT_EQ(rows[0].location, u"Ward B");
    EXPECT_EQ(rows[1].name, u"14");
    locations.Select(std::u16string(kNoLocation));
    rows = BuildRoomList(rooms, locations);
    ASSERT_EQ(rows.size(), 1u + 3u);
    EXPECT_EQ(rows[0].name, u"Old");
}

TEST_F(RoomListTest, PlacingMovesOrClosesAndKeepsAnExitDateAlreadySet) {
    locations.SetNamesText(u"Ward A|Ward B|");
    PatientRecord& r = Patient(u"Smith", u"12", u"Ward A");
    std::vector<RoomListRow> rows = BuildRoomList(rooms, locations);
    const DateTime now{2026, 12, 10, 1, 0, 0};
    PlaceInRoom(r, rows[2], now);
    EXPECT_EQ(r.Field(94), u"14");
    EXPECT_EQ(r.icon, 3);
    EXPECT_EQ(r.location, u"Ward B");
    PlaceInRoom(r, rows[3], now);  // a room without location keeps the ward
    EXPECT_EQ(r.location, u"Ward B");
    PlaceInRoom(r, rows[4], now);  // "-> Ward A"
    EXPECT_EQ(r.Field(94), u"Ward A");
    EXPECT_EQ(r.location, u"Ward A");
    EXPECT_EQ(r.icon, 27);
    r.exitDateSet = 1;
    r.exit = DateTime{2026, 12, 1, 8, 0, 0};
    PlaceInRoom(r, rows.back(), now);
    EXPECT_EQ(r.location, u"Closed hospitalization");
    EXPECT_EQ(r.exit, (DateTime{2026, 12, 1, 8, 0, 0}));
    r.exitDateSet = 0;
    PlaceInRoom(r, rows.back(), now);
    EXPECT_EQ(r.exit, now);
    EXPECT_EQ(r.exitDateSet, 1);
}

// --- Location list ---------------------------------------------------------------------------

TEST(LocationRowsTest, RowsCountersAndNames) {
    LocationList list;
    list.SetNamesText(u"Cardio A|Cardio B|");
    for (auto location : {u"Cardio A", u"Cardio A", u"Closed hospitalization", u"Gone", u""}) {
        list.CountPatient(location);
    }
    const auto rows = list.ListRows();
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0].text, u"Cardio A (2)");
    EXPECT_EQ(rows[0].selection, u"Cardio A");
    EXPECT_EQ(rows[2].text, std::u16string(57, u'-'));
    EXPECT_EQ(rows[2].selection, u"");
    EXPECT_EQ(rows[3].text, u"All department (2)");
    EXPECT_EQ(rows[4].text, u"All activated folders (5)");
    EXPECT_EQ(rows[5].text, u"Closed hospitalization (1)");
    EXPECT_EQ(rows[6].text, u"No location (2)");
    EXPECT_EQ(rows[6].selection, u"No location");

    // "No location" loads what it counts: empty and unknown (renamed, deleted) locations.
    list.Select(std::u16string(kNoLocation));
    EXPECT_TRUE(list.ShouldLoad(u""));
    EXPECT_TRUE(list.ShouldLoad(u"Gone"));
    EXPECT_TRUE(list.ShouldLoad(u"No location"));
    EXPECT_FALSE(list.ShouldLoad(u"Cardio A"));
    EXPECT_FALSE(list.ShouldLoad(u"Closed hospitalization"));

    EXPECT_EQ(LocationNameRefusal(u"Cardio C"), u"");
    EXPECT_NE(LocationNameRefusal(u"all DEPARTMENT"), u"");
    EXPECT_NE(LocationNameRefusal(u"XX No location XX"), u"");
    EXPECT_NE(LocationNameRefusal(u"   "), u"");
    for (char16_t c : std::u16string(u"\u00A2{}|\u00A6\u00A7\u00AC#")) {
        EXPECT_NE(LocationNameRefusal(u"A" + std::u16string(1, c)), u"") << int(c);
        EXPECT_NE(RoomNameRefusal(std::u16string(1, c) + u"12"), u"") << int(c);
    }
    EXPECT_EQ(WithoutRefusedPlaceCharacters(u"Ca{rd}io|#A"), u"CardioA");
}

TEST(LocationEditingTest, EditorRules) {
    LocationEditing edit({u"A", u"B"});
    EXPECT_EQ(edit.Rename(u"X"), u"Select first the item to rename in the list");
    EXPECT_EQ(edit.Delete(), u"Select first the item to delete in the list");
    EXPECT_EQ(edit.Up(), u"Select first the item to move in the list");
    EXPECT_EQ(edit.Add(u"C  "), u"");
    EXPECT_EQ(edit.Selected(), 2);
    EXPECT_EQ(edit.Down(), u"The item is already at the bottom of the list");
    EXPECT_EQ(edit.Up(), u"");
    EXPECT_EQ(edit.Text(), u"A|C|B|");
    EXPECT_EQ(edit.Add(u"a"), u"");  // already there
    EXPECT_EQ(edit.Names().size(), 3u);
    EXPECT_NE(edit.Add(u"No location"), u"");
    edit.Select(0);
    EXPECT_EQ(edit.Up(), u"The item is already at the top of the list");
    EXPECT_EQ(edit.Rename(u"Z"), u"");
    EXPECT_EQ(edit.Delete(), u"");
    EXPECT_EQ(edit.Selected(), 0);
    EXPECT_EQ(edit.Text(), u"C|B|");
    LocationList counted;
    counted.SetNamesText(u"C|B|");
    counted.CountPatient(u"C");
    counted.CountPatient(u"C");
    EXPECT_EQ(edit.QuestionBeforeChange(counted, true),
              u"2 patients are in <C>. Delete the location anyway ? Their folders keep the old "
              u"name and are shown under \"No location\".");
    edit.Select(1);
    EXPECT_EQ(edit.QuestionBeforeChange(counted, false), u"");
    LocationEditing full({});
    for (int i = 0; i < 50; ++i) EXPECT_EQ(full.Add(ToText(i)), u"");
    EXPECT_EQ(full.Add(u"one more"), u"Max 50 items in the list");
}

TEST(RoomsEditingTest, RanksFollowAddDeleteAndMoves) {
    RoomsEditing edit({{u"b", 0, 1, u""}, {u"a", 0, 0, u""}});
    EXPECT_EQ(edit.Rooms()[0].name, u"a");  // sorted by rank
    EXPECT_EQ(edit.Add(), u"");
    EXPECT_EQ(edit.Selected(), 2);
    EXPECT_EQ(edit.Rooms()[2].rank, 2);
    EXPECT_EQ(edit.SetName(u"c"), u"");
    EXPECT_NE(edit.SetName(u"c|d"), u"");
    EXPECT_EQ(edit.Rooms()[2].name, u"c");
    edit.SetIcon(7);
    edit.Up();
    EXPECT_EQ(edit.Selected(), 1);
    EXPECT_EQ(edit.Rooms()[1].name, u"c");
    EXPECT_EQ(edit.Rooms()[1].icon, 7);
    edit.Select(0);
    edit.Delete();
    ASSERT_EQ(edit.Rooms().size(), 2u);
    EXPECT_EQ(edit.Rooms()[0].name, u"c");
    EXPECT_EQ(edit.Rooms()[0].rank, 0);
    EXPECT_EQ(edit.Rooms()[1].rank, 1);
}

// --- Switching location ----------------------------------------------------------------------

std::u16string PatientText(int n, const std::u16string& location) {
    PatientRecord r;
    r.inUse = 1;
    const std::u16string last = u"P" + ToText(n);
    for (auto [f, v] : {std::pair{2, last}, {3, std::u16string(u"A")}, {4, std::u16string(u"1")},
                        {5, std::u16string(u"2")}, {6, std::u16string(u"1950")}, {120, last},
                        {121, std::u16string(u"A")}, {122, std::u16string(u"1")},
                        {123, std::u16string(u"2")}, {124, std::u16string(u"1950")}}) {
        r.SetField(f, v);
    }
    r.subfolderType = u"Hosp";
    r.location = location;
    return ComposePatientText(r, SubfolderKeyOf(r));
}

class LocationSwitchTest : public ::testing::Test {
protected:
    LocationSwitchTest() {
        t.files.AddFolder(WorkingFolders::kActivePatients);
        t.files.AddFolder(WorkingFolders::kArchives);
        t.files.AddFolder(folders.Backup());
        locations.SetNamesText(u"Ward A|Ward B|");
    }
    void Put(int n, const std::u16string& location) {
        t.files.AddFile(WorkingFolders::ActiveFile(u"P" + ToText(n) + u"_A_1950.pdr"),
                        EncodeItemText(PatientText(n, location)));
        fileLocations[n] = location;
    }
    // The model: counters and loaded patients computed from the files' locations alone.
    void ExpectMatchesModel() {
        LocationList model;
        model.SetNamesText(locations.NamesText());
        model.Select(locations.Selected());
        int loaded = 0;
        for (const auto& [n, location] : fileLocations) {
            model.CountPatient(location);
            if (model.ShouldLoad(location)) ++loaded;
        }
        EXPECT_EQ(locations.Counters(), model.Counters()) << U8(locations.Selected());
        int inUse = 0;
        for (int i = 0; i < set.Count(); ++i) {
            if (set.At(i)->inUse == 1) {
                ++inUse;
                EXPECT_TRUE(model.ShouldLoad(set.At(i)->location));
            }
        }
        EXPECT_EQ(inUse, loaded) << U8(locations.Selected());
    }

    TestPlatform t;
    WorkingFolders folders;
    PatientSet set{t.clock};
    LocationList locations;
    ActivePatients active{t.files, t.messages, t.timers, folders, set, locations};
    std::map<int, std::u16string> fileLocations;
};

TEST_F(LocationSwitchTest, CountersAndLoadedPatientsMatchTheModelAfterManySwitches) {
    const std::vector<std::u16string> kinds{u"Ward A", u"Ward B", u"", u"Closed hospitalization",
                                            u"Renamed ward", u"No location"};
    std::mt19937 random(7);
    for (int n = 0; n < 40; ++n) Put(n, kinds[random() % kinds.size()]);
    active.LoadActivePatients();
    ExpectMatchesModel();
    const std::vector<std::u16string> choices{u"Ward A", u"Ward B", u"All department",
                                              u"All activated folders",
                                              u"Closed hospitalization", u"No location"};
    for (int step = 0; step < 30; ++step) {
        const std::u16string& choice = choices[random() % choices.size()];
        const std::u16string before = locations.Selected();
        const LocationSwitch result = ChangeLocation(choice, active, set, locations, t.messages);
        EXPECT_EQ(result, choice == before ? LocationSwitch::Unchanged : LocationSwitch::Switched);
        EXPECT_EQ(locations.Selected(), choice);
        ExpectMatchesModel();
    }
}

TEST_F(LocationSwitchTest, CancelAfterAFailedSaveKeepsThePreviousLocationAndPatients) {
    Put(1, u"Ward A");
    Put(2, u"Ward B");
    locations.Select(u"Ward A");
    active.LoadActivePatients();
    ASSERT_EQ(set.Count(), 1);
    set.At(0)->SetField(7, u"70");  // a change to save
    t.files.Fail(MemoryFileSystem::Op::Write, u"P1_A");
    t.messages.Queue(BoxAnswer::Cancel);
    EXPECT_EQ(ChangeLocation(u"Ward B", active, set, locations, t.messages),
              LocationSwitch::Kept);
    EXPECT_EQ(locations.Selected(), u"Ward A");
    ASSERT_EQ(set.Count(), 1);
    EXPECT_EQ(set.At(0)->Field(2), u"P1");
    EXPECT_EQ(set.At(0)->Field(7), u"70");  // the typing is still there
    ASSERT_FALSE(t.messages.boxes.empty());
    EXPECT_EQ(t.messages.boxes.back().caption, u"Close without saving all?");
}

TEST_F(LocationSwitchTest, NoSwitchWhileFilesAreExchanged) {
    Put(1, u"Ward A");
    active.LoadActivePatients();
    active.SetPendingTransfers(1);
    EXPECT_EQ(ChangeLocation(u"Ward B", active, set, locations, t.messages),
              LocationSwitch::Waiting);
    active.SetPendingTransfers(0);
    active.HoldFiles();
    EXPECT_EQ(ChangeLocation(u"Ward B", active, set, locations, t.messages),
              LocationSwitch::Waiting);
    active.ReleaseFiles();
    bool held = true;
    int rebuilt = 0;
    LocationSwitchHooks hooks{[&] { return held; }, [&] { ++rebuilt; }};
    EXPECT_EQ(ChangeLocation(u"Ward B", active, set, locations, t.messages, hooks),
              LocationSwitch::Waiting);
    EXPECT_EQ(locations.Selected(), u"All department");
    held = false;
    EXPECT_EQ(ChangeLocation(u"Ward B", active, set, locations, t.messages, hooks),
              LocationSwitch::Switched);
    EXPECT_EQ(rebuilt, 1);
}

}  // namespace
}  // namespace pondrel::test
