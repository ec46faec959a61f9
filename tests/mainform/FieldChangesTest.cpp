// Changes of the form's fields: read-only and not-begun rules, identity checks, mirrors and
// computed fields.

#include <gtest/gtest.h>

#include "TestPlatform.h"
#include "charts/GrowthCurves.h"
#include "labels/Labels.h"
#include "mainform/FieldChanges.h"
#include "records/LocationList.h"
#include "records/PatientRecord.h"
#include "records/PatientSet.h"

namespace pondrel {
namespace {

using test::U8;

class FieldChangesTest : public ::testing::Test {
protected:
    FieldChangesTest() {
        locations.SetNames({u"Cardio A"});
        locations.Select(u"Cardio A");
    }
    FieldChangeResult Type(int field, std::u16string_view text) {
        return changes.OnFieldChanged(*record, field, text);
    }
    // Types a whole identity, field after field.
    void Admit(std::u16string_view last, std::u16string_view first, std::u16string_view day,
               std::u16string_view month, std::u16string_view year) {
        Type(2, last);
        Type(3, first);
        Type(4, day);
        Type(5, month);
        Type(6, year);
    }
    bool Shown(const FieldChangeResult& r, int field) {
        return std::find(r.shown.begin(), r.shown.end(), field) != r.shown.end();
    }

