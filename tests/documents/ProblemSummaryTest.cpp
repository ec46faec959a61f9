#include "SummaryFixture.h"
#include "documents/HtmlSummaries.h"

namespace pondrel::test {
namespace {

class ProblemSummaryTest : public SummaryTest {
protected:
    ProblemSummaryTest() {
        record = Patient(u"Doe", u"John", u"13", u"3", u"1950");
        record.admissionDay = record.historyStartDay = kMar13;
        record.problemJournal =
            u"§0|Pneumonia¦Heart failure\r\n-PE¦A¦-better\r\nafebrile.§1|Diabetes¦¦I¦"
            u"#2262§0|old||||||"
            u"#2263§0|cough|crackles right|CRP 120|amoxicillin 1 g x3|||"
            u"#2264§0||better , afebrile .||||stop O2|";
        open.record = &record;
        open.currentDay = kMar15;
        open.days = {kMar13, kMar14, kMar15};
        open.dayCaption = u"D3 - We 15 Mar 06";
        sources.age = u"56 years";
    }

    std::u16string Build() {
        caption = BuildProblemSummary(html, open, Context());
        return html.Text();
    }

    PatientRecord record;
    OpenPatient open;
    HtmlText html;
    std::u16string caption;
};

TEST_F(ProblemSummaryTest, ShowsTheProblemDayByDayWithItsSynthesisDiagnosesAndLists) {
    sources.agesByDay[kMar14] = u"(34w 3/7) D9 = 35w 5/7";
    sources.running.treatments = {{u"amoxicillin 1 g x3", u"D3 (Start  13.3.06)"}};
    sources.running.actions = {{u"O2", u"Stop D2 (Start  13.3.06)"}};
    std::u16string expected =
        uR"(<HTML><BODY><FONT FACE="Tahoma" SIZE=1>)" + kBar +
        uR"(#C5B7FA"><P ALIGN="center"><B><FONT COLOR="#3D0380" SIZE="1">Mr Doe John 13.3.1950)"
        u"</FONT></B>" +
        kBarEnd + uR"(<FONT COLOR="#8000ff">Age : 56 years</FONT>)" + kBar +
        uR"(#ffd0a6"><P ALIGN="center"><B><FONT SIZE="1">P 1/2 - Pneumonia</FONT></B>)" + kBarEnd +
        u"<BR>" +
        // The latest day first; 12 March lies before the stay and is left out.
        uR"(<FONT COLOR="#8000ff"><U><B>D2 - Tuesday 14 March 2006)"
        uR"(:</B></U>&nbsp;&nbsp;<FONT COLOR="#C69BDB">(35w 5/7)</FONT><B><U>)"
        u"</B></U></FONT><UL><LI><B>Status : </B>better, afebrile."
        u"<LI><B>Attitude : </B>stop O2.</UL>"
        uR"(<FONT COLOR="#8000ff"><U><B>D1 - Monday 13 March 2006</B></U></FONT>)"
        u"<UL><LI><B>Anamnesia : </B>cough.<LI><B>Status : </B>crackles right."
        u"<LI><B>Examinations : </B>CRP 120.<LI><B>Medicine : </B>amoxicillin 1 g x3.</UL>"
        // The problem's synthesis as stored, its differential diagnosis, what runs today.
        u"<br><HR WIDTH=95% SIZE=1><br>"
        uR"(<FONT COLOR="#8000ff"><U><B>Synthesis:</B></U></FONT><UL>-better)"
        u"\r\nafebrile.</UL>"
        u"<br><HR WIDTH=95% SIZE=1><br>"
        uR"(<FONT COLOR="#ff9966"><U><B>Differential diagnosis :</B></U></FONT>)"
        u"<UL><LI>Heart failure<BR><LI>PE</UL>"
        uR"(<FONT COLOR="#e13409"><U><B>Treatments :</B></U></FONT><UL><LI>amoxicillin 1 g x3)"
        uR"(<FONT COLOR="#d050ff">&nbsp;&nbsp;D3 (Start  13.3.06)</FONT></UL>)"
        uR"(<FONT COLOR="#b60081"><U><B>Actions :</B></U></FONT><UL><LI>O2)"
        uR"(<FONT COLOR="#d050ff">&nbsp;&nbsp;Stop D2 (Start  13.3.06)</FONT></UL>)"
        u"</P></BODY></HTML>";
    EXPECT_EQ(Utf8(Build()), Utf8(expected));
    EXPECT_EQ(caption, u"P1/2 - Pneumonia");
}

TEST_F(ProblemSummaryTest, SolvedAndClosedProblemsSayWhatTheyAre) {
    open.currentProblem = 1;
    std::u16string text = Build();
    EXPECT_NE(text.find(uR"(<FONT SIZE="1">P 2/2 - Diabetes (Solved)</FONT>)"),
              std::u16string::npos);
    EXPECT_EQ(caption, u"P2/2 - Diabetes (Solved)");
    // A problem without entries, synthesis or diagnosis: the bar and nothing else.
    EXPECT_TRUE(text.ends_with(kBarEnd + u"<BR></P></BODY></HTML>"));

    record.problemJournal = u"§0|Old fracture¦¦C¦";
    open.currentProblem = 0;
    Build();
    EXPECT_EQ(caption, u"P1/1 - Old fracture (Closed)");
}

TEST_F(ProblemSummaryTest, AnAmbulatoryFolderShowsItsConsultationsWithoutDayCounts) {
    record.subfolderType = u"Ambu";
    record.historyStartDay = kMar14;
    open.days = {kMar13, kMar14};
    std::u16string text = Build();
    EXPECT_NE(text.find(u"<U><B>Tuesday 14 March 2006</B>"), std::u16string::npos);
    // 13 March lies before the history period chosen.
    EXPECT_EQ(text.find(u"13 March"), std::u16string::npos);
}

TEST_F(ProblemSummaryTest, ALongTitleMakesACaptionOfFiftyCharacters) {
    record.problemJournal = u"§0|" + std::u16string(80, u'x') + u"¦¦A¦";
    Build();
    EXPECT_EQ(caption, u"P1/1 - " + std::u16string(43, u'x'));
    // The bar shows the whole title.
    EXPECT_NE(html.Text().find(u"P 1/1 - " + std::u16string(80, u'x') + u"</FONT>"),
              std::u16string::npos);
}

TEST_F(ProblemSummaryTest, TheSynthesisAndDiagnosisAreEscapedToo) {
    record.problemJournal = u"§0|a¦<i>-x</i>¦A¦<script>&amp;";
    std::u16string text = Build();
    EXPECT_NE(text.find(u"<UL>&lt;script&gt;&amp;amp;</UL>"), std::u16string::npos);
    EXPECT_NE(text.find(u"<UL><LI>&lt;i&gt;x&lt;/i&gt;</UL>"), std::u16string::npos);
}

}  // namespace
}  // namespace pondrel::test
