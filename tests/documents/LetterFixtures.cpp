#include "LetterFixtures.h"

#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "documents/RtfMarkup.h"
#include "documents/TemplateFiller.h"
#include "labels/LabelsFile.h"
#include "platform/Text.h"

namespace pondrel::test {

const Labels& FactoryLabels() {
    static const Labels labels = [] {
        std::ifstream in(PONDREL_RESOURCES_DIR "/Labels.txt", std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return InterpretLabelsBytes(bytes).read.labels;
    }();
    return labels;
}

PatientRecord SamplePatient() {
    PatientRecord r;
    r.inUse = 1;
    r.sex = 0;
    r.SetField(2, u"Doe");
    r.SetField(3, u"Jane");
    r.SetField(4, u"4");
    r.SetField(5, u"7");
    r.SetField(6, u"1950");
    r.SetField(15, u"55 years, 8 months, 9 days");
    r.SetField(95, u"22.9");
    r.admission = {2006, 3, 13, 9, 41, 7};
    r.admissionDay = 2263;
    r.subfolderType = u"Hosp";
    r.problemJournal =
        u"\u00A70|Pneumonia (J18.9) (!)\u00A6Heart failure\u00A6A\u00A6Better on antibiotics"
        u"\u00A71|Diabetes\u00A6\u00A6A\u00A6"
        u"#2263\u00A70|cough|crackles right|CRP 120|amoxicillin 1 g x3|||"
        u"\u00A71|||glucose 9|insulin|||"
        u"#2264\u00A70||better|||||";
    return r;
}

TemplateData SampleData(const PatientRecord& record) {
    TemplateData data(record, FactoryLabels());
    data.dateOrder = DateOrder::DayMonthYear;
    data.stayDays = {2263, 2264, 2265};
    data.currentDay = 2265;
    return data;
}

std::string Escaped(std::u16string_view text) {
    return ToUtf8(RtfEscape(text));
}

std::string Fill(std::string_view templateText, const TemplateData& data) {
    TemplateFill fill = FillTemplateBytes(templateText, data);
    EXPECT_TRUE(fill.Ok());
    return fill.bytes;
}

}  // namespace pondrel::test
