// The patient list: columns, room order with empty beds, sorting and taps.

#include <gtest/gtest.h>

#include "TestPlatform.h"
#include "labels/Labels.h"
#include "mainform/PatientList.h"
#include "records/PatientRecord.h"
#include "records/PatientSet.h"

namespace pondrel {
namespace {

using test::U8;
using Row = PatientListRow;

class PatientListTest : public ::testing::Test {
protected:
    PatientRecord& Add(std::u16string_view last, std::u16string_view first,
                       std::u16string_view year, std::u16string_view room) {
        PatientRecord& r = set.AddNew();
        r.inUse = 1;
        r.SetField(2, std::u16string(last));
        r.SetField(3, std::u16string(first));
        r.SetField(4, u"20");
        r.SetField(5, u"1");
        r.SetField(6, std::u16string(year));
        r.SetField(94, std::u16string(room));
        return r;
    }
    std::vector<Row> Build(PatientListOrder order = {}, std::vector<std::u16string> rooms = {}) {
        return BuildPatientList(set, rooms, order, labels, AgeWords{}, DateOrder::DayMonthYear,
                                t.clock.now);
    }
    static std::vector<std::string> Column(const std::vector<Row>& rows, int column) {
        std::vector<std::string> texts;
        for (const Row& row : rows) texts.push_back(U8(row.columns[column]));
        return texts;
    }

    test::TestPlatform t;
    PatientSet set{t.clock};
    Labels labels = Labels::Defaults();
};

TEST_F(PatientListTest, FifteenColumnsOfAPatient) {
    labels.uiLabels[54] = u"Mrs";
    labels.uiLabels[55] = u"Mr";
    PatientRecord& r = Add(u"Doe", u"John", u"1961", u"12");
    r.sex = 1;
    r.icon = 29;
    r.checked = 1;
    r.SetField(60, u"Wilmer");
    r.SetField(7, u"70");
    r.location = u"Cardio A";
    r.problemJournal = u"\u00A70|Pneumonia\u00A6\u00A6A\u00A6";
    std::vector<Row> rows = Build();
    ASSERT_EQ(rows.size(), 1u);
    const Row& row = rows[0];
    EXPECT_EQ(row.record, 0);
    EXPECT_EQ(row.icon, 5);
    EXPECT_TRUE(row.checked);
    const std::vector<std::string> expected{
        "12",   "Mr Doe J  1961", "Wilmer", "Pneumonia", "1",         "12",       "Mr",     "Doe",
        "John", "20.1.1961",      "45y+1m", "70",        "13.3.2006", "Cardio A", "Checked"};
    for (int c = 0; c < kPatientListColumns; ++c) {
        EXPECT_EQ(U8(row.columns[c]), expected[static_cast<size_t>(c)]) << "column " << c;
    }
}

TEST_F(PatientListTest, RoomOrderListsEveryPatientAndTheEmptyBeds) {
    Add(u"Alpha", u"A", u"1950", u"3");
    Add(u"Beta", u"B", u"1951", u"1");
    Add(u"Gamma", u"C", u"1952", u"Corridor");
    Add(u"Delta", u"D", u"1953", u"1");  // a second patient in room 1
    std::vector<Row> rows = Build({}, {u"1", u"2", u"-> Cardio B", u"3"});
    EXPECT_EQ(Column(rows, Row::kLastName),
              (std::vector<std::string>{"Beta", "Delta", "-----", "Alpha", "Gamma"}));
    EXPECT_TRUE(rows[2].IsEmptyBed());
    EXPECT_EQ(U8(rows[2].columns[Row::kRoom]), "2");
    EXPECT_EQ(TapRow(rows[2], 3), PatientListTap::EmptyBed);
    EXPECT_EQ(TapRow(rows[0], 0), PatientListTap::ToggleCheck);
    EXPECT_EQ(TapRow(rows[0], 7), PatientListTap::Open);
    // Without a room list, the set's order.
    EXPECT_EQ(Column(Build(), Row::kLastName),
              (std::vector<std::string>{"Alpha", "Beta", "Gamma", "Delta"}));
}

TEST_F(PatientListTest, SortingByAColumnAndBackToTheRooms) {
    for (int i = 0; i < 12; ++i) Add(u"P" + ToText(12 - i), u"X", u"1950", ToText(i));
    PatientListOrder order = TapHeading({}, Row::kLastName);
    EXPECT_EQ(order.sortColumn, Row::kLastName);
    EXPECT_EQ(order.sortDirection, 0);
    std::vector<std::string> names = Column(Build(order), Row::kLastName);
    EXPECT_EQ(names.front(), "P1");
    EXPECT_EQ(names[1], "P2");  // numbers in texts compare as numbers
    EXPECT_EQ(names.back(), "P12");
    order = TapHeading(order, Row::kLastName);
    EXPECT_EQ(order.sortDirection, 1);
    EXPECT_EQ(Column(Build(order), Row::kLastName).front(), "P12");
    order = TapHeading(order, Row::kRoom);
    EXPECT_EQ(order.sortColumn, 0);
    EXPECT_EQ(Column(Build(order), Row::kLastName).front(), "P12");  // the set's order

    EXPECT_EQ(ColumnWidth(4), 40);
}

TEST_F(PatientListTest, DatesAndAgesSortByTheirValue) {
    // Born 1.5.2023, 1.12.2022 and 15.1.2023; admitted in the same order of texts.
    PatientRecord& may = Add(u"May", u"X", u"2023", u"1");
    may.SetField(4, u"1");
    may.SetField(5, u"5");
    may.admission = {2026, 5, 1, 10, 0, 0};
    PatientRecord& december = Add(u"December", u"X", u"2022", u"2");
    december.SetField(4, u"1");
    december.SetField(5, u"12");
    december.admission = {2026, 12, 1, 10, 0, 0};
    PatientRecord& january = Add(u"January", u"X", u"2023", u"3");
    january.SetField(4, u"15");
    january.SetField(5, u"1");
    january.admission = {2026, 1, 15, 10, 0, 0};
    Add(u"Unknown", u"X", u"", u"4");
    auto names = [&](int column, int direction) {
        return Column(Build({column, direction}), Row::kLastName);
    };
    using Names = std::vector<std::string>;
    EXPECT_EQ(names(Row::kBirthDate, 0), (Names{"December", "January", "May", "Unknown"}));
    EXPECT_EQ(names(Row::kAge, 0), (Names{"May", "January", "December", "Unknown"}));
    EXPECT_EQ(names(Row::kAge, 1), (Names{"Unknown", "December", "January", "May"}));
    auto admitted = [&](int direction) {
        Names dated;
        for (const std::string& name : names(Row::kAdmission, direction)) {
            if (name != "Unknown") dated.push_back(name);
        }
        return dated;
    };
    EXPECT_EQ(admitted(0), (Names{"January", "May", "December"}));
    EXPECT_EQ(admitted(1), (Names{"December", "May", "January"}));
    EXPECT_EQ(ColumnWidth(201), 40);
    EXPECT_EQ(ColumnWidth(90), 90);
}

}  // namespace
}  // namespace pondrel
