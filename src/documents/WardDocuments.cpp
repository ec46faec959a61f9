#include "documents/WardDocuments.h"

#include "documents/FieldTexts.h"
#include "documents/JournalIndex.h"
#include "documents/ModelFiller.h"
#include "documents/RtfFormat.h"
#include "documents/SummaryBlocks.h"
#include "documents/SummaryText.h"
#include "documents/TemplateCode.h"
#include "documents/WardFragments.h"
#include "journal/Ages.h"
#include "journal/JournalDays.h"
#include "journal/JournalWords.h"
#include "journal/SubfolderDates.h"
#include "labels/Labels.h"
#include "platform/DeviceFileSystem.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

namespace label = summary_label;
namespace field = summary_field;
using ward_fragment::Version;


constexpr int kMaxTaskLines = 10;
constexpr int kBigRecentDays = 14;
constexpr int kSmallRecentDays = 7;
constexpr int kBirthLabel = 129;
constexpr int kNameAndDiagnosisLabel = 180;
constexpr int kTreatmentLabel = 181;
constexpr int kOtherLabel = 182;
constexpr int kOtherLabel2 = 133;
constexpr int kDiagnosisLabel = 132;
constexpr int kToDoLabel = 135;
constexpr int kWeightField = 7;
constexpr int kHeightField = 8;
// Pair k of a problem block: the entry's sections in summary order, then the differential
// diagnosis; the label is the caption of the field.
constexpr std::array<int, 7> kPairFields = {88, 89, 90, 92, 91, 93, 86};

std::u16string Escaped(std::u16string_view text) {
    std::u16string out;
    AppendRtfEscaped(out, text);
    return out;
}

// Replaces the first occurrence; false when `from` is absent.
bool ReplaceFirst(std::u16string& text, std::u16string_view from, std::u16string_view to) {
    const size_t at = text.find(from);
    if (from.empty() || at == std::u16string::npos) return false;
    text.replace(at, from.size(), to);
    return true;
}

void Put(std::u16string& text, std::u16string_view placeholder, std::u16string_view rtf) {
    text = ReplaceAll(text, placeholder, rtf);
}

// The caption of a field cut before its first " (" (a unit), when that is not at the start.
std::u16string CaptionWithoutUnit(const Labels& labels, int number) {
    std::u16string caption = FieldCaption(labels, number);
    const size_t at = caption.find(u" (");
    if (at != std::u16string::npos && at > 0) caption.resize(at);
    return caption;
}

std::u16string DayOfMonth(DayNumber day) {
    return ToText(DateOfDay(day).day);
}

const std::u16string& Weekday(DayNumber day, const JournalWords& words) {
    return words.weekdays[static_cast<size_t>(WeekdayOf(day))];
}

// The to-do text as lines, trailing line breaks removed and one added.
std::vector<std::u16string> TaskLines(const PatientRecord& record, const Labels& labels) {
    std::u16string text = TrimRightOf(PlainTasks(record.Field(field::kToDo), labels), u"\r\n");
    text += u"\r\n";
    std::vector<std::u16string> lines;
    size_t from = 0;
    for (size_t at = text.find(u"\r\n"); at != std::u16string::npos;
         at = text.find(u"\r\n", from)) {
        lines.push_back(text.substr(from, at - from));
        from = at + 2;
    }
    return lines;
}

// The placeholders every row and line of both documents share.
void PutPatient(std::u16string& row, const PatientRecord& record, const WardInputs& inputs,
                const SummaryContext& context) {
    const std::u16string& last = record.Field(field::kLastName);
    std::u16string name;
    if (!last.empty()) name = context.labels.TitleBefore(record.sex);
    name += last + u" " + record.Field(field::kFirstName);
    std::u16string admission;
    if (record.subfolderType != kAmbulatory) {
        admission = DisplayDate(record.admission.year, record.admission.month,
                                record.admission.day, context.dateOrder);
        const int n = inputs.day - record.admissionDay + 1;
        if (n >= 1) admission += u" (" + context.words.dayLetter + ToText(n) + u")";
    } else {
        admission = u"Ambulatory";
    }
    Put(row, u"XX2XX", Escaped(name));
    Put(row, u"XX7XX",
        Escaped(BirthDateText(record.Field(field::kBirthDay), record.Field(field::kBirthMonth),
                              record.Field(field::kBirthYear), context.dateOrder)));
    Put(row, u"XX8XX", Escaped(context.sources.LongAge(record, inputs.day)));
    Put(row, u"XX5XX", Escaped(admission));
    Put(row, u"XX9XX", Escaped(record.Field(field::kHeadDoctor)));
    Put(row, u"XX6XX", Escaped(record.Field(kWeightField)));
    Put(row, u"XX10XX", Escaped(record.Field(kHeightField)));
    Put(row, u"XX1XX", Escaped(record.Field(field::kRoom)));
    Put(row, u"XXDateXX", Escaped(WardLongDate(inputs.day, context.words)));
}

