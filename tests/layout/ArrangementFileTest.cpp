// The ".wnd" reader and writer: round trip, versions, damaged and out-of-range files.

#include <gtest/gtest.h>

#include "TestPlatform.h"
#include "layout/Arrangement.h"
#include "layout/ArrangementReader.h"
#include "layout/ArrangementWriter.h"
#include "layout/FactoryArrangement.h"
#include "records/ItemEncoding.h"

namespace pondrel {
namespace {

using Status = ArrangementReadResult::Status;

// The text of a file holding `a` in the layout of version `mark` ("v40#", "v3.5#" or "" for a
// file without a mark): fields from 202 on are left out for versions below 40.
std::u16string TextOf(const Arrangement& a, std::u16string_view mark, bool allFields) {
    std::u16string body;
    FieldLayouts fields = a.fields;
    AppendArrangementItems(body, fields, a.pages);
    if (allFields) return std::u16string(mark) + body;
    // Drop the 3 items of each field 202..229.
    std::u16string cut;
    size_t pos = 0;
    int item = 0;
    const int firstDropped = 3 * (202 - 1 - 20);  // items of fields 1..201 but 100..119
    const int dropped = 3 * 28;
    while (pos < body.size()) {
        size_t end = body.find(kItemEnd, pos) + 1;
        if (item < firstDropped || item >= firstDropped + dropped) {
            cut += body.substr(pos, end - pos);
        }
        pos = end;
        ++item;
    }
    return std::u16string(mark) + cut;
}

TEST(ArrangementFileTest, RoundTripIsExactByteForByte) {
    Arrangement a = FactoryArrangement();
    a.pages[3].name = u"Anamn\u00E8se \u00AB\u00BB";  // non-ASCII names survive
    a.pages[4].buttonText = u"Syst\u00E8mes";
    a.fields[150].window = {-5, 12000, 3, 12017};
    const std::string bytes = ArrangementWriter::Encode(a);
    Arrangement read;
    ArrangementReadResult result = ArrangementReader::Read(DecodeItemText(bytes), read);
    ASSERT_EQ(result.status, Status::Read);
    EXPECT_EQ(result.version, u"40");
    EXPECT_TRUE(result.corrections.empty());
    EXPECT_EQ(read, a);
    EXPECT_EQ(ArrangementWriter::Encode(read), bytes);
    EXPECT_TRUE(ArrangementWriter::Compose(a).starts_with(u"v40#"));
}

TEST(ArrangementFileTest, VersionsBelow40KeepFields202To229AndNewerOnesAreRefused) {
    const Arrangement factory = FactoryArrangement();
    Arrangement stored = factory;
    stored.fields[7].window = {1, 2, 3, 4};
    stored.fields[205].window = {9, 9, 9, 9};

    // Without "#" among the first ten characters the file is of version "3.00", read whole.
    Arrangement read = factory;
    ArrangementReadResult result = ArrangementReader::Read(TextOf(stored, u"", false), read);
    ASSERT_EQ(result.status, Status::Read);
    EXPECT_EQ(result.version, u"3.00");
    EXPECT_EQ(read.fields[7].window, (Rect{1, 2, 3, 4}));
    EXPECT_EQ(read.fields[205], factory.fields[205]);
    EXPECT_EQ(read.pages, factory.pages);

    read = factory;
    result = ArrangementReader::Read(TextOf(stored, u"v3.5#", false), read);
    ASSERT_EQ(result.status, Status::Read);
    EXPECT_EQ(result.version, u"3.5");
    EXPECT_EQ(read.fields[205], factory.fields[205]);

    read = factory;
    result = ArrangementReader::Read(TextOf(stored, u"v41#", true), read);
    EXPECT_EQ(result.status, Status::NewerVersion);
    EXPECT_EQ(read, factory);
}

TEST(ArrangementFileTest, ACutFileIsRefusedWholeAndChangesNothing) {
    Arrangement stored = FactoryArrangement();
    stored.fields[2].window = {5, 5, 50, 22};
    const std::u16string text = ArrangementWriter::Compose(stored);
    const Arrangement before = FactoryArrangement();
    for (size_t cut : {size_t{0}, size_t{4}, text.size() / 2, text.size() - 1}) {
        Arrangement read = before;
        EXPECT_EQ(ArrangementReader::Read(text.substr(0, cut), read).status, Status::Damaged)
            << cut;
        EXPECT_EQ(read, before) << cut;
    }
}

TEST(ArrangementFileTest, OutOfRangeValuesAreCorrectedAndListed) {
    Arrangement stored = FactoryArrangement();
    stored.fields[9].layoutValue = 25;
    stored.fields[10].layoutValue = -7;
    stored.pages[1].fieldList = u"9,abc,300,,0,-4, 10 ,1000,";
    stored.pages[2].aFlag = 5;
    std::u16string text = ArrangementWriter::Compose(stored);
    // A coordinate beyond int reads as the saturated value, then is kept within range.
    const std::u16string window = u"99999999999999,1,2,3";
    const size_t first = text.find(u'#') + 1;
    text.replace(first, text.find(kItemEnd, first) - first, window);

    Arrangement read;
    ArrangementReadResult result = ArrangementReader::Read(text, read);
    ASSERT_EQ(result.status, Status::Read);
    EXPECT_EQ(read.fields[1].window.left, 30000);
    EXPECT_EQ(read.fields[9].layoutValue, -1);
    EXPECT_EQ(read.fields[10].layoutValue, -1);
    EXPECT_EQ(read.pages[1].fieldList, u"9,10,");
    EXPECT_EQ(read.pages[2].aFlag, 1);
    EXPECT_EQ(result.corrections.size(), 5u);
    EXPECT_FALSE(PageOfField(read, 9).has_value());
}

TEST(ArrangementFileTest, AFileOverTheReadLimitIsNotWritten) {
    Arrangement a = FactoryArrangement();
    EXPECT_TRUE(ArrangementWriter::FitsReadLimit(a));
    a.pages[5].name.assign(50000, u'x');
    EXPECT_FALSE(ArrangementWriter::FitsReadLimit(a));
}

TEST(ArrangementFileTest, PagesAndReadingOrder) {
    Arrangement a = FactoryArrangement();
    // Page 0 in reading order: last name, first name, day, month, year, age...
    std::vector<int> fields = FieldsOnPage(a, 0);
    ASSERT_GE(fields.size(), 6u);
    EXPECT_EQ(std::vector<int>(fields.begin(), fields.begin() + 6),
              (std::vector<int>{2, 3, 4, 5, 6, 15}));
    EXPECT_EQ(PageOfField(a, 7), 0);
    EXPECT_FALSE(PageOfField(a, 87).has_value());  // the problem panel's own

    // A window moved to page 5 keeps its place within the band and joins the page list only.
    MoveFieldToPage(a, 7, 5);
    EXPECT_EQ(InBand(a.fields[7].window, 5), InBand(FactoryArrangement().fields[7].window, 0));
    EXPECT_EQ(PageOfField(a, 7), 5);
    EXPECT_EQ(FieldListNumbers(a.pages[0].fieldList).size(),
              FieldListNumbers(FactoryArrangement().pages[0].fieldList).size() - 1);
    EXPECT_TRUE(a.pages[5].fieldList.ends_with(u",7,"));
    HideField(a, 7);
    EXPECT_FALSE(PageOfField(a, 7).has_value());
    EXPECT_FALSE(a.pages[5].fieldList.ends_with(u",7,"));

    EXPECT_EQ(PlacedRect({0, 10, 50, 12}, kMinWindowHeight), (Rect{0, 10, 50, 27}));
}

}  // namespace
}  // namespace pondrel
