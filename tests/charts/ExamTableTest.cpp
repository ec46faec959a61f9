// The exam table built from the free text of a record.

#include <gtest/gtest.h>

#include <string>

#include "charts/ExamTable.h"
#include "charts/ExamText.h"
#include "charts/ExamTitles.h"
#include "journal/JournalDays.h"
#include "journal/ProblemJournal.h"
#include "journal/SubfolderDates.h"
#include "labels/Labels.h"
#include "platform/Text.h"
#include "records/PatientRecord.h"

namespace pondrel {
namespace {

constexpr DayNumber kAdmission = 2263;  // 13 March 2006

class ExamTableTest : public ::testing::Test {
protected:
    ExamTableTest() {
        m_record.subfolderType = u"Hosp";
        m_record.admissionDay = kAdmission;
        m_record.admission = {2006, 3, 13, 10, 0, 0};
    }

    // Writes the Status and Examinations sections of a problem's entry.
    void Write(DayNumber day, int problem, std::u16string examinations,
               std::u16string status = u"") {
        ProblemJournal journal(m_record.problemJournal);
        Sections sections;
        sections[static_cast<int>(Section::Status)] = std::move(status);
        sections[static_cast<int>(Section::Examinations)] = std::move(examinations);
        ASSERT_FALSE(journal.SetEntry(day, problem, sections).refused);
        m_record.problemJournal = journal.Text();
    }

    ExamTable Build(std::u16string titles = u"", bool dayFirst = true) {
        ExamTableInput input;
        input.record = &m_record;
        input.labels = &m_labels;
        input.shownDays = ShownDaysOf(m_record, kAdmission + 9);
        input.examTitles = std::move(titles);
        input.dayFirst = dayFirst;
        return BuildExamTable(input);
    }

    // The cell of the row showing `title` on `day`; "missing" without such a row.
    static std::u16string Cell(const ExamTable& table, std::u16string_view title, DayNumber day) {
        for (size_t r = 0; r < table.rows.size(); ++r) {
            if (table.rows[r].ShownTitle() != title) continue;
            for (size_t c = 0; c < table.days.size(); ++c) {
                if (table.days[c] == day) return table.cells[r][c];
            }
            return u"no such day";
        }
        return u"missing";
    }

    static std::vector<std::u16string> Titles(const ExamTable& table) {
        std::vector<std::u16string> titles;
        for (const ExamRow& row : table.rows) titles.push_back(row.ShownTitle());
        return titles;
    }

