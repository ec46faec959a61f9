#include "documents/HtmlSink.h"
#include "documents/HtmlSummaries.h"
#include "documents/JournalIndex.h"
#include "documents/SummaryBlocks.h"
#include "documents/SummaryText.h"
#include "journal/SubfolderDates.h"
#include "labels/Labels.h"
#include "platform/Text.h"

namespace pondrel {

namespace {

// Examinations shorter than this go into the three-column table, longer ones into the list.
constexpr size_t kShortExam = 10;
constexpr char16_t kItemMark = u'\u00A2';  // "¢": stored texts never hold it
// The admission examination fields, in the order they are listed.
constexpr int kAdmissionExamFields[] = {79, 80, 81, 82, 83, 84, 20, 85};

// The examinations written on one day, one item each.
std::vector<std::u16string> ExamsOfDay(const JournalIndex& journal, DayNumber day) {
    std::u16string collected;
    for (int p = 0; p < journal.ProblemCount(); ++p) {
        auto entry = journal.Entry(day, p);
        if (!entry) continue;
        std::u16string exams = ReplaceAll(
            ReplaceAll((*entry)[static_cast<size_t>(Section::Examinations)], u"\r\n-", u"\u00A2"),
            u"\r\n", u"\u00A2");
        if (!exams.empty() && exams[0] == u'-') exams.erase(0, 1);
        AppendEscaped(collected, exams);
        collected.push_back(kItemMark);
    }
    collected = TrimRightOf(RewriteUntilStable(collected, {{u" .", u"."},
                                                           {u",.", u"."},
                                                           {u"..", u"."},
                                                           {u"\u00A2 ", u"\u00A2"},
                                                           {u" \u00A2", u"\u00A2"},
                                                           {u"\u00A2\u00A2", u"\u00A2"}}),
                            u"\u00A2");
    std::vector<std::u16string> items;
    for (std::u16string& item : Split(collected, kItemMark)) {
        if (!item.empty()) items.push_back(std::move(item));
    }
    return items;
}

std::u16string DayBody(const std::vector<std::u16string>& items) {
    std::u16string table;
    std::u16string list;
    size_t shortItems = 0;
    for (const std::u16string& item : items) {
        if (item.size() < kShortExam) {
            table.append(shortItems % 3 == 0 ? u"</tr><tr><td><font size=1>"
                                             : u"<td><font size=1>");
            table.append(u"&nbsp;").append(item).append(u"</td>");
            ++shortItems;
        } else {
            list.append(u"<LI>").append(item);
        }
    }
    std::u16string body;
    if (!table.empty()) {
        body.append(uR"(<BR><BR><table ALIGN="center" border="1" width="176" CELLPADDING=0 )");
        body.append(u"CELLSPACING=-1>").append(table).append(u"</tr></table>");
        if (list.empty()) body.append(u"<BR>");
    }
    if (!list.empty()) body.append(u"<BR><UL>").append(list).append(u"</UL>");
    return body;
}

// "<B>Labo : </B>CRP 12, leucocytes 9.<BR>" for each filled admission examination.
std::u16string AdmissionExamLines(const PatientRecord& record, const SummaryContext& context) {
    std::u16string lines;
    for (int field : kAdmissionExamFields) {
        const std::u16string& value = record.Field(field);
        if (value.empty()) continue;
        lines.append(u"<B>");
        AppendEscaped(lines, RemoveAll(context.labels.Caption(field), u':'));
        lines.append(u" : </B>");
        AppendEscaped(lines, TrimRightOf(SectionOnOneLine(value), u" ."));
        lines.append(u".<BR>");
    }
    return ReplaceAll(lines, u",.", u".");
}

std::u16string ExamsBar(int label, const SummaryContext& context) {
    return BarStart(u"#ffd0a6") + uR"(<B><FONT SIZE="1">)" + LabelText(context, label) +
           u"</FONT></B>" + std::u16string(kBarEnd);
}

}  // namespace

void BuildExamsSummary(HtmlSink& sink, const OpenPatient& patient, const SummaryContext& context) {
    const PatientRecord& record = *patient.record;
    std::u16string chunk = u"<HTML><BODY><FONT FACE=\"Tahoma\" SIZE=1>";
    if (!AppendPatientHeading(chunk, record, context, uR"(<FONT SIZE="1">)",
                              uR"(<FONT COLOR="#8000ff">)")) {
        chunk.append(u"<br>");
    }
    sink.Clear();
    sink.AppendHtml(chunk);
    sink.AppendHtml(ExamsBar(summary_label::kExams, context));

    JournalIndex journal(record.problemJournal);
    const bool hospitalisation = record.subfolderType != kAmbulatory;
    for (auto it = patient.days.rbegin(); it != patient.days.rend(); ++it) {
        if (*it < record.historyStartDay) continue;
        std::vector<std::u16string> items = ExamsOfDay(journal, *it);
        if (items.empty()) continue;
        chunk.assign(uR"(<br><FONT COLOR="#8000ff"><U><B>)");
        AppendEscaped(chunk, DayHeading(*it, hospitalisation, record.admissionDay, context.words));
        chunk.append(u"</B></U></FONT>").append(DayBody(items));
        sink.AppendHtml(chunk);
    }

    std::u16string admission = AdmissionExamLines(record, context);
    if (!admission.empty())
        sink.AppendHtml(ExamsBar(summary_label::kAdmissionExams, context) + admission);
    sink.AppendHtml(u"</P></BODY></HTML>");
    sink.EndOfSource();
}

}  // namespace pondrel
