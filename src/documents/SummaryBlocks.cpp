#include "documents/SummaryBlocks.h"

#include "documents/HtmlSink.h"
#include "journal/JournalReader.h"
#include "documents/SummaryText.h"
#include "journal/Ages.h"
#include "labels/Labels.h"
#include "platform/Text.h"

namespace pondrel {

namespace {

namespace label = summary_label;
namespace field = summary_field;

struct ListFonts {
    std::u16string_view treatmentHeading;
    std::u16string_view actionHeading;
    std::u16string_view listStart;
    std::u16string_view treatmentListEnd;
    std::u16string_view actionListEnd;
    std::u16string_view treatmentTail;
    std::u16string_view actionTail;
    std::u16string_view afterStatus;
};

ListFonts FontsOf(ListStyle style) {
    switch (style) {
        case ListStyle::Day:
        case ListStyle::AllPatients: {
            std::u16string_view tail = style == ListStyle::Day
                                           ? uR"(<FONT COLOR="#d050ff">&nbsp;&nbsp;)"
                                           : uR"(<FONT SIZE="1" COLOR="#d050ff">&nbsp;&nbsp;)";
            return {uR"(<FONT SIZE="1" COLOR="#e13409"><U><B>)",
                    uR"(<FONT SIZE="1" COLOR="#b60081"><U><B>)",
                    uR"(<FONT SIZE="1" COLOR="#000000"><UL>)",
                    u"</UL></FONT>",
                    u"</UL></FONT>",
                    tail,
                    tail,
                    u""};
        }
        case ListStyle::Problem:
            return {uR"(<FONT COLOR="#e13409"><U><B>)",
                    uR"(<FONT COLOR="#b60081"><U><B>)",
                    u"<UL>",
                    u"</UL>",
                    u"</UL>",
                    // The status brings its own brackets: no "(" before it, which would stay
                    // open ("(D2 (Start  3.1.26)").
                    uR"(<FONT COLOR="#d050ff">&nbsp;&nbsp;)",
                    uR"(<FONT COLOR="#d050ff">&nbsp;&nbsp;)",
                    u""};
        case ListStyle::Evolution:
            return {uR"(<FONT COLOR="#e13409" ALIGN="LEFT"><U><B>)",
                    uR"(<FONT COLOR="#b60081"><U><B>)",
                    u"<UL>",
                    u"</UL><br>",
                    u"</UL>",
                    uR"(<FONT COLOR="#d050ff">&nbsp;&nbsp;)",
                    uR"(<FONT COLOR="#d050ff">&nbsp;&nbsp;)",
                    u"<BR>"};
    }
    return {};
}

}  // namespace

bool LeftOutOfAdmissionPages(int k) {
    return (k >= 2 && k <= 6) || k == 15 || (k >= 86 && k <= 94) || k == 98 ||
           (k >= 100 && k <= 141);
}

std::u16string LabelText(const SummaryContext& context, int index) {
    return HtmlEscape(context.labels.Label(index));
}

std::u16string CaptionText(const SummaryContext& context, int field) {
    return HtmlEscape(context.labels.Caption(field));
}

std::u16string SectionOnOneLine(std::u16string_view text) {
    std::u16string line = ReplaceAll(ReplaceAll(text, u"\r\n-", u", "), u"\r\n", u", ");
    if (!line.empty() && line[0] == u'-') line.erase(0, 1);
    return line;
}

void AppendSectionLine(std::u16string& out, std::u16string_view label, std::u16string_view text) {
    if (text.empty()) return;
    out.append(u"<LI><B>").append(label).append(u" : </B>");
    AppendEscaped(out, SectionOnOneLine(text));
    out.append(u".");
}

std::u16string BarStart(std::u16string_view color, std::u16string_view cellPadding,
                        std::u16string_view align) {
    std::u16string bar = uR"(<TABLE BORDER="0" WIDTH="100%" CELLSPACING="0" CELLPADDING=")";
    bar.append(cellPadding).append(uR"("><TR><TD WIDTH="100%" BGCOLOR=")").append(color);
    bar.append(uR"("><P ALIGN=")").append(align).append(u"\">");
    return bar;
}