// The problems of one big-summary row; appends each problem's examinations to `exams`.
std::u16string BigProblems(const JournalIndex& journal,
                           DayNumber day, Version version, const SummaryContext& context,
                           std::u16string& exams) {
    const std::u16string firstBlock = ward_fragment::FirstProblemBlock(version);
    std::u16string problems;
    for (int p = 0; p < journal.ProblemCount() && p < kMaxProblems; ++p) {
        const ProblemHeader& header = journal.Header(p);
        if (TrimRightSpaces(header.title).empty()) break;
        if (header.state == u"C") continue;
        std::u16string block = p == 0 ? firstBlock : ward_fragment::FurtherProblemBlock();
        std::u16string title = Escaped(TrimRightSpaces(header.title) + u" :");
        if (header.state == u"I" || header.state == u"A" || header.state.empty()) {
            const bool active = header.state != u"I";
            std::u16string span = u"  " + journal.Reader().ProblemSpanText(p, active, context.words);
            if (!active) span += u"  (" + context.labels.Label(label::kSolved) + u")";
            title += ReplaceAll(ward_fragment::kSpanRun, u"XXStartXX", Escaped(span));
        }
        const Sections entry = journal.Entry(day, p).value_or(Sections{});
        for (size_t k = 0; k < kPairFields.size(); ++k) {
            const std::u16string n = ToText(static_cast<int>(k + 1));
            const std::u16string_view s = k < entry.size()
                                              ? std::u16string_view(entry[kSummarySectionOrder[k]])
                                              : std::u16string_view(header.differentialDiagnosis);
            std::u16string labelText;
            std::u16string text;
            if (!s.empty()) {
                const std::u16string line = SectionOnOneLine(s);
                labelText = Escaped(FieldCaption(context.labels, kPairFields[k]) + u":");
                text = Escaped(PunctuationCleanup(u" " + line + u". "));
                if (k == 2) exams += line + u", ";
            }
            Put(block, u"UU" + n + u"UU", labelText);
            Put(block, u"TT" + n + u"TT", text);
        }
        ReplaceFirst(block, u"YY1YY", title);
        problems += block;
    }
    if (journal.ProblemCount() == 0 || TrimRightSpaces(journal.Header(0).title).empty()) {
        std::u16string block = firstBlock;
        for (int k = 1; k <= 7; ++k) {
            Put(block, u"UU" + ToText(k) + u"UU", u"");
            Put(block, u"TT" + ToText(k) + u"TT", u"");
        }
        ReplaceFirst(block, u"YY1YY", Escaped(u"No problem"));
        problems = block;
    }
    return problems;
}

// Replaces the fragment by one copy per line, each with `placeholder` := the line.
void RepeatLine(std::u16string& row, const std::u16string& fragment,
                std::u16string_view placeholder, const std::vector<std::u16string>& lines) {
    const size_t at = row.find(fragment);
    if (at == std::u16string::npos) return;
    std::u16string copies;
    for (const std::u16string& line : lines) {
        copies += ReplaceAll(fragment, placeholder, Escaped(line));
    }
    row.replace(at, fragment.size(), copies);
}

std::vector<std::u16string> ListLines(const std::vector<TreatmentListRow>& rows,
                                      std::u16string_view between) {
    std::vector<std::u16string> lines;
    for (const TreatmentListRow& row : rows) {
        lines.push_back(row.text + std::u16string(between) + row.status);
    }
    return lines;
}

