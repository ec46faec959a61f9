#include "SummaryFixture.h"
#include "documents/HtmlSummaries.h"

namespace pondrel::test {
namespace {

const std::u16string kField = uR"(<FONT COLOR="#4221A5">)";
const std::u16string kValue = uR"(<FONT COLOR="#6B6BD8">)";
const std::u16string kIndent = u"&nbsp;&nbsp;&nbsp;&nbsp;";

std::u16string PageBar(const std::u16string& title) {
    return kBar + uR"(#ffd0a6"><P ALIGN="center"><B><I><FONT COLOR="#995030" SIZE="1">)" + title +
           u"</FONT></B></I>" + kBarEnd;
}

class EntrySummaryTest : public SummaryTest {
protected:
    EntrySummaryTest() {
        record = Patient(u"Doe", u"John", u"13", u"3", u"1950");
        record.admission = {2006, 3, 13, 9, 41, 7};
        record.admissionDay = record.historyStartDay = kMar13;
        record.SetField(94, u"12");
        record.problemJournal =
            u"§0|Pneumonia¦Heart failure¦A¦"
            u"#2263§0|||CRP 120|amoxicillin\r\n-paracetamol||O2|";
        open.record = &record;
        open.currentDay = kMar15;
        open.days = {kMar13, kMar14, kMar15};
        sources.age = u"56 years";
        arrangement.fieldPage.fill(kNoFormPage);
        arrangement.pageTitles[1] = u"Status";
        arrangement.pageTitles[2] = u"History";
        arrangement.blockTitles = {u"Scores", u"Other"};
        arrangement.admissionCaption = u"Admission";
    }

    std::u16string Build() {
        BuildEntrySummary(html, open, arrangement, Context());
        return html.Text();
    }

    void Place(int field, int page) { arrangement.fieldPage[static_cast<size_t>(field)] = page; }

    PatientRecord record;
    OpenPatient open;
    FormArrangement arrangement;
    HtmlText html;
};

TEST_F(EntrySummaryTest, ShowsTheAdmissionRecordPageByPageThenTheProblems) {
    Place(61, 0);
    record.SetField(61, u"chest pain");
    for (int k : {7, 8, 9, 12, 13, 22}) Place(k, 1);
    record.SetField(7, u"80");
    record.SetField(8, u"180");
    record.SetField(9, u"38.5");
    record.SetField(12, u"80");
    record.SetField(13, u"95");
    record.SetField(22, u"none");
    Place(63, 2);
    record.SetField(63, u"-asthma\r\n-appendectomy 1990\r\n-");
    arrangement.blockPage[0] = 2;
    record.SetField(100, u"NIHSS 4");

    std::u16string scores = kBar +
                            uR"(#ecb7c4"><P ALIGN="center"><B><I><FONT COLOR="#663399" SIZE="1">)"
                            u"Scores</FONT></B></I>" +
                            kBarEnd + kField + u"-Edit 0 :</FONT>&nbsp;NIHSS 4.";
    for (int k = 1; k < 10; ++k) {
        scores += u"<BR >" + kField + u"-Edit " + ToText(k) + u" :</FONT>&nbsp;.";
    }
    std::u16string expected =
        uR"(<HTML><BODY><FONT COLOR="#6B6BD8" FACE="Tahoma" SIZE=1><p>)" + kBar +
        uR"(#CD86B5"><P ALIGN="center"><FONT SIZE="1"><B>Mr Doe John 13.3.1950</B>)"
        uR"(<P ALIGN="left">&nbsp;<u>Age:</u> 56 years<BR>&nbsp;<u>Room N°:</u> 12)"
        u"<BR>&nbsp;<u>Admission:</u> 13.3.2006</P><B></B></FONT>" +
        kBarEnd + u"<BR><BR>" +
        // Page 0; each chunk loses its leading line breaks.
        PageBar(u"General information") + kField +
        u"-Motive of hosp :</FONT>&nbsp;chest pain.<BR><BR>" +
        // Page 1: the vital signs in a table of two columns, in place of field 12.
        PageBar(u"Status") +
        uR"(<table border="1" width="211" CELLPADDING=0 CELLSPACING=-1>)"
        u"</tr><tr><td><font size=1>" +
        kField + u"-Systolic P :</FONT>&nbsp;" + kValue + u" / 80</td><td><font size=1>" + kField +
        u"-Pulse :</FONT>&nbsp;" + kValue + u"95</td></tr><tr><td><font size=1>" + kField +
        u"-T° :</FONT>&nbsp;" + kValue + u"38.5</td><td><font size=1>" + kField +
        u"-Weight :</FONT>&nbsp;" + kValue + u"80</td></tr><tr><td><font size=1>" + kField +
        u"-Height :</FONT>&nbsp;" + kValue +
        u"180</td><td><font size=1>&nbsp;</td></tr></table> <BR>" + kField +
        u"-Lymphatic adenopathy :</FONT>&nbsp;none.<BR><BR>" +
        // Page 2: the free-field block placed there, then a list field.
        scores + u"<BR><BR>" + PageBar(u"History") + kField + u"-Past history :</FONT><BR>" +
        kIndent + u"-asthma<BR >" + kIndent + u"-appendectomy 1990<BR><BR><BR>" +
        // The problems with their entries of the admission day.
        kBar +
        uR"(#CD86B5"><P ALIGN="center"><B><I><FONT COLOR="#000000" SIZE="1">Problems)"
        u"</FONT></B></I>" +
        kBarEnd + u"<B><U>" + kField + u"Pneumonia :</FONT></B></U><BR><BR>" + kIndent + u"<u>" +
        kField + u"Examinations :</FONT></u><BR>&nbsp;&nbsp;-CRP 120<BR>" + kIndent + u"<u>" +
        kField + u"Differential diagnosis :</FONT></u><BR>&nbsp;&nbsp;-Heart failure<BR>" +
        kIndent + u"<u>" + kField + u"Medicine :</FONT></u><BR>&nbsp;&nbsp;-amoxicillin<BR>" +
        kIndent + u"&nbsp;-paracetamol<BR>" + kIndent + u"<u>" + kField +
        u"Attitude :</FONT></u><BR>&nbsp;&nbsp;-O2<BR>" + u"</P></BODY></HTML>";
    EXPECT_EQ(Utf8(Build()), Utf8(expected));
}

