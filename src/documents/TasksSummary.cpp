#include "documents/HtmlSink.h"
#include "documents/HtmlSummaries.h"
#include "documents/SummaryBlocks.h"
#include "documents/SummaryText.h"
#include "journal/Ages.h"
#include "journal/JournalReader.h"
#include "labels/Labels.h"
#include "platform/Text.h"

namespace pondrel {

namespace {

using namespace summary_field;

// The first character of a text, a surrogate pair kept whole.
std::u16string_view FirstLetter(std::u16string_view text) {
    bool pair = text.size() > 1 && text[0] >= 0xD800 && text[0] <= 0xDBFF;
    return text.substr(0, text.empty() ? 0 : (pair ? 2 : 1));
}

void AppendPatientTasks(std::u16string& out, const PatientRecord& record,
                        const SummaryContext& context) {
    out.append(BarStart(u"#CCBFFD", u"1", u"left")).append(uR"(<FONT SIZE="1"><B>)");
    const std::u16string& room = record.Field(kRoom);
    if (!room.empty()) {
        out.append(uR"(<FONT SIZE=1 COLOR="#7E32A4">)");
        AppendEscaped(out, room);
        out.append(u" : </FONT>");
    }
    const std::u16string& last = record.Field(kLastName);
    if (!last.empty()) AppendEscaped(out, context.labels.TitleBefore(record.sex));
    AppendEscaped(out, last);
    out.append(u" ");
    AppendEscaped(out, FirstLetter(record.Field(kFirstName)));
    out.append(u". &nbsp;");
    AppendEscaped(out, BirthDateText(record.Field(kBirthDay), record.Field(kBirthMonth),
                                     record.Field(kBirthYear), context.dateOrder));
    // The title of the first problem, read as the journal operations read it.
    std::u16string title = JournalReader(record.problemJournal).GetProblemTitle(0);
    if (!title.empty()) {
        out.append(uR"(</B><BR><FONT SIZE=1 COLOR="#7662C0">)");
        AppendEscaped(out, title);
        out.append(u"</FONT>");
    }
    out.append(u"</B></FONT>").append(kBarEnd).append(uR"(<FONT FACE="Tahoma" SIZE="1">- )");
    out.append(ReplaceAll(RenderTasks(record.Field(kToDo), context), u"\r\n", u"<BR>- "));
    out.append(u"<br>&nbsp;");
}

}  // namespace

void BuildTasksSummary(HtmlSink& sink, const std::vector<const PatientRecord*>& patients,
                       const SummaryContext& context) {
    if (patients.empty()) return;
    std::u16string text = u"<HTML><BODY>";
    sink.Clear();
    for (const PatientRecord* record : patients) {
        if (record->Field(kToDo).empty()) continue;
        AppendPatientTasks(text, *record, context);
    }
    text = RewriteUntilStable(text, kTasksCleanupRules);
    sink.AppendHtml(text.append(u"</P></BODY></HTML>"));
    sink.EndOfSource();
}

}  // namespace pondrel
