#pragma once

// Shared values of the documents tests: the factory labels, a patient with a small journal, and
// the data a template reads.

#include <string>

#include "documents/TemplateData.h"
#include "labels/Labels.h"
#include "records/PatientRecord.h"

namespace pondrel::test {

// The labels of resources/Labels.txt, read once.
const Labels& FactoryLabels();

// Jane Doe, born 4.7.1950, admitted on 13 March 2006 (day 2263), with two problems and entries
// on 13 and 14 March.
PatientRecord SamplePatient();

// The data of a run for `record`: factory labels, day first, the days 13 to 15 March 2006,
// current day 15 March.
TemplateData SampleData(const PatientRecord& record);

// "\u68\'3f..." for every character of an ASCII word: how the engine writes record text.
std::string Escaped(std::u16string_view text);

// Fills `templateText` (RTF with "\'a2" codes) and returns the document as a string; the test
// fails when the fill fails.
std::string Fill(std::string_view templateText, const TemplateData& data);

}  // namespace pondrel::test
