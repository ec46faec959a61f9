#include "documents/HtmlSink.h"
#include "documents/HtmlSummaries.h"
#include "documents/SummaryBlocks.h"
#include "documents/SummaryText.h"

namespace pondrel {

namespace {

using namespace summary_field;

constexpr size_t kAllPatientsCaptionLength = 30;
constexpr std::u16string_view kInfoFont = uR"(<FONT SIZE="1" COLOR="#7E32A4">)";

std::u16string PatientHeading(const PatientRecord& record, DayNumber day,
                              const SummaryContext& context) {
    std::u16string text = BarStart(u"#C5B7FA");
    text.append(uR"(<B><FONT COLOR="#3D0380" SIZE="2">)").append(PatientNameText(record, context));
    if (!record.Field(kGestation).empty()) {
        text.append(u"<br>").append(kInfoFont);
        AppendEscaped(text, context.sources.LongAge(record, day));
        text.append(u"</FONT>");
    }
    text.append(u"</B></FONT><br>");
    if (!AppendRoomAndDoctor(text, record, context, kInfoFont)) text.append(u"<br>");
    text.append(u"</FONT></B>").append(kBarEnd).append(u"<br>");
    return text;
}

}  // namespace

std::u16string BuildAllPatientsSummary(HtmlSink& sink,
                                       const std::vector<const PatientRecord*>& patients,
                                       DayNumber day, std::u16string_view dayCaption,
                                       const SummaryContext& context) {
    constexpr std::u16string_view kPageFont = uR"(<HTML><BODY><FONT FACE="Tahoma" SIZE="1">)";
    sink.Clear();
    sink.AppendHtml(kPageFont);
    for (const PatientRecord* record : patients) {
        sink.AppendHtml(PatientHeading(*record, day, context));
        if (AppendProblemChunks(sink, record->problemJournal, day, context) == 0) {
            sink.AppendHtml(u"<BR>");
        }
        AppendDayLists(sink, *record, context.sources.DayLists(*record, day),
                       u"<br><HR WIDTH=73% SIZE=1><br>", ListStyle::AllPatients, context);
    }
    sink.AppendHtml(u"</P></BODY></HTML>");
    sink.EndOfSource();
    return DayCaption(dayCaption, kAllPatientsCaptionLength);
}

}  // namespace pondrel
