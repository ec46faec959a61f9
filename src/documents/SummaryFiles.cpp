#include "documents/SummaryFiles.h"

#include "documents/DocumentFiles.h"
#include "documents/FieldTexts.h"
#include "documents/JournalIndex.h"
#include "documents/ModelFiller.h"
#include "documents/RtfMarkup.h"
#include "documents/SummaryBlocks.h"
#include "documents/SummaryText.h"
#include "documents/WardDocuments.h"
#include "journal/JournalDays.h"
#include "journal/JournalWords.h"
#include "journal/SubfolderDates.h"
#include "labels/Labels.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

namespace label = summary_label;
namespace field = summary_field;


constexpr int kDateLabel = 21;
constexpr int kNormalWordLabel = 34;
constexpr std::array<int, 7> kItemFields = {88, 89, 90, 92, 91, 93, 86};

// The fragments of the document body ("¬" for the backslash).
constexpr std::u16string_view kHeadingParagraph =
    u"{\u00ACpntxtb (}{\u00ACpntxta )}}{\u00AC*\u00ACpnseclvl9\u00ACpnlcrm\u00ACpnstart1"
    u"\u00ACpnindent720\u00ACpnhang{\u00ACpntxtb (}{\u00ACpntxta )}}\u00ACpard\u00ACplain "
    u"\u00ACs15\u00ACqr \u00ACli0\u00ACri0\u00ACwidctlpar\u00ACaspalpha\u00ACaspnum\u00ACfaauto"
    u"\u00ACadjustright\u00ACrin0\u00AClin0\u00ACitap0 \u00ACb\u00ACfs36\u00ACul\u00AClang1036"
    u"\u00AClangfe1036\u00ACcgrid\u00AClangnp1036\u00AClangfenp1036 {\u00ACb0\u00ACfs20"
    u"\u00ACulnone XX1XX";
constexpr std::u16string_view kDateLineStart =
    u"\u00ACpar }\u00ACpard \u00ACs15\u00ACql \u00ACli0\u00ACri0\u00ACwidctlpar\u00ACaspalpha"
    u"\u00ACaspnum\u00ACfaauto\u00ACadjustright\u00ACrin0\u00AClin0\u00ACitap0 {\u00ACulnone ";
constexpr std::u16string_view kDateLine = u"\u00ACpar XX2XX";
constexpr std::u16string_view kEmptyLine = u"\u00ACpar }{\u00ACb0\u00ACfs20\u00ACulnone ";
constexpr std::u16string_view kSectionHeading =
    u"\u00ACpar }\u00ACpard\u00ACplain \u00ACql \u00ACli0\u00ACri0\u00ACwidctlpar\u00ACaspalpha"
    u"\u00ACaspnum\u00ACfaauto\u00ACadjustright\u00ACrin0\u00AClin0\u00ACitap0 \u00ACfs24"
    u"\u00AClang1036\u00AClangfe1036\u00ACcgrid\u00AClangnp1036\u00AClangfenp1036 {\u00ACb"
    u"\u00ACul XX3XX}{ ";
constexpr std::u16string_view kItem =
    u"\u00ACpar {\u00AClisttext\u00ACpard\u00ACplain\u00ACf3 \u00ACloch\u00ACaf3\u00ACdbch"
    u"\u00ACaf0\u00AChich\u00ACf3 \u00AC'b7\u00ACtab}}\u00ACpard \u00ACql \u00ACfi-360\u00ACli720"
    u"\u00ACri0\u00ACwidctlpar\u00ACjclisttab\u00ACtx720\u00ACaspalpha\u00ACaspnum\u00ACfaauto"
    u"\u00ACls1\u00ACadjustright\u00ACrin0\u00AClin720\u00ACitap0 {\u00ACb XX4XX}{ XX5XX}{"
    u"\u00ACb ";
constexpr std::u16string_view kBlockEnd =
    u"\u00ACpar }\u00ACpard\u00ACplain \u00ACs2\u00ACql \u00ACli0\u00ACri0\u00ACkeepn"
    u"\u00ACwidctlpar\u00ACaspalpha\u00ACaspnum\u00ACfaauto\u00ACoutlinelevel1\u00ACadjustright"
    u"\u00ACrin0\u00AClin0\u00ACitap0 \u00ACb\u00ACfs36\u00AClang1036\u00AClangfe1036\u00ACcgrid"
    u"\u00AClangnp1036\u00AClangfenp1036 {\u00ACfs34 ";