WardFailure BigRow(std::u16string& row, const PatientRecord& record, Version version,
                   const WardInputs& inputs, const SummaryContext& context) {
    const Labels& labels = context.labels;
    PutPatient(row, record, inputs, context);

    const JournalIndex journal(record.problemJournal);
    std::u16string exams;
    const std::u16string problems =
        BigProblems(journal, inputs.day, version, context, exams);
    const std::u16string firstBlock = ward_fragment::FirstProblemBlock(version);
    const size_t head = row.find(ward_fragment::FirstProblemHead(version));
    if (head == std::u16string::npos) return WardFailure::Corrupted;
    row.replace(head, firstBlock.size(), problems);

    // The per-field texts are prepared once for the four paragraphs.
    std::optional<FieldTextTable> fields;
    for (int k = 1; k <= kBigSummaryParagraphs; ++k) {
        const BigSummaryParagraph& paragraph = inputs.paragraphs[static_cast<size_t>(k - 1)];
        std::u16string r = paragraph.description;
        if (r.find(u'\u00A2') != std::u16string::npos) {
            if (!fields) fields.emplace(record, labels);
            r = ExpandFieldCodesOf(r, *fields);
        }
        const std::u16string fragment = ward_fragment::ParagraphBlock(k + 1, version);
        if (CleanSummaryText(r).empty()) {
            ReplaceFirst(row, fragment, u"");
            continue;
        }
        const std::u16string n = ToText(k + 1);
        Put(row, u"YY" + n + u"YY", Escaped(CleanSummaryText(paragraph.title) + u":"));
        Put(row, u"SS" + n + u"SS", Escaped(u" " + CleanSummaryText(r) + u"."));
    }

    const SummaryLists lists = context.sources.DayLists(record, inputs.day);

    const auto putList = [&](int k, int labelIndex, const std::vector<TreatmentListRow>& rows) {
        const std::u16string n = ToText(k);
        Put(row, u"YY" + n + u"YY",
            Escaped(CleanSummaryText(labels.Label(labelIndex)) + u":"));
        if (rows.empty()) {
            Put(row, u"SS" + n + u"SS", u" ");
        } else {
            RepeatLine(row, ward_fragment::ListLine(k, version), u"SS" + n + u"SS",
                       ListLines(rows, u"  "));
        }
    };
    putList(6, label::kTreatments, lists.treatments);
    putList(7, label::kActions, lists.actions);

    Put(row, u"YY8YY", Escaped(CleanSummaryText(labels.Label(label::kToDo)) + u":"));
    if (record.Field(field::kToDo).empty()) {
        Put(row, u"SS8SS", u" ");
    } else {
        std::vector<std::u16string> lines = TaskLines(record, labels);
        if (lines.size() > kMaxTaskLines) lines.resize(kMaxTaskLines);
        RepeatLine(row, ward_fragment::ListLine(8, version), u"SS8SS", lines);
    }

    Put(row, u"YY9YY", Escaped(CleanSummaryText(FieldCaption(labels, 90)) + u":"));
    std::u16string dayExams = CleanSummaryText(ReplaceAll(exams, u".", u", "));
    if (!dayExams.empty()) dayExams += u".";
    Put(row, u"SS9aSS", Escaped(dayExams));
    Put(row, u"SS9bSS",
        RecentExaminations(record, inputs.day - 1, kBigRecentDays, context.words).Escaped());

    Put(row, u"XXTop1XX", u" ");
    Put(row, u"XXBottom1XX", u"X");
    Put(row, u"XXTop2XX", u" ");
    Put(row, u"XXBottom2XX", u" ");
    return WardFailure::None;
}

std::u16string SmallProblems(const PatientRecord& record) {
    const JournalReader reader(record.problemJournal);
    std::u16string text;
    for (int p = 0; p < kMaxProblems; ++p) {
        const std::optional<ProblemHeader> header = reader.GetProblemHeader(p);
        if (!header || header->title.empty()) break;
        if (header->state == u"I" || header->state == u"C") continue;
        text += Escaped(u"-" + TrimRightOf(header->title, u" .,:")) + u"\u00ACpar ";
    }
    return text;
}

std::u16string SmallLists(const SummaryLists& lists) {
    std::u16string text;
    const auto add = [&](const std::vector<TreatmentListRow>& rows) {
        for (const TreatmentListRow& row : rows) {
            if (!text.empty()) text += u"\u00ACpar ";
            text += Escaped(u"-" + row.text + u" " + row.status);
        }
    };
    add(lists.treatments);
    if (!lists.treatments.empty() && !lists.actions.empty()) {
        text += u"\u00ACpar " + Escaped(std::u16string(14, u' ') + std::u16string(48, u'-'));
    }
    add(lists.actions);
    return TrimRightOf(text, u" .,");
}

