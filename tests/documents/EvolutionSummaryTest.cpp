#include "SummaryFixture.h"
#include "documents/HtmlSummaries.h"

namespace pondrel::test {
namespace {

const std::u16string kDayCell =
    uR"(<TD Height=50 VALIGN="MIDDLE" ALIGN="CENTER" BGCOLOR="#FBE6E3"><FONT SIZE="1"><b><br>)";
const std::u16string kDayCellEnd =
    uR"( <FONT Color="#FBE6E3">xxxxxxxxxxxxxxxxx</FONT></b></FONT></TD>)";
const std::u16string kRepeatHeader =
    uR"(<TD VALIGN="MIDDLE" ALIGN="CENTER" BGCOLOR="#FBE6E3"><FONT SIZE="1"><b>Problem</b></FONT></TH>)";

class EvolutionSummaryTest : public SummaryTest {
protected:
    EvolutionSummaryTest() {
        record = Patient(u"Doe", u"John", u"13", u"3", u"1950");
        record.admissionDay = record.historyStartDay = kMar13;
        record.problemJournal =
            u"§0|Pneumonia¦¦A¦§1|Diabetes¦¦A¦"
            u"#2263§0|cough|crackles|||||#2264§1||||insulin|||";
        open.record = &record;
        open.currentDay = kMar14;
        open.days = {kMar13, kMar14};
        sources.age = u"56 years";
    }

    std::u16string Build() {
        BuildEvolutionSummary(html, open, Context());
        return html.Text();
    }

