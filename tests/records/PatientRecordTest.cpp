#include "records/PatientRecord.h"

#include <gtest/gtest.h>

#include "TestPlatform.h"
#include "records/CCorvaneDoc.h"
#include "records/LocationList.h"
#include "records/PatientSet.h"

namespace pondrel {
namespace {

using test::U8;

TEST(FieldNameTest, FixedAndNumberedNames) {
    EXPECT_EQ(FieldName(0), u"");
    EXPECT_EQ(FieldName(6), u" Y");
    EXPECT_EQ(FieldName(9), u"T\u00B0");
    EXPECT_EQ(FieldName(75), u"Uro-g\u00E9nital");
    EXPECT_EQ(FieldName(82), u"Radio\tgraphic films");
    EXPECT_EQ(FieldName(99), u"Free 3");
    EXPECT_EQ(FieldName(100), u"Edit 0");
    EXPECT_EQ(FieldName(119), u"Edit 19");
    EXPECT_EQ(FieldName(120), u"Last name");
    EXPECT_EQ(FieldName(139), u"Other 3");
    EXPECT_EQ(FieldName(140), u"Send");
    EXPECT_EQ(FieldName(141), u"Window 1");
    EXPECT_EQ(FieldName(198), u"Window 58");
    EXPECT_EQ(FieldName(199), u"Problem redaction");
    EXPECT_EQ(FieldName(200), u"Chart N\u00B0");
    EXPECT_EQ(FieldName(202), u"Formulary");
    EXPECT_EQ(FieldName(203), u"Window 61");
    EXPECT_EQ(FieldName(229), u"Window 87");
    EXPECT_EQ(FieldName(230), u"");
    EXPECT_EQ(FieldName(-1), u"");
}

TEST(PatientRecordTest, FieldAndDrawingAccessIgnoreBadNumbers) {
    PatientRecord r;
    r.SetField(230, u"x");
    r.SetField(-1, u"x");
    r.SetDrawing(0, u"x");
    r.SetDrawing(9, u"x");
    r.SetDrawing(8, u"#0,0,0/0|1,1");
    EXPECT_EQ(r.Field(230), u"");
    EXPECT_EQ(r.Drawing(9), u"");
    EXPECT_EQ(r.drawings[7], u"#0,0,0/0|1,1");
    EXPECT_EQ(r.lockState, u"W");
}

TEST(PatientRecordTest, FileNameDropsTrailingSpacesOfTheNames) {
    PatientRecord r;
    r.SetField(2, u"van Dam  ");
    r.SetField(3, u"Jo Ann ");
    r.SetField(6, u"1950");
    EXPECT_EQ(PatientFileName(r), u"van Dam_Jo Ann_1950.pdr");
}

TEST(PatientRecordTest, SubfolderKeyHasNoLeadingZerosAndTakesFormularyLiterally) {
    PatientRecord r;
    r.admission = DateTime{2006, 2, 1, 8, 5, 0};
    r.SetField(202, u"Cardio");
    EXPECT_EQ(SubfolderKeyOf(r), u"2006,2,1,8,5,0,Cardio,");
    r.admission = DateTime{2006, 3, 13, 9, 41, 7};
    r.SetField(202, u"");
    EXPECT_EQ(SubfolderKeyOf(r), u"2006,3,13,9,41,7,,");
    r.SetField(202, u"a,b\\c\u00A2");  // "¢" cannot be stored; the rest stays as typed
    EXPECT_EQ(SubfolderKeyOf(r), u"2006,3,13,9,41,7,a,b\\c,");
}

TEST(PatientRecordTest, ChartNumber) {
    // 13 March 2006 is day 72 of the year.
    EXPECT_EQ(ChartNumber(DateTime{2006, 3, 13, 9, 41, 7}), u"6255667");
    EXPECT_EQ(ChartNumber(DateTime{2006, 1, 1, 0, 0, 0}), u"86400");
}

TEST(PatientSetTest, NavigationAndRemoval) {
    test::FixedClock clock;
    PatientSet set(clock);
    EXPECT_EQ(set.Current(), nullptr);
    EXPECT_EQ(set.First(), nullptr);
    EXPECT_EQ(set.RemoveCurrent(), nullptr);

    PatientRecord& a = set.AddNew();
    EXPECT_EQ(a.admission, clock.now);
    EXPECT_EQ(a.exit, clock.now);
    EXPECT_EQ(a.inUse, 0);
    // The last record is never removed.
    EXPECT_EQ(set.RemoveAt(0), nullptr);
    EXPECT_EQ(set.Count(), 1);

    PatientRecord* b = set.Next();  // past the end: a new record
    EXPECT_EQ(set.Count(), 2);
    EXPECT_EQ(set.CurrentNumber(), 2);
    PatientRecord& c = set.AddNew();
    EXPECT_EQ(set.At(2), &c);
    EXPECT_EQ(set.At(3), nullptr);
    EXPECT_EQ(set.SetCurrent(5), nullptr);
    EXPECT_EQ(set.Current(), &c);
    EXPECT_EQ(set.Previous(), b);
    EXPECT_EQ(set.First(), &a);
    EXPECT_EQ(set.Previous(), &a);
    EXPECT_EQ(set.Last(), &c);
    EXPECT_EQ(set.IndexOf(b), 1);

    // Removing the current record makes the one before it current.
    EXPECT_EQ(set.RemoveCurrent(), b);
    EXPECT_EQ(set.IndexOf(&c), -1);
    // Removing a record before the current one keeps the current record.
    PatientRecord& d = set.AddNew();
    EXPECT_EQ(set.RemoveAt(0), &d);
    EXPECT_EQ(set.Current(), &d);
    set.First();
    EXPECT_EQ(set.RemoveAt(0), &d);  // the first one: the next becomes current
    set.RemoveAll();
    EXPECT_EQ(set.Count(), 0);
    EXPECT_EQ(set.CurrentIndex(), 0);
}

TEST(CCorvaneDocTest, OwnsTheSet) {
    test::FixedClock clock;
    CCorvaneDoc doc(clock);
    doc.Patients().AddNew();
    EXPECT_EQ(doc.Patients().Count(), 1);
}

class LocationListTest : public ::testing::Test {
protected:
    LocationListTest() { locations.SetNamesText(u"Cardio A|Cardio B|"); }
    int Count(std::u16string_view entry) const { return locations.CounterOf(entry); }
    LocationList locations;
};

TEST_F(LocationListTest, CountsByTheRules) {
    EXPECT_EQ(locations.NamesText(), u"Cardio A|Cardio B|");
    EXPECT_EQ(locations.Counters().size(), 6u);
    locations.CountPatient(u"Cardio A");
    locations.CountPatient(u"Closed hospitalization");
    locations.CountPatient(u"No location");
    locations.CountPatient(u"");
    locations.CountPatient(u"Elsewhere");
    EXPECT_EQ(Count(u"Cardio A"), 1);
    EXPECT_EQ(Count(u"Cardio B"), 0);
    EXPECT_EQ(Count(u"All department"), 1);  // only the department location
    EXPECT_EQ(Count(u"Closed hospitalization"), 1);
    EXPECT_EQ(Count(u"XX No location XX"), 3);
    EXPECT_EQ(Count(u"XX All activated folders XX"), 5);
    locations.UncountPatient(u"Cardio A");
    EXPECT_EQ(Count(u"Cardio A"), 0);
    EXPECT_EQ(Count(u"All department"), 0);
    EXPECT_EQ(Count(u"XX All activated folders XX"), 4);
    locations.ResetCounters();
    EXPECT_EQ(Count(u"XX All activated folders XX"), 0);
}

TEST_F(LocationListTest, FiftyLocationsAndFourEntriesHaveTheirOwnCounters) {
    std::vector<std::u16string> names;
    for (int i = 0; i < 60; ++i) names.push_back(u"L" + ToText(i));
    locations.SetNames(names);
    EXPECT_EQ(locations.Names().size(), 50u);
    locations.CountPatient(u"L49");
    EXPECT_EQ(Count(u"L49"), 1);
    EXPECT_EQ(Count(u"XX No location XX"), 0);
    EXPECT_EQ(locations.Counters().size(), 54u);
}

TEST_F(LocationListTest, FilterOfTheSelectedLocation) {
    EXPECT_EQ(locations.Selected(), u"All department");
    EXPECT_TRUE(locations.ShouldLoad(u"Cardio B"));
    EXPECT_TRUE(locations.ShouldLoad(u"Somewhere"));
    EXPECT_FALSE(locations.ShouldLoad(u"Closed hospitalization"));
    EXPECT_FALSE(locations.ShouldLoad(u""));
    locations.Select(u"Cardio A");
    EXPECT_TRUE(locations.ShouldLoad(u"Cardio A"));
    EXPECT_FALSE(locations.ShouldLoad(u"Cardio B"));
    locations.Select(u"All activated folders");
    EXPECT_TRUE(locations.ShouldLoad(u""));
    EXPECT_TRUE(locations.ShouldLoad(u"Closed hospitalization"));
    locations.Select(u"No location");
    EXPECT_TRUE(locations.ShouldLoad(u""));
    EXPECT_TRUE(locations.ShouldLoad(u"No location"));
    EXPECT_FALSE(locations.ShouldLoad(u"Cardio A"));
    locations.Select(u"Closed hospitalization");
    EXPECT_TRUE(locations.ShouldLoad(u"Closed hospitalization"));
    EXPECT_FALSE(locations.ShouldLoad(u"Cardio A"));
}

TEST_F(LocationListTest, BeginPatient) {
    test::FixedClock clock(DateTime{2006, 3, 13, 9, 41, 7});
    PatientRecord r;
    locations.Select(u"Cardio B");
    BeginPatient(r, locations, false, clock);
    EXPECT_EQ(r.inUse, 1);
    EXPECT_EQ(r.location, u"Cardio B");
    EXPECT_EQ(r.Field(94), u"Cardio B");
    EXPECT_EQ(r.Field(200), u"6255667");
    EXPECT_EQ(r.admissionDay, 2263);
    EXPECT_EQ(r.subfolderType, u"Ambu");
    EXPECT_EQ(Count(u"Cardio B"), 1);
    EXPECT_EQ(Count(u"All department"), 1);

    // A general selection places the patient at "No location", and counts it there.
    PatientRecord s;
    locations.Select(u"All department");
    BeginPatient(s, locations, true, clock);
    EXPECT_EQ(s.location, u"No location");
    EXPECT_EQ(s.Field(94), u"");  // no room yet: the room box is empty for typing
    EXPECT_EQ(s.subfolderType, u"Hosp");
    EXPECT_EQ(Count(u"XX No location XX"), 1);
    EXPECT_EQ(Count(u"All department"), 1);
    locations.UncountPatient(s.location);
    EXPECT_EQ(Count(u"XX No location XX"), 0);
}

// The fingerprint decides whether a record is written again: any one changed unit of any text,
// at any place of texts of any length (the lanes and the tail alike), must change it.
TEST(PatientRecordTest, FingerprintSeesEveryChangedUnit) {
    PatientRecord r;
    for (size_t length : {size_t{1}, size_t{3}, size_t{4}, size_t{15}, size_t{16}, size_t{17},
                          size_t{33}, size_t{70}}) {
        std::u16string text;
        for (size_t i = 0; i < length; ++i) text.push_back(static_cast<char16_t>(u'a' + i % 26));
        r.problemJournal = text;
        const uint64_t before = PatientFingerprint(r);
        for (size_t at = 0; at < length; ++at) {
            r.problemJournal = text;
            r.problemJournal[at] = u'é';
            EXPECT_NE(PatientFingerprint(r), before) << "length " << length << " at " << at;
        }
        r.problemJournal = text + u'\0';
        EXPECT_NE(PatientFingerprint(r), before) << "a zero unit added to " << length;
    }
    r.problemJournal.clear();
    const uint64_t empty = PatientFingerprint(r);
    r.fields[2] = u"x";
    EXPECT_NE(PatientFingerprint(r), empty);
    r.fields[2].clear();
    r.fields[3] = u"x";  // the same text in another field is another record
    const uint64_t third = PatientFingerprint(r);
    EXPECT_NE(third, empty);
    r.fields[3].clear();
    r.fields[2] = u"x";
    EXPECT_NE(PatientFingerprint(r), third);
}

}  // namespace
}  // namespace pondrel