constexpr std::u16string_view kDocumentEnd = u"\u00ACpar }}";

std::u16string Escaped(std::u16string_view text) {
    std::u16string out;
    AppendRtfEscaped(out, text);
    return out;
}

std::u16string With(std::u16string_view fragment, std::u16string_view placeholder,
                    std::u16string_view rtf) {
    return ReplaceAll(fragment, placeholder, rtf);
}

std::u16string Item(std::u16string_view labelText, std::u16string_view text) {
    std::u16string item = With(kItem, u"XX5XX", Escaped(text));
    return With(item, u"XX4XX", labelText.empty() ? u"" : Escaped(labelText));
}

std::u16string Heading(std::u16string_view rtf) {
    return With(kSectionHeading, u"XX3XX", rtf);
}

// The patient line: title word, names, the birth date day first, the age when asked for.
std::u16string PatientLine(const PatientRecord& record, DayNumber ageDay,
                           const SummaryContext& context, SummaryFileOptions options) {
    const std::u16string& last = record.Field(field::kLastName);
    std::u16string line;
    if (!last.empty()) line = context.labels.TitleBefore(record.sex);
    std::u16string birth = record.Field(field::kBirthDay) + u"." +
                           record.Field(field::kBirthMonth) + u"." +
                           record.Field(field::kBirthYear);
    birth = TrimLeftOf(TrimRightOf(ReplaceAll(birth, u"..", u"."), u"."), u".");
    line += last + u" " + record.Field(field::kFirstName) + u" " + birth;
    if (!record.Field(field::kGestation).empty() || options.ageOnSummaries) {
        line += u" :  " + context.sources.LongAge(record, ageDay);
    }
    return line;
}

std::u16string Opening(const PatientRecord& record, DayNumber ageDay, std::u16string_view dateText,
                       const SummaryContext& context, SummaryFileOptions options) {
    std::u16string body =
        With(kHeadingParagraph, u"XX1XX", Escaped(PatientLine(record, ageDay, context, options)));
    body += kDateLineStart;
    body += With(kDateLine, u"XX2XX", Escaped(dateText));
    body += kEmptyLine;
    body += kEmptyLine;
    return body;
}

// The items of one entry's sections (and the differential diagnosis when given), cleaned.
std::u16string SectionItems(const Sections& entry, const std::u16string* dd,
                            const SummaryContext& context) {
    std::u16string items;
    for (size_t k = 0; k < kItemFields.size(); ++k) {
        if (k == entry.size() && !dd) break;
        const std::u16string& text =
            k < entry.size() ? entry[static_cast<size_t>(kSummarySectionOrder[k])] : *dd;
        if (text.empty()) continue;
        const std::u16string labelText = FieldCaption(context.labels, kItemFields[k]) + u" : ";
        items += Item(labelText, PunctuationCleanup(SectionOnOneLine(text) + u"."));
    }
    return items;
}

void AppendLists(std::u16string& body, const SummaryLists& lists, const SummaryContext& context) {
    const auto block = [&](const std::vector<TreatmentListRow>& rows, int labelIndex) {
        if (rows.empty()) return;
        body += Heading(Escaped(context.labels.Label(labelIndex) + u" :"));
        for (const TreatmentListRow& row : rows) body += Item({}, row.text + u"  " + row.status);
        body += kBlockEnd;
    };
    block(lists.treatments, label::kTreatments);
    block(lists.actions, label::kActions);
}

std::u16string ProblemLetter(const Labels& labels) {
    const std::u16string& letter = labels.Label(label::kProblemLetter);
    return letter.empty() ? std::u16string(u"P") : letter;
}

}  // namespace

