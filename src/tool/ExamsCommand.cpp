// pondrel-tool exams FILE.pdr [--today YYYY-MM-DD]: prints the exam table of page 36 as the
// program builds it from a patient file.

#include <cstdio>
#include <string>

#include "charts/ExamTable.h"
#include "journal/JournalDays.h"
#include "platform/Clock.h"
#include "platform/Text.h"
#include "records/PatientRecord.h"
#include "tool/JournalArguments.h"
#include "tool/PatientFileEdit.h"
#include "tool/SummarySupport.h"
#include "tool/ToolCommand.h"
#include "tool/ValueEscaping.h"

namespace pondrel::tool {
namespace {

int RunExams(const std::vector<std::string>& args);
const ToolCommand kExams{
    "exams", "exams FILE.pdr [--today YYYY-MM-DD]",
    "prints the exam table built from the Examinations and Status sections and the admission "
    "fields: a line days= with the columns, then one line per exam, its name, a tab and its "
    "cells DAY=VALUE (DAY as YYYY-MM-DD)",
    RunExams};

std::string IsoDate(DayNumber day) {
    DateTime date = DateOfDay(day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

int RunExams(const std::vector<std::string>& args) {
    std::optional<DayNumber> today;
    if (args.size() == 3 && args[1] == "--today") {
        today = ParseDayDateArgument(args[2]);
        if (!today) return UsageError(kExams, "--today takes a date YYYY-MM-DD");
    } else if (args.size() != 1) {
        return UsageError(kExams);
    }
    PatientRecord record;
    if (!LoadHostPatient(args[0], record)) return 1;
    if (!today) {
        SystemClock clock;
        today = CalendarDayOf(clock.Now());
    }
    // The exam titles and the captions of the installation the file belongs to.
    SummarySettings settings = LoadSummarySettings(DeviceOf(args[0]), record.Field(202));
    ExamTableInput input;
    input.record = &record;
    input.labels = &settings.labels;
    input.shownDays = ShownDaysOf(record, *today);
    input.examTitles = settings.preferences.examTitles;
    ExamTable table = BuildExamTable(input);

    std::string days;
    for (DayNumber day : table.days) days += (days.empty() ? "" : " ") + IsoDate(day);
    std::printf("days=%s\n", days.c_str());
    for (size_t r = 0; r < table.rows.size(); ++r) {
        std::string line = EscapedValue(table.rows[r].ShownTitle()) + "\t";
        bool first = true;
        for (size_t c = 0; c < table.days.size(); ++c) {
            if (table.cells[r][c].empty()) continue;
            line +=
                (first ? "" : " ") + IsoDate(table.days[c]) + "=" + EscapedValue(table.cells[r][c]);
            first = false;
        }
        std::printf("%s\n", line.c_str());
    }
    return 0;
}

}  // namespace
}  // namespace pondrel::tool
