#include <gtest/gtest.h>

#include "LetterFixtures.h"
#include "documents/CodeReplacer.h"
#include "documents/LetterData.h"
#include "documents/TemplateCode.h"

namespace pondrel::test {
namespace {

std::u16string Code(const TemplateData& data, std::u16string_view code) {
    return CodeReplacer(data).Replace(*ParseCode(code)).PlainText();
}

class LetterDataTest : public ::testing::Test {
protected:
    TemplateData Open(const DateTime& now) {
        LetterDays days = DaysOnOpening(record, FactoryLabels(), now);
        return MakeTemplateData(record, FactoryLabels(), DateOrder::DayMonthYear, now, days);
    }

    PatientRecord record = SamplePatient();
};

TEST_F(LetterDataTest, AStayRunsFromTheAdmissionToTodayOrToTheExit) {
    const TemplateData data = Open({2006, 3, 15, 10, 0, 0});
    EXPECT_EQ(data.stayDays, (std::vector<DayNumber>{2263, 2264, 2265}));
    EXPECT_EQ(data.currentDay, 2265);
    record.exitDateSet = 1;
    record.exit = {2006, 3, 14, 17, 0, 0};
    const TemplateData closed = Open({2006, 4, 1, 10, 0, 0});
    EXPECT_EQ(closed.stayDays, (std::vector<DayNumber>{2263, 2264}));
    EXPECT_EQ(closed.currentDay, 2264);
}

TEST_F(LetterDataTest, AnAmbulatoryFolderListsItsConsultations) {
    record.subfolderType = u"Ambu";
    const TemplateData data = Open({2006, 5, 2, 10, 0, 0});
    EXPECT_EQ(data.stayDays, (std::vector<DayNumber>{2263, 2264}));
    EXPECT_EQ(Code(data, u"558").substr(0, 30), u"Pneumonia (J18.9) (!) : D1: An");
}

TEST_F(LetterDataTest, TheAgeIsTheIdentityPageAgeOfToday) {
    const TemplateData data = Open({2006, 3, 15, 10, 0, 0});
    EXPECT_EQ(data.age, u"55 years, 8 months, 11 days");
    EXPECT_EQ(Code(data, u"556"), u"55 years");
}

TEST_F(LetterDataTest, TreatmentsOfTheCurrentDayAndOfTheAdmissionDay) {
    // Started on the admission day with brackets in the drug line, one stopped the next day,
    // one started later.
    record.problemJournal =
        u"\u00A70|Pneumonia\u00A6\u00A6A\u00A6"
        u"#2263\u00A70||||Amoxicillin (Clamoxyl) 1 g x3\r\n-Paracetamol 1 g|||"
        u"#2264\u00A70||||Paracetamol 1 g (Stop)\r\n-Oxygen 2 l/min||Chest X-ray|"
        u"#2265\u00A70||||||Physiotherapy|";
    const TemplateData data = Open({2006, 3, 15, 10, 0, 0});
    EXPECT_EQ(Code(data, u"565"), u"Amoxicillin (Clamoxyl) 1 g x3Paracetamol 1 g");
    EXPECT_EQ(data.treatmentsToday,
              (std::vector<std::u16string>{u"Amoxicillin (Clamoxyl) 1 g x3", u"Oxygen 2 l/min"}));
    EXPECT_EQ(data.actionsToday, (std::vector<std::u16string>{u"Chest X-ray", u"Physiotherapy"}));
    EXPECT_EQ(Code(data, u"566d"), u"<No medicines>");
}

TEST_F(LetterDataTest, ALetterListsOnlyWhatRunsAfterItsDay) {
    // Stopped on the letter's day, a one-time dose of that day and an action ended that day are
    // not current treatment; a stop on a later day is.
    record.problemJournal =
        u"\u00A70|Pneumonia\u00A6\u00A6A\u00A6"
        u"#2263\u00A70||||Amoxicillin 1 g x3\r\n-Heparin 5000 IU||Blood cultures|"
        u"#2265\u00A70||||Amoxicillin 1 g x3 (Stop)\r\n-Morphine 2 mg (One time)\r\n"
        u"-Paracetamol 1 g||Blood cultures (Stop)\r\n-Physiotherapy|";
    const TemplateData data = Open({2006, 3, 15, 10, 0, 0});
    EXPECT_EQ(data.treatmentsToday,
              (std::vector<std::u16string>{u"Heparin 5000 IU", u"Paracetamol 1 g"}));
    EXPECT_EQ(data.actionsToday, (std::vector<std::u16string>{u"Physiotherapy"}));
    EXPECT_EQ(Code(data, u"559"), u"Heparin 5000 IUParacetamol 1 g");
    // Seen from the day before, the amoxicillin still runs.
    record.exitDateSet = 1;
    record.exit = {2006, 3, 14, 17, 0, 0};
    const TemplateData before = Open({2006, 4, 1, 10, 0, 0});
    EXPECT_EQ(before.treatmentsToday,
              (std::vector<std::u16string>{u"Amoxicillin 1 g x3", u"Heparin 5000 IU"}));
}

}  // namespace
}  // namespace pondrel::test
