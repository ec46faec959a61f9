#include <array>

#include "documents/HtmlSink.h"
#include "documents/HtmlSummaries.h"
#include "documents/JournalIndex.h"
#include "documents/SummaryBlocks.h"
#include "documents/SummaryText.h"
#include "journal/SubfolderDates.h"

namespace pondrel {

namespace {

// A repeat of the problem column follows every fourth day column when more days follow.
constexpr size_t kDaysBetweenRepeats = 4;

bool RepeatBefore(size_t column) {
    return column > 0 && column % kDaysBetweenRepeats == 0;
}

using SectionCaptions = std::array<std::u16string, kSectionCount>;

// The cell of one problem on one day: its sections, one line each; "&nbsp;" without an entry.
void AppendGridCell(std::u16string& out, const JournalIndex& journal, DayNumber day, int problem,
                    const SectionCaptions& captions, bool& hasEntry) {
    auto entry = journal.Entry(day, problem);
    if (!entry) {
        out.append(u"&nbsp;");
        return;
    }
    hasEntry = true;
    std::u16string cell;
    for (int s : kSummarySectionOrder) {
        const std::u16string& text = (*entry)[static_cast<size_t>(s)];
        if (text.empty()) continue;
        cell.append(u"<B>").append(captions[static_cast<size_t>(s)]);
        cell.append(u": </B>");
        AppendEscaped(cell, SectionOnOneLine(text));
        cell.append(u".<br>");
    }
    out.append(TrimRightOf(PunctuationCleanup(cell), u"<br>"));
}

}  // namespace

void BuildEvolutionSummary(HtmlSink& sink, const OpenPatient& patient,
                           const SummaryContext& context) {
    constexpr std::u16string_view kInfo = uR"(<FONT COLOR="#8000ff">)";
    const PatientRecord& record = *patient.record;
    std::u16string text = uR"(<HTML><BODY><FONT FACE="Tahoma" SIZE="1">)";
    bool lines = AppendPatientHeading(text, record, context, uR"(<FONT COLOR="#3D0380">)", kInfo);
    AppendAgeLines(text, patient, context, lines, kInfo);
    sink.Clear();
    sink.AppendHtml(text);

    // The grid: problems by day, the latest day first.
    JournalIndex journal(record.problemJournal);
    const std::vector<DayNumber> days(patient.days.rbegin(), patient.days.rend());
    const bool wide = days.size() > kDaysBetweenRepeats;
    const bool hospitalisation = record.subfolderType != kAmbulatory;
    SectionCaptions captions;
    for (int s = 0; s < kSectionCount; ++s) {
        captions[static_cast<size_t>(s)] = CaptionText(context, summary_field::kFirstSection + s);
    }
    // About ninety characters a cell, the repeated problem columns included.
    text.reserve((days.size() + 2) * (static_cast<size_t>(journal.ProblemCount()) + 1) * 90);
    text.assign(uR"(<br><br><TABLE BORDER=1 CELLPADDING=1 CELLSPACING=-1 VALIGN="top">)");
    text.append(u"<TR><TD>&nbsp;<br>&nbsp;</TD>");
    for (size_t i = 0; i < days.size(); ++i) {
        if (RepeatBefore(i)) {
            text.append(uR"(<TD VALIGN="MIDDLE" ALIGN="CENTER" BGCOLOR="#FBE6E3"><FONT SIZE="1">)");
            text.append(u"<b>Problem</b></FONT></TH>");
        }
        text.append(uR"(<TD Height=50 VALIGN="MIDDLE" ALIGN="CENTER" BGCOLOR="#FBE6E3">)");
        text.append(uR"(<FONT SIZE="1"><b><br>)");
        AppendEscaped(text,
                      DayHeading(days[i], hospitalisation, record.admissionDay, context.words));
        std::u16string age = AgeAfterEquals(context.sources.LongAge(record, days[i]));
        if (!age.empty()) {
            text.append(uR"(:<br></b><FONT COLOR="#C69BDB">()");
            AppendEscaped(text, age);
            text.append(u")</FONT><b>");
        }
        text.append(uR"( <FONT Color="#FBE6E3">xxxxxxxxxxxxxxxxx</FONT></b></FONT></TD>)");
    }
    if (wide) text.append(u"<TD><PRE></PRE></TD>");
    text.append(u"</TR>");
    bool anyEntry = false;
    for (int p = 0; p < journal.ProblemCount(); ++p) {
        std::u16string title = HtmlEscape(journal.Header(p).title);
        std::u16string titleCell = uR"(<TH VALIGN="MIDDLE" BGCOLOR="#FBE6E3"><FONT SIZE="1"><b>)";
        titleCell.append(title).append(u"</b></FONT></TH>");
        text.append(u"<TR>").append(titleCell);
        for (size_t i = 0; i < days.size(); ++i) {
            if (RepeatBefore(i)) {
                text.append(uR"(<TH VALIGN="MIDDLE" ALIGN="CENTER" BGCOLOR="#FBE6E3">)");
                text.append(uR"(<FONT SIZE="1"><b>)").append(title).append(u"</b></FONT></TH>");
            }
            text.append(uR"(<TD><FONT SIZE="1">)");
            AppendGridCell(text, journal, days[i], p, captions, anyEntry);
            text.append(u"</TD></FONT>");
        }
        if (wide) text.append(titleCell);
        text.append(u"</TR>");
    }
    text.append(u"</TABLE><br><br>");
    if (anyEntry) sink.AppendHtml(text);

    text.clear();
    AppendQuickNotes(text, record, context, QuickNotesStyle::Evolution);
    SummaryLists lists = context.sources.RunningLists(record);
    AppendListBlock(text, lists.treatments, ListKind::Treatments, ListStyle::Evolution, context);
    AppendListBlock(text, lists.actions, ListKind::Actions, ListStyle::Evolution, context);
    text.append(u"</P></BODY></HTML>");
    sink.AppendHtml(text);
    sink.EndOfSource();
}

}  // namespace pondrel
