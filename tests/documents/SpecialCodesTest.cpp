#include <gtest/gtest.h>

#include "LetterFixtures.h"
#include "documents/CodeReplacer.h"
#include "documents/RtfFormat.h"
#include "documents/TemplateCode.h"
#include "platform/Text.h"

namespace pondrel::test {
namespace {

// Escaped text without the trimming of a whole replacement.
std::string E(std::u16string_view text) {
    std::u16string out;
    AppendRtfEscaped(out, text);
    return ToUtf8(out);
}

class SpecialCodesTest : public ::testing::Test {
protected:
    RtfMarkup Replace(std::u16string_view code) {
        TemplateData data = SampleData(record);
        data.dateOrder = dateOrder;
        data.treatmentsToday = treatmentsToday;
        data.actionsToday = actionsToday;
        data.treatmentCourses = treatmentCourses;
        data.age = record.Field(15);
        CodeReplacer replacer(data);
        return replacer.Replace(*ParseCode(code));
    }
    std::u16string Plain(std::u16string_view code) { return Replace(code).PlainText(); }
    std::string Rtf(std::u16string_view code) {
        std::u16string rtf = Replace(code).Escaped();
        for (char16_t& c : rtf) {
            if (c == kKeptBlank) c = u'_';
        }
        return ToUtf8(rtf);
    }

