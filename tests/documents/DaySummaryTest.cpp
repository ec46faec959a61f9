#include "SummaryFixture.h"
#include "documents/HtmlSummaries.h"

namespace pondrel::test {
namespace {

// Pieces of markup the day summary is made of, written out once.
const std::u16string kInfo = uR"(<FONT SIZE="1" COLOR="#8000ff">)";

class DaySummaryTest : public SummaryTest {
protected:
    DaySummaryTest() {
        record = Patient(u"Doe", u"John", u"13", u"3", u"1950");
        record.admissionDay = record.historyStartDay = kMar13;
        record.SetField(94, u"12");
        record.SetField(60, u"House");
        record.problemJournal =
            u"§0|Pneumonia¦¦A¦§1|Fracture¦¦C¦§2|Diabetes¦MODY¦I¦"
            u"#2262§2|||glucose 9||||"
            u"#2263§0|cough|crackles right\r\n-fever?||||§1|cast||||||"
            u"#2264§2||||insulin|||";
        open.record = &record;
        open.currentDay = kMar13;
        open.days = {kMar13, kMar14, kMar15};
        open.dayCaption = u"D1 - Mo 13 Mar 06";
        sources.age = u"56 years , 0 months , 0 days";
    }

    std::u16string Build() {
        caption = BuildDaySummary(html, open, Context());
        return html.Text();
    }

    PatientRecord record;
    OpenPatient open;
    HtmlText html;
    std::u16string caption;
};

// A head doctor typed with the title keeps one title; a name that only begins like it keeps it.
TEST_F(DaySummaryTest, TheDoctorsTitleIsWrittenOnce) {
    for (auto [typed, shown] : {std::pair<std::u16string, std::u16string>{u"Dr L. Brenner",
                                                                         u"Dr L. Brenner"},
                                {u"dr. Brenner", u"dr. Brenner"},
                                {u"Drummond", u"Dr Drummond"}}) {
        record.SetField(60, typed);
        html.Clear();
        EXPECT_NE(Build().find(u"Head doctor : " + shown + u"</FONT>"), std::u16string::npos)
            << ToUtf8(typed);
    }
}

TEST_F(DaySummaryTest, ShowsEveryOpenProblemOfTheDayWithNotesListsAndTasks) {
    record.SetField(198, u"-call wife\r\n-check CRP\r\n");
    record.SetField(98, u"ECG#0|N|X-ray#2|*|");
    sources.onDay.treatments = {{u"amoxicillin 1 g x3", u"Start"}};

    std::u16string expected =
        uR"(<HTML><BODY><FONT FACE="Tahoma" SIZE="1">)" + kBar +
        uR"(#C5B7FA"><P ALIGN="center"><B><FONT COLOR="#3D0380" SIZE="1">Mr Doe John 13.3.1950)"
        u"</FONT></B>" +
        kBarEnd + kInfo + u"Room n° 12</FONT><br>" + kInfo + u"Head doctor : Dr House</FONT>" +
        u"<br>" + kInfo + u"Age : 56 years , 0 months , 0 days</FONT>" + kBar +
        uR"(#E9BBE9"><P ALIGN="center"><B><FONT COLOR="#3D0380" SIZE="1">D1 - Mo 13 Mar 06)"
        u"</FONT></B>" +
        kBarEnd + u"<BR>" +
        // Problem 1, active; problem 2 is closed and left out; problem 3 is solved.
        uR"(<FONT SIZE="1" COLOR="#8000ff"><U><B>P1 - Pneumonia:</B></U>&nbsp; Start 13 Mar 06)"
        uR"(</FONT><FONT SIZE="1" COLOR="#000000"><UL><LI><B>Anamnesia : </B>cough.)"
        u"<LI><B>Status : </B>crackles right, fever?</UL></FONT></FONT>"
        uR"(<FONT SIZE="1" COLOR="#C69BDB"><U><B>P3 - Diabetes:</B></U>&nbsp; )"
        u"12 Mar 06 - 14 Mar 06 (Solved)</FONT>"
        uR"(<FONT SIZE="1" COLOR="#C69BDB"><UL><LI><B>Differential diagnosis : </B>MODY.)"
        u"</UL></FONT></FONT>"
        // Quick notes.
        u"<br><HR WIDTH=95% SIZE=1><br>"
        uR"(<FONT SIZE="1" COLOR="#8000ff"><U><B>Quick notes :</B></U></FONT>)"
        uR"(<FONT SIZE="1" COLOR="#000000"><UL><LI>call wife<LI>check CRP</UL></FONT>)"
        // What runs that day and the tasks.
        u"<br><HR WIDTH=95% SIZE=1><br>"
        uR"(<FONT SIZE="1" COLOR="#e13409"><U><B>Treatments :</B></U></FONT>)"
        uR"(<FONT SIZE="1" COLOR="#000000"><UL><LI>amoxicillin 1 g x3)"
        uR"(<FONT COLOR="#d050ff">&nbsp;&nbsp;Start</FONT></UL></FONT>)"
        uR"(<FONT SIZE="1" COLOR="#ff33cc"><U><B>To do :</B></U></FONT>)"
        uR"(<FONT SIZE="1" COLOR="#000000"><UL><LI>ECG<FONT COLOR="#ff0000">&nbsp;(Urgent !))"
        uR"(</FONT><LI>X-ray <FONT COLOR="#d050ff">(Done)</FONT></UL></FONT>)"
        u"</P></BODY></HTML>";
    EXPECT_EQ(Utf8(Build()), Utf8(expected));
    EXPECT_EQ(html.Clears(), 1);
    EXPECT_EQ(html.Ends(), 1);
    // Heading, two problems, notes, separator, treatments, tasks, end.
    EXPECT_EQ(html.Chunks(), 8);
    EXPECT_EQ(caption, u"D1 Mo 13 Mar 06");
    EXPECT_EQ(sources.listDays, std::vector<DayNumber>{kMar13});
}