    PatientRecord m_record;
    Labels m_labels = Labels::Defaults();
};

TEST_F(ExamTableTest, ValueWithCommaAndUnit) {
    Write(kAdmission + 1, 0, u"Hb 12,5 g/dl");
    ExamTable table = Build();
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(Cell(table, u"Hb", kAdmission + 1), u"12.5");
    EXPECT_EQ(table.days, std::vector<DayNumber>{kAdmission + 1});
    EXPECT_EQ(table.columnLabels, std::vector<std::u16string>{u" 14.3.06"});
    EXPECT_EQ(Build(u"", false).columnLabels, std::vector<std::u16string>{u" 3.14.06"});
}

TEST_F(ExamTableTest, OneResultPerLine) {
    Write(kAdmission, 0, u"Na 140 K 4.2");
    Write(kAdmission + 1, 0, u"Na 138\r\nK 3.9", u"T 37.5");
    ExamTable table = Build();
    EXPECT_EQ(Titles(table), (std::vector<std::u16string>{u"Na", u"K", u"T"}));
    EXPECT_EQ(Cell(table, u"Na", kAdmission), u"140");
    EXPECT_EQ(Cell(table, u"K", kAdmission), u"");
    EXPECT_EQ(Cell(table, u"K", kAdmission + 1), u"3.9");
    EXPECT_EQ(Cell(table, u"T", kAdmission + 1), u"37.5");
}

TEST_F(ExamTableTest, FirstResultOfTheDayIsShown) {
    Write(kAdmission, 0, u"CRP 120\r\n-CRP 90");
    Write(kAdmission, 1, u"CRP 80");
    ExamTable table = Build();
    ASSERT_EQ(table.rows.size(), 1u);
    // The first value comes first; the later ones of the day follow it, none is hidden.
    EXPECT_EQ(Cell(table, u"CRP", kAdmission), u"120;90;80");
    // The row keeps every value; the graph skips the later ones of a day.
    EXPECT_EQ(table.rows[0].values.size(), 3u);
}

TEST_F(ExamTableTest, AValueIsReadFromItsOwnLineOnly) {
    // A bracket written on a later day changes nothing of an earlier value.
    Write(kAdmission, 0, u"Glucose 5.5 mmol/l fasting");
    Write(kAdmission + 1, 0, u"CRP 12 (repeat)");
    ExamTable table = Build();
    EXPECT_EQ(Titles(table), (std::vector<std::u16string>{u"Glucose", u"CRP"}));
    EXPECT_EQ(Cell(table, u"Glucose", kAdmission), u"5.5");
    EXPECT_EQ(Cell(table, u"CRP", kAdmission + 1), u"12");
    for (const ExamRow& row : table.rows) EXPECT_FALSE(row.title.empty());
    // A reference range in brackets is not the value; a result below a limit keeps its sign.
    Write(kAdmission + 2, 0, u"CRP <5 (ref 0-5)\r\nNa (ref 135-145) 139");
    table = Build();
    EXPECT_EQ(Cell(table, u"CRP", kAdmission + 2), u"<5");
    EXPECT_EQ(Cell(table, u"Na", kAdmission + 2), u"139");
    EXPECT_EQ(Titles(table), (std::vector<std::u16string>{u"Glucose", u"CRP", u"Na"}));
}

TEST_F(ExamTableTest, LongerNamesAreOtherAnalytes) {
    Write(kAdmission, 0,
          u"Creatinine 80\r\nCreatinine clearance 95\r\nGlucose 5.1\r\nGlucose urine 0\r\n"
          u"Bilirubin 20\r\nBilirubin direct 5\r\nProtein 70\r\nProteinuria 0.3");
    ExamTable table = Build(u"Creatinine|Leu,Leucocytes|");
    EXPECT_EQ(Titles(table),
              (std::vector<std::u16string>{u"Creatinine", u"Leu", u"Creatinineclearance",
                                           u"Glucose", u"Glucoseurine", u"Bilirubin",
                                           u"Bilirubindirect", u"Protein", u"Proteinuria"}));
    EXPECT_EQ(Cell(table, u"Creatinine", kAdmission), u"80");
    EXPECT_EQ(Cell(table, u"Creatinineclearance", kAdmission), u"95");
    EXPECT_EQ(Cell(table, u"Proteinuria", kAdmission), u"0.3");
    EXPECT_EQ(Cell(table, u"Protein", kAdmission), u"70");
}

TEST_F(ExamTableTest, AliasesJoinRowsAndTheListOrdersThem) {
    Write(kAdmission, 0, u"Leu 7\r\nHb 11");
    Write(kAdmission + 2, 0, u"WBC 8\r\nLeucocytes 9");
    ExamTable joined = Build(u"Hb|Leu,WBC|");
    // "Leucocytes" is no alias of the list: a row of its own.
    EXPECT_EQ(Titles(joined), (std::vector<std::u16string>{u"Hb", u"Leu", u"Leucocytes"}));
    EXPECT_EQ(Cell(joined, u"Leu", kAdmission), u"7");
    EXPECT_EQ(Cell(joined, u"Leu", kAdmission + 2), u"8");
    EXPECT_EQ(joined.rows[1].title, u"Leu,WBC");
    ExamTable apart = Build();
    EXPECT_EQ(Titles(apart), (std::vector<std::u16string>{u"Leu", u"Hb", u"WBC", u"Leucocytes"}));
    // An alias with a blank matches the name written without it.
    Write(kAdmission + 3, 0, u"Cranial perimeter 35");
    ExamTable spaced = Build(u"Cranial perimeter,HC|");
    EXPECT_EQ(Cell(spaced, u"Cranial perimeter", kAdmission + 3), u"35");
}

TEST_F(ExamTableTest, NamesSharingTheirFirstLettersKeepTheirOwnRows) {
    Write(kAdmission, 0, u"Hemoglobin 12\r\nHematocrit 40\r\nK 4\r\nKreat 90");
    ExamTable table = Build();
    EXPECT_EQ(Titles(table),
              (std::vector<std::u16string>{u"Hemoglobin", u"Hematocrit", u"K", u"Kreat"}));
    EXPECT_EQ(Cell(table, u"Hemoglobin", kAdmission), u"12");
    EXPECT_EQ(Cell(table, u"Hematocrit", kAdmission), u"40");
    EXPECT_EQ(Cell(table, u"Kreat", kAdmission), u"90");
}

TEST_F(ExamTableTest, ProseAndLongItemsAreNotResults) {
    // A number followed by a long text and then a bracket is prose; a name and value longer
    // than 25 characters is not a result either.
    Write(kAdmission, 0, u"age 12 years old (about)\r\nVeryLongExaminationName 123456789012");
    EXPECT_TRUE(Build().rows.empty());
}

TEST_F(ExamTableTest, AdmissionFieldsGiveTheAdmissionDayRow) {
    m_record.SetField(7, u"3.5kg (P50)");
    ExamTable table = Build();
    EXPECT_EQ(Titles(table), std::vector<std::u16string>{u"Weight"});
    EXPECT_EQ(Cell(table, u"Weight", kAdmission), u"3.5");
    // With a journal entry on that day the line comes first, then the entry.
    Write(kAdmission, 0, u"CRP 5");
    m_record.SetField(9, u"38.2");
    m_record.SetField(79, u"Hb 13\r\n-Na 141");
    table = Build();
    EXPECT_EQ(Titles(table), (std::vector<std::u16string>{u"Hb", u"Na", u"T°", u"Weight", u"CRP"}));
    EXPECT_EQ(Cell(table, u"T°", kAdmission), u"38.2");
    // An ambulatory folder has no admission line.
    m_record.subfolderType = u"Ambu";
    m_record.historyStartDay = kAdmission;
    EXPECT_EQ(Titles(Build()), std::vector<std::u16string>{u"CRP"});
}

TEST_F(ExamTableTest, TemperatureWithAndWithoutItsDegreeSignIsOneRow) {
    // "T°" of the admission form, then "T" and "t °" written in the sections: one row, named as
    // first met, holding every day's value; the titles list may name it either way.
    m_record.SetField(9, u"38.2");
    Write(kAdmission + 1, 0, u"CRP 5", u"T 37.9");
    Write(kAdmission + 2, 0, u"", u"t ° 37.1\r\nTº 36.9");
    ExamTable table = Build();
    EXPECT_EQ(Titles(table), (std::vector<std::u16string>{u"T°", u"CRP"}));
    EXPECT_EQ(Cell(table, u"T°", kAdmission), u"38.2");
    EXPECT_EQ(Cell(table, u"T°", kAdmission + 1), u"37.9");
    EXPECT_EQ(Cell(table, u"T°", kAdmission + 2), u"37.1;36.9");
    EXPECT_EQ(Titles(Build(u"CRP|T|")), (std::vector<std::u16string>{u"CRP", u"T"}));
    EXPECT_EQ(Build(u"CRP|T|").rows[1].values.size(), 4u);
    // Only a degree sign at the end is left out, and a lone sign is no name.
    EXPECT_TRUE(ExamNameMatches(u"T°°", u"t"));
    EXPECT_FALSE(ExamNameMatches(u"T°max", u"Tmax"));
    EXPECT_FALSE(ExamNameMatches(u"°", u"°"));
    EXPECT_FALSE(ExamNameMatches(u"Tc", u"T"));
}

TEST_F(ExamTableTest, FiftyRowsAtMost) {
    // Sixty names without digits: "ExamAa", "ExamAb" ...
    auto name = [](int i) {
        return u"Exam" + std::u16string(1, static_cast<char16_t>(u'A' + i / 26)) +
               std::u16string(1, static_cast<char16_t>(u'a' + i % 26));
    };
    std::u16string text;
    for (int i = 0; i < 60; ++i) text += name(i) + u" 1\r\n";
    Write(kAdmission, 0, text);
    ExamTable table = Build(name(59) + u"|");
    ASSERT_EQ(table.rows.size(), 50u);
    EXPECT_EQ(table.rows.front().title, name(59));
    EXPECT_EQ(Cell(table, name(59), kAdmission), u"1");
    EXPECT_EQ(table.rows.back().title, name(48));
}

TEST_F(ExamTableTest, SeparatorsInFieldsCannotMakeDays) {
    m_record.SetField(79, u"#J99¢Hb¦1¢ 5");
    Write(kAdmission, 0, u"CRP 5");
    ExamTable table = Build();
    EXPECT_EQ(table.days, std::vector<DayNumber>{kAdmission});
    for (const ExamRow& row : table.rows) {
        for (const ExamValue& value : row.values) EXPECT_EQ(value.day, kAdmission);
    }
}

TEST(ExamTitlesList, SplitJoinAndMatch) {
    EXPECT_EQ(SplitExamTitles(u"Hb|Leu,WBC|"), (std::vector<std::u16string>{u"Hb", u"Leu,WBC"}));
    EXPECT_EQ(SplitExamTitles(u"Hb|CRP"), (std::vector<std::u16string>{u"Hb", u"CRP"}));
    EXPECT_EQ(JoinExamTitles({u"Hb", u"Leu,WBC"}), u"Hb|Leu,WBC|");
    std::u16string many;
    for (int i = 0; i < 70; ++i) many += u"T" + ToText(i) + u"|";
    EXPECT_EQ(SplitExamTitles(many).size(), 50u);
    EXPECT_EQ(ShownTitle(u"Leu,WBC"), u"Leu");
    EXPECT_EQ(ShownTitle(u",x"), u",x");
    EXPECT_TRUE(ExamNameMatches(u"hb", u"Hb"));
    EXPECT_TRUE(ExamNameMatches(u"Cranialperimeter", u"Cranial perimeter"));
    EXPECT_FALSE(ExamNameMatches(u"Leucocytes", u"Leu"));
    EXPECT_FALSE(ExamNameMatches(u"Creatinineclearance", u"Creatinine"));
    EXPECT_FALSE(ExamNameMatches(u"Glucose", u"Glucose urine"));
    EXPECT_FALSE(ExamNameMatches(u"Hemoglobin", u"Hematocrit"));
    EXPECT_FALSE(ExamNameMatches(u"K", u"Kreatinin"));
    EXPECT_FALSE(ExamNameMatches(u"", u"Na"));
}

TEST(ExamValueMarking, ValuesAreMarkedAndTheirLineDropped) {
    const std::u16string e = u"\u00A2";
    const std::u16string v = u"\u00A6";
    EXPECT_EQ(MarkExamValues(u"#J1" + e + u"Hb 12,5 g/dl" + e),
              u"#J1" + e + u"Hb" + v + u"12,5" + e);
    // A lone number on its line is a value without a name.
    EXPECT_EQ(MarkExamValues(u"#J1" + e + u"120" + e), u"#J1" + e + v + u"120" + e);
    // Digits inside a word are not a value.
    EXPECT_EQ(MarkExamValues(u"#J1" + e + u"Hb1x" + e), u"#J1" + e + u"Hb1x" + e);
    // A number alone after a name is a value, even inside a word.
    EXPECT_EQ(MarkExamValues(u"#J1" + e + u"pO2" + e), u"#J1" + e + u"pO" + v + u"2" + e);
    // A damaged text without item ends is copied, never read past its end.
    EXPECT_EQ(MarkExamValues(u"Hb1x 5"), u"Hb1x5");
    EXPECT_EQ(MarkExamValues(u""), u"");
}

TEST(ShownDays, HospitalisationAndAmbulatory) {
    SubfolderDates dates;
    dates.admissionDay = 100;
    EXPECT_EQ(ShownDayList(dates, {}, 103), (std::vector<DayNumber>{100, 101, 102, 103}));
    dates.exitDateSet = 1;
    dates.exit = DateOfDay(101);
    EXPECT_EQ(ShownDayList(dates, {}, 103), (std::vector<DayNumber>{100, 101}));
    dates.subfolderType = u"Ambu";
    dates.historyStartDay = 90;
    EXPECT_EQ(ShownDayList(dates, {80, 95, 99}, 103), (std::vector<DayNumber>{95, 99}));
    SubfolderDates old;
    old.admissionDay = -30000;
    EXPECT_EQ(ShownDayList(old, {}, 0).size(), static_cast<size_t>(kMaxDayRows));
}

}  // namespace
}  // namespace pondrel
