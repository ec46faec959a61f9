#include "documents/OpenPatientView.h"

#include "journal/DayNavigator.h"
#include "journal/ProblemPanelModel.h"

namespace pondrel {

OpenPatient OpenPatientOf(const PatientRecord& record, const ProblemPanelModel& panel,
                          const DayNavigator& days) {
    OpenPatient open;
    open.record = &record;
    open.currentDay = panel.CurrentDay();
    open.currentProblem = panel.CurrentProblem();
    open.days = days.ShownDays();
    open.dayCaption = days.DateLabel();
    return open;
}

}  // namespace pondrel