TEST_F(DaySummaryTest, ADayWithoutEntriesStillListsTheProblemsAndNothingElse) {
    open.currentDay = kMar15;
    std::u16string text = Build();
    EXPECT_NE(text.find(u"P1 - Pneumonia:</B></U>&nbsp; Start 13 Mar 06</FONT>"
                        uR"(<FONT SIZE="1" COLOR="#000000"><UL></UL></FONT></FONT>)"),
              std::u16string::npos);
    EXPECT_EQ(text.find(u"<HR"), std::u16string::npos);  // no notes, lists or tasks
    EXPECT_EQ(text.find(u"P2 -"), std::u16string::npos);
}

TEST_F(DaySummaryTest, AnEmptyJournalGivesTheHeadingAlone) {
    record.problemJournal.clear();
    record.SetField(94, u"");
    record.SetField(60, u"");
    std::u16string text = Build();
    // Without room or doctor the age line follows the name bar directly.
    EXPECT_NE(text.find(u"</TABLE>" + kInfo + u"Age : "), std::u16string::npos);
    EXPECT_TRUE(
        text.ends_with(u"D1 - Mo 13 Mar 06</FONT></B>" + kBarEnd + u"<BR></P></BODY></HTML>"));
}

TEST_F(DaySummaryTest, HostileTextsAreShownAsTypedAndNeverBecomeMarkup) {
    record.SetField(2, u"<script>alert(1)</script>");
    record.SetField(3, u"Tom & \"Jerry\"");
    record.SetField(94, u"</table>");
    record.problemJournal = u"§0|</TABLE><b>¦&amp;¦A¦#2263§0||<LI>x</UL>|||||";
    record.SetField(198, u"</UL></FONT>");
    record.SetField(98, u"<b>#0|N|");
    sources.onDay.actions = {{u"</UL>", u"<i>"}};
    std::u16string text = Build();
    for (std::u16string_view raw : {u"<script", u"</table>", u"<b>", u"<LI>x", u"<i>"}) {
        EXPECT_EQ(text.find(raw), std::u16string::npos) << ToUtf8(raw);
    }
    EXPECT_NE(text.find(u"&lt;script&gt;alert(1)&lt;/script&gt; Tom &amp; &quot;Jerry&quot;"),
              std::u16string::npos);
    EXPECT_NE(text.find(u"P1 - &lt;/TABLE&gt;&lt;b&gt;:"), std::u16string::npos);
    EXPECT_NE(text.find(u"</B>&amp;amp;."), std::u16string::npos);
    // The markup the summary writes itself stays balanced.
    EXPECT_EQ(CountOf(text, u"<UL>"), CountOf(text, u"</UL>"));
    EXPECT_EQ(CountOf(text, u"<TABLE"), CountOf(text, u"</TABLE>"));
}

TEST_F(DaySummaryTest, SolvedAndUnknownStatesAndTheProblemNumbersOfTheJournal) {
    // A damaged state code is shown like an active problem in the colours of the one before.
    record.problemJournal = u"§0|One¦¦I¦§1|Two¦¦C¦§2|Three¦¦X¦#2263§0|a||||||";
    std::u16string text = Build();
    EXPECT_NE(text.find(uR"(<FONT SIZE="1" COLOR="#C69BDB"><U><B>P1 - One:)"),
              std::u16string::npos);
    EXPECT_NE(text.find(uR"(<FONT SIZE="1" COLOR="#C69BDB"><U><B>P3 - Three:</B></U>&nbsp; )"
                        u"(Empty)</FONT>"),
              std::u16string::npos);
    EXPECT_EQ(text.find(u"P2 -"), std::u16string::npos);
}

}  // namespace
}  // namespace pondrel::test