    PatientRecord record = SamplePatient();
    DateOrder dateOrder = DateOrder::DayMonthYear;
    std::vector<std::u16string> treatmentsToday;
    std::vector<std::u16string> actionsToday;
    std::vector<TreatmentCourse> treatmentCourses;
};

TEST_F(SpecialCodesTest, PatientNameAndDates) {
    EXPECT_EQ(Plain(u"550"), u"Mrs Doe Jane 4.7.1950");
    EXPECT_EQ(Plain(u"560"), u"4.7.1950");
    EXPECT_EQ(Plain(u"555"), u"Mrs Doe");
    record.sex = 1;
    dateOrder = DateOrder::MonthDayYear;
    EXPECT_EQ(Plain(u"550"), u"Mr Doe Jane 7.4.1950");
    // The stay's dates follow the date order as the birth date does: one order per letter.
    EXPECT_EQ(Plain(u"551"), u"3.13.2006");
    EXPECT_EQ(Plain(u"552"), u"");
    EXPECT_EQ(Plain(u"552d"), u"<Exit>");
    record.exitDateSet = 1;
    record.exit = {2006, 3, 20, 11, 0, 0};
    EXPECT_EQ(Plain(u"552d"), u"3.20.2006");
    dateOrder = DateOrder::DayMonthYear;
    EXPECT_EQ(Plain(u"551"), u"13.3.2006");
    EXPECT_EQ(Plain(u"552d"), u"20.3.2006");
}

TEST_F(SpecialCodesTest, NameCodesShowTheirPlaceholderWithoutALastName) {
    record.SetField(2, u"");
    EXPECT_EQ(Plain(u"550d"), u"<Patient name>");
    EXPECT_EQ(Plain(u"560d"), u"<Patient name>");
    EXPECT_EQ(Plain(u"555d"), u"<Patient name>");  // label 58
    EXPECT_EQ(Plain(u"550"), u"Mrs  Jane 4.7.1950");
}

// A new patient whose civility was never chosen has no title word, and no blank before the name.
TEST_F(SpecialCodesTest, NameCodesWithoutAChosenCivility) {
    record.sex = kSexNotChosen;
    EXPECT_EQ(Plain(u"550"), u"Doe Jane 4.7.1950");
    EXPECT_EQ(Plain(u"555"), u"Doe");
    EXPECT_EQ(Plain(u"555d"), u"Doe");
    record.SetField(2, u"");
    EXPECT_EQ(Plain(u"555d"), u"<Patient name>");
}

TEST_F(SpecialCodesTest, ProblemTitles) {
    EXPECT_EQ(Plain(u"553"), u"Pneumonia (J18.9) (!)");
    EXPECT_EQ(Plain(u"554"), u"Diabetes");
    EXPECT_EQ(Plain(u"564"), u"(J18.9)");
    record.problemJournal =
        u"\u00A70|Asthma\u00A6\u00A6A\u00A6\u00A71|Flu (J11) (!!!)\u00A6\u00A6A\u00A6"
        u"\u00A72|Sepsis (A41\u00A6\u00A6A\u00A6\u00A73|Gout (M10)\u00A6\u00A6A\u00A6";
    EXPECT_EQ(Plain(u"564"), u"(J11)(M10)");
    EXPECT_EQ(Rtf(u"554"),
              E(u"Flu (J11) (!!!)") + "\\par " + E(u"Sepsis (A41") + "\\par " + E(u"Gout (M10)"));
    record.problemJournal.clear();
    EXPECT_EQ(Plain(u"553d"), u"<>");
    EXPECT_EQ(Plain(u"554d"), u"<No secondary diagnosis>");
    EXPECT_EQ(Plain(u"558d"), u"<No discussion>");
    EXPECT_EQ(Plain(u"562d"), u"<No discussion>");
    EXPECT_EQ(Plain(u"563d"), u"<No discussion>");
}

TEST_F(SpecialCodesTest, AgeKeepsOnlyYearsPastFive) {
    EXPECT_EQ(Plain(u"556"), u"55 years");
    record.SetField(15, u"3 years, 2 months, 1 days");
    EXPECT_EQ(Plain(u"556"), u"3 years, 2 months, 1 days");
    record.SetField(15, u"(34w 3/7) D12 = 11d");
    EXPECT_EQ(Plain(u"556"), u"(34w 3/7) D12 = 11d");
    record.SetField(15, u"");
    EXPECT_EQ(Plain(u"556d"), u"<Age>");
}

TEST_F(SpecialCodesTest, BodyMassIndex) {
    EXPECT_EQ(Plain(u"557"), u"BMI 22.9");
    EXPECT_EQ(Plain(u"561"), u"22.9");
    record.SetField(95, u"");
    EXPECT_EQ(Plain(u"557"), u"");
    EXPECT_EQ(Plain(u"557d"), u"<BMI>");
    EXPECT_EQ(Plain(u"561d"), u"<BMI>");
}

TEST_F(SpecialCodesTest, TreatmentsAndActions) {
    treatmentsToday = {u"Amoxicillin (Clamoxyl) 1 g x3", u"Insulin"};
    EXPECT_EQ(Rtf(u"559"), E(u"Amoxicillin (Clamoxyl) 1 g x3") + "\\par " + E(u"Insulin"));
    EXPECT_EQ(Plain(u"567d"), u"< No specified attitude >");
    treatmentsToday.clear();
    EXPECT_EQ(Plain(u"559d"), u"<No medicines>");
    treatmentCourses = {{u"Amoxicillin (Clamoxyl) 1 g", 2263, std::nullopt, false},
                        {u"Paracetamol", 2264, std::nullopt, false},
                        {u"Insulin", 2263, 2265, false}};
    EXPECT_EQ(Rtf(u"565"), E(u"Amoxicillin (Clamoxyl) 1 g") + "\\par " + E(u"Insulin"));
    EXPECT_EQ(Plain(u"566d"), u"<No medicines>");
}

TEST_F(SpecialCodesTest, NumbersWithoutMeaningGiveNothing) {
    for (std::u16string_view code : {u"230", u"549d", u"568d", u"E600", u"99999"}) {
        EXPECT_TRUE(Replace(code).Empty()) << ToUtf8(code);
    }
}

TEST_F(SpecialCodesTest, SynthesisListsEveryProblemWithItsRedaction) {
    EXPECT_EQ(Rtf(u"563"), "\\par }{\\b\\ul " + E(u"Pneumonia (J18.9) (!) : ") + "\\par }{\\ " +
                               E(u"Better on antibiotics") + "\\par \\par }{\\b\\ul " +
                               E(u"Diabetes : ") + "\\par ");
    // The lines of a redaction are paragraphs; the punctuation left at their ends is cleaned.
    record.problemJournal = u"\u00A70|Asthma\u00A6\u00A6A\u00A6Stable ,\r\nno attack..";
    EXPECT_EQ(Rtf(u"563"), "\\par }{\\b\\ul " + E(u"Asthma : ") + "\\par }{\\ " + E(u"Stable,") +
                               "\\par " + E(u"no attack.") + "\\par ");
}

TEST_F(SpecialCodesTest, DiscussionTellsEachProblemDayByDay) {
    EXPECT_EQ(Plain(u"558"),
              u"Pneumonia (J18.9) (!) : D1: Anamnesia: cough. Status: crackles right. "
              u"Examinations: CRP 120. Medicine: amoxicillin 1 g x3. Differential diagnosis: "
              u"Heart failure. D2: Status: better. Synthesis: Better on antibiotics"
              u"Diabetes : D1: Examinations: glucose 9. Medicine: insulin. ");
    const std::string rtf = Rtf(u"558");
    const std::string start = "\\par }{\\b\\ul " + E(u"Pneumonia (J18.9) (!) : ") + "\\par }{\\b " +
                              E(u"D1:") + "}{\\ " + E(u" ") + "}{\\i\\ul " + E(u"Anamnesia:") +
                              "}{\\ " + E(u" cough. ") + "}{\\i\\ul ";
    EXPECT_EQ(rtf.substr(0, start.size()), start);
    const std::string end = "\\par \\par }{\\ }{\\b " + E(u"Synthesis:") + "}{\\ " +
                            E(u" Better on antibiotics") + "\\par \\par }{\\b\\ul ";
    EXPECT_NE(rtf.find(end), std::string::npos);
}

TEST_F(SpecialCodesTest, DiscussionUsesTheDayListPositions) {
    // A consultation list: the second row is day 2300, whatever the dates between.
    TemplateData data = SampleData(record);
    data.stayDays = {2264, 2300};
    record.problemJournal += u"#2300\u00A71|||||ok|";
    CodeReplacer replacer(data);
    EXPECT_EQ(replacer.Replace(*ParseCode(u"558")).PlainText(),
              u"Pneumonia (J18.9) (!) : D1: Status: better. Differential diagnosis: Heart "
              u"failure. Synthesis: Better on antibiotics"
              u"Diabetes : D2: Other: ok. ");
}

TEST_F(SpecialCodesTest, AdmissionProblemsOfTheAdmissionDay) {
    const std::string rtf = Rtf(u"562");
    const std::string dd = "\\par}{_____}{\\ul " + E(u"Differential diagnosis:") +
                           "\\par}{\\ _____" + E(u"- Heart failure");
    const std::string exams =
        "\\par}{_____}{\\ul " + E(u"Examinations:") + "\\par}{\\ _____" + E(u"- CRP 120");
    EXPECT_EQ(rtf.substr(0, rtf.find(dd)), "\\par }{\\b\\ul " + E(u"Pneumonia (J18.9) (!) : "));
    EXPECT_NE(rtf.find(dd + exams), std::string::npos);
    EXPECT_EQ(Replace(u"562").PlainText(),
              u"Pneumonia (J18.9) (!) : Differential diagnosis:- Heart failureExaminations:- CRP "
              u"120Medicine:- amoxicillin 1 g x3Diabetes : Examinations:- glucose 9Medicine:- "
              u"insulin");
}

TEST_F(SpecialCodesTest, AdmissionProblemsOfAnAmbulatoryFolderAreThoseOfTheCurrentDay) {
    record.subfolderType = u"Ambu";
    record.problemJournal += u"#2265\u00A71|||||diet\r\n-walk|";
    EXPECT_EQ(Replace(u"562").PlainText(),
              u"Pneumonia (J18.9) (!) : Differential diagnosis:- Heart failureDiabetes : Other:- "
              u"diet- walk");
    EXPECT_NE(Rtf(u"562").find(E(u"- diet") + "\\par _____" + E(u"- walk")), std::string::npos);
}

}  // namespace
}  // namespace pondrel::test