void SmallLine(std::u16string& line, const PatientRecord& record, const WardInputs& inputs,
               const SummaryContext& context) {
    PutPatient(line, record, inputs, context);
    Put(line, u"YY1YY", SmallProblems(record));
    Put(line, u"YY6YY", SmallLists(context.sources.DayLists(record, inputs.day)));
    std::u16string tasks;
    if (!record.Field(field::kToDo).empty()) {
        std::vector<std::u16string> lines = TaskLines(record, context.labels);
        if (lines.size() > kMaxTaskLines) lines.resize(kMaxTaskLines);
        for (const std::u16string& task : lines) tasks += TrimRightOf(task, u",. ") + u", ";
        tasks = TrimRightOf(tasks, u" .,");
        if (!tasks.empty()) tasks += u".";
    }
    Put(line, u"YY8YY", Escaped(tasks));
    Put(line, u"SS9aSS",
        RecentExaminations(record, inputs.day, kSmallRecentDays, context.words).Escaped());
}

bool IsRoomOfList(std::u16string_view room, const std::vector<std::u16string>& rooms) {
    for (const std::u16string& name : rooms) {
        if (name == room) return true;
    }
    return false;
}

}  // namespace

ModelRead ReadWholeModel(DeviceFileSystem& files, std::u16string_view folder,
                         std::u16string_view name, size_t maxBytes) {
    ModelRead read;
    read.name = std::u16string(name);
    // One byte more than the limit tells a model that fits from one that would be cut.
    std::optional<std::u16string> text = ReadModel(files, JoinPath(folder, name), maxBytes + 1);
    if (!text) {
        read.failure = ModelReadFailure::NotFound;
    } else if (text->size() > maxBytes) {
        read.failure = ModelReadFailure::TooBig;
    } else {
        read.text = std::move(*text);
    }
    return read;
}

WardModelsRead ReadWardModels(DeviceFileSystem& files, std::u16string_view installationFolder,
                              WardDocumentKind kind) {
    const bool big = kind == WardDocumentKind::Big;
    const std::array<std::pair<std::u16string_view, size_t>, 3> names = {
        std::pair{big ? kBigSummaryModel : kSmallSummaryModel, kModelReadBytes},
        std::pair{big ? kBigSummaryOddRowModel : kSmallSummaryLineModel, kRowModelReadBytes},
        std::pair{big ? kBigSummaryEvenRowModel : kSmallSummaryEndModel, kRowModelReadBytes}};
    std::array<std::u16string, 3> texts;
    WardModelsRead result;
    for (size_t i = 0; i < names.size(); ++i) {
        ModelRead read = ReadWholeModel(files, installationFolder, names[i].first, names[i].second);
        if (read.failure != ModelReadFailure::None) {
            result.failed = std::move(read);
            return result;
        }
        texts[i] = std::move(read.text);
    }
    // Read in the order first, AddTable1, AddTable2 (or first, line, end).
    result.models = big ? WardModels{texts[0], texts[2], texts[1]}
                        : WardModels{texts[0], texts[1], texts[2]};
    return result;
}

WardDocument BuildBigSummary(const WardModels& models, const WardInputs& inputs,
                             const SummaryContext& context) {
    const Labels& labels = context.labels;
    const auto headed = [&](std::u16string model) {
        Put(model, u"AA1AA", Escaped(labels.Label(kBirthLabel)));
        Put(model, u"AA2AA", Escaped(inputs.ageLineCaption));
        Put(model, u"AA3AA", Escaped(inputs.admissionCaption));
        Put(model, u"AA4AA", Escaped(FieldCaption(labels, field::kHeadDoctor)));
        Put(model, u"AA5AA", Escaped(CaptionWithoutUnit(labels, kWeightField)));
        Put(model, u"AA6AA", Escaped(CaptionWithoutUnit(labels, kHeightField)));
        Put(model, u"AA7AA", Escaped(WardShortDate(inputs.day, context.words)));
        Put(model, u"AA8AA:", u"");
        return model;
    };
    const std::u16string first = headed(models.first);
    const std::u16string even = headed(models.further);
    const std::u16string odd = headed(models.last);

    WardDocument document;
    for (const WardRow& wardRow : inputs.rows) {
        if (!wardRow.record) continue;
        const int n = document.patientRows + 1;
        std::u16string row = n == 1 ? first : (n % 2 == 0 ? even : odd);
        const Version version = n == 1 ? Version::FirstRow : Version::FollowOn;
        if (BigRow(row, *wardRow.record, version, inputs, context) == WardFailure::Corrupted) {
            return {WardFailure::Corrupted, {}, 0, 0};
        }
        document.text += row;
        document.patientRows = n;
        if (document.text.size() >= kModelDocumentLimit) {
            return {WardFailure::TooBig, {}, n, 0};
        }
    }
    if (document.patientRows == 0) return {WardFailure::Empty, {}, 0, 0};
    document.text += ward_fragment::kClosing;
    if (document.text.size() >= kModelDocumentLimit) document.failure = WardFailure::TooBig;
    return document;
}

