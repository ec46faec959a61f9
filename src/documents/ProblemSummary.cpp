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

using namespace summary_label;

constexpr size_t kProblemCaptionLength = 50;
constexpr std::u16string_view kSeparator = u"<br><HR WIDTH=95% SIZE=1><br>";

// "P 2/5 - Pneumonia", with " (Solved)" or " (Closed)" for those states.
std::u16string ProblemBarText(const JournalIndex& journal, int problem,
                              const SummaryContext& context) {
    const std::u16string& letter = context.labels.Label(kProblemLetter);
    std::u16string text =
        letter + u" " + ToText(problem + 1) + u"/" + ToText(journal.ProblemCount()) + u" - ";
    if (problem < 0 || problem >= journal.ProblemCount()) return text;
    const ProblemHeader& header = journal.Header(problem);
    text += header.title;
    if (header.state == u"I") text += u" (" + context.labels.Label(kSolved) + u")";
    if (header.state == u"C") text += u" (" + context.labels.Label(kClosed) + u")";
    return text;
}

bool HasText(const Sections& entry) {
    for (const auto& section : entry) {
        if (!section.empty()) return true;
    }
    return false;
}

}  // namespace

std::u16string BuildProblemSummary(HtmlSink& sink, const OpenPatient& patient,
                                   const SummaryContext& context) {
    constexpr std::u16string_view kInfo = uR"(<FONT COLOR="#8000ff">)";
    const PatientRecord& record = *patient.record;
    JournalIndex journal(record.problemJournal);
    const int problem = patient.currentProblem;

    std::u16string chunk = u"<HTML><BODY><FONT FACE=\"Tahoma\" SIZE=1>";
    bool lines =
        AppendPatientHeading(chunk, record, context, uR"(<FONT COLOR="#3D0380" SIZE="1">)", kInfo);
    AppendAgeLines(chunk, patient, context, lines, kInfo);
    std::u16string bar = ProblemBarText(journal, problem, context);
    chunk.append(BarStart(u"#ffd0a6")).append(uR"(<B><FONT SIZE="1">)");
    AppendEscaped(chunk, bar);
    chunk.append(u"</FONT></B>").append(kBarEnd).append(u"<BR>");
    sink.Clear();
    sink.AppendHtml(chunk);

    // The days, latest first, from the first day of the folder's history on.
    const bool hospitalisation = record.subfolderType != kAmbulatory;
    for (auto it = patient.days.rbegin(); it != patient.days.rend(); ++it) {
        DayNumber day = *it;
        if (day < record.historyStartDay) continue;
        auto entry = journal.Entry(day, problem);
        if (!entry || !HasText(*entry)) continue;
        std::u16string body = u"<UL>";
        for (int s : kSummarySectionOrder) {
            AppendSectionLine(body, CaptionText(context, summary_field::kFirstSection + s),
                              (*entry)[static_cast<size_t>(s)]);
        }
        chunk.assign(uR"(<FONT COLOR="#8000ff"><U><B>)");
        AppendEscaped(chunk, DayHeading(day, hospitalisation, record.admissionDay, context.words));
        std::u16string age = AgeAfterEquals(context.sources.LongAge(record, day));
        if (!age.empty()) {
            chunk.append(uR"(:</B></U>&nbsp;&nbsp;<FONT COLOR="#C69BDB">()");
            AppendEscaped(chunk, age);
            chunk.append(u")</FONT><B><U>");
        }
        chunk.append(u"</B></U></FONT>").append(PunctuationCleanup(body)).append(u"</UL>");
        sink.AppendHtml(chunk);
    }

    chunk.clear();
    AppendQuickNotes(chunk, record, context, QuickNotesStyle::Page);
    if (!chunk.empty()) sink.AppendHtml(chunk);

    const bool known = problem >= 0 && problem < journal.ProblemCount();
    const ProblemHeader header = known ? journal.Header(problem) : ProblemHeader{};
    std::u16string redaction = TrimRightOf(TrimLeftOf(header.redaction, u"-\r\n"), u"\r\n- ,.;");
    if (!redaction.empty()) {
        chunk.assign(kSeparator).append(uR"(<FONT COLOR="#8000ff"><U><B>)");
        chunk.append(LabelText(context, kSynthesis)).append(u":</B></U></FONT><UL>");
        AppendEscaped(chunk, header.redaction);
        chunk.append(u"</UL>");
        sink.AppendHtml(chunk);
    }

    SummaryLists lists = context.sources.RunningLists(record);
    const std::u16string& dd = header.differentialDiagnosis;
    if (!dd.empty() || !lists.Empty()) sink.AppendHtml(kSeparator);
    if (!dd.empty()) {
        chunk.assign(uR"(<FONT COLOR="#ff9966"><U><B>)");
        chunk.append(LabelText(context, kDifferentialDiagnosis)).append(u" :</B></U></FONT>");
        std::u16string text =
            ReplaceAll(TrimRightOf(HtmlEscape(dd), u"\r\n-"), u"\r\n", u"<BR><LI>");
        chunk.append(u"<UL><LI>").append(RemoveAll(text, u'-')).append(u"</UL>");
        sink.AppendHtml(chunk);
    }
    chunk.clear();
    AppendListBlock(chunk, lists.treatments, ListKind::Treatments, ListStyle::Problem, context);
    AppendListBlock(chunk, lists.actions, ListKind::Actions, ListStyle::Problem, context);
    if (!chunk.empty()) sink.AppendHtml(chunk);
    sink.AppendHtml(u"</P></BODY></HTML>");
    sink.EndOfSource();

    // "P 2/5 - ..." is captioned "P2/5 - ...".
    const size_t letterLength = context.labels.Label(kProblemLetter).size();
    return CutTo(bar.erase(letterLength, 1), kProblemCaptionLength);
}

}  // namespace pondrel
