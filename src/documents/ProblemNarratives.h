#pragma once

// The three codes that tell the problems of the journal: the discussion (558: every problem with
// its sections day by day and its synthesis), the admission problems (562: the admission day's
// examinations, treatments and plans per problem) and the synthesis (563: every problem with its
// redaction).

#include "documents/RtfMarkup.h"

namespace pondrel {

struct TemplateData;

RtfMarkup Discussion(const TemplateData& data);
RtfMarkup AdmissionProblems(const TemplateData& data);
RtfMarkup Synthesis(const TemplateData& data);

// A multi-line record text with its line breaks made paragraphs.
void AppendWithParagraphs(RtfMarkup& markup, std::u16string_view text);

}  // namespace pondrel