WardDocument BuildSmallSummary(const WardModels& models, const WardInputs& inputs,
                               const SummaryContext& context) {
    const Labels& labels = context.labels;
    const auto headed = [&](std::u16string model, bool firstLine) {
        Put(model, u"AA1AA", Escaped(FieldCaption(labels, field::kRoom)));
        Put(model, u"AA2AA", Escaped(labels.Label(firstLine ? kNameAndDiagnosisLabel : 0)));
        Put(model, u"AA3AA", Escaped(labels.Label(firstLine ? kTreatmentLabel : kDiagnosisLabel)));
        Put(model, u"AA4AA", Escaped(labels.Label(firstLine ? kOtherLabel : label::kTreatments)));
        Put(model, u"AA5AA", Escaped(labels.Label(kOtherLabel2)));
        Put(model, u"AA6AA", Escaped(labels.Label(kBirthLabel)));
        Put(model, u"AA7AA", Escaped(inputs.ageLineCaption));
        Put(model, u"AA8AA", Escaped(inputs.admissionCaption));
        Put(model, u"AA9AA", Escaped(FieldCaption(labels, field::kHeadDoctor)));
        Put(model, u"AA11AA", Escaped(labels.Label(kToDoLabel)));
        Put(model, u"AA12AA:", u"");
        return model;
    };
    const std::u16string first = headed(models.first, true);
    const std::u16string further = headed(models.further, false);

    WardDocument document;
    int n = 0;
    for (const WardRow& wardRow : inputs.rows) {
        std::u16string line = n == 0 ? first : further;
        if (!wardRow.record) {
            if (!IsRoomOfList(wardRow.room, inputs.rooms)) continue;
            // The room name is a text like any other: escaped, so that "{", "}" or "\" in it
            // cannot break the document.
            Put(line, u"XX1XX", Escaped(wardRow.room));
            for (std::u16string_view placeholder :
                 {u"XX2XX", u"XX7XX", u"XX8XX", u"XX5XX", u"XX9XX", u"YY1YY", u"YY6YY",
                  u"YY7YY", u"YY8YY", u"SS9aSS"}) {
                Put(line, placeholder, u"");
            }
            Put(line, u"XXDateXX", Escaped(WardLongDate(inputs.day, context.words)));
            ++document.emptyBeds;
        } else {
            SmallLine(line, *wardRow.record, inputs, context);
            ++document.patientRows;
        }
        ++n;
        document.text += line;
        if (document.text.size() >= kModelDocumentLimit) {
            document.failure = WardFailure::TooBig;
            document.text.clear();
            return document;
        }
    }
    document.text += models.last;
    if (document.text.size() >= kModelDocumentLimit) document.failure = WardFailure::TooBig;
    return document;
}

std::u16string WardFileName(WardDocumentKind kind, DayNumber day, const JournalWords& words) {
    return u"[" + WardFileDate(day, words) +
           (kind == WardDocumentKind::Big ? u"] Big summary all patients.rtf"
                                          : u"] Small summary all patients.rtf");
}

std::string_view WardDocumentMark(WardDocumentKind kind) {
    return kind == WardDocumentKind::Big ? "bigsummary" : "smallsummary";
}

std::u16string WardShortDate(DayNumber day, const JournalWords& words) {
    return CutTo(Weekday(day, words), 2) + u" " + DayOfMonth(day) + u" " +
           words.shortMonths[static_cast<size_t>(DateOfDay(day).month - 1)];
}

std::u16string WardFileDate(DayNumber day, const JournalWords& words) {
    const DateTime date = DateOfDay(day);
    return CutTo(Weekday(day, words), 3) + u" " + DayOfMonth(day) + u" " +
           words.shortMonths[static_cast<size_t>(date.month - 1)] + u" " + ToText(date.year);
}