std::u16string PatientNameText(const PatientRecord& record, const SummaryContext& context) {
    const std::u16string& last = record.Field(field::kLastName);
    std::u16string text;
    if (!last.empty()) text = HtmlEscape(context.labels.TitleBefore(record.sex));
    AppendEscaped(text, last);
    text.append(u" ");
    AppendEscaped(text, record.Field(field::kFirstName));
    text.append(u" ");
    AppendEscaped(text,
                  BirthDateText(record.Field(field::kBirthDay), record.Field(field::kBirthMonth),
                                record.Field(field::kBirthYear), context.dateOrder));
    return text;
}

namespace {

// True when `text` begins with `word`, ignoring case, followed by a blank, a full stop or nothing.
bool StartsWithWord(std::u16string_view text, std::u16string_view word) {
    if (word.empty() || text.size() < word.size()) return false;
    if (!EqualsIgnoreCase(text.substr(0, word.size()), word)) return false;
    return text.size() == word.size() || text[word.size()] == u' ' || text[word.size()] == u'.';
}

}  // namespace

bool AppendRoomAndDoctor(std::u16string& out, const PatientRecord& record,
                         const SummaryContext& context, std::u16string_view infoFont) {
    const std::u16string& room = record.Field(field::kRoom);
    const std::u16string& doctor = record.Field(field::kHeadDoctor);
    if (!room.empty()) {
        out.append(infoFont).append(LabelText(context, label::kRoom)).append(u" ");
        AppendEscaped(out, room);
        out.append(u"</FONT>");
    }
    if (!doctor.empty()) {
        if (!room.empty()) out.append(u"<br>");
        out.append(infoFont).append(LabelText(context, label::kHeadDoctor));
        out.append(u" : ");
        // Doctors often type the title themselves ("Dr L. Brenner"): it is not written twice.
        std::u16string title = LabelText(context, label::kDoctor);
        if (!StartsWithWord(doctor, title)) out.append(title).append(u" ");
        AppendEscaped(out, doctor);
        out.append(u"</FONT>");
    }
    return !room.empty() || !doctor.empty();
}

bool AppendPatientHeading(std::u16string& out, const PatientRecord& record,
                          const SummaryContext& context, std::u16string_view nameFont,
                          std::u16string_view infoFont) {
    out.append(BarStart(u"#C5B7FA")).append(u"<B>").append(nameFont);
    out.append(PatientNameText(record, context));
    out.append(u"</FONT></B>").append(kBarEnd);
    return AppendRoomAndDoctor(out, record, context, infoFont);
}

void AppendAgeLines(std::u16string& out, const OpenPatient& patient, const SummaryContext& context,
                    bool afterRoomOrDoctor, std::u16string_view infoFont) {
    if (afterRoomOrDoctor) out.append(u"<br>");
    out.append(infoFont).append(LabelText(context, label::kAge)).append(u" : ");
    AppendEscaped(out, context.sources.LongAge(*patient.record, patient.currentDay));
    out.append(u"</FONT>");
    if (!patient.timeSinceEvent.empty()) {
        out.append(u"<br>").append(infoFont).append(u" : ");
        AppendEscaped(out, patient.timeSinceEvent);
        out.append(u"</FONT>");
    }
}

