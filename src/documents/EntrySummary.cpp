#include <algorithm>

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

constexpr std::u16string_view kFieldFont = uR"(<FONT COLOR="#4221A5">)";
constexpr std::u16string_view kValueFont = uR"(<FONT COLOR="#6B6BD8">)";
constexpr std::u16string_view kIndent = u"&nbsp;&nbsp;&nbsp;&nbsp;";
constexpr int kFirstFreeField = 100;
constexpr int kFreeFieldsPerBlock = 10;
constexpr int kBmi = 95;
constexpr int kSystolic = 11;
constexpr int kDiastolic = 12;
// The vital signs, in the order of their cells after the blood pressure.
constexpr int kVitalCells[] = {13, 9, 10, 14, 7, 8};
// Fields that must be on the page of the diastolic pressure (or on none) for the table.
constexpr int kVitalFields[] = {7, 8, 9, 10, 11, 13, 14, kBmi};

// A field's value on one line: a leading "-" dropped, each line break (with the blanks before
// it and a "-" after it) made ", ", and trailing " .," removed. Escaped.
std::u16string CleanValue(std::u16string_view text) {
    std::vector<std::u16string> lines;
    size_t start = 0;
    for (;;) {
        size_t end = text.find(u"\r\n", start);
        std::u16string_view line = text.substr(
            start, end == std::u16string_view::npos ? std::u16string_view::npos : end - start);
        if (!lines.empty() && !line.empty() && line[0] == u'-') line.remove_prefix(1);
        lines.emplace_back(line);
        if (end == std::u16string_view::npos) break;
        start = end + 2;
    }
    std::u16string clean;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i + 1 < lines.size()) {
            clean.append(TrimRightSpaces(lines[i])).append(u", ");
        } else {
            clean.append(lines[i]);
        }
    }
    if (!clean.empty() && clean[0] == u'-') clean.erase(0, 1);
    return HtmlEscape(TrimRightOf(clean, u" .,"));
}

// A field's caption up to a "[" (the unit), trailing blanks removed. Escaped.
std::u16string FieldLabel(const SummaryContext& context, int field) {
    const std::u16string& caption = context.labels.Caption(field);
    return HtmlEscape(TrimRightSpaces(caption.substr(0, caption.find(u'['))));
}

std::u16string FieldLine(const SummaryContext& context, int field, std::u16string_view clean) {
    std::u16string line(kFieldFont);
    line.append(u"-").append(FieldLabel(context, field)).append(u" :</FONT>&nbsp;");
    line.append(clean).append(u".");
    return line;
}

// From the first digit, the run of digits, "." and ","; the whole text without a digit.
std::u16string FirstNumber(const std::u16string& text) {
    size_t digit = text.find_first_of(u"0123456789");
    if (digit == std::u16string::npos) return text;
    size_t end = text.find_first_not_of(u"0123456789.,", digit);
    return text.substr(digit, end == std::u16string::npos ? std::u16string::npos : end - digit);
}

// Every chunk of the entry summary is tidied the same way before it is shown.
std::u16string Tidy(std::u16string_view chunk) {
    std::u16string text = RewriteUntilStable(chunk, kEntryTidyRules);
    size_t start = 0;
    while (text.compare(start, 4, u"<BR>") == 0) start += 4;
    return text.substr(start);
}

class EntryBuilder {
public:
    EntryBuilder(HtmlSink& sink, const OpenPatient& patient, const FormArrangement& arrangement,
                 const SummaryContext& context)
        : m_sink(sink),
          m_patient(patient),
          m_record(*patient.record),
          m_arrangement(arrangement),
          m_context(context) {}

    void Build() {
        m_sink.Clear();
        Append(Heading());
        std::array<std::u16string, 2> blocks = {FreeBlock(0), FreeBlock(1)};
        std::u16string vitals = VitalTable();
        for (int g = 0; g < kEntryPageCount; ++g) {
            for (size_t b = 0; b < blocks.size(); ++b) {
                if (m_arrangement.blockPage[b] == g && !blocks[b].empty()) Append(blocks[b]);
            }
            Append(Page(g, vitals));
        }
        // A free-field block placed on none of the form pages is still part of the record.
        for (size_t b = 0; b < blocks.size(); ++b) {
            int page = m_arrangement.blockPage[b];
            if ((page < 0 || page >= kEntryPageCount) && !blocks[b].empty()) Append(blocks[b]);
        }
        Append(Problems());
        Append(u"</P></BODY></HTML>");
        m_sink.EndOfSource();
    }

private:
    void Append(std::u16string_view chunk) {
        if (!chunk.empty()) m_sink.AppendHtml(Tidy(chunk));
    }

    int PageOf(int field) const { return m_arrangement.fieldPage[static_cast<size_t>(field)]; }
    bool Filled(int field) const { return !m_record.Field(field).empty(); }
    std::u16string Clean(int field) const { return CleanValue(m_record.Field(field)); }

