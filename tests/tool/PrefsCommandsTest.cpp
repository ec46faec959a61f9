#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "ToolTestSupport.h"
#include "records/ItemEncoding.h"
#include "settings/FactoryPreferences.h"
#include "settings/Preferences.h"
#include "settings/PreferencesFile.h"
#include "settings/PreferencesWriter.h"

namespace pondrel {
namespace {

namespace fs = std::filesystem;
using test::Slurp;
using test::ToolRun;

class PrefsCommandsTest : public ::testing::Test {
protected:
    ToolRun Tool(const std::vector<std::string>& args) { return test::RunTool(args); }
    std::string In(const std::string& name) const { return (dir / name).string(); }
    void Put(const std::string& name, const std::u16string& text) const {
        test::Put(dir / name, EncodeItemText(text));
    }

    test::TempFolder temp{"pondrel-prefs"};
    const fs::path dir = temp.Path();
};

TEST_F(PrefsCommandsTest, DefaultWritesTheFactoryFile) {
    ASSERT_EQ(Tool({"prefs-default", In("p.pre")}).status, 0);
    EXPECT_EQ(Slurp(dir / "p.pre"), EncodePreferences(FactoryPreferences()));
    EXPECT_EQ(Slurp(dir / "p.pre"), Slurp(PONDREL_RESOURCES_DIR "/Preferences.pre"));
}

TEST_F(PrefsCommandsTest, ListingNamesEveryValueInOrderWithEscapes) {
    Preferences p;
    p.wireless.userName = u"Dr \\ Wilmer";
    p.examTitles = u"Leu,WBC|\r\nHb|";
    p.selectedLocation = u"Cardio \u00E9";
    MailRow row;
    row.columns[MailRow::kPeer] = u"Anna";
    row.columns[MailRow::kState] = u"Closed mail";
    p.inbox.push_back(row);
    Put("p.pre", PreferencesWriter::Compose(p));
    ToolRun run = Tool({"prefs", In("p.pre")});
    ASSERT_EQ(run.status, 0);
    EXPECT_TRUE(
        run.out.starts_with("version=v40\ncolumnWidths=44,90,40,100,90,40,40,40,40,40,40,"
                            "40,40,80,80\ncolumnOrder=0,1,2,3,4,5,6,7,8,9,10,11,12,13,14\n"));
    EXPECT_NE(run.out.find("\nwireless.userName=Dr \\\\ Wilmer\n"), std::string::npos);
    EXPECT_NE(run.out.find("\nexamTitles=Leu,WBC|\\r\\nHb|\n"), std::string::npos);
    EXPECT_NE(run.out.find("\nselectedLocation=Cardio \xC3\xA9\n"), std::string::npos);
    EXPECT_NE(run.out.find("\ninbox.count=1\ninbox.1=Anna\xC2\xA2\xC2\xA2"
                           "Closed mail"),
              std::string::npos);
    EXPECT_NE(run.out.find("\ninbox.1.icon=4\noutbox.count=0\n"), std::string::npos);
    EXPECT_TRUE(run.out.ends_with("\nnewFolderType=0\nageOnSummaries=0\n"
                                  "wireless.encrypted=0\nwireless.certificateFile=\n"
                                  "freeFieldDrawings=1,1\n"));
    EXPECT_LT(run.out.find("\nfield.229="), run.out.find("\npage.0.aFlag="));
}

TEST_F(PrefsCommandsTest, ResaveGivesTheSameBytesAndConvertsOlderFiles) {
    Preferences p;
    p.bigSummary[0].description = u"\u00A2F61#";
    p.general.autoSaveInterval = 4;
    Put("p.pre", PreferencesWriter::Compose(p));
    ASSERT_EQ(Tool({"prefs-resave", In("p.pre"), In("q.pre")}).status, 0);
    EXPECT_EQ(Slurp(dir / "q.pre"), Slurp(dir / "p.pre"));

    Put("old.pre", u"v3.5#1,2,3,\u00A2");
    EXPECT_EQ(Tool({"prefs-resave", In("old.pre"), In("new.pre")}).status, 1);
    ToolRun listing = Tool({"prefs", In("new.pre")});
    EXPECT_EQ(listing.status, 0);
    EXPECT_NE(listing.out.find("columnWidths=1,2,3,100,"), std::string::npos);
}

TEST_F(PrefsCommandsTest, RefusalsAndDamage) {
    EXPECT_EQ(Tool({"prefs", In("missing.pre")}).status, 1);
    EXPECT_EQ(Tool({"prefs"}).status, 2);
    EXPECT_EQ(Tool({"prefs-resave", In("p.pre")}).status, 2);

    Put("new.pre", u"v41#1,2,\u00A2");
    EXPECT_EQ(Tool({"prefs", In("new.pre")}).status, 1);
    EXPECT_EQ(Tool({"prefs-resave", In("new.pre"), In("out.pre")}).status, 1);
    EXPECT_FALSE(fs::exists(dir / "out.pre"));

    Put("cut.pre", u"v40#10,20,\u00A2");
    ToolRun cut = Tool({"prefs", In("cut.pre")});
    EXPECT_EQ(cut.status, 1);  // listed, but incomplete
    EXPECT_NE(cut.out.find("columnWidths=10,20,40,100,"), std::string::npos);
}

}  // namespace
}  // namespace pondrel
