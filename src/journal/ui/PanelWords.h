#pragma once

// The words the problem panel shows, taken from the labels: the journal editor's words (labels,
// date names) and the captions of the panel's fields.

#include <array>
#include <string>

#include "journal/JournalFormat.h"
#include "journal/JournalWords.h"

namespace pondrel {

struct Labels;

struct PanelWords {
    JournalWords journal;
    std::u16string title = u"Diagnosis";                               // field 87
    std::u16string differentialDiagnosis = u"Differential diagnosis";  // field 86
    std::u16string redaction = u"Problem redaction";                   // field 199
    // Fields 88 to 93, in section order.
    std::array<std::u16string, kSectionCount> sections = {u"Anamnesia", u"Status", u"Examinations",
                                                          u"Medicine",  u"Other",  u"Attitude"};
    std::u16string admission = u"Adm";  // label 137
    std::u16string other = u"Other";    // label 133
    std::u16string dd = u"DD";          // the button that shows the differential diagnosis

    // Words missing from the labels (empty labels, a file without date names) keep the
    // built-in ones, so no caption or day row is ever blank.
    static PanelWords From(const Labels& labels);
};

}  // namespace pondrel
