#pragma once

#include "documents/SummaryInputs.h"

namespace pondrel {

class DayNavigator;
class ProblemPanelModel;

// The open patient as the problem panel shows it: its current day and problem, its day list and
// the date label of the current day. `record` is the record the panel edits, committed.
OpenPatient OpenPatientOf(const PatientRecord& record, const ProblemPanelModel& panel,
                          const DayNavigator& days);

}  // namespace pondrel
