#include "documents/ProblemNarratives.h"

#include <vector>

#include "documents/FieldTexts.h"
#include "documents/JournalIndex.h"
#include "documents/TemplateData.h"
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
    const JournalIndex journal(data.record.problemJournal);
    const int count = journal.ProblemCount();
    const std::u16string& dayLabel = data.labels.Label(kDayLabel);
    const std::u16string ddCaption = FieldCaption(data.labels, kDifferentialDiagnosisField);

    std::vector<RtfMarkup> problems(static_cast<size_t>(count));
    for (int p = 0; p < count; ++p) {
        problems[static_cast<size_t>(p)]
            .Raw("\\par }{\\b\\ul ")
            .Text(journal.Header(p).title + u" : ");
    }
    for (size_t i = 0; i < data.stayDays.size(); ++i) {
        const DayNumber day = data.stayDays[i];
        for (int p = 0; p < count; ++p) {
            const Sections sections = journal.Entry(day, p).value_or(Sections{});
            RtfMarkup dayText;
            auto addSection = [&](const std::u16string& caption, std::u16string_view text) {
                if (text.empty()) return;
                dayText.Raw("}{\\i\\ul ").Text(caption + u":").Raw("}{\\ ");
                dayText.Text(u" " + OneLine(text) + u". ");
            };
            for (int section : kDocumentOrder) {
                addSection(SectionCaption(data, section), sections[static_cast<size_t>(section)]);
            }
            if (i == 0) addSection(ddCaption, journal.Header(p).differentialDiagnosis);
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
        const std::u16string& redaction = journal.Header(p).redaction;
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
    out.CleanPunctuation();
    return out;
}

RtfMarkup AdmissionProblems(const TemplateData& data) {
    const bool hospitalisation = data.record.subfolderType != kAmbulatory;
    const DayNumber day = hospitalisation ? data.record.admissionDay : data.currentDay;
    const JournalIndex journal(data.record.problemJournal);
    const std::u16string ddCaption = FieldCaption(data.labels, kDifferentialDiagnosisField);

    RtfMarkup out;
    const int count = journal.ProblemCount();
    for (int p = 0; p < count; ++p) {
        out.Raw("\\par }{\\b\\ul ").Text(journal.Header(p).title + u" : ");
        const Sections sections = journal.Entry(day, p).value_or(Sections{});
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
        addPart(ddCaption, journal.Header(p).differentialDiagnosis);
        for (int section : kAdmissionOrder) {
            addPart(SectionCaption(data, section), sections[static_cast<size_t>(section)]);
        }
        out.Paragraph().Paragraph();
    }
    out.CleanPunctuation();
    return out;
}

RtfMarkup Synthesis(const TemplateData& data) {
    const JournalIndex journal(data.record.problemJournal);
    RtfMarkup out;
    const int count = journal.ProblemCount();
    for (int p = 0; p < count; ++p) {
        out.Raw("\\par }{\\b\\ul ").Text(journal.Header(p).title + u" : ");
        const std::u16string& redaction = journal.Header(p).redaction;
        if (!redaction.empty()) {
            out.Raw("\\par }{\\ ");
            AppendWithParagraphs(out, redaction);
        }
        out.Paragraph();
    }
    out.CleanPunctuation();
    return out;
}

}  // namespace pondrel
