#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "PreferencesSamples.h"
#include "TestPlatform.h"
#include "records/ItemEncoding.h"
#include "settings/FactoryPreferences.h"
#include "settings/ReadyPictures.h"
#include "settings/PreferencesFile.h"
#include "settings/PreferencesReader.h"
#include "settings/PreferencesWriter.h"

namespace pondrel {
namespace {

using test::RichPreferences;

Preferences ReadText(const std::u16string& text, PreferencesReadResult* result = nullptr) {
    Preferences p;
    PreferencesReadResult r = PreferencesReader::Read(text, p);
    if (result) *result = r;
    return p;
}

TEST(PreferencesRoundTripTest, RichPreferencesComeBackEqualAndByteForByte) {
    Preferences rich = RichPreferences();
    std::string bytes = EncodePreferences(rich);
    Preferences back;
    PreferencesReadResult result = PreferencesReader::Read(DecodeItemText(bytes), back);
    EXPECT_EQ(result.status, PreferencesReadResult::Status::Complete);
    EXPECT_EQ(result.version, 40);
    EXPECT_TRUE(back == rich);
    EXPECT_EQ(EncodePreferences(back), bytes);
}

TEST(PreferencesRoundTripTest, DefaultsComeBackEqual) {
    Preferences defaults;
    Preferences back = ReadText(PreferencesWriter::Compose(defaults));
    defaults.fieldLayoutsRead = true;  // the written file has the section
    EXPECT_TRUE(back == defaults);
}

TEST(PreferencesRoundTripTest, FactoryFileIsWhatTheWriterMakesFromTheFactoryPreferences) {
    std::ifstream in(PONDREL_RESOURCES_DIR "/Preferences.pre", std::ios::binary);
    ASSERT_TRUE(in) << "resources/Preferences.pre is missing";
    std::string committed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(committed, EncodePreferences(FactoryPreferences()))
        << "regenerate it with: pondrel-tool prefs-default resources/Preferences.pre";
}

TEST(PreferencesRoundTripTest, KnownLayoutOfTheFirstItems) {
    std::u16string text = PreferencesWriter::Compose(Preferences{});
    EXPECT_TRUE(
        text.starts_with(u"v40#44,90,40,100,90,40,40,40,40,40,40,40,40,80,80,\u00A2"
                         u"0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,\u00A2"
                         u"0,0,\u00A20,\u00A20,0,0,0,0,0,0,0,\u00A2\u00A2DessinImage\u00A2"));
    EXPECT_TRUE(
        text.ends_with(u"100\u00A2\u00A2\u00A2\u00A2\u00A2\u00A2\u00A2\u00A2\u00A2"
                       u"0\u00A20\u00A20\u00A2"
                       u"0\u00A2\u00A2"
                       u"1\u00A21\u00A2"));
    // Markers without their own item end lead the first item of their list.
    EXPECT_NE(text.find(u"\u00A2Outbox=\u00A2"), std::u16string::npos);
    EXPECT_NE(text.find(u"\u00A2OtherSocket=\u00A2"), std::u16string::npos);
    // Item counts: 53 items (and the encrypted connection and its certificate, and the two drawing flags of the free-field pages) with 60 pictures, 40 free-field rectangles, 20 + 20 + 100 mail rows
    // of 11, 100 rows of 8 and of 7, 209 field layouts of 3 and 300 control rectangles.
    size_t items = CountOf(text, u"\u00A2");
    size_t expected = 5 + 2 + 120 + 2 + 40 + 4 + 2 + 1 + 5 + 140 * 11 + 100 * 8 + 100 * 7 + 4 + 2 +
                      627 + 19 * 4 + 18 + 2 + 4 + 300 + 4 + 5 + 2 + 8 + 3 + 2 + 2;
    EXPECT_EQ(items, expected);
}

TEST(PreferencesRoundTripTest, BigSummaryDescriptionKeepsItsCentSigns) {
    Preferences p;
    p.bigSummary[1].description = u"Motive: \u00A2F61# then \u00A2F62#";
    std::u16string text = PreferencesWriter::Compose(p);
    EXPECT_NE(text.find(u"Motive: |F61# then |F62#\u00A2"), std::u16string::npos);
    EXPECT_EQ(ReadText(text).bigSummary[1].description, p.bigSummary[1].description);
}

TEST(PreferencesRoundTripTest, CentSignsInOtherTextsAreDroppedSoItemsStayInPlace) {
    Preferences p;
    p.wireless.userName = u"Dr\u00A2Wil\u00A2mer";
    p.locationList = u"A\u00A2|B|";
    p.lastTemplatePath = u"\\x\u00A2.rtf";
    p.inbox.push_back({});
    p.inbox[0].columns[MailRow::kMessage] = u"a\u00A2b";
    p.inbox[0].columns[MailRow::kPeer] = u"Anna";
    Preferences back = ReadText(PreferencesWriter::Compose(p));
    EXPECT_EQ(back.wireless.userName, u"DrWilmer");
    EXPECT_EQ(back.locationList, u"A|B|");
    EXPECT_EQ(back.lastTemplatePath, u"\\x.rtf");
    ASSERT_EQ(back.inbox.size(), 1u);
    EXPECT_EQ(back.inbox[0].columns[MailRow::kMessage], u"ab");
    EXPECT_EQ(back.selectedLocation, u"All department");
}

TEST(PreferencesRoundTripTest, MoreThanTwentySentMailsAreAllKept) {
    Preferences p;
    for (int i = 0; i < 21; ++i) {
        MailRow row;
        row.columns[MailRow::kPeer] = u"Anna";
        row.columns[MailRow::kMessage] = u"mail " + ToText(i);
        p.sentItems.push_back(row);
    }
    Preferences back = ReadText(PreferencesWriter::Compose(p));
    ASSERT_EQ(back.sentItems.size(), 21u);
    EXPECT_EQ(back.sentItems[20].columns[MailRow::kMessage], u"mail 20");
    // Beyond the fixed count only the first sent mails are written; the Inbox and the Outbox
    // (unread and unsent mail) are written whole.
    p.sentItems.resize(130, p.sentItems[0]);
    p.inbox.resize(25, p.sentItems[0]);
    back = ReadText(PreferencesWriter::Compose(p));
    EXPECT_EQ(back.sentItems.size(), 100u);
    EXPECT_EQ(back.inbox.size(), 25u);
}

TEST(PreferencesRoundTripTest, EveryUnreadAndUnsentMailComesBackEvenWithTheMarkersInItsText) {
    Preferences p = RichPreferences();
    for (int i = 0; i < 27; ++i) {
        MailRow row;
        row.columns[MailRow::kPeer] = u"Bruno";
        row.columns[MailRow::kMessage] = i == 3 ? u"Outbox=SentItems=" : u"mail " + ToText(i);
        row.columns[MailRow::kState] = u"Closed mail";
        p.inbox.push_back(row);
        row.columns[MailRow::kState] = u"Wait connection to server";
        p.outbox.push_back(row);
    }
    PreferencesReadResult result;
    Preferences back = ReadText(PreferencesWriter::Compose(p), &result);
    EXPECT_EQ(result.status, PreferencesReadResult::Status::Complete);
    ASSERT_EQ(back.inbox.size(), p.inbox.size());
    ASSERT_EQ(back.outbox.size(), p.outbox.size());
    for (size_t i = 0; i < p.outbox.size(); ++i) {
        EXPECT_TRUE(back.inbox[i].columns == p.inbox[i].columns) << i;
        EXPECT_TRUE(back.outbox[i].columns == p.outbox[i].columns) << i;
    }
    EXPECT_TRUE(back.sentItems == p.sentItems);
    EXPECT_TRUE(back.activeFiles == p.activeFiles);
    EXPECT_EQ(back.friends, p.friends);
}

TEST(PreferencesRoundTripTest, TemplateItemSplitsAndKeepsEveryCharacter) {
    struct Case {
        std::u16string item, path;
        int option;
    };
    const Case cases[] = {
        {u"\\My Documents\\Letter.rtf1", u"\\My Documents\\Letter.rtf", 1},
        {u"\\My Documents\\Letter.rtf0", u"\\My Documents\\Letter.rtf", 0},
        {u"\\a.rtf12", u"\\a.rtf", 12},
        // A folder name with a "." must not cut the path.
        {u"\\My.Docs\\Letter.rtf1", u"\\My.Docs\\Letter.rtf", 1},
        {u"\\Docs\\Letter.docx0", u"\\Docs\\Letter.docx", 0},
        {u"\\Docs\\Letter1", u"\\Docs\\Letter", 1},
        {u"0", u"", 0},
        {u"", u"", 0},
        {u"\\Docs\\x.rtf", u"\\Docs\\x.rtf", 0},
    };
    for (const Case& c : cases) {
        std::u16string path;
        int option = -1;
        PreferencesReader::SplitTemplateItem(c.item, path, option);
        EXPECT_EQ(path, c.path) << test::U8(c.item);
        EXPECT_EQ(option, c.option) << test::U8(c.item);
    }
    // Whatever the split, writing gives back the same item.
    for (const Case& c : cases) {
        if (c.item.empty() || c.item == u"\\Docs\\x.rtf") continue;
        Preferences p;
        PreferencesReader::SplitTemplateItem(c.item, p.lastTemplatePath, p.lastTemplateOption);
        std::u16string text = PreferencesWriter::Compose(p);
        EXPECT_NE(text.find(u"\u00A2" + c.item + u"\u00A20\u00A2\u00A2CEdit Rect"),
                  std::u16string::npos)
            << test::U8(c.item);
    }
}

TEST(PreferencesRoundTripTest, FactoryLocationsAreTheLocationsOfTheFactoryRooms) {
    // A new installation shows its two wards in the location list and in the room list.
    EXPECT_EQ(FactoryPreferences().locationList, u"Ward A|Ward B|");
    Preferences factory = FactoryPreferences();
    factory.locationList.clear();
    // The ready-made vectorial pictures fill the first slots of the sets 0 to 2, and no other.
    for (int set = 0; set < 6; ++set) {
        const std::vector<ReadyPicture> ready = ReadyPictures(set);
        for (size_t i = 0; i < static_cast<size_t>(kPicturesPerSet); ++i) {
            VectorPicture& slot = factory.vectorPictures[static_cast<size_t>(set) * 10 + i];
            if (i < ready.size()) {
                EXPECT_EQ(slot.name, ready[i].name);
                EXPECT_EQ(slot.drawing, ready[i].drawing);
            }
            slot = {};
        }
    }
    EXPECT_TRUE(factory == Preferences{})
        << "only the location list and the ready-made pictures differ from the defaults";
}

}  // namespace
}  // namespace pondrel

