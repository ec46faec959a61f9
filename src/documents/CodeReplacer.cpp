#include "documents/CodeReplacer.h"

#include "documents/ProblemNarratives.h"
#include "documents/TemplateCode.h"
#include "documents/TemplateData.h"
#include "journal/JournalReader.h"
#include "journal/JournalWords.h"
#include "labels/Labels.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

constexpr int kAgeField = 15;
constexpr int kBmiField = 95;
constexpr int kPatientNameLabel = 58;
constexpr int kNoMedicinesLabel = 184;
constexpr int kAdmissionCaption = 1;  // section captions of the form's date headings
constexpr int kExitCaption = 24;
constexpr int kMaxSecondaryProblems = 100;

std::u16string CaptionOr(const Labels& labels, int section, std::u16string_view fallback) {
    std::u16string caption(fallback);
    TakeLabelWord(caption, labels.SectionCaption(section));
    return caption;
}

std::u16string FullDate(const DateTime& t, DateOrder order) {
    return DisplayDate(t.year, t.month, t.day, order);
}

RtfMarkup Lines(const std::vector<std::u16string>& lines) {
    RtfMarkup out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) out.Paragraph();
        out.Text(lines[i]);
    }
    return out;
}

// The texts of the courses started on `day`, whole: a drug line such as "Amoxicillin
// (Clamoxyl) 1 g" keeps its brackets.
std::vector<std::u16string> StartedOn(const std::vector<TreatmentCourse>& courses, DayNumber day) {
    std::vector<std::u16string> out;
    for (const TreatmentCourse& course : courses) {
        if (course.startDay == day) out.push_back(course.text);
    }
    return out;
}

// The age text; past five years only its first part ("45 years" of "45 years, 3 months, 2 days").
std::u16string AgeText(const std::u16string& age) {
    if (ParseInt(age) <= 5) return age;
    return TrimRightSpaces(std::u16string_view(age).substr(0, age.find(u',')));
}

// The first bracketed part of every problem title, urgency marks left out: "(J18.9)" of
// "Pneumonia (J18.9) (!)".
std::u16string BracketedCodes(const JournalReader& reader) {
    std::u16string out;
    const int count = reader.ProblemCount();
    for (int p = 0; p < count; ++p) {
        std::u16string title = ReplaceAll(reader.GetProblemTitle(p), u"(!!!)", u"");
        title = ReplaceAll(title, u"(!)", u"");
        const size_t open = title.find(u'(');
        if (open == std::u16string::npos) continue;
        const size_t close = title.find(u')', open);
        if (close == std::u16string::npos) continue;
        out += title.substr(open, close - open + 1);
    }
    return out;
}

}  // namespace

CodeReplacer::CodeReplacer(const TemplateData& data)
    : m_data(data), m_fields(data.record, data.labels) {}

RtfMarkup CodeReplacer::Replace(const TemplateCode& code) const {
    if (code.number < kFieldCount) return m_fields.Replace(code);
    if (code.number < kFirstSpecialCode || code.number > kLastSpecialCode) return {};
    RtfMarkup markup = Special(code.number);
    if (code.Has(u'd')) {
        // The name codes show their placeholder as soon as the last name is missing.
        const bool nameCode = code.number == 550 || code.number == 560 || code.number == 555;
        const bool missing = nameCode ? m_data.record.Field(2).empty() : markup.Empty();
        if (missing) return RtfMarkup(PlaceholderOfEmpty(code.number));
    }
    return markup;
}

std::u16string CodeReplacer::PlaceholderOfEmpty(int number) const {
    const Labels& labels = m_data.labels;
    switch (number) {
        case 550:
        case 560:
            return u"<Patient name>";
        case 551:
            return u"<" + CaptionOr(labels, kAdmissionCaption, u"Admission") + u">";
        case 552:
            return u"<" + CaptionOr(labels, kExitCaption, u"Exit") + u">";
        case 553:
            return u"<>";
        case 554:
            return u"<No secondary diagnosis>";
        case 555: {
            // Label 58 is one the labels file cannot change; without a value it reads as its
            // factory word.
            std::u16string word = u"Patient name";
            TakeLabelWord(word, labels.Label(kPatientNameLabel));
            return u"<" + word + u">";
        }
        case 556:
            return u"<" + m_fields.Of(kAgeField).caption + u">";
        case 557:
        case 561:
            return u"<BMI>";
        case 558:
        case 562:
        case 563:
            return u"<No discussion>";
        case 559:
        case 565:
        case 566:
            return u"<" + labels.Label(kNoMedicinesLabel) + u">";
        case 567:
            return u"< No specified attitude >";
        default:
            return {};
    }
}

RtfMarkup CodeReplacer::Special(int number) const {
    const PatientRecord& record = m_data.record;
    const Labels& labels = m_data.labels;
    const std::u16string titleWord = labels.CivilityWord(record.sex);
    // No word and no blank before the name while the civility is not chosen.
    const std::u16string titleBefore = titleWord.empty() ? std::u16string() : titleWord + u" ";
    auto birthDate = [&] {
        const bool dayFirst = m_data.dateOrder == DateOrder::DayMonthYear;
        const std::u16string& first = record.Field(dayFirst ? 4 : 5);
        const std::u16string& second = record.Field(dayFirst ? 5 : 4);
        return first + u"." + second + u"." + record.Field(6);
    };
    switch (number) {
        case 550:
            return RtfMarkup(titleBefore + record.Field(2) + u" " + record.Field(3) + u" " +
                             birthDate());
        case 551:
            return RtfMarkup(FullDate(record.admission, m_data.dateOrder));
        case 552:
            return record.exitDateSet == 1 ? RtfMarkup(FullDate(record.exit, m_data.dateOrder))
                                           : RtfMarkup();
        case 553:
            return RtfMarkup(JournalReader(record.problemJournal).GetProblemTitle(0));
        case 554: {
            JournalReader reader(record.problemJournal);
            std::vector<std::u16string> titles;
            for (int p = 1; p < kMaxSecondaryProblems; ++p) {
                std::u16string title = reader.GetProblemTitle(p);
                if (title.empty()) break;
                titles.push_back(std::move(title));
            }
            return Lines(titles);
        }
        case 555:
            return RtfMarkup(titleBefore + record.Field(2));
        case 556:
            return RtfMarkup(AgeText(m_data.age));
        case 557: {
            const std::u16string& bmi = record.Field(kBmiField);
            return bmi.empty() ? RtfMarkup() : RtfMarkup(u"BMI " + bmi);
        }
        case 558:
            return Discussion(m_data);
        case 559:
            return Lines(m_data.treatmentsToday);
        case 560:
            return RtfMarkup(birthDate());
        case 561:
            return RtfMarkup(record.Field(kBmiField));
        case 562:
            return AdmissionProblems(m_data);
        case 563:
            return Synthesis(m_data);
        case 564:
            return RtfMarkup(BracketedCodes(JournalReader(record.problemJournal)));
        case 565:
            return Lines(StartedOn(m_data.treatmentCourses, record.admissionDay));
        case 566:
            return Lines(StartedOn(m_data.actionCourses, record.admissionDay));
        case 567:
            return Lines(m_data.actionsToday);
        default:
            return {};
    }
}

}  // namespace pondrel
