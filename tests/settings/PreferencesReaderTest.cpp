#include <gtest/gtest.h>

#include <random>

#include "PreferencesSamples.h"
#include "TestPlatform.h"
#include "settings/ListRowIcons.h"
#include "settings/PreferencesFormat.h"
#include "settings/PreferencesReader.h"
#include "settings/PreferencesWriter.h"

namespace pondrel {
namespace {

namespace format = preferences_format;
using Status = PreferencesReadResult::Status;
using test::RichPreferences;

constexpr char16_t kCent = u'\u00A2';

struct Read {
    Preferences p;
    PreferencesReadResult result;
};

Read ReadText(std::u16string_view text) {
    Read r;
    r.result = PreferencesReader::Read(text, r.p);
    return r;
}

// Position just after `count` items from `pos`.
size_t SkipItems(const std::u16string& text, size_t pos, size_t count) {
    for (size_t i = 0; i < count; ++i) pos = text.find(kCent, pos) + 1;
    return pos;
}

TEST(PreferencesReaderTest, FileWithOnlyTheColumnWidths) {
    Read r = ReadText(u"v40#10,20,30,40,50,60,70,80,90,100,110,120,130,140,150,\u00A2");
    EXPECT_EQ(r.result.status, Status::SectionMissing);
    EXPECT_EQ(r.result.missingSection, PreferencesSection::DessinImage);
    Preferences expected;
    expected.columnWidths = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150};
    EXPECT_TRUE(r.p == expected);
    EXPECT_FALSE(r.p.fieldLayoutsRead);
}

TEST(PreferencesReaderTest, EmptySelectedLocationReadsAsAllDepartment) {
    Preferences p = RichPreferences();
    p.selectedLocation.clear();
    EXPECT_EQ(ReadText(PreferencesWriter::Compose(p)).p.selectedLocation, u"All department");
}

TEST(PreferencesReaderTest, AutoSaveIntervalOfFourIsKept) {
    Preferences p;
    p.general.autoSaveInterval = 4;
    Read r = ReadText(PreferencesWriter::Compose(p));
    EXPECT_EQ(r.p.general.autoSaveInterval, 4);
    EXPECT_NE(PreferencesWriter::Compose(r.p).find(u"\u00A24\u00A2"), std::u16string::npos);
}

TEST(PreferencesReaderTest, EncryptedConnectionIsKeptAndAbsentInEarlierFiles) {
    Preferences p = RichPreferences();
    p.wireless.encrypted = true;
    p.wireless.certificateFile = u"/etc/pondrel/ward \u00E9.crt";
    const std::u16string text = PreferencesWriter::Compose(p);
    Read r = ReadText(text);
    EXPECT_EQ(r.result.status, Status::Complete);
    EXPECT_TRUE(r.p.wireless == p.wireless);

    // A file written before the two settings existed ends after the age option.
    const std::u16string added = u"1\u00A2/etc/pondrel/ward \u00E9.crt\u00A2";
    const std::u16string drawingFlags = u"1\u00A21\u00A2";  // added later still
    ASSERT_TRUE(text.ends_with(added + drawingFlags));
    Read earlier = ReadText(text.substr(0, text.size() - added.size() - drawingFlags.size()));
    EXPECT_EQ(earlier.result.status, Status::Complete);
    EXPECT_FALSE(earlier.p.wireless.encrypted);
    EXPECT_TRUE(earlier.p.wireless.certificateFile.empty());
    EXPECT_EQ(earlier.p.wireless.serverAddress, p.wireless.serverAddress);
}

TEST(PreferencesReaderTest, ValuesOutOfTheirRangeAreBroughtBack) {
    Preferences p;
    p.sortColumn = 15;
    p.sortDirection = 5;
    p.item48 = 59;
    p.quickNotes = 7;
    p.regional = {2, -1};
    p.general = {-3, 4, 9};
    Read r = ReadText(PreferencesWriter::Compose(p));
    EXPECT_EQ(r.p.sortColumn, 0);
    EXPECT_EQ(r.p.sortDirection, 1);
    EXPECT_EQ(r.p.item48, 100);
    EXPECT_EQ(r.p.quickNotes, 1);
    EXPECT_EQ(r.p.regional, (RegionalSettings{0, 0}));
    EXPECT_EQ(r.p.general, (GeneralSettings{0, 0, 0}));

    p = Preferences{};
    p.sortColumn = -2;
    p.item48 = 60;
    p.columnOrder[3] = 4;  // not an order any more: two columns at place 4
    r = ReadText(PreferencesWriter::Compose(p));
    EXPECT_EQ(r.p.sortColumn, 0);
    EXPECT_EQ(r.p.item48, 60);
    EXPECT_EQ(r.p.columnOrder, Preferences{}.columnOrder);
}

// A file of the older layout made from what the writer gives: one item for the list, no
// rectangles for fields 202 to 229, no items 52 and 53.
std::u16string OlderText(const Preferences& p, std::u16string_view mark) {
    std::u16string text = PreferencesWriter::Compose(p);
    size_t head = SkipItems(text, 0, 3);
    std::u16string list;
    for (int i = 0; i < 14; ++i) list += ToText(p.columnWidths[i]) + u",";
    for (int i = 0; i < 14; ++i) list += ToText(13 - i) + u",";
    list += u"14,1,3,\u00A2";
    text = std::u16string(mark) + u"#" + list + text.substr(head);
    size_t fields = text.find(format::kCEditRect) + format::kCEditRect.size();
    size_t from = SkipItems(text, fields, 181 * 3);
    size_t to = SkipItems(text, from, 28 * 3);
    text.erase(from, to - from);
    size_t last = text.size() - 1;
    for (int i = 0; i < 2; ++i) last = text.rfind(kCent, last - 1);
    text.erase(last + 1);
    return text;
}

TEST(PreferencesReaderTest, OlderLayout) {
    Preferences p = RichPreferences();
    Read r = ReadText(OlderText(p, u"v3.5"));
    EXPECT_EQ(r.result.status, Status::Complete);
    EXPECT_EQ(r.result.versionMark, u"v3.5");
    EXPECT_EQ(r.result.version, 3);
    EXPECT_TRUE(r.result.OlderLayout());
    for (int i = 0; i < 14; ++i) EXPECT_EQ(r.p.columnWidths[i], p.columnWidths[i]);
    EXPECT_EQ(r.p.columnWidths[14], 80);
    EXPECT_EQ(r.p.columnOrder,
              (std::array<int, 15>{13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 14}));
    EXPECT_EQ(r.p.sortColumn, 0);  // 14 is beyond the 14 columns
    EXPECT_EQ(r.p.sortDirection, 1);
    EXPECT_EQ(r.p.listDisplayMode, 3);
    EXPECT_EQ(r.p.colours, p.colours);
    EXPECT_EQ(r.p.vectorPictures, p.vectorPictures);
    EXPECT_EQ(r.p.sentItems, p.sentItems);
    EXPECT_TRUE(r.p.fieldLayoutsRead);
    EXPECT_EQ(r.p.fieldLayouts[201], p.fieldLayouts[201]);
    for (int field = 202; field < kFieldNumbers; ++field) {
        EXPECT_EQ(r.p.fieldLayouts[field], (FieldLayout{{70, 200, 230, 250}, {1, 200, 67, 211}, -1}));
    }
    EXPECT_EQ(r.p.pages, p.pages);
    EXPECT_EQ(r.p.bigSummary, p.bigSummary);
    EXPECT_EQ(r.p.examGraphCurvesShown, p.examGraphCurvesShown);
    EXPECT_EQ(r.p.general.newFolderType, 0);  // items 52 and 53 do not exist
    EXPECT_EQ(r.p.general.ageOnSummaries, 0);
    EXPECT_EQ(r.p.general.autoSaveInterval, p.general.autoSaveInterval);

    // Written again, it is a file of the current layout that reads back the same.
    std::u16string current = PreferencesWriter::Compose(r.p);
    EXPECT_TRUE(current.starts_with(u"v40#"));
    Read again = ReadText(current);
    EXPECT_EQ(again.result.status, Status::Complete);
    r.p.listDisplayMode = 0;  // not part of the current layout
    EXPECT_TRUE(again.p == r.p);
}

TEST(PreferencesReaderTest, NewerVersionIsRefusedWithoutTakingAnything) {
    std::u16string text = PreferencesWriter::Compose(RichPreferences());
    text.replace(0, 3, u"v41");
    Read r = ReadText(text);
    EXPECT_EQ(r.result.status, Status::NewerVersion);
    EXPECT_EQ(r.result.version, 41);
    EXPECT_TRUE(r.p == Preferences{});
    EXPECT_EQ(ReadText(u"v100#1,2,\u00A2").result.status, Status::NewerVersion);
    // "v4.1" is version 4: the older layout.
    EXPECT_TRUE(ReadText(u"v4.1#1,2,\u00A2").result.OlderLayout());
}

TEST(PreferencesReaderTest, TextWithoutVersionMarkIsReadAsTheOlderLayout) {
    Read r = ReadText(u"50,60,\u00A2");
    EXPECT_EQ(r.result.version, 0);
    EXPECT_TRUE(r.result.versionMark.empty());
    EXPECT_EQ(r.p.columnWidths[0], 50);
    EXPECT_EQ(r.p.columnWidths[1], 60);
    EXPECT_EQ(r.result.missingSection, PreferencesSection::DessinImage);
}

TEST(PreferencesReaderTest, EachMissingMarkerStopsTheReadingThere) {
    const Preferences rich = RichPreferences();
    const std::u16string text = PreferencesWriter::Compose(rich);
    struct Case {
        std::u16string_view marker;
        PreferencesSection section;
    };
    const Case cases[] = {
        {format::kDessinImage, PreferencesSection::DessinImage},
        {format::kPatientCustom, PreferencesSection::PatientCustom},
        {format::kOutbox, PreferencesSection::Outbox},
        {format::kSentItems, PreferencesSection::SentItems},
        {format::kActiveFiles, PreferencesSection::ActiveFiles},
        {format::kServerFiles, PreferencesSection::ServerFiles},
        {format::kOtherSocket, PreferencesSection::OtherSocket},
        {format::kCEditRect, PreferencesSection::CEditRect},
        {format::kOther, PreferencesSection::Other},
    };
    for (const Case& c : cases) {
        std::u16string damaged = text;
        size_t at = damaged.find(c.marker);
        ASSERT_NE(at, std::u16string::npos);
        damaged.replace(at, c.marker.size(), std::u16string(c.marker.size(), u'x'));
        Read r = ReadText(damaged);
        SCOPED_TRACE(test::U8(c.marker));
        EXPECT_EQ(r.result.status, Status::SectionMissing);
        EXPECT_EQ(r.result.missingSection, c.section);
        // What comes before the marker is kept, what comes after keeps its default.
        EXPECT_EQ(r.p.columnWidths, rich.columnWidths);
        EXPECT_EQ(r.p.selectedLocation, u"All department");
        EXPECT_EQ(r.p.startCount, 0);
        const bool outboxRead = c.section > PreferencesSection::Outbox;
        EXPECT_EQ(r.p.outbox.size(), outboxRead ? rich.outbox.size() : 0u);
        EXPECT_EQ(r.p.fieldLayoutsRead, c.section == PreferencesSection::Other);
        if (c.section == PreferencesSection::Other) {
            EXPECT_EQ(r.p.pages, rich.pages);
            EXPECT_EQ(r.p.fieldLayouts, rich.fieldLayouts);
        }
        if (c.section == PreferencesSection::CEditRect) {
            EXPECT_EQ(r.p.lastTemplatePath, rich.lastTemplatePath);
            EXPECT_EQ(r.p.currentPatientPosition, rich.currentPatientPosition);
            EXPECT_EQ(r.p.fieldLayouts, Preferences{}.fieldLayouts);
        }
    }
}

TEST(PreferencesReaderTest, MarkerTextsInsideValuesDoNotMoveTheReading) {
    Preferences p = RichPreferences();
    p.pages[3].name = u"Other";
    p.pages[4].name = u"CEdit Rect";
    p.vectorPictures[0].name = u"PatientCustom";
    p.inbox[0].columns[MailRow::kMessage] = u"Outbox=";
    p.inbox[1].columns[MailRow::kPeer] = u"SentItems=";
    p.freeFields.pageTexts[0] = u"DessinImage";
    p.friends = u"ServerFiles=|OtherSocket=|";
    p.sentItems[0].columns[MailRow::kMessage] = u"ActiveFiles=";
    Read r = ReadText(PreferencesWriter::Compose(p));
    EXPECT_EQ(r.result.status, Status::Complete);
    EXPECT_TRUE(r.p == p);
}

TEST(PreferencesReaderTest, SectionOfAnotherLengthIsFoundByItsMarker) {
    Preferences p = RichPreferences();
    std::u16string text = PreferencesWriter::Compose(p);
    // An extra item before a marker, one missing in a list section.
    text.insert(text.find(format::kDessinImage), u"extra\u00A2");
    size_t outbox = text.find(format::kOutbox);
    text.erase(outbox - 1, 1);  // the end of the last column of the last inbox row
    Read r = ReadText(text);
    EXPECT_EQ(r.result.status, Status::Complete);
    EXPECT_EQ(r.p.vectorPictures, p.vectorPictures);
    EXPECT_EQ(r.p.outbox, p.outbox);
    EXPECT_EQ(r.p.bigSummary, p.bigSummary);
    EXPECT_EQ(r.p.inbox.size(), 19u);  // the incomplete last row is left out
}

TEST(PreferencesReaderTest, ArrangementOfFieldZeroIsPassedOver) {
    Preferences p = RichPreferences();
    std::u16string text = PreferencesWriter::Compose(p);
    size_t fields = text.find(format::kCEditRect) + format::kCEditRect.size();
    text.insert(fields, u"9,9,9,9\u00A29,9,9,9\u00A25\u00A2");
    Read r = ReadText(text);
    EXPECT_EQ(r.result.status, Status::Complete);
    EXPECT_EQ(r.p.fieldLayouts, p.fieldLayouts);
    EXPECT_EQ(r.p.pages, p.pages);
}

TEST(PreferencesReaderTest, MailRowsEndAtTheFirstEmptyRowOnly) {
    Preferences p;
    MailRow row;
    row.columns[MailRow::kTimeSending] = u"10:02";  // the first three columns empty
    p.inbox = {row};
    MailRow second;
    second.columns[MailRow::kPeer] = u"Bob";
    p.inbox.push_back(second);
    Read r = ReadText(PreferencesWriter::Compose(p));
    ASSERT_EQ(r.p.inbox.size(), 2u);
    EXPECT_EQ(r.p.inbox[1].columns[MailRow::kPeer], u"Bob");
}

TEST(PreferencesReaderTest, RowsGetTheirIconsFromTheirState) {
    EXPECT_EQ(InboxIcon(u"Closed mail"), 4);
    EXPECT_EQ(InboxIcon(u"Opened mail"), 5);
    EXPECT_EQ(InboxIcon(u"Opened mail "), 5);
    EXPECT_EQ(InboxIcon(u"closed mail"), 3);
    EXPECT_EQ(OutboxIcon(u"Wait connection to server"), 0);
    EXPECT_EQ(OutboxIcon(u"Wait server reply"), 0);
    EXPECT_EQ(OutboxIcon(u"Wait server reply "), 0);
    EXPECT_EQ(OutboxIcon(u"Server is waiting client connection"), 1);
    EXPECT_EQ(OutboxIcon(u"Recipient get the mail"), 4);
    EXPECT_EQ(OutboxIcon(u"Bad transmission from sender to server"), 3);
    EXPECT_EQ(OutboxIcon(u"Bad transmission from server to recipient"), 3);
    EXPECT_EQ(SentItemsIcon(u"Message read by the recipient"), 5);
    EXPECT_EQ(SentItemsIcon(u"Recipient get the mail"), 4);
    EXPECT_EQ(SentItemsIcon(u""), 3);

    Preferences p;
    p.wireless.userName = u"Anna";
    ActiveFileRow active;
    active.columns[ActiveFileRow::kPatient] = u"Doe John 1950";
    p.activeFiles = {active};
    ServerFileRow mine, other;
    mine.columns[ServerFileRow::kPatient] = u"Doe John 1950";
    mine.columns[ServerFileRow::kFileName] = u"Doe_John_1950.pdr";
    other.columns[ServerFileRow::kPatient] = u"Roe Ann 1960";
    other.columns[ServerFileRow::kCurrentUser] = u"Bob";
    p.serverFiles = {mine, other};
    Read r = ReadText(PreferencesWriter::Compose(p));
    ASSERT_EQ(r.p.serverFiles.size(), 2u);
    EXPECT_EQ(r.p.serverFiles[0].imported, u"Yes");
    EXPECT_EQ(r.p.serverFiles[0].icon, 0);
    EXPECT_EQ(r.p.serverFiles[1].imported, u"No");
    EXPECT_EQ(r.p.serverFiles[1].icon, 1);
}

TEST(PreferencesReaderTest, TextCutAnywhereKeepsWhatCameBefore) {
    const Preferences rich = RichPreferences();
    const std::u16string text = PreferencesWriter::Compose(rich);
    const size_t picturesEnd = text.find(format::kPatientCustom);
    const size_t otherStart = text.find(format::kOther);
    for (size_t cut = 0; cut < text.size(); cut += 97) {
        Read r = ReadText(std::u16string_view(text).substr(0, cut));
        if (cut > picturesEnd) {
            ASSERT_EQ(r.p.vectorPictures, rich.vectorPictures) << cut;
        }
        if (cut > otherStart) {
            // The last section has no end marker: a cut there leaves its last items default.
            ASSERT_EQ(r.p.pages, rich.pages) << cut;
            ASSERT_EQ(r.result.status, Status::Complete) << cut;
        } else {
            ASSERT_NE(r.result.status, Status::Complete) << cut;
            ASSERT_EQ(r.p.startCount, 0) << cut;
        }
    }
}

TEST(PreferencesReaderTest, DamageInsideOneSectionStaysThere) {
    const Preferences rich = RichPreferences();
    const std::u16string text = PreferencesWriter::Compose(rich);
    const size_t from = text.find(format::kOutbox);
    const size_t to = text.find(format::kActiveFiles);
    // Items ends turned into other characters, one at a time, in the mail sections.
    for (size_t at = text.find(kCent, from); at < to; at = text.find(kCent, at + 4001)) {
        std::u16string damaged = text;
        damaged[at] = u'x';
        Read r = ReadText(damaged);
        ASSERT_EQ(r.result.status, Status::Complete) << at;
        ASSERT_EQ(r.p.inbox, rich.inbox) << at;
        ASSERT_EQ(r.p.serverFiles, rich.serverFiles) << at;
        ASSERT_EQ(r.p.fieldLayouts, rich.fieldLayouts) << at;
        ASSERT_EQ(r.p.bigSummary, rich.bigSummary) << at;
        ASSERT_EQ(r.p.general, rich.general) << at;
    }
}

TEST(PreferencesReaderTest, ArbitraryTextNeverBreaksTheReader) {
    const std::u16string pieces[] = {
        u"\u00A2",  u"v40#", u"v3.5#", u"#",    u",",     u"-",
        u"99999999999", u"12", u"|",  u"\u00A2\u00A2\u00A2", std::u16string(format::kOutbox),
        std::u16string(format::kDessinImage), std::u16string(format::kCEditRect),
        std::u16string(format::kOther), std::u16string(format::kOtherSocket), u"x.rtf",
        std::u16string(1, u'\0'), u"\xFFFF"};
    std::mt19937 random(12345);
    for (int round = 0; round < 400; ++round) {
        std::u16string text;
        int count = static_cast<int>(random() % 300);
        for (int i = 0; i < count; ++i) text += pieces[random() % std::size(pieces)];
        Preferences p;
        PreferencesReader::Read(text, p);
        EXPECT_GE(p.sortColumn, 0);
        EXPECT_LT(p.sortColumn, kPatientListColumns);
        EXPECT_LE(p.inbox.size(), kInboxRows);
        EXPECT_LE(p.sentItems.size(), kSentItemsRows);
    }
}

}  // namespace
}  // namespace pondrel