TEST_F(EntrySummaryTest, VitalSignsSpreadOverPagesAreShownFieldByField) {
    Place(12, 1);
    Place(13, 2);
    record.SetField(12, u"80");
    record.SetField(13, u"95");
    std::u16string text = Build();
    EXPECT_EQ(text.find(u"<table"), std::u16string::npos);
    EXPECT_NE(text.find(kField + u"-Diastolic P :</FONT>&nbsp;80.<BR><BR>"), std::u16string::npos);
    EXPECT_NE(text.find(kField + u"-Pulse :</FONT>&nbsp;95.<BR><BR>"), std::u16string::npos);
}

TEST_F(EntrySummaryTest, TheFirstNumberOfTheSystolicPressureAndTheBmi) {
    for (int k : {11, 12, 95}) Place(k, 3);
    record.SetField(11, u"BP 120,5 mmHg");
    record.SetField(12, u"80");
    record.SetField(14, u"97");  // on no page: it still goes into the table
    record.SetField(95, u"24.7");
    std::u16string text = Build();
    EXPECT_NE(text.find(u"-Systolic P :</FONT>&nbsp;" + kValue + u"120,5 / 80</td>"),
              std::u16string::npos);
    EXPECT_NE(text.find(u"-O2 Sat (%) :</FONT>&nbsp;" + kValue + u"97</td>"), std::u16string::npos);
    EXPECT_NE(text.find(u"-BMI :</FONT>&nbsp;" + kValue + u" 24.7</td>"), std::u16string::npos);
}

TEST_F(EntrySummaryTest, AFreeFieldBlockOnNoFormPageIsStillShown) {
    record.SetField(115, u"left-handed");
    std::u16string text = Build();
    EXPECT_NE(text.find(u"Other</FONT></B></I>"), std::u16string::npos);
    EXPECT_NE(text.find(u"-Edit 15 :</FONT>&nbsp;left-handed."), std::u16string::npos);
    EXPECT_LT(text.find(u"Edit 15"), text.find(u">Problems<"));
}

TEST_F(EntrySummaryTest, AnAmbulatoryFolderShowsTheEntriesOfTheCurrentDay) {
    record.subfolderType = u"Ambu";
    record.problemJournal = u"§0|Asthma¦¦A¦#2263§0|||old||||#2265§0|||peak flow 300||||";
    std::u16string text = Build();
    EXPECT_NE(text.find(u"-peak flow 300"), std::u16string::npos);
    EXPECT_EQ(text.find(u"old"), std::u16string::npos);
}

TEST_F(EntrySummaryTest, CaptionsLoseTheirUnitAndValuesAreEscaped) {
    labels.captions[25] = u"Oral cavity [state]";
    Place(25, 4);
    arrangement.pageTitles[4] = u"<Head>";
    record.SetField(25, u"<script>x</script>\r\n-dry");
    record.SetField(3, u"<i>");
    std::u16string text = Build();
    EXPECT_NE(text.find(u"-Oral cavity :</FONT>&nbsp;&lt;script&gt;x&lt;/script&gt;, dry."),
              std::u16string::npos);
    EXPECT_NE(text.find(u"&lt;Head&gt;</FONT>"), std::u16string::npos);
    EXPECT_NE(text.find(u"Mr Doe &lt;i&gt; 13.3.1950"), std::u16string::npos);
    EXPECT_EQ(text.find(u"<script"), std::u16string::npos);
}

}  // namespace
}  // namespace pondrel::test