std::u16string BuildDaySummaryFile(std::u16string_view model, const OpenPatient& patient,
                                   const SummaryContext& context, SummaryFileOptions options) {
    const PatientRecord& record = *patient.record;
    const bool hospitalisation = record.subfolderType != kAmbulatory;
    const std::u16string dateText =
        context.labels.Label(kDateLabel) + u" : " +
        DateLabelText(patient.currentDay, record.admissionDay, hospitalisation, context.words);
    std::u16string body = Opening(record, patient.currentDay, dateText, context, options);

    const JournalIndex journal(record.problemJournal);
    for (int p = 0; p < journal.ProblemCount() && p < kMaxProblems; ++p) {
        const ProblemHeader& header = journal.Header(p);
        const std::u16string title = TrimRightSpaces(header.title);
        if (title.empty()) break;
        if (header.state == u"C") continue;
        std::u16string span;
        if (header.state == u"I") {
            span = u"}{\u00ACinsrsid10579432  " +
                   Escaped(u" " + journal.Reader().ProblemSpanText(p, false, context.words) +
                           u" (" + context.labels.Label(label::kSolved) + u")");
        } else if (header.state == u"A" || header.state.empty()) {
            span = u"}{\u00ACinsrsid10579432  " +
                   Escaped(u" " + journal.Reader().ProblemSpanText(p, true, context.words));
        }
        const Sections entry = journal.Entry(patient.currentDay, p).value_or(Sections{});
        std::u16string items = SectionItems(entry, &header.differentialDiagnosis, context);
        body += Heading(Escaped(ProblemLetter(context.labels) + ToText(p + 1) + u" - ") +
                        Escaped(title + u":") + span);
        body += items;
        body += kBlockEnd;
        if (items.empty()) body += kBlockEnd;
    }
    AppendLists(body, context.sources.DayLists(record, patient.currentDay), context);
    if (!record.Field(field::kToDo).empty()) {
        body += Heading(Escaped(context.labels.Label(label::kToDo) + u" :"));
        std::u16string tasks =
            TrimRightOf(PlainTasks(record.Field(field::kToDo), context.labels), u"\r\n");
        size_t from = 0;
        tasks += u"\r\n";
        for (size_t at = tasks.find(u"\r\n"); at != std::u16string::npos;
             at = tasks.find(u"\r\n", from)) {
            body += Item({}, tasks.substr(from, at - from));
            from = at + 2;
        }
    }
    return std::u16string(model) + body + std::u16string(kDocumentEnd);
}

std::u16string BuildProblemSummaryFile(std::u16string_view model, const OpenPatient& patient,
                                       const SummaryContext& context, SummaryFileOptions options) {
    const PatientRecord& record = *patient.record;
    const JournalIndex journal(record.problemJournal);
    const int problem = patient.currentProblem;
    const bool known = problem >= 0 && problem < journal.ProblemCount();
    const ProblemHeader header = known ? journal.Header(problem) : ProblemHeader{};
    const std::u16string dateText = context.labels.Label(label::kProblems) + u" : " +
                                    ProblemLetter(context.labels) + u" " + ToText(problem + 1) +
                                    u"/" + ToText(journal.ProblemCount()) + u" - " + header.title;
    std::u16string body = Opening(record, patient.currentDay, dateText, context, options);

    const bool hospitalisation = record.subfolderType != kAmbulatory;
    for (const JournalReader::DayBlock& block : journal.Reader().DayBlocks()) {
        const DayNumber day = block.day;
        if (day < record.historyStartDay) continue;
        const std::optional<Sections> entry = journal.Entry(day, problem);
        if (!entry) continue;
        const std::u16string items = SectionItems(*entry, nullptr, context);
        if (items.empty()) continue;
        std::u16string heading =
            Escaped(DayHeading(day, hospitalisation, record.admissionDay, context.words));
        const std::u16string age = context.sources.LongAge(record, day);
        const size_t equals = age.find(u'=', 1);
        if (equals != std::u16string::npos) {
            heading += u"}{\u00ACinsrsid989750 " +
                       Escaped(u":   (" + TrimLeftOf(age.substr(equals + 1), u" ") + u")") +
                       u"}{\u00ACinsrsid2955822 ";
        }
        body += Heading(heading) + items + std::u16string(kBlockEnd);
    }
    if (!header.differentialDiagnosis.empty()) {
        body += Heading(Escaped(context.labels.Label(label::kDifferentialDiagnosis) + u" :"));
        std::u16string dd = TrimRightOf(header.differentialDiagnosis, u"\r\n- ");
        dd = RemoveAll(ReplaceAll(dd, u"\r\n", u"|"), u'-') + u"|";
        size_t from = 0;
        for (size_t at = dd.find(u'|'); at != std::u16string::npos; at = dd.find(u'|', from)) {
            body += Item({}, dd.substr(from, at - from));
            from = at + 1;
        }
        body += kBlockEnd;
    }
    AppendLists(body, context.sources.RunningLists(record), context);
    return std::u16string(model) + body + std::u16string(kDocumentEnd);
}