    std::u16string Heading() const {
        using namespace summary_field;
        const PatientRecord& r = m_record;
        std::u16string birth = m_context.dateOrder == DateOrder::DayMonthYear
                                   ? r.Field(kBirthDay) + u"." + r.Field(kBirthMonth)
                                   : r.Field(kBirthMonth) + u"." + r.Field(kBirthDay);
        birth += u"." + r.Field(kBirthYear);
        std::u16string text = uR"(<HTML><BODY><FONT COLOR="#6B6BD8" FACE="Tahoma" SIZE=1><p>)";
        text.append(BarStart(u"#CD86B5")).append(uR"(<FONT SIZE="1"><B>)");
        AppendEscaped(text, m_context.labels.TitleBefore(r.sex) + r.Field(kLastName) + u" " +
                                r.Field(kFirstName) + u" " + birth);
        text.append(uR"(</B><P ALIGN="left">&nbsp;<u>)");
        text.append(LabelText(m_context, summary_label::kAge)).append(u":</u> ");
        AppendEscaped(text, m_context.sources.LongAge(r, m_patient.currentDay));
        text.append(u"<BR>&nbsp;<u>").append(FieldLabel(m_context, kRoom)).append(u":</u> ");
        AppendEscaped(text, r.Field(kRoom));
        text.append(u"<BR>&nbsp;<u>");
        AppendEscaped(text, m_arrangement.admissionCaption);
        text.append(u":</u> ");
        AppendEscaped(text, DisplayDate(r.admission.year, r.admission.month, r.admission.day,
                                        m_context.dateOrder));
        text.append(u"</P><B></B></FONT>").append(kBarEnd).append(u"<BR><BR>");
        return text;
    }

