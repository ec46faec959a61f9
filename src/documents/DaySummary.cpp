#include "documents/HtmlSink.h"
#include "documents/HtmlSummaries.h"
#include "documents/SummaryBlocks.h"
#include "documents/SummaryText.h"

namespace pondrel {

namespace {

constexpr size_t kDayCaptionLength = 25;

}  // namespace

std::u16string BuildDaySummary(HtmlSink& sink, const OpenPatient& patient,
                               const SummaryContext& context) {
    constexpr std::u16string_view kInfo = uR"(<FONT SIZE="1" COLOR="#8000ff">)";
    const PatientRecord& record = *patient.record;
    std::u16string heading = uR"(<HTML><BODY><FONT FACE="Tahoma" SIZE="1">)";
    bool lines = AppendPatientHeading(heading, record, context,
                                      uR"(<FONT COLOR="#3D0380" SIZE="1">)", kInfo);
    AppendAgeLines(heading, patient, context, lines, kInfo);
    heading.append(BarStart(u"#E9BBE9")).append(uR"(<B><FONT COLOR="#3D0380" SIZE="1">)");
    AppendEscaped(heading, patient.dayCaption);
    heading.append(u"</FONT></B>").append(kBarEnd).append(u"<BR>");
    sink.Clear();
    sink.AppendHtml(heading);

    AppendProblemChunks(sink, record.problemJournal, patient.currentDay, context);
    std::u16string notes;
    AppendQuickNotes(notes, record, context, QuickNotesStyle::Page);
    if (!notes.empty()) sink.AppendHtml(notes);
    AppendDayLists(sink, record, context.sources.DayLists(record, patient.currentDay),
                   u"<br><HR WIDTH=95% SIZE=1><br>", ListStyle::Day, context);
    sink.AppendHtml(u"</P></BODY></HTML>");
    sink.EndOfSource();
    return DayCaption(patient.dayCaption, kDayCaptionLength);
}

}  // namespace pondrel
