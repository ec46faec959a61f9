#include "documents/ProblemNarratives.h"

#include <algorithm>
#include <vector>

#include "documents/FieldTexts.h"
#include "documents/TemplateData.h"
#include "journal/JournalReader.h"
#include "journal/SubfolderDates.h"
#include "labels/Labels.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

constexpr int kDayLabel = 124;
constexpr int kSynthesisLabel = 183;
constexpr int kDifferentialDiagnosisField = 86;
constexpr int kFirstSectionField = 88;  // Anamnesia; the six sections are fields 88 to 93
constexpr int kKeptIndent = 5;

// Sections in the order the documents list them: Other before Medicine.
constexpr int kDocumentOrder[] = {0, 1, 2, 4, 3, 5};
// The admission problems list examinations, treatments, plans, then the rest.
constexpr int kAdmissionOrder[] = {2, 3, 5, 4};

std::u16string SectionCaption(const TemplateData& data, int section) {
    return FieldCaption(data.labels, kFirstSectionField + section);
}

// A section text without its trailing line breaks, dashes and blanks, its bullet dashes and its
// leading dash; lines end with "\r\n".
std::u16string SectionBody(std::u16string_view text) {
    size_t end = text.size();
    while (end > 0 && (text[end - 1] == u'\r' || text[end - 1] == u'\n' || text[end - 1] == u'-' ||
                       text[end - 1] == u' ')) {
        --end;
    }
    std::u16string body = ReplaceAll(text.substr(0, end), u"\r\n-", u"\r\n");
    if (!body.empty() && body.front() == u'-') body.erase(0, 1);
    return body;
}

// A section text on one line, its line breaks made ", ".
std::u16string OneLine(std::u16string_view text) {
    return ReplaceAll(SectionBody(text), u"\r\n", u", ");
}

std::vector<std::u16string> SectionLines(std::u16string_view text) {
    return Split(ReplaceAll(SectionBody(text), u"\r\n", u"\n"), u'\n');
}

// Entries of the days of the stay, found with one pass over the day blocks when the journal
// keeps its days in order (a damaged journal is searched day by day).
class StayEntries {
public:
    explicit StayEntries(std::u16string_view journal)
        : m_journal(journal), m_reader(journal), m_entryDays(m_reader.EntryDays()) {}

    // The block of the day, read by a reader of its own; none without entries that day.
    std::optional<JournalReader> Block(DayNumber day) {
        if (!std::binary_search(m_entryDays.begin(), m_entryDays.end(), day)) return std::nullopt;
        const std::u16string opening = DayBlockOpening(day);
        size_t at = m_journal.find(opening, m_cursor);
        if (at == std::u16string_view::npos) {
            auto block = m_reader.FindBlock(day);
            if (!block) return std::nullopt;
            at = block->begin;
        }
        size_t end = m_journal.find(u'#', at + 1);
        if (end == std::u16string_view::npos) end = m_journal.size();
        m_cursor = end;
        return JournalReader(m_journal.substr(at, end - at));
    }

    const JournalReader& Reader() const { return m_reader; }

private:
    std::u16string_view m_journal;
    JournalReader m_reader;
    std::vector<DayNumber> m_entryDays;
    size_t m_cursor = 0;
};

}  // namespace

void AppendWithParagraphs(RtfMarkup& markup, std::u16string_view text) {
    std::u16string body = ReplaceAll(text, u"\r\n", u"\n");
    std::vector<std::u16string> lines = Split(body, u'\n');
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) markup.Paragraph();
        if (!lines[i].empty() && lines[i].back() == u'\r') lines[i].pop_back();
        markup.Text(lines[i]);
    }
}

