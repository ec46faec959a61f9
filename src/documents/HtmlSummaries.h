#pragma once

// The seven HTML summaries of the main form. Each clears the sink, appends its HTML in chunks
// and ends the source. The form commits the problem panel before it builds the day, problem,
// evolution, exams and all-patients summaries, so that the journals hold what is on screen.

#include <string>
#include <vector>

#include "documents/SummaryInputs.h"

namespace pondrel {

class HtmlSink;

// The open patient on the current day: every problem's entry, the quick notes, what runs that
// day and the tasks. Returns the page caption.
std::u16string BuildDaySummary(HtmlSink& sink, const OpenPatient& patient,
                               const SummaryContext& context);
// The current problem over every day of the day list. Returns the page caption.
std::u16string BuildProblemSummary(HtmlSink& sink, const OpenPatient& patient,
                                   const SummaryContext& context);
// A grid of every problem by day.
void BuildEvolutionSummary(HtmlSink& sink, const OpenPatient& patient,
                           const SummaryContext& context);
// The Examinations sections day by day and the admission examinations.
void BuildExamsSummary(HtmlSink& sink, const OpenPatient& patient, const SummaryContext& context);
// The admission record: the fields page by page, then each problem's entry of the admission day.
void BuildEntrySummary(HtmlSink& sink, const OpenPatient& patient,
                       const FormArrangement& arrangement, const SummaryContext& context);
// The to-do lists of all patients, in the order of the patient list. With no patient nothing
// is written at all (the page keeps what it showed).
void BuildTasksSummary(HtmlSink& sink, const std::vector<const PatientRecord*>& patients,
                       const SummaryContext& context);
// Every patient of the patient list on `day`. Returns the page caption.
std::u16string BuildAllPatientsSummary(HtmlSink& sink,
                                       const std::vector<const PatientRecord*>& patients,
                                       DayNumber day, std::u16string_view dayCaption,
                                       const SummaryContext& context);

}  // namespace pondrel
