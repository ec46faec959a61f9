#include "SummaryFixture.h"
#include "documents/HtmlSummaries.h"

namespace pondrel::test {
namespace {

const std::u16string kNameBar =
    kBar + uR"(#C5B7FA"><P ALIGN="center"><B><FONT COLOR="#3D0380" SIZE="2">)";
const std::u16string kInfo = uR"(<FONT SIZE="1" COLOR="#7E32A4">)";

class AllPatientsSummaryTest : public SummaryTest {
protected:
    AllPatientsSummaryTest() {
        doe = Patient(u"Doe", u"John", u"13", u"3", u"1950");
        doe.SetField(94, u"12");
        doe.SetField(60, u"House");
        doe.SetField(98, u"ECG#0|N|");
        doe.problemJournal = u"§0|Pneumonia¦¦A¦#2263§0|cough||||||";
        poe = Patient(u"Poe", u"Ann", u"1", u"3", u"2006", 0);
        poe.SetField(203, u"34 3");
        sources.ages[u"Poe"] = u"(34w 3/7) D13";
        sources.dayLists[u"Doe"].actions = {{u"O2", u"Start"}};
    }

    std::u16string Build(std::vector<const PatientRecord*> patients, DayNumber day = kMar13) {
        caption = BuildAllPatientsSummary(html, patients, day, u"D1 - Mo 13 Mar 06", Context());
        return html.Text();
    }

    PatientRecord doe, poe;
    HtmlText html;
    std::u16string caption;
};

TEST_F(AllPatientsSummaryTest, ShowsEveryPatientOnTheDay) {
    std::u16string expected =
        uR"(<HTML><BODY><FONT FACE="Tahoma" SIZE="1">)" + kNameBar +
        u"Mr Doe John 13.3.1950</B></FONT><br>" + kInfo + u"Room n° 12</FONT><br>" + kInfo +
        u"Head doctor : Dr House</FONT></FONT></B>" + kBarEnd + u"<br>" +
        uR"(<FONT SIZE="1" COLOR="#8000ff"><U><B>P1 - Pneumonia:</B></U>&nbsp; Start 13 Mar 06)"
        uR"(</FONT><FONT SIZE="1" COLOR="#000000"><UL><LI><B>Anamnesia : </B>cough.)"
        u"</UL></FONT></FONT>"
        u"<br><HR WIDTH=73% SIZE=1><br>"
        uR"(<FONT SIZE="1" COLOR="#b60081"><U><B>Actions :</B></U></FONT>)"
        uR"(<FONT SIZE="1" COLOR="#000000"><UL><LI>O2<FONT SIZE="1" COLOR="#d050ff">)"
        u"&nbsp;&nbsp;Start</FONT></UL></FONT>"
        uR"(<FONT SIZE="1" COLOR="#ff33cc"><U><B>To do :</B></U></FONT>)"
        uR"(<FONT SIZE="1" COLOR="#000000"><UL><LI>ECG<FONT COLOR="#ff0000">&nbsp;(Urgent !))"
        u"</FONT></UL></FONT>" +
        // A newborn: the age below the name; no room, doctor or problem.
        kNameBar + u"Mrs Poe Ann 1.3.2006<br>" + kInfo + u"(34w 3/7) D13</FONT>" +
        u"</B></FONT><br><br></FONT></B>" + kBarEnd + u"<br><BR></P></BODY></HTML>";
    EXPECT_EQ(Utf8(Build({&doe, &poe})), Utf8(expected));
    EXPECT_EQ(caption, u"D1 Mo 13 Mar 06");
    EXPECT_EQ(sources.listDays, (std::vector<DayNumber>{kMar13, kMar13}));
}

TEST_F(AllPatientsSummaryTest, NoPatientGivesAnEmptyPage) {
    EXPECT_EQ(Build({}), uR"(<HTML><BODY><FONT FACE="Tahoma" SIZE="1"></P></BODY></HTML>)");
}

TEST_F(AllPatientsSummaryTest, ClosedProblemsAreLeftOutAndTheNumbersKept) {
    doe.problemJournal = u"§0|One¦¦A¦§1|Two¦¦C¦§2|Three¦¦A¦";
    std::u16string text = Build({&doe}, kMar14);
    EXPECT_NE(text.find(u"P1 - One"), std::u16string::npos);
    EXPECT_EQ(text.find(u"Two"), std::u16string::npos);
    EXPECT_NE(text.find(u"P3 - Three"), std::u16string::npos);
    EXPECT_EQ(sources.listDays, std::vector<DayNumber>{kMar14});
}

}  // namespace
}  // namespace pondrel::test