RtfMarkup Discussion(const TemplateData& data) {
    StayEntries stay(data.record.problemJournal);
    const JournalReader& reader = stay.Reader();
    const int count = reader.ProblemCount();
    const std::u16string& dayLabel = data.labels.Label(kDayLabel);
    const std::u16string ddCaption = FieldCaption(data.labels, kDifferentialDiagnosisField);

    std::vector<RtfMarkup> problems(static_cast<size_t>(count));
    for (int p = 0; p < count; ++p) {
        problems[static_cast<size_t>(p)]
            .Raw("\\par }{\\b\\ul ")
            .Text(reader.GetProblemTitle(p) + u" : ");
    }
    for (size_t i = 0; i < data.stayDays.size(); ++i) {
        const DayNumber day = data.stayDays[i];
        std::optional<JournalReader> block = stay.Block(day);
        if (!block && i > 0) continue;
        for (int p = 0; p < count; ++p) {
            Sections sections = block ? block->GetEntry(day, p) : Sections{};
            RtfMarkup dayText;
            auto addSection = [&](const std::u16string& caption, std::u16string_view text) {
                if (text.empty()) return;
                dayText.Raw("}{\\i\\ul ").Text(caption + u":").Raw("}{\\ ");
                dayText.Text(u" " + OneLine(text) + u". ");
            };
            for (int section : kDocumentOrder) {
                addSection(SectionCaption(data, section), sections[static_cast<size_t>(section)]);
            }
            if (i == 0) addSection(ddCaption, reader.GetDifferentialDiagnosis(p));
            if (dayText.Empty()) continue;
            problems[static_cast<size_t>(p)]
                .Paragraph()
                .Raw("}{\\b ")
                .Text(dayLabel + ToText(static_cast<long long>(i) + 1) + u":")
                .Raw("}{\\ ")
                .Text(u" ")
                .Append(dayText);
        }
    }
    RtfMarkup out;
    for (int p = 0; p < count; ++p) {
        RtfMarkup& problem = problems[static_cast<size_t>(p)];
        problem.Paragraph();
        const std::u16string redaction = reader.GetProblemRedaction(p);
        if (!redaction.empty()) {
            problem.Raw("\\par }{\\ ")
                .Raw("}{\\b ")
                .Text(data.labels.Label(kSynthesisLabel) + u":");
            problem.Raw("}{\\ ").Text(u" ");
            AppendWithParagraphs(problem, redaction);
        }
        problem.Paragraph();
        out.Append(problem);
    }
    out.CleanText(PunctuationCleanUp());
    return out;
}

RtfMarkup AdmissionProblems(const TemplateData& data) {
    const bool hospitalisation = data.record.subfolderType != kAmbulatory;
    const DayNumber day = hospitalisation ? data.record.admissionDay : data.currentDay;
    StayEntries stay(data.record.problemJournal);
    const JournalReader& reader = stay.Reader();
    std::optional<JournalReader> block = stay.Block(day);
    const std::u16string ddCaption = FieldCaption(data.labels, kDifferentialDiagnosisField);

    RtfMarkup out;
    const int count = reader.ProblemCount();
    for (int p = 0; p < count; ++p) {
        out.Raw("\\par }{\\b\\ul ").Text(reader.GetProblemTitle(p) + u" : ");
        Sections sections = block ? block->GetEntry(day, p) : Sections{};
        auto addPart = [&](const std::u16string& caption, std::u16string_view text) {
            if (text.empty()) return;
            out.Raw("\\par}{").KeptBlanks(kKeptIndent).Raw("}{\\ul ").Text(caption + u":");
            out.Raw("\\par}{\\ ");
            std::vector<std::u16string> lines = SectionLines(text);
            for (size_t i = 0; i < lines.size(); ++i) {
                if (i > 0) out.Paragraph();
                out.KeptBlanks(kKeptIndent).Text(u"- " + lines[i]);
            }
        };
        addPart(ddCaption, reader.GetDifferentialDiagnosis(p));
        for (int section : kAdmissionOrder) {
            addPart(SectionCaption(data, section), sections[static_cast<size_t>(section)]);
        }
        out.Paragraph().Paragraph();
    }
    out.CleanText(PunctuationCleanUp());
    return out;
}

RtfMarkup Synthesis(const TemplateData& data) {
    JournalReader reader(data.record.problemJournal);
    RtfMarkup out;
    const int count = reader.ProblemCount();
    for (int p = 0; p < count; ++p) {
        out.Raw("\\par }{\\b\\ul ").Text(reader.GetProblemTitle(p) + u" : ");
        const std::u16string redaction = reader.GetProblemRedaction(p);
        if (!redaction.empty()) {
            out.Raw("\\par }{\\ ");
            AppendWithParagraphs(out, redaction);
        }
        out.Paragraph();
    }
    out.CleanText(PunctuationCleanUp());
    return out;
}

}  // namespace pondrel
