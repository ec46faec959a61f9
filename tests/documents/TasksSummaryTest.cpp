#include "SummaryFixture.h"
#include "documents/HtmlSummaries.h"

namespace pondrel::test {
namespace {

const std::u16string kTaskBar =
    uR"(<TABLE BORDER="0" WIDTH="100%" CELLSPACING="0" CELLPADDING="1"><TR><TD WIDTH="100%" )"
    uR"(BGCOLOR="#CCBFFD"><P ALIGN="left"><FONT SIZE="1"><B>)";

class TasksSummaryTest : public SummaryTest {
protected:
    TasksSummaryTest() {
        doe = Patient(u"Doe", u"John", u"13", u"3", u"1950");
        doe.SetField(94, u"12");
        doe.SetField(98, u"ECG#0|N|call GP#1|N|X-ray#2|*|");
        doe.problemJournal = u"§0|Pneumonia¦¦A¦§1|Diabetes¦¦A¦";
        roe = Patient(u"Roe", u"Jane", u"", u"", u"1971", 0);
        poe = Patient(u"Poe", u"Ann", u"1", u"2", u"1980", 0);
        poe.SetField(98, u"buy flowers");
    }

    std::u16string Build(std::vector<const PatientRecord*> patients) {
        BuildTasksSummary(html, patients, Context());
        return html.Text();
    }

    PatientRecord doe, roe, poe;
    HtmlText html;
};

TEST_F(TasksSummaryTest, ListsTheTasksOfEveryPatientInListOrder) {
    std::u16string expected =
        u"<HTML><BODY>" + kTaskBar +
        uR"(<FONT SIZE=1 COLOR="#7E32A4">12 : </FONT>Mr Doe J. &nbsp;13.3.1950</B><BR>)"
        uR"(<FONT SIZE=1 COLOR="#7662C0">Pneumonia</FONT></B></FONT>)" +
        kBarEnd +
        uR"(<FONT FACE="Tahoma" SIZE="1">- ECG<FONT COLOR="#ff0000">&nbsp;(Urgent !)</FONT>)"
        uR"(<BR>- call GP<FONT COLOR="#ff9933">&nbsp;(To do)</FONT>)"
        uR"(<BR>- X-ray <FONT COLOR="#d050ff">(Done)</FONT><br>&nbsp;)" +
        kTaskBar + u"Mrs Poe A. &nbsp;1.2.1980</B></FONT>" + kBarEnd +
        uR"(<FONT FACE="Tahoma" SIZE="1">- buy flowers<br>&nbsp;)" + u"</P></BODY></HTML>";
    EXPECT_EQ(Utf8(Build({&doe, &roe, &poe})), Utf8(expected));
    EXPECT_EQ(html.Chunks(), 1);
    EXPECT_EQ(html.Clears(), 1);
}

TEST_F(TasksSummaryTest, WithoutPatientsThePageKeepsWhatItShowed) {
    html.AppendHtml(u"before");
    Build({});
    EXPECT_EQ(html.Text(), u"before");
    EXPECT_EQ(html.Clears(), 0);
    EXPECT_EQ(html.Ends(), 0);
    // Patients without tasks: an empty page.
    EXPECT_EQ(Build({&roe}), u"<HTML><BODY></P></BODY></HTML>");
}

TEST_F(TasksSummaryTest, TaskMarksFollowTheirTasks) {
    // Urgent and not done: red "Urgent !"; done tasks in #d050ff, whatever their priority.
    doe.SetField(98, u"a#0|*|b#1|*|c#2|N|d|N|e#0|N|");
    std::u16string text = Build({&doe});
    EXPECT_NE(text.find(uR"(- a <FONT COLOR="#d050ff">(Done)</FONT><BR>- b <FONT COLOR="#d050ff">)"
                        uR"((Done)</FONT><BR>- c<BR>- d<BR>- e<FONT COLOR="#ff0000">&nbsp;)"
                        uR"((Urgent !)</FONT><br>&nbsp;)"),
              std::u16string::npos);
}

TEST_F(TasksSummaryTest, NamesRoomsTitlesAndTasksAreEscaped) {
    doe.SetField(94, u"<b>");
    doe.SetField(3, u"&John");
    doe.SetField(98, u"</table><script>#0|N|");
    doe.problemJournal = u"§0|<i>x¦¦A¦";
    std::u16string text = Build({&doe});
    EXPECT_NE(text.find(u"&lt;b&gt; : </FONT>Mr Doe &amp;. &nbsp;"), std::u16string::npos);
    EXPECT_NE(text.find(u"&lt;i&gt;x</FONT>"), std::u16string::npos);
    EXPECT_NE(text.find(u"- &lt;/table&gt;&lt;script&gt;<FONT"), std::u16string::npos);
}

}  // namespace
}  // namespace pondrel::test
