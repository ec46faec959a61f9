#include "mainform/RecordNavigation.h"

#include <gtest/gtest.h>

#include "TestPlatform.h"
#include "records/PatientSet.h"

using namespace pondrel;
using pondrel::test::U8;

namespace {

class RecordNavigationTest : public ::testing::Test {
protected:
    // `count` records, the first `inUse` of them begun.
    void Fill(int count, int inUse) {
        for (int i = 0; i < count; ++i) m_patients.AddNew().inUse = i < inUse ? 1 : 0;
    }
    using Move = RecordNavigation::Move;
    RecordNavigation::Result Apply(Move move) { return RecordNavigation::Apply(m_patients, move); }

    test::FixedClock m_clock;
    PatientSet m_patients{m_clock};
};

}  // namespace

TEST_F(RecordNavigationTest, FirstPreviousLastAndCounter) {
    Fill(3, 3);
    EXPECT_EQ(U8(RecordNavigation::CounterText(m_patients)), "3/3");
    Apply(Move::First);
    EXPECT_EQ(U8(RecordNavigation::CounterText(m_patients)), "1/3");
    Apply(Move::Previous);
    EXPECT_EQ(m_patients.CurrentNumber(), 1);
    Apply(Move::Last);
    EXPECT_EQ(m_patients.CurrentNumber(), 3);
    Apply(Move::Previous);
    EXPECT_EQ(U8(RecordNavigation::CounterText(m_patients)), "2/3");
}

TEST_F(RecordNavigationTest, NextPastTheLastInUseRecordAppendsAnEmptyOne) {
    Fill(2, 2);
    Apply(Move::First);
    EXPECT_FALSE(Apply(Move::Next).appended);
    EXPECT_EQ(m_patients.CurrentNumber(), 2);
    EXPECT_TRUE(Apply(Move::Next).appended);
    EXPECT_EQ(U8(RecordNavigation::CounterText(m_patients)), "3/3");
    EXPECT_EQ(m_patients.Current()->inUse, 0);
    // The empty record is not left by "Next", and no second empty record is added.
    EXPECT_FALSE(Apply(Move::Next).appended);
    EXPECT_EQ(U8(RecordNavigation::CounterText(m_patients)), "3/3");
}

TEST_F(RecordNavigationTest, NewPatientOnAnEmptyLastRecordAddsNoOther) {
    Fill(3, 2);
    Apply(Move::First);
    EXPECT_FALSE(Apply(Move::NewPatient).appended);
    EXPECT_EQ(U8(RecordNavigation::CounterText(m_patients)), "3/3");
    EXPECT_FALSE(Apply(Move::NewPatient).appended);
    EXPECT_EQ(m_patients.Count(), 3);
}

TEST_F(RecordNavigationTest, NewPatientAfterARecordInUse) {
    Fill(2, 2);
    Apply(Move::First);
    EXPECT_TRUE(Apply(Move::NewPatient).appended);
    EXPECT_EQ(U8(RecordNavigation::CounterText(m_patients)), "3/3");
    EXPECT_EQ(m_patients.Current()->inUse, 0);
}

TEST_F(RecordNavigationTest, NewPatientOnAnEmptySet) {
    EXPECT_EQ(U8(RecordNavigation::CounterText(m_patients)), "1/0");
    EXPECT_FALSE(Apply(Move::Next).appended);
    EXPECT_TRUE(Apply(Move::NewPatient).appended);
    EXPECT_EQ(U8(RecordNavigation::CounterText(m_patients)), "1/1");
}

TEST_F(RecordNavigationTest, NextStopsAtPositionTenThousand) {
    Fill(RecordNavigation::kMaxPosition, RecordNavigation::kMaxPosition);
    Apply(Move::Last);
    EXPECT_EQ(m_patients.CurrentNumber(), 10000);
    EXPECT_FALSE(Apply(Move::Next).appended);
    EXPECT_EQ(m_patients.Count(), 10000);
    EXPECT_EQ(m_patients.CurrentNumber(), 10000);
    Apply(Move::Previous);
    EXPECT_FALSE(Apply(Move::Next).appended);  // 9999 moves on to 10000
    EXPECT_EQ(m_patients.CurrentNumber(), 10000);
}

TEST_F(RecordNavigationTest, ClearCheckBoxes) {
    Fill(3, 3);
    m_patients.At(0)->checked = 1;
    m_patients.At(2)->checked = 1;
    EXPECT_EQ(RecordNavigation::ClearCheckBoxes(m_patients), 2);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(m_patients.At(i)->checked, 0);
    EXPECT_EQ(m_patients.CurrentNumber(), 3);
}