    // Block 0 holds fields 100 to 109, block 1 fields 110 to 119.
    std::u16string FreeBlock(int block) const {
        int first = kFirstFreeField + block * kFreeFieldsPerBlock;
        bool any = false;
        for (int k = first; k < first + kFreeFieldsPerBlock; ++k) any = any || Filled(k);
        if (!any) return {};
        std::u16string text = u"<BR><BR>" + BarStart(u"#ecb7c4");
        text.append(uR"(<B><I><FONT COLOR="#663399" SIZE="1">)");
        AppendEscaped(text, m_arrangement.blockTitles[static_cast<size_t>(block)]);
        text.append(u"</FONT></B></I>").append(kBarEnd);
        for (int k = first; k < first + kFreeFieldsPerBlock; ++k) {
            if (k > first) text.append(u"<BR >");
            text.append(FieldLine(m_context, k, Clean(k)));
        }
        text.append(u"<BR><BR>");
        return text;
    }

    std::u16string VitalCell(int field, std::u16string_view value) const {
        std::u16string cell(kFieldFont);
        cell.append(u"-").append(FieldLabel(m_context, field)).append(u" :</FONT>&nbsp;");
        cell.append(kValueFont).append(value).append(u"</td>");
        return cell;
    }

    // The vital signs side by side, two to a row; empty when there is none or when they are
    // spread over several pages.
    std::u16string VitalTable() const {
        bool any = std::any_of(std::begin(kVitalCells), std::end(kVitalCells),
                               [this](int k) { return Filled(k); });
        bool together = std::all_of(
            std::begin(kVitalFields), std::end(kVitalFields),
            [this](int k) { return PageOf(k) == PageOf(kDiastolic) || PageOf(k) == kNoFormPage; });
        if (!any || !together) return {};
        std::vector<std::u16string> cells;
        if (Filled(kSystolic) || Filled(kDiastolic)) {
            cells.push_back(
                VitalCell(kSystolic, FirstNumber(Clean(kSystolic)) + u" / " + Clean(kDiastolic)));
        }
        for (int k : kVitalCells) {
            if (Filled(k)) cells.push_back(VitalCell(k, Clean(k)));
        }
        if (Filled(kBmi)) {
            std::u16string cell(kFieldFont);
            cell.append(u"-BMI :</FONT>&nbsp;").append(kValueFont).append(u" ");
            AppendEscaped(cell, m_record.Field(kBmi));
            cells.push_back(cell.append(u"</td>"));
        }
        std::u16string table = uR"(<table border="1" width="211" CELLPADDING=0 CELLSPACING=-1>)";
        for (size_t i = 0; i < cells.size(); ++i) {
            table.append(i % 2 == 0 ? u"</tr><tr><td><font size=1>" : u"<td><font size=1>");
            table.append(cells[i]);
        }
        if (cells.size() % 2 == 1) table.append(u"<td><font size=1>&nbsp;</td>");
        table.append(u"</tr></table> <BR>");
        return table;
    }

    // A list field ("-first\r\n-second") below its caption, one item a line.
    std::u16string ListField(int field) const {
        std::u16string value = ReplaceAll(HtmlEscape(m_record.Field(field)), u"\r\n", u"<BR>");
        std::u16string text(kFieldFont);
        text.append(u"-").append(FieldLabel(m_context, field)).append(u" :</FONT><BR>");
        text.append(kIndent);
        std::u16string items = ReplaceAll(value, u"<BR>", u"<BR >" + std::u16string(kIndent));
        for (bool trimmed = true; trimmed;) {
            size_t before = items.size();
            items = TrimRightOf(items, u" -,");
            RemoveSuffix(items, u"&nbsp;");
            trimmed = items.size() != before;
        }
        RemoveSuffix(items, u"<BR >", true);
        return text.append(items).append(u"<BR>");
    }

    std::u16string Page(int g, const std::u16string& vitals) const {
        const bool vitalsHere = !vitals.empty() && PageOf(kDiastolic) == g;
        std::u16string lines;
        for (int k = 1; k < kFieldCount; ++k) {
            if (LeftOutOfAdmissionPages(k)) continue;
            if (vitalsHere) {
                if (k == kDiastolic) {
                    if (!lines.empty()) lines.append(u"<BR>");
                    lines.append(vitals);
                    continue;
                }
                if (std::find(std::begin(kVitalFields), std::end(kVitalFields), k) !=
                    std::end(kVitalFields)) {
                    continue;
                }
            }
            if (PageOf(k) != g || !Filled(k)) continue;
            if (m_record.Field(k)[0] == u'-') {
                if (!lines.empty()) lines.append(u"<BR>");
                lines.append(ListField(k));
            } else {
                lines.append(FieldLine(m_context, k, Clean(k))).append(u"<BR >");
            }
        }
        if (lines.empty()) return {};
        std::u16string text = u"<BR><BR>" + BarStart(u"#ffd0a6");
        text.append(uR"(<B><I><FONT COLOR="#995030" SIZE="1">)");
        if (g == 0) {
            text.append(LabelText(m_context, summary_label::kGeneralInformation));
        } else {
            AppendEscaped(text, m_arrangement.pageTitles[static_cast<size_t>(g)]);
        }
        text.append(u"</FONT></B></I>").append(kBarEnd).append(lines).append(u"<BR><BR>");
        return text;
    }

    // A section as a list: each line on its own indented row with a "-".
    static std::u16string SectionList(std::u16string_view section) {
        std::u16string text = HtmlEscape(section);
        std::u16string newLine = u"<BR>" + std::u16string(kIndent) + u"&nbsp;-";
        text = ReplaceAll(ReplaceAll(text, u"\r\n-", newLine), u"\r\n", newLine);
        if (text.empty() || text[0] != u'-') text.insert(0, u"&nbsp;-");
        for (bool trimmed = true; trimmed;) {
            size_t before = text.size();
            text = TrimRightOf(text, u" -,");
            RemoveSuffix(text, u"&nbsp;");
            trimmed = text.size() != before;
        }
        return text;
    }

    std::u16string Problems() const {
        std::u16string text = u"<BR><BR>" + BarStart(u"#CD86B5");
        text.append(uR"(<B><I><FONT COLOR="#000000" SIZE="1">)");
        text.append(LabelText(m_context, summary_label::kProblems));
        text.append(u"</FONT></B></I>").append(kBarEnd);
        JournalIndex journal(m_record.problemJournal);
        DayNumber day =
            m_record.subfolderType == kAmbulatory ? m_patient.currentDay : m_record.admissionDay;
        for (int p = 0; p < journal.ProblemCount(); ++p) {
            const ProblemHeader& header = journal.Header(p);
            if (p > 0) text.append(u"<HR WIDTH=73% SIZE=1>");
            text.append(u"<B><U>").append(kFieldFont);
            AppendEscaped(text, header.title);
            text.append(u" :</FONT></B></U><BR><BR>");
            Sections entry = journal.Entry(day, p).value_or(Sections{});
            auto section = [&entry](Section s) -> const std::u16string& {
                return entry[static_cast<size_t>(s)];
            };
            const std::pair<int, const std::u16string*> parts[] = {
                {90, &section(Section::Examinations)},
                {summary_field::kDifferentialDiagnosis, &header.differentialDiagnosis},
                {91, &section(Section::Medicine)},
                {93, &section(Section::Attitude)},
                {92, &section(Section::Other)}};
            for (const auto& [field, value] : parts) {
                if (value->empty()) continue;
                text.append(kIndent).append(u"<u>").append(kFieldFont);
                text.append(CaptionText(m_context, field)).append(u" :</FONT></u><BR>&nbsp;");
                text.append(SectionList(*value)).append(u"<BR>");
            }
        }
        return text;
    }

    HtmlSink& m_sink;
    const OpenPatient& m_patient;
    const PatientRecord& m_record;
    const FormArrangement& m_arrangement;
    const SummaryContext& m_context;
};

}  // namespace

void BuildEntrySummary(HtmlSink& sink, const OpenPatient& patient,
                       const FormArrangement& arrangement, const SummaryContext& context) {
    EntryBuilder(sink, patient, arrangement, context).Build();
}

}  // namespace pondrel
