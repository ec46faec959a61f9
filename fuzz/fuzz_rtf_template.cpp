// Any bytes as a letter template, and some of them as the record's texts: filling must not
// crash or hang, and a template whose groups close gives a document whose groups close.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "documents/TemplateData.h"
#include "documents/TemplateFiller.h"
#include "labels/Labels.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pondrel;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The first byte tells how many of the next bytes are record text; the rest is the template.
    const size_t textSize = bytes.empty() ? 0 : std::min<size_t>(bytes.size() - 1, data[0]);
    const std::string_view text = bytes.empty() ? bytes : bytes.substr(1, textSize);
    const std::string_view templateBytes = bytes.empty() ? bytes : bytes.substr(1 + textSize);

    static const Labels labels = Labels::Defaults();
    PatientRecord record;
    std::u16string wide(text.begin(), text.end());
    for (int field : {2, 3, 15, 61, 63, 95}) record.SetField(field, wide);
    record.problemJournal = u"\u00A70|" + wide + u"\u00A6" + wide + u"\u00A6A\u00A6" + wide +
                            u"#0\u00A70|" + wide + u"|" + wide + u"|||||";
    TemplateData letter(record, labels);
    letter.stayDays = {0, 1};
    letter.treatmentsToday = {wide};

    const TemplateFill fill = FillTemplateBytes(templateBytes, letter);
    if (fill.Ok() && IsRtf(templateBytes) && !GroupsBalanced(fill.bytes)) std::abort();
    return 0;
}