    test::TestPlatform t;
    PatientSet set{t.clock};
    LocationList locations;
    FieldChanges changes{set, locations, t.clock, t.messages};
    PatientRecord* record = &set.AddNew();
};

TEST_F(FieldChangesTest, ARecordIsBegunOnceItsNameAndBirthDateStand) {
    // Before the identity, other fields are refused and emptied.
    FieldChangeResult r = Type(7, u"70");
    EXPECT_FALSE(r.stored);
    EXPECT_EQ(record->Field(7), u"");
    EXPECT_TRUE(Shown(r, 7));
    EXPECT_EQ(t.messages.notices.back().text, u"Set first the patient's name and birth date");
    EXPECT_EQ(t.messages.notices.back().milliseconds, 2000);

    Type(2, u"Doe");
    Type(3, u"John");
    Type(4, u"20");
    Type(5, u"1");
    EXPECT_EQ(record->inUse, 0);
    r = Type(6, u"61");  // completed to 1961
    EXPECT_TRUE(r.begun);
    EXPECT_EQ(record->inUse, 1);
    EXPECT_EQ(record->Field(6), u"1961");
    EXPECT_EQ(record->Field(124), u"1961");
    EXPECT_EQ(record->Field(120), u"Doe");
    EXPECT_EQ(record->location, u"Cardio A");
    EXPECT_EQ(record->Field(94), u"Cardio A");
    EXPECT_FALSE(record->Field(200).empty());
    EXPECT_EQ(U8(record->Field(15)), "45 years, 1 months, 21 days");
    EXPECT_TRUE(r.patientList && r.patientBox);

    // A year refused by its check does not begin a record.
    record = &set.AddNew();
    Admit(u"Roe", u"Jane", u"1", u"1", u"1850");
    EXPECT_EQ(record->Field(6), u"");
    EXPECT_EQ(record->inUse, 0);
}

TEST_F(FieldChangesTest, AReadOnlyFolderRefusesEveryEdit) {
    Admit(u"Doe", u"John", u"20", u"1", u"1961");
    record->lockState = u"R";
    for (int field : {7, 98, 198, 202}) {
        FieldChangeResult r = Type(field, u"x");
        EXPECT_FALSE(r.stored);
        EXPECT_TRUE(Shown(r, field));
        EXPECT_EQ(record->Field(field), u"");
        EXPECT_EQ(t.messages.notices.back().text, u"Read only");
        EXPECT_TRUE(t.messages.notices.back().warning);
    }
    EXPECT_FALSE(changes.ToggleCivility(*record));
    EXPECT_FALSE(changes.SetIcon(*record, 5));
    EXPECT_EQ(record->sex, kSexNotChosen);  // a new record's civility is not preset
    EXPECT_EQ(record->icon, 0);
    // The chart number is never typed.
    record->lockState = u"W";
    const std::u16string chart = record->Field(200);
    EXPECT_FALSE(Type(200, u"1").stored);
    EXPECT_EQ(record->Field(200), chart);
    EXPECT_TRUE(changes.ToggleCivility(*record));
    EXPECT_TRUE(changes.SetIcon(*record, 25));
    EXPECT_EQ(record->sex, 0);  // the first tap chooses, the next ones switch
    EXPECT_TRUE(changes.ToggleCivility(*record));
    EXPECT_EQ(record->sex, 1);
    EXPECT_TRUE(changes.ToggleCivility(*record));
    EXPECT_EQ(record->sex, 0);
    EXPECT_EQ(record->icon, 1);
}

TEST_F(FieldChangesTest, ADuplicateIdentityGetsThePreviousValueBack) {
    Admit(u"DUPONT", u"Jean", u"1", u"2", u"1950");
    record = &set.AddNew();
    Admit(u"Dupont", u"Jeanne", u"1", u"2", u"1950");
    ASSERT_EQ(record->inUse, 1);
    // "Jeanne" -> "jean": the same identity as the first patient, ignoring case.
    FieldChangeResult r = Type(121, u"jean");
    ASSERT_EQ(t.messages.boxes.size(), 1u);
    EXPECT_EQ(t.messages.boxes[0].caption, u"Identity duplication found");
    EXPECT_EQ(t.messages.boxes[0].text,
              u"This patient identity already exist among the active patients. You have to "
              u"specify another identity.");
    EXPECT_EQ(record->Field(121), u"Jeanne");
    EXPECT_EQ(record->Field(3), u"Jeanne");
    EXPECT_TRUE(Shown(r, 121));
}

TEST_F(FieldChangesTest, BirthDatesAreCheckedOnBothPages) {
    Admit(u"Doe", u"John", u"20", u"1", u"1961");
    FieldChangeResult r = Type(5, u"31");
    EXPECT_EQ(record->Field(5), u"");
    EXPECT_EQ(t.messages.notices.back().text, u"Date not valid");
    EXPECT_EQ(t.messages.notices.back().milliseconds, 1000);
    Type(5, u"4");
    Type(122, u"31");  // 31 April: the day just changed goes
    EXPECT_EQ(record->Field(122), u"");
    EXPECT_EQ(record->Field(4), u"");
    EXPECT_EQ(record->Field(15), u"44 years, 11 months, 12 days");  // 1 April 1961
    Type(122, u"30");
    EXPECT_EQ(record->Field(4), u"30");
    EXPECT_EQ(record->Field(15), u"44 years, 10 months, 13 days");
    Type(203, u"34 3");
    EXPECT_EQ(record->Field(15), u"44 years, 10 months, 13 days");
}

TEST_F(FieldChangesTest, MirrorsAndComputedFields) {
    Admit(u"Doe", u"John", u"20", u"1", u"1961");
    FieldChangeResult r = Type(11, u"120");
    EXPECT_EQ(record->Field(40), u"120");
    EXPECT_TRUE(Shown(r, 40));
    Type(47, u"97");
    EXPECT_EQ(record->Field(14), u"97");
    Type(7, u"70");
    r = Type(8, u"175");
    EXPECT_EQ(record->Field(95), u"22.9");
    EXPECT_TRUE(Shown(r, 95));
    changes.SetUnits(1);
    Type(8, u"69");
    EXPECT_EQ(record->Field(95), u"10.4");
    EXPECT_TRUE(Type(202, u"Cardio").arrangement);
    EXPECT_TRUE(Type(91, u"Aspirin").treatments);
    EXPECT_TRUE(Type(82, u"Thorax").examHistory);

    // Computed fields of other parts of the program hook in.
    changes.AddComputedFieldUpdater([](PatientRecord& rec, int changed) -> std::vector<int> {
        if (changed != 208) return {};
        rec.SetField(209, u"P50");
        return {209};
    });
    r = Type(208, u"35");
    EXPECT_EQ(record->Field(209), u"P50");
    EXPECT_TRUE(Shown(r, 209));
    // Unchanged text: nothing at all.
    r = Type(208, u"35");
    EXPECT_FALSE(r.stored);
    EXPECT_TRUE(r.shown.empty());
}

TEST_F(FieldChangesTest, AFieldLeftGetsItsUnitAndAChildsMeasurementItsBand) {
    const GrowthCurves curves = GrowthCurves::Load(t.messages);
    changes.SetGrowthCurves(&curves);
    // A boy born on New Year's Day, admitted today (13 March 2006).
    Admit(u"Doe", u"Tom", u"1", u"1", u"2006");
    record->sex = 1;
    Type(7, u"5.5");
    FieldChangeResult r = changes.OnFieldLeft(*record, 7, u"Weight [kg]");
    EXPECT_TRUE(r.stored);
    EXPECT_TRUE(Shown(r, 7));
    const std::string banded = U8(record->Field(7));
    EXPECT_EQ(banded.rfind("5.5kg (P", 0), 0u) << banded;
    EXPECT_EQ(banded.back(), ')');
    // Left again: the band is replaced, never doubled; typed over, it follows the new value.
    r = changes.OnFieldLeft(*record, 7, u"Weight [kg]");
    EXPECT_FALSE(r.stored);
    EXPECT_EQ(U8(record->Field(7)), banded);
    Type(7, u"3");
    changes.OnFieldLeft(*record, 7, u"Weight [kg]");
    EXPECT_EQ(U8(record->Field(7)), "3kg (<P3)");

    // Any field with a unit in its caption gets the unit; blanks only stay as they are.
    Type(9, u"38.5");
    changes.OnFieldLeft(*record, 9, u"T\u00b0 [\u00b0C]");
    EXPECT_EQ(record->Field(9), u"38.5\u00b0C");
    Type(13, u"  ");
    EXPECT_FALSE(changes.OnFieldLeft(*record, 13, u"Pulse [/min]").stored);
    EXPECT_EQ(record->Field(13), u"  ");

    // Without the curves the unit still comes.
    changes.SetGrowthCurves(nullptr);
    Type(8, u"60");
    changes.OnFieldLeft(*record, 8, u"Height [cm]");
    EXPECT_EQ(record->Field(8), u"60cm");
}

TEST_F(FieldChangesTest, LeavingAFieldNeverWritesWhereTheUserCouldNotType) {
    const size_t notices = t.messages.notices.size();
    // Not begun: the weight stays empty, no notice.
    record->SetField(2, u"Doe");
    EXPECT_FALSE(changes.OnFieldLeft(*record, 2, u"Name [x]").stored);
    EXPECT_EQ(record->Field(2), u"Doe");
    Admit(u"Doe", u"John", u"20", u"1", u"1961");
    Type(7, u"70");
    // A folder held by another user, or the chart number: nothing written, no notice.
    record->lockState = u"R";
    EXPECT_FALSE(changes.OnFieldLeft(*record, 7, u"Weight [kg]").stored);
    EXPECT_EQ(record->Field(7), u"70");
    record->lockState = u"W";
    const std::u16string chart = record->Field(200);
    EXPECT_FALSE(changes.OnFieldLeft(*record, 200, u"Chart [n]").stored);
    EXPECT_EQ(record->Field(200), chart);
    EXPECT_EQ(t.messages.notices.size(), notices);
    // An adult's weight gets its unit but no band.
    changes.OnFieldLeft(*record, 7, u"Weight [kg]");
    EXPECT_EQ(record->Field(7), u"70kg");
}

}  // namespace
}  // namespace pondrel
