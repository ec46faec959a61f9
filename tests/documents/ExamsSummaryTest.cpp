#include "SummaryFixture.h"
#include "documents/HtmlSummaries.h"

namespace pondrel::test {
namespace {

const std::u16string kTable =
    uR"(<BR><BR><table ALIGN="center" border="1" width="176" CELLPADDING=0 CELLSPACING=-1>)";

class ExamsSummaryTest : public SummaryTest {
protected:
    ExamsSummaryTest() {
        record = Patient(u"Doe", u"John", u"13", u"3", u"1950");
        record.admissionDay = record.historyStartDay = kMar13;
        record.SetField(94, u"12");
        record.problemJournal =
            u"§0|Pneumonia¦¦A¦§1|Diabetes¦¦A¦"
            u"#2263§0|||CRP 120\r\n-Chest X-ray: right lower lobe opacity|||"
            u"§1|||glucose 9 .||||"
            u"#2264§0|||Na 140 , K 4||||";
        open.record = &record;
        open.currentDay = kMar14;
        open.days = {kMar13, kMar14, kMar15};
    }

    std::u16string Build() {
        BuildExamsSummary(html, open, Context());
        return html.Text();
    }

    PatientRecord record;
    OpenPatient open;
    HtmlText html;
};

TEST_F(ExamsSummaryTest, ListsTheExaminationsDayByDayThenTheAdmissionExaminations) {
    record.SetField(79, u"Hb 14\r\n-CRP 5 .");
    record.SetField(20, u"sinus rhythm");
    std::u16string expected =
        u"<HTML><BODY><FONT FACE=\"Tahoma\" SIZE=1>" + kBar +
        uR"(#C5B7FA"><P ALIGN="center"><B><FONT SIZE="1">Mr Doe John 13.3.1950</FONT></B>)" +
        kBarEnd + uR"(<FONT COLOR="#8000ff">Room n° 12</FONT>)" + kBar +
        uR"(#ffd0a6"><P ALIGN="center"><B><FONT SIZE="1">Examinations</FONT></B>)" + kBarEnd +
        // 14 March: one long item; 13 March: a short one in the table, two long ones.
        uR"(<br><FONT COLOR="#8000ff"><U><B>D2 - Tuesday 14 March 2006</B></U></FONT>)"
        u"<BR><UL><LI>Na 140 , K 4</UL>"
        uR"(<br><FONT COLOR="#8000ff"><U><B>D1 - Monday 13 March 2006</B></U></FONT>)" +
        kTable + u"</tr><tr><td><font size=1>&nbsp;CRP 120</td></tr></table>" +
        u"<BR><UL><LI>Chest X-ray: right lower lobe opacity<LI>glucose 9.</UL>" + kBar +
        uR"(#ffd0a6"><P ALIGN="center"><B><FONT SIZE="1">Admission examinations</FONT></B>)" +
        kBarEnd + u"<B>Labo : </B>Hb 14, CRP 5.<BR><B>ECG : </B>sinus rhythm.<BR>" +
        u"</P></BODY></HTML>";
    EXPECT_EQ(Utf8(Build()), Utf8(expected));
}

TEST_F(ExamsSummaryTest, ShortItemsFillRowsOfThreeCells) {
    record.problemJournal = u"§0|A¦¦A¦#2263§0|||Na 140\r\nK 4\r\nCl 100\r\nCa 2.3||||";
    record.SetField(94, u"");
    std::u16string text = Build();
    EXPECT_NE(
        text.find(kTable + u"</tr><tr><td><font size=1>&nbsp;Na 140</td>"
                           u"<td><font size=1>&nbsp;K 4</td><td><font size=1>&nbsp;Cl 100</td>"
                           u"</tr><tr><td><font size=1>&nbsp;Ca 2.3</td></tr></table><BR></P>"),
        std::u16string::npos);
    // Neither room nor head doctor: a line break follows the name bar.
    EXPECT_NE(text.find(u"</FONT></B>" + kBarEnd + u"<br>" + kBar), std::u16string::npos);
}

TEST_F(ExamsSummaryTest, DaysBeforeTheHistoryAndDaysWithoutExaminationsAreLeftOut) {
    record.historyStartDay = kMar14;
    record.problemJournal += u"#2265§1|only a note||||||";
    std::u16string text = Build();
    EXPECT_EQ(text.find(u"13 March"), std::u16string::npos);
    EXPECT_EQ(text.find(u"15 March"), std::u16string::npos);
    EXPECT_NE(text.find(u"14 March"), std::u16string::npos);
    EXPECT_EQ(text.find(u"Admission examinations"), std::u16string::npos);
}

TEST_F(ExamsSummaryTest, ExaminationTextsAreEscaped) {
    record.problemJournal = u"§0|A¦¦A¦#2263§0|||<b>\r\n</table> & more than ten||||";
    record.SetField(85, u"<img src=x>");
    std::u16string text = Build();
    EXPECT_NE(text.find(u"&nbsp;&lt;b&gt;</td>"), std::u16string::npos);
    EXPECT_NE(text.find(u"<LI>&lt;/table&gt; &amp; more than ten</UL>"), std::u16string::npos);
    EXPECT_NE(text.find(u"</B>&lt;img src=x&gt;.<BR>"), std::u16string::npos);
}

}  // namespace
}  // namespace pondrel::test