    PatientRecord record;
    OpenPatient open;
    HtmlText html;
};

TEST_F(EvolutionSummaryTest, ShowsProblemsByDayTheLatestFirst) {
    record.SetField(198, u"check CRP");
    sources.running.treatments = {{u"insulin", u"D2 (Start  14.3.06)"}};
    std::u16string expected =
        uR"(<HTML><BODY><FONT FACE="Tahoma" SIZE="1">)" + kBar +
        uR"(#C5B7FA"><P ALIGN="center"><B><FONT COLOR="#3D0380">Mr Doe John 13.3.1950)"
        u"</FONT></B>" +
        kBarEnd + uR"(<FONT COLOR="#8000ff">Age : 56 years</FONT>)" +
        uR"(<br><br><TABLE BORDER=1 CELLPADDING=1 CELLSPACING=-1 VALIGN="top">)"
        u"<TR><TD>&nbsp;<br>&nbsp;</TD>" +
        kDayCell + u"D2 - Tuesday 14 March 2006" + kDayCellEnd + kDayCell +
        u"D1 - Monday 13 March 2006" + kDayCellEnd + u"</TR>" +
        uR"(<TR><TH VALIGN="MIDDLE" BGCOLOR="#FBE6E3"><FONT SIZE="1"><b>Pneumonia</b></FONT></TH>)"
        uR"(<TD><FONT SIZE="1">&nbsp;</TD></FONT>)"
        uR"(<TD><FONT SIZE="1"><B>Anamnesia: </B>cough.<br><B>Status: </B>crackles.</TD></FONT>)"
        u"</TR>"
        uR"(<TR><TH VALIGN="MIDDLE" BGCOLOR="#FBE6E3"><FONT SIZE="1"><b>Diabetes</b></FONT></TH>)"
        uR"(<TD><FONT SIZE="1"><B>Medicine: </B>insulin.</TD></FONT>)"
        uR"(<TD><FONT SIZE="1">&nbsp;</TD></FONT>)"
        u"</TR></TABLE><br><br>"
        uR"(<br><HR  ALIGN="center" COLOR="#C5B7FA"  NOSHADE WIDTH=95%><br>)"
        uR"(<FONT COLOR="#8000ff"><U><B>Quick notes :</B></U></FONT><UL><LI>check CRP</UL>)"
        uR"(<FONT COLOR="#e13409" ALIGN="LEFT"><U><B>Treatments :</B></U></FONT><UL><LI>insulin)"
        uR"(<FONT COLOR="#d050ff">&nbsp;&nbsp;D2 (Start  14.3.06)<BR></FONT></UL><br>)"
        u"</P></BODY></HTML>";
    EXPECT_EQ(Utf8(Build()), Utf8(expected));
    EXPECT_EQ(html.Chunks(), 3);
}

TEST_F(EvolutionSummaryTest, NineDaysRepeatTheProblemColumnBeforeTheFifthAndNinthDay) {
    open.days.clear();
    for (DayNumber d = kMar13; d < kMar13 + 9; ++d) open.days.push_back(d);
    std::u16string text = Build();
    EXPECT_EQ(CountOf(text, kRepeatHeader), 2u);
    // Day columns, latest first: D9 D8 D7 D6 | D5 D4 D3 D2 | D1, so the repeats stand before
    // the fifth and the ninth column.
    size_t firstRepeat = text.find(kRepeatHeader);
    EXPECT_LT(text.find(u"D6 - "), firstRepeat);
    EXPECT_LT(firstRepeat, text.find(u"D5 - "));
    size_t secondRepeat = text.find(kRepeatHeader, firstRepeat + 1);
    EXPECT_LT(text.find(u"D2 - "), secondRepeat);
    EXPECT_LT(secondRepeat, text.find(u"D1 - "));
    EXPECT_NE(text.find(u"<TD><PRE></PRE></TD></TR>"), std::u16string::npos);
    // Each problem row: its title, 9 cells, two repeats and the title again at the end.
    const std::u16string title =
        uR"(<TH VALIGN="MIDDLE" BGCOLOR="#FBE6E3"><FONT SIZE="1"><b>Pneumonia</b></FONT></TH>)";
    const std::u16string repeat =
        uR"(<TH VALIGN="MIDDLE" ALIGN="CENTER" BGCOLOR="#FBE6E3"><FONT SIZE="1"><b>Pneumonia)";
    EXPECT_EQ(CountOf(text, title), 2u);
    EXPECT_EQ(CountOf(text, repeat), 2u);
    EXPECT_NE(text.find(title + u"</TR>"), std::u16string::npos);
}

TEST_F(EvolutionSummaryTest, FourDaysHaveNoRepeatColumn) {
    open.days = {kMar13, kMar13 + 1, kMar13 + 2, kMar13 + 3};
    std::u16string text = Build();
    EXPECT_EQ(text.find(u"<b>Problem</b>"), std::u16string::npos);
    EXPECT_EQ(text.find(u"<PRE>"), std::u16string::npos);
}

TEST_F(EvolutionSummaryTest, AGridWithoutEntriesIsLeftOutAndTheAgeOfANewbornIsShownPerDay) {
    open.days = {kMar15};
    sources.agesByDay[kMar15] = u"(34w 3/7) D3 = 34w 5/7";
    std::u16string text = Build();
    EXPECT_EQ(text.find(u"<TABLE BORDER=1"), std::u16string::npos);

    open.days = {kMar13, kMar15};
    text = Build();
    EXPECT_NE(text.find(u"D3 - Wednesday 15 March 2006:<br></b>"
                        uR"(<FONT COLOR="#C69BDB">(34w 5/7)</FONT><b> <FONT Color)"),
              std::u16string::npos);
}

TEST_F(EvolutionSummaryTest, TitlesAreEscapedInEveryCell) {
    record.problemJournal = u"§0|<td>x¦¦A¦#2263§0|a||||||";
    open.days.clear();
    for (DayNumber d = kMar13; d < kMar13 + 6; ++d) open.days.push_back(d);
    std::u16string text = Build();
    EXPECT_EQ(text.find(u"<td>x"), std::u16string::npos);
    EXPECT_EQ(CountOf(text, u"&lt;td&gt;x"), 3u);
}

}  // namespace
}  // namespace pondrel::test