std::u16string WardLongDate(DayNumber day, const JournalWords& words) {
    const DateTime date = DateOfDay(day);
    return Weekday(day, words) + u", " + DayOfMonth(day) + u" " +
           words.months[static_cast<size_t>(date.month - 1)] + u" " + ToText(date.year);
}

std::array<BigSummaryParagraph, kBigSummaryParagraphs> DefaultBigSummaryFormat() {
    return {BigSummaryParagraph{u"Motive of Hospitalization", u"\u00A2F61#"},
            BigSummaryParagraph{u"Current problem", u"\u00A2F62#"},
            BigSummaryParagraph{u"Past history", u"\u00A2F63#"},
            BigSummaryParagraph{u"Family history", u"\u00A2F65#"}};
}

bool IsRefusedInBigSummaryFormat(char16_t c) {
    return std::u16string_view(u"{}|\u00A6\u00A7\u00AC").find(c) != std::u16string_view::npos;
}

std::u16string WithoutRefusedFormatCharacters(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (!IsRefusedInBigSummaryFormat(c)) out += c;
    }
    return out;
}

std::u16string CleanSummaryText(std::u16string_view text) {
    if (text.empty()) return {};
    std::u16string out = SectionOnOneLine(text);
    out = TrimRightOf(out, u",. -;:");
    return RewriteEachUntilStable(out, {{u"  ", u" "}, {u" .", u"."}, {u",.", u"."}, {u"..", u"."}});
}

std::u16string ExpandFieldCodes(std::u16string_view description, const PatientRecord& record,
                                const Labels& labels) {
    if (description.find(u'\u00A2') == std::u16string_view::npos) return std::u16string(description);
    return ExpandFieldCodesOf(description, FieldTextTable(record, labels));
}

std::u16string ExpandFieldCodesOf(std::u16string_view description, const FieldTextTable& fields) {
    std::u16string text(description);
    size_t at = text.find(u'\u00A2');
    while (at != std::u16string::npos) {
        const size_t end = text.find(u'#', at + 1);
        std::optional<TemplateCode> code;
        if (end != std::u16string::npos && end > at + 1) {
            code = ParseCode(std::u16string_view(text).substr(at + 1, end - at - 1));
        }
        const bool known = code && code->number >= 1 && code->number < kFieldCount &&
                           !code->type.empty();
        if (!code || !known) {
            if (code && end != std::u16string::npos) {
                text.erase(at, end - at + 1);  // a code of no known field gives nothing
                at = text.find(u'\u00A2', at);
            } else {
                at = text.find(u'\u00A2', at + 1);
            }
            continue;
        }
        const std::u16string replacement = fields.Replace(*code).PlainText();
        text.replace(at, end - at + 1, replacement);
        at = text.find(u'\u00A2', at + replacement.size());
    }
    return text;
}

RtfMarkup RecentExaminations(const PatientRecord& record, DayNumber lastDay, int maxDays,
                             const JournalWords& words) {
    const JournalReader reader(record.problemJournal);
    std::vector<JournalReader::DayBlock> blocks = reader.DayBlocks();
    RtfMarkup markup;
    int counted = 0;
    // The blocks are ascending, each day once: walked from the latest.
    for (size_t index = blocks.size(); index-- > 0;) {
        const DayNumber day = blocks[index].day;
        if (day > lastDay) continue;
        std::u16string text;
        for (const JournalReader::BlockEntry& entry : reader.BlockEntries(blocks[index].span)) {
            if (entry.problem < 0 || entry.problem >= kMaxProblems) continue;
            const Sections sections = reader.EntrySections(entry.span);
            const std::u16string& exams = sections[2];
            if (!exams.empty()) text += SectionOnOneLine(exams) + u", ";
        }
        if (text.empty()) continue;
        if (++counted > maxDays) break;
        text = TrimRightOf(text, u",. ");
        text = ReplaceAll(ReplaceAll(text, u",,", u","), u", ,", u",");
        markup.Raw("\\par }{\\i\\fs16\\ul\\insrsid1648139 ")
            .Text(WardShortDate(day, words) + u":")
            .Raw("}{\\fs16\\insrsid1648139  ")
            .Text(u" " + CleanSummaryText(text) + u".");
    }
    return markup;
}

}  // namespace pondrel