std::u16string DaySummaryFileName(const PatientRecord& record, DayNumber day,
                                  const JournalWords& words) {
    const DateTime date = DateOfDay(day);
    const std::u16string& weekday = words.weekdays[static_cast<size_t>(WeekdayOf(day))];
    return DocumentFileName(u"SD][" + CutTo(weekday, 2) + u" " + ToText(date.day) + u" " +
                                words.shortMonths[static_cast<size_t>(date.month - 1)] + u" " +
                                ToText(date.year),
                            record);
}

std::u16string ProblemShortTitle(std::u16string_view title, int problem, int problemCount,
                                 const Labels& labels) {
    const size_t blank = title.find(u' ');
    size_t n = (blank == std::u16string_view::npos || blank <= 1) ? 12 : blank + 4;
    n = std::min<size_t>({n, 12, title.size()});
    std::u16string shortTitle = TrimRightSpaces(CutTo(title, n));
    if (n < 2) {
        shortTitle = ProblemLetter(labels) + u" " + ToText(problem + 1) + u"\u00A6" +
                     ToText(problemCount) + u" ";
    }
    std::u16string cleaned;
    for (char16_t c : shortTitle) {
        if (std::u16string_view(u".\\/*|><?\"").find(c) == std::u16string_view::npos) {
            cleaned += c;
        }
    }
    return cleaned;
}

std::u16string ProblemSummaryFileName(const PatientRecord& record, int problem,
                                      const SummaryContext& context) {
    const JournalReader reader(record.problemJournal);
    int count = 0;
    while (count < kMaxProblems && reader.GetProblemHeader(count)) ++count;
    return DocumentFileName(
        u"SP][" + ProblemShortTitle(reader.GetProblemTitle(problem), problem, count,
                                    context.labels),
        record);
}

bool HasSummaryName(const PatientRecord& record) {
    return !record.Field(field::kLastName).empty() && !record.Field(field::kFirstName).empty();
}

SummaryFileSave SaveSummaryFile(DeviceFileSystem& files, std::u16string_view text,
                                const PatientRecord& record, std::u16string_view fileName) {
    SummaryFileSave save;
    save.fileName = std::u16string(fileName);
    if (!HasSummaryName(record)) {
        save.failure = SummaryFileFailure::NoName;
        return save;
    }
    const std::optional<std::string> bytes = ModelDocumentBytes(text);
    if (!bytes) {
        save.failure = SummaryFileFailure::TooBig;
        return save;
    }
    std::optional<std::u16string> written = SaveDocument(files, fileName, *bytes, record);
    if (!written) {
        save.failure = SummaryFileFailure::NotWritten;
        return save;
    }
    save.fileName = *written;
    return save;
}

SaveAllResult SaveAllDaySummaries(DeviceFileSystem& files, std::u16string_view model,
                                  const std::vector<const PatientRecord*>& patients,
                                  DayNumber day, const SummaryContext& context,
                                  SummaryFileOptions options) {
    SaveAllResult result;
    for (const PatientRecord* record : patients) {
        OpenPatient patient;
        patient.record = record;
        patient.currentDay = day;
        const std::u16string name = DaySummaryFileName(*record, day, context.words);
        SummaryFileSave save =
            SaveSummaryFile(files, BuildDaySummaryFile(model, patient, context, options), *record,
                            name);
        if (save.failure == SummaryFileFailure::None) {
            result.written.push_back(save.fileName);
        } else {
            result.failed.push_back({TrimRightSpaces(record->Field(field::kLastName) + u" " +
                                                     record->Field(field::kFirstName)),
                                     save.failure});
        }
    }
    return result;
}

}  // namespace pondrel