void AppendQuickNotes(std::u16string& out, const PatientRecord& record,
                      const SummaryContext& context, QuickNotesStyle style) {
    std::u16string notes =
        TrimRightOf(TrimLeftOf(record.Field(field::kQuickNotes), u"-"), u"\r\n- ,.;");
    notes.append(u"|");
    notes = ReplaceAll(ReplaceAll(ReplaceAll(notes, u"\r\n-", u"|"), u"\r\n", u"|"), u"||", u"|");
    std::u16string items;
    for (const std::u16string& item : Split(notes, u'|')) {
        if (item.empty()) continue;
        items.append(u"<LI>");
        AppendEscaped(items, item);
    }
    if (items.empty()) return;
    std::u16string label = LabelText(context, label::kQuickNotes);
    if (style == QuickNotesStyle::Page) {
        out.append(u"<br><HR WIDTH=95% SIZE=1><br>");
        out.append(uR"(<FONT SIZE="1" COLOR="#8000ff"><U><B>)").append(label);
        out.append(u" :</B></U></FONT>").append(uR"(<FONT SIZE="1" COLOR="#000000"><UL>)");
        out.append(items).append(u"</UL></FONT>");
    } else {
        out.append(uR"(<br><HR  ALIGN="center" COLOR="#C5B7FA"  NOSHADE WIDTH=95%><br>)");
        out.append(uR"(<FONT COLOR="#8000ff"><U><B>)").append(label);
        out.append(u" :</B></U></FONT>").append(u"<UL>");
        out.append(items).append(u"</UL>");
    }
}

void AppendListBlock(std::u16string& out, const std::vector<TreatmentListRow>& rows, ListKind kind,
                     ListStyle style, const SummaryContext& context) {
    if (rows.empty()) return;
    ListFonts fonts = FontsOf(style);
    bool treatments = kind == ListKind::Treatments;
    out.append(treatments ? fonts.treatmentHeading : fonts.actionHeading);
    out.append(LabelText(context, treatments ? label::kTreatments : label::kActions));
    out.append(u" :</B></U></FONT>").append(fonts.listStart);
    for (const TreatmentListRow& row : rows) {
        out.append(u"<LI>");
        AppendEscaped(out, row.text);
        out.append(treatments ? fonts.treatmentTail : fonts.actionTail);
        AppendEscaped(out, row.status);
        out.append(fonts.afterStatus).append(u"</FONT>");
    }
    out.append(treatments ? fonts.treatmentListEnd : fonts.actionListEnd);
}

namespace {

// The steps shared by the shown and the plain to-do text; `text` is already made fit for its
// output, the marks are what the urgent, pending and done tasks get.
std::u16string ConvertTasks(std::u16string text, std::u16string_view doneMark,
                            std::u16string_view urgentMark, std::u16string_view pendingMark,
                            std::u16string_view doneShown) {
    for (std::u16string_view leftover :
         {u"||*|", u"||N|", u"|#0|*|", u"|#1|*|", u"|#2|*|", u"|#0|N|", u"|#1|N|", u"|#2|N|"}) {
        text = ReplaceAll(text, leftover, u"|");
    }
    const std::u16string doneLine = u" " + std::u16string(doneMark) + u"\r\n";
    for (std::u16string_view doneTask : {u"#0|*|", u"#1|*|", u"#2|*|", u"|*|"}) {
        text = ReplaceAll(text, doneTask, doneLine);
    }
    text = ReplaceAll(text, u"#0|N|", std::u16string(urgentMark) + u"\r\n");
    text = ReplaceAll(text, u"#1|N|", std::u16string(pendingMark) + u"\r\n");
    text = ReplaceAll(text, u"#2|N|", u"\r\n");
    text = ReplaceAll(text, u"|N|", u"\r\n");
    text = ReplaceAll(text, u"\r\n" + std::u16string(doneMark) + u"\r\n", u"");
    text = ReplaceAll(text, u"\r\n\r\n", u"");
    if (doneShown != doneMark) text = ReplaceAll(text, doneMark, doneShown);
    RemoveSuffix(text, u"\r\n", true);
    return text;
}

}  // namespace

std::u16string RenderTasks(std::u16string_view todo, const SummaryContext& context) {
    const std::u16string doneMark = u"(" + LabelText(context, label::kDone) + u")";
    return ConvertTasks(
        HtmlEscape(todo), doneMark,
        uR"(<FONT COLOR="#ff0000">&nbsp;()" + LabelText(context, label::kUrgent) + u")</FONT>",
        uR"(<FONT COLOR="#ff9933">&nbsp;()" + LabelText(context, label::kPending) + u")</FONT>",
        uR"(<FONT COLOR="#d050ff">)" + doneMark + u"</FONT>");
}

std::u16string PlainTasks(std::u16string_view todo, const Labels& labels) {
    const std::u16string doneMark = u"(" + labels.Label(label::kDone) + u")";
    return ConvertTasks(std::u16string(todo), doneMark,
                        u" (" + labels.Label(label::kUrgent) + u")",
                        u" (" + labels.Label(label::kPending) + u")", doneMark);
}

void AppendToDoBlock(std::u16string& out, const PatientRecord& record,
                     const SummaryContext& context) {
    const std::u16string& todo = record.Field(field::kToDo);
    if (todo.empty()) return;
    out.append(uR"(<FONT SIZE="1" COLOR="#ff33cc"><U><B>)")
        .append(LabelText(context, label::kToDo));
    out.append(u" :</B></U></FONT>").append(uR"(<FONT SIZE="1" COLOR="#000000"><UL><LI>)");
    out.append(ReplaceAll(RenderTasks(todo, context), u"\r\n", u"<LI>"));
    out.append(u"</UL></FONT>");
}

int AppendProblemChunks(HtmlSink& sink, std::u16string_view journal, DayNumber day,
                        const SummaryContext& context) {
    // One day is looked into: its block is found once, with its entries.
    const JournalReader reader(journal);
    std::vector<JournalReader::BlockEntry> entries;
    if (auto block = reader.FindBlock(day)) entries = reader.BlockEntries(*block);
    constexpr std::u16string_view kGrey = uR"(<FONT SIZE="1" COLOR="#C69BDB">)";
    constexpr std::u16string_view kActiveTitle = uR"(<FONT SIZE="1" COLOR="#8000ff">)";
    constexpr std::u16string_view kActiveBody = uR"(<FONT SIZE="1" COLOR="#000000">)";
    std::u16string_view titleFont = kActiveTitle;
    std::u16string_view bodyFont = kActiveBody;
    const std::u16string letter = LabelText(context, label::kProblemLetter);
    const std::u16string ddLabel = CaptionText(context, field::kDifferentialDiagnosis);
    std::u16string chunk;
    const int count = reader.ProblemCount();
    for (int p = 0; p < count; ++p) {
        const ProblemHeader header = reader.GetProblemHeader(p).value_or(ProblemHeader{});
        char16_t state = header.state.empty() ? kStateActive : header.state[0];
        if (state == kStateClosed) continue;
        std::u16string title = HtmlEscape(header.title) + u":</B></U>&nbsp; ";
        if (state == kStateSolved) {
            titleFont = bodyFont = kGrey;
            title += HtmlEscape(reader.ProblemSpanText(p, false, context.words));
            title += u" (" + LabelText(context, label::kSolved) + u")";
        } else {
            // An unknown state code (a damaged file) keeps the colours of the problem before
            // and is otherwise shown like an active problem.
            if (state == kStateActive) {
                titleFont = kActiveTitle;
                bodyFont = kActiveBody;
            }
            title += HtmlEscape(reader.ProblemSpanText(p, true, context.words));
        }
        std::u16string lines = u"<UL>";
        Sections entry;
        for (const JournalReader::BlockEntry& e : entries) {
            if (e.problem == p) entry = reader.EntrySections(e.span);
        }
        for (int s : kSummarySectionOrder) {
            AppendSectionLine(lines, CaptionText(context, field::kFirstSection + s),
                              entry[static_cast<size_t>(s)]);
        }
        AppendSectionLine(lines, ddLabel, header.differentialDiagnosis);
        chunk.assign(titleFont).append(u"<U><B>").append(letter).append(ToText(p + 1));
        chunk.append(u" - ").append(title).append(u"</FONT>").append(bodyFont);
        chunk.append(PunctuationCleanup(lines)).append(u"</UL></FONT></FONT>");
        sink.AppendHtml(chunk);
    }
    return count;
}

void AppendDayLists(HtmlSink& sink, const PatientRecord& record, const SummaryLists& lists,
                    std::u16string_view separator, ListStyle style, const SummaryContext& context) {
    if (record.Field(field::kToDo).empty() && lists.Empty()) return;
    sink.AppendHtml(separator);
    std::u16string chunk;
    AppendListBlock(chunk, lists.treatments, ListKind::Treatments, style, context);
    if (!chunk.empty()) sink.AppendHtml(chunk);
    chunk.clear();
    AppendListBlock(chunk, lists.actions, ListKind::Actions, style, context);
    if (!chunk.empty()) sink.AppendHtml(chunk);
    chunk.clear();
    AppendToDoBlock(chunk, record, context);
    if (!chunk.empty()) sink.AppendHtml(chunk);
}

}  // namespace pondrel
