// pondrel-tool rooms, locations and ward: the rooms of a file, the counters of a device and the
// patients of a location in room order, read by the program's own code.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "ToolTestSupport.h"
#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "records/ItemEncoding.h"
#include "records/PatientFileWriter.h"
#include "records/PatientRecord.h"
#include "records/RoomsFile.h"
#include "settings/Preferences.h"
#include "settings/PreferencesFile.h"

namespace pondrel {
namespace {

namespace fs = std::filesystem;

class RoomsCommandsTest : public ::testing::Test {
protected:
    int Tool(const std::vector<std::string>& args) {
        test::ToolRun run = test::RunTool(args);
        out = run.out;
        err = run.err;
        return run.status;
    }
    void PutPatient(const std::string& file, const std::u16string& last,
                    const std::u16string& room, const std::u16string& location) {
        PatientRecord r = test::SamplePatient();
        r.SetField(2, last);
        r.SetField(120, last);
        r.SetField(94, room);
        r.location = location;
        test::Put(device / "My Documents" / "PD_ActivePatients" / file,
                  EncodeItemText(ComposePatientText(r, SubfolderKeyOf(r))));
    }

    test::TempFolder temp{"pondrel-rooms-tool"};
    const fs::path device = temp.Path() / "device";
    std::string out;
    std::string err;
};

TEST_F(RoomsCommandsTest, RoomsPrintsTheFactoryFileAndRefusesOversizedFiles) {
    ASSERT_EQ(Tool({"rooms", PONDREL_RESOURCES_DIR "/Default rooms.roo"}), 0) << err;
    std::string expected = "version=v3.5\n";
    for (const Room& room : FactoryRooms()) {
        expected += "room=" + ToUtf8(room.name) + "|" + std::to_string(room.icon) + "|" +
                    ToUtf8(RankText(room.rank)) + "|" + ToUtf8(room.location) + "\n";
    }
    EXPECT_EQ(out, expected);

    std::u16string text = u"v3.5#";
    for (int i = 0; i < 201; ++i) {
        text += ToText(i) + u"\u00A20\u00A2" + RankText(i) + u"\u00A2Ward A\u00A2";
    }
    test::Put(temp.Path() / "many.roo", EncodeItemText(text));
    EXPECT_EQ(Tool({"rooms", (temp.Path() / "many.roo").string()}), 1);
    EXPECT_EQ(out, "");
    EXPECT_NE(err.find("more than 200 rooms"), std::string::npos) << err;
}

TEST_F(RoomsCommandsTest, LocationsAndWardFollowTheProgramsFilterAndRoomOrder) {
    ASSERT_EQ(Tool({"init-device", device.string()}), 0) << err;
    HostFileSystem files(device);
    const std::u16string prefsPath = u"\\Program files\\Pondrel\\Preferences.pre";
    Preferences preferences;
    ASSERT_TRUE(ReadPreferencesFile(files, prefsPath, preferences).has_value());
    preferences.locationList = u"Ward A|Ward B|";
    preferences.selectedLocation = u"Ward A";
    ASSERT_TRUE(WritePreferencesFile(files, prefsPath, preferences));
    PutPatient("A1_Z_1950.pdr", u"Able", u"103", u"Ward A");
    PutPatient("A2_Z_1950.pdr", u"Baker", u"101", u"Ward A");
    // Room 116 belongs to ward B: a ward A patient there does not take it.
    PutPatient("A3_Z_1950.pdr", u"Carter", u"116", u"Ward A");
    PutPatient("B1_Z_1950.pdr", u"Dane", u"117", u"Ward B");
    PutPatient("G1_Z_1950.pdr", u"Eves", u"9", u"Gone ward");
    PutPatient("C1_Z_1950.pdr", u"Ford", u"", u"Closed hospitalization");

    ASSERT_EQ(Tool({"locations", device.string()}), 0) << err;
    EXPECT_EQ(out,
              "location=Ward A|3\nlocation=Ward B|1\nlocation=All department|4\n"
              "location=All activated folders|6\nlocation=Closed hospitalization|1\n"
              "location=No location|1\n");

    ASSERT_EQ(Tool({"ward", device.string()}), 0) << err;  // the saved selection: ward A
    const std::string wardA = out;
    EXPECT_EQ(wardA.substr(0, wardA.find("empty=")),
              "patient=A2_Z_1950.pdr|Baker|Zoë|101|Ward A\n"
              "patient=A1_Z_1950.pdr|Able|Zoë|103|Ward A\n"
              "patient=A3_Z_1950.pdr|Carter|Zoë|116|Ward A\n");
    EXPECT_NE(wardA.find("empty=102|Ward A\n"), std::string::npos);
    EXPECT_EQ(wardA.find("empty=101|"), std::string::npos);
    EXPECT_EQ(wardA.find("Ward B"), std::string::npos);

    ASSERT_EQ(Tool({"ward", device.string(), "--location", "Ward B"}), 0) << err;
    EXPECT_EQ(out.substr(0, out.find("empty=")), "patient=B1_Z_1950.pdr|Dane|Zoë|117|Ward B\n");
    EXPECT_NE(out.find("empty=116|Ward B\n"), std::string::npos);

    ASSERT_EQ(Tool({"ward", device.string(), "--location", "No location"}), 0) << err;
    EXPECT_EQ(out, "patient=G1_Z_1950.pdr|Eves|Zoë|9|Gone ward\n");
}

}  // namespace
}  // namespace pondrel
