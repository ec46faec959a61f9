#include "charts/ExamGraph.h"

#include "charts/ExamTable.h"
#include "charts/GrowthAge.h"
#include "journal/Ages.h"
#include "journal/BodyMassIndex.h"
#include "labels/Labels.h"
#include "platform/Text.h"

namespace pondrel {

namespace {

constexpr int kBirthFields[] = {4, 5, 6, 203};
constexpr int kBoyLabel = 178;
constexpr int kGirlLabel = 179;

std::u16string FirstLetterLower(const std::u16string& word, const char16_t* fallback) {
    return word.empty() ? std::u16string(fallback) : FoldCase(word.substr(0, 1));
}

}  // namespace

std::optional<GrowthMeasure> MeasureOfTitle(std::u16string_view title) {
    std::u16string folded = RemoveAll(FoldCase(title), u' ');
    std::optional<GrowthMeasure> measure;
    if (folded.find(u"weight") != std::u16string::npos) measure = GrowthMeasure::Weight;
    if (folded.find(u"height") != std::u16string::npos) measure = GrowthMeasure::Height;
    if (folded.find(u"cranialperimeter") != std::u16string::npos ||
        folded.find(u"headcircumference") != std::u16string::npos) {
        measure = GrowthMeasure::Head;
    }
    return measure;
}

int MeasureGraphText(const GraphTextWidth& textWidth, std::u16string_view text, int fontHeight) {
    if (textWidth) return textWidth(text, fontHeight);
    return static_cast<int>(text.size()) * fontHeight * 6 / 10;
}

void ExamGraph::LoadGraphRow(const ExamRow& row) {
    m_title = row.title;
    m_points.clear();
    for (const ExamValue& value : row.values) {
        if (!m_points.empty() && m_points.back().day == value.day) continue;
        // "<5", ">1000": beyond a limit, no point to draw; the table shows the text.
        if (!value.value.empty() && (value.value[0] == u'<' || value.value[0] == u'>')) continue;
        m_points.push_back({value.day, LeadingDecimal(value.value)});
        if (m_points.size() == kMaxPoints) break;
    }
}

void ExamGraph::SetPatient(const PatientRecord& record) {
    m_patient = PatientRecord();
    m_patient.sex = record.sex;
    for (int field : kBirthFields) m_patient.SetField(field, record.Field(field));
}

void ExamGraph::SetSettings(bool dayFirst, bool imperialUnits) {
    m_dayFirst = dayFirst;
    m_imperialUnits = imperialUnits;
}

void ExamGraph::SetWords(const Labels& labels) {
    m_boyWord = labels.Label(kBoyLabel).empty() ? u"Boy" : labels.Label(kBoyLabel);
    m_girlWord = labels.Label(kGirlLabel).empty() ? u"Girl" : labels.Label(kGirlLabel);
    AgeWords words = AgeWords::From(labels);
    m_weekLetter = FirstLetterLower(words.weeks, u"w");
    m_monthLetter = FirstLetterLower(words.months, u"m");
    m_yearLetter = FirstLetterLower(words.years, u"y");
}

GraphRect ExamGraph::ZoomBox(int width, int height, const GraphTextWidth& textWidth) {
    // Below the arrow of the time axis (down to y h - 14) and beside the time labels' row.
    constexpr int kHeight = 13;
    constexpr int kRoom = 8;  // a frame and a little air on both sides of the text
    const int text = MeasureGraphText(textWidth, kZoomText, kFontHeight);
    const int right = width - 1;
    return {right - text - kRoom, height - kHeight, right, height};
}

bool ExamGraph::ZoomOffered(const DateTime& now) const {
    if (!Measure()) return false;
    std::optional<double> years = AgeInYears(m_patient, now);
    return years && *years <= kGrowthCurveMaxYears;
}

}  // namespace pondrel
