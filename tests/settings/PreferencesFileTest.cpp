#include <gtest/gtest.h>

#include "PreferencesSamples.h"
#include "TestPlatform.h"
#include "records/ItemEncoding.h"
#include "records/WorkingFolders.h"
#include "settings/PreferencesFile.h"
#include "settings/PreferencesWriter.h"

namespace pondrel {
namespace {

using test::MemoryFileSystem;
using test::RichPreferences;

class PreferencesFileTest : public ::testing::Test {
protected:
    std::u16string Path() const { return folders.InstallationFile(u"Preferences.pre"); }
    void Store(const std::u16string& text) { env.files.AddFile(Path(), EncodeItemText(text)); }
    PreferencesLoad Load() { return LoadPreferences(env.files, env.messages, folders, prefs, &result); }

    test::TestPlatform env;
    WorkingFolders folders;
    Preferences prefs;
    PreferencesReadResult result;
};

TEST_F(PreferencesFileTest, MissingFileQuitsWithItsMessage) {
    EXPECT_EQ(Load(), PreferencesLoad::QuitProgram);
    ASSERT_EQ(env.messages.boxes.size(), 1u);
    EXPECT_EQ(env.messages.boxes[0].text,
              u"A file can not be found. Be sure that the file <Preferences.pre> exist.");
    EXPECT_EQ(env.files.FileCount(), 0u);
}

TEST_F(PreferencesFileTest, UnreadableFileQuitsToo) {
    Store(PreferencesWriter::Compose(Preferences{}));
    env.files.Fail(MemoryFileSystem::Op::Read, u"Preferences.pre");
    EXPECT_EQ(Load(), PreferencesLoad::QuitProgram);
    ASSERT_EQ(env.messages.boxes.size(), 1u);
}

TEST_F(PreferencesFileTest, NewerVersionQuitsWithItsMessageAndKeepsTheFile) {
    std::u16string text = PreferencesWriter::Compose(RichPreferences());
    text.replace(0, 3, u"v41");
    Store(text);
    EXPECT_EQ(Load(), PreferencesLoad::QuitProgram);
    ASSERT_EQ(env.messages.boxes.size(), 1u);
    EXPECT_EQ(env.messages.boxes[0].text,
              u"The file <Preferences.pre> can not be loaded because it's a more recent version "
              u"than the current one! Upgrade again to a most recent version.Then start again the "
              u"software");
    EXPECT_EQ(env.messages.boxes[0].caption, u"File load failure");
    EXPECT_EQ(env.messages.boxes[0].icon, BoxIcon::Error);
    EXPECT_TRUE(prefs == Preferences{});
    EXPECT_EQ(env.files.FileCount(), 1u);
}

TEST_F(PreferencesFileTest, CompleteFileIsReadAndTheStartCounted) {
    Preferences rich = RichPreferences();
    Store(PreferencesWriter::Compose(rich));
    prefs.wireless.userName = u"left over";
    EXPECT_EQ(Load(), PreferencesLoad::Complete);
    EXPECT_TRUE(env.messages.boxes.empty());
    rich.startCount += 1;
    EXPECT_TRUE(prefs == rich);
    EXPECT_EQ(env.files.FileCount(), 1u);  // no copy of a good file
}

TEST_F(PreferencesFileTest, MissingSectionsShowTheirMessages) {
    struct Case {
        std::u16string_view marker;
        std::u16string text;
        std::u16string caption;
    };
    const Case cases[] = {
        {u"\u00A2DessinImage\u00A2", u"Error while loading <DessinImage> preferences section", u"Error"},
        {u"\u00A2PatientCustom\u00A2", u"Error while loading <PatientCustom> preferences section", u"Error"},
        {u"Outbox=", u"Error while loading <Outbox mails> preferences section", u"Error"},
        {u"SentItems=", u"Error while loading <SentItems mails> preferences section", u"Error"},
        {u"ActiveFiles=", u"Error while loading <Active Files> preferences section", u"Error"},
        {u"ServerFiles=", u"Error while loading <Server Files> preferences section", u"Error"},
        {u"OtherSocket=", u"Error while loading <OtherSocket> preferences section", u"Error"},
        {u"\u00A2CEdit Rect\u00A2",
         u"While loading, the <CEdit Rect> preferences section was not found. This error is normal "
         u"if you've just upgrade to the version 3.0.",
         u"A section was not found"},
        {u"\u00A2Other\u00A2", u"While loading, the <Other> preferences section was not found.",
         u"A section was not found"},
    };
    const std::u16string text = PreferencesWriter::Compose(RichPreferences());
    for (const Case& c : cases) {
        SCOPED_TRACE(test::U8(c.marker));
        std::u16string damaged = text;
        damaged.replace(damaged.find(c.marker), c.marker.size(), u"\u00A2?\u00A2");
        env.messages.boxes.clear();
        Store(damaged);
        EXPECT_EQ(Load(), PreferencesLoad::Incomplete);
        ASSERT_EQ(env.messages.boxes.size(), 1u);
        EXPECT_EQ(env.messages.boxes[0].text, c.text);
        EXPECT_EQ(env.messages.boxes[0].caption, c.caption);
        EXPECT_EQ(prefs.startCount, 1);
        // The file as it was is kept beside the one the next save writes.
        EXPECT_EQ(env.files.Bytes(folders.InstallationFile(u"Preferences.pre.old")),
                  EncodeItemText(damaged));
    }
}

TEST_F(PreferencesFileTest, EmptyFileGivesTheDefaultsAndTheFirstSectionMessage) {
    env.files.AddFile(Path(), "");
    EXPECT_EQ(Load(), PreferencesLoad::Incomplete);
    ASSERT_EQ(env.messages.boxes.size(), 1u);
    EXPECT_EQ(env.messages.boxes[0].text, u"Error while loading <DessinImage> preferences section");
    Preferences expected;
    expected.startCount = 1;
    EXPECT_TRUE(prefs == expected);
}

TEST_F(PreferencesFileTest, OlderLayoutIsKeptAsACopyBeforeItIsReplaced) {
    Store(u"v3.5#40,40,\u00A2");
    EXPECT_EQ(Load(), PreferencesLoad::Incomplete);
    EXPECT_TRUE(result.OlderLayout());
    EXPECT_TRUE(env.files.Bytes(folders.InstallationFile(u"Preferences.pre.old")).has_value());
}

TEST_F(PreferencesFileTest, SaveWritesTheWholeFile) {
    env.files.AddFolder(folders.installation);
    Preferences rich = RichPreferences();
    ASSERT_TRUE(SavePreferences(env.files, env.messages, folders, rich));
    EXPECT_EQ(env.files.Bytes(Path()), EncodeItemText(PreferencesWriter::Compose(rich)));
    EXPECT_TRUE(env.messages.boxes.empty());
    EXPECT_EQ(Load(), PreferencesLoad::Complete);
    rich.startCount += 1;
    EXPECT_TRUE(prefs == rich);
}

TEST_F(PreferencesFileTest, SaveFailureIsReportedAndTheOldFileStays) {
    Store(PreferencesWriter::Compose(Preferences{}));
    const std::string before = *env.files.Bytes(Path());
    env.files.Fail(MemoryFileSystem::Op::Write, u"Preferences.pre");
    EXPECT_FALSE(SavePreferences(env.files, env.messages, folders, RichPreferences()));
    ASSERT_EQ(env.messages.boxes.size(), 1u);
    EXPECT_EQ(env.messages.boxes[0].text, u"Save failure !");
    EXPECT_EQ(env.messages.boxes[0].caption, u"Save failure");
    EXPECT_EQ(env.messages.boxes[0].icon, BoxIcon::Error);
    EXPECT_EQ(env.files.Bytes(Path()), before);
}

TEST_F(PreferencesFileTest, TextTooLargeToReadBackIsNotWritten) {
    Store(PreferencesWriter::Compose(Preferences{}));
    const std::string before = *env.files.Bytes(Path());
    Preferences huge;
    huge.examTitles.assign(2'100'000, u'a');
    EXPECT_FALSE(SavePreferences(env.files, env.messages, folders, huge));
    EXPECT_EQ(env.files.Bytes(Path()), before);
    ASSERT_EQ(env.messages.boxes.size(), 1u);
    // A large file below the limit is read back whole (the handheld stopped at 100 000 bytes).
    Preferences big;
    for (int i = 0; i < 100; ++i) {
        MailRow row;
        row.columns[MailRow::kPeer] = u"Anna";
        row.columns[MailRow::kMessage].assign(2000, u'm');
        big.sentItems.push_back(row);
    }
    big.selectedLocation = u"Cardio A";
    ASSERT_TRUE(SavePreferences(env.files, env.messages, folders, big));
    EXPECT_GT(env.files.Bytes(Path())->size(), 400'000u);
    EXPECT_EQ(Load(), PreferencesLoad::Complete);
    EXPECT_EQ(prefs.selectedLocation, u"Cardio A");
    EXPECT_EQ(prefs.sentItems.size(), 100u);
}

}  // namespace
}  // namespace pondrel
