#include "LabelsTexts.h"

#include <fstream>
#include <sstream>

#include "labels/LabelsWriter.h"
#include "platform/Text.h"

namespace pondrel::test {

std::u16string FieldRecords(std::u16string_view header, int count) {
    std::u16string text(header);
    for (int n = 0; n < count; ++n) {
        if (n > 0) text += u"\r\n\r\n" + ToText(n);
        text += u"##Caption " + ToText(n) + u"##Item " + ToText(n) + u"|Other " + ToText(n) + u"||";
    }
    return text;
}

std::u16string Sections(const Labels& labels) {
    return u"\r\n\r\n" + ComposeLabelsSections(labels);
}

Labels Numbered() {
    Labels labels = Labels::Blank();
    for (int i = 0; i < kSectionCaptionCount; ++i)
        labels.sectionCaptions[i] = u"Section " + ToText(i);
    for (int i = 0; i < kUiLabelCount; ++i) labels.uiLabels[i] = u"Label " + ToText(i);
    for (int i = 0; i < kWeekdayCount; ++i) labels.weekdayNames[i] = u"Weekday " + ToText(i);
    for (int i = 0; i < kMonthCount; ++i) labels.monthNames[i] = u"Month " + ToText(i);
    for (int i = 0; i < kAgeWordCount; ++i) labels.ageWords[i] = u"Age " + ToText(i);
    for (int i = 0; i < kShortMonthCount; ++i) labels.shortMonthNames[i] = u"Short " + ToText(i);
    return labels;
}

std::u16string CurrentText() {
    return FieldRecords(u"40", 230) + Sections(Numbered());
}

std::string Latin1(std::u16string_view text) {
    std::string bytes;
    for (char16_t c : text) bytes += static_cast<char>(c & 0xFF);
    return bytes;
}

std::string Utf16Bytes(std::u16string_view text) {
    std::string bytes;
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

std::string ReadHostFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

}  // namespace pondrel::test
