// pondrel-tool treatments FILE.pdr [--day YYYY-MM-DD]: prints the treatment and action sheets of
// a patient file and the current-day lists of one day.

#include <cstdio>
#include <string>

#include "journal/JournalDays.h"
#include "journal/JournalWords.h"
#include "journal/RecordEditing.h"
#include "journal/TreatmentTables.h"
#include "platform/Clock.h"
#include "platform/Text.h"
#include "records/PatientRecord.h"
#include "tool/JournalArguments.h"
#include "tool/PatientFileEdit.h"
#include "tool/ToolCommand.h"
#include "tool/ValueEscaping.h"

namespace pondrel::tool {
namespace {

int RunTreatments(const std::vector<std::string>& args);
const ToolCommand kTreatments{
    "treatments", "treatments FILE.pdr [--day YYYY-MM-DD]",
    "prints the treatment sheet, the treatment list of the day, the action sheet and the action "
    "list of the day (default: the last day of the subfolder), one escaped line per row",
    RunTreatments};

// Texts of the journal never hold "|": it separates the columns of a row.
void PrintRow(const char* name, std::initializer_list<std::u16string_view> columns) {
    std::u16string row;
    for (auto column : columns) {
        if (!row.empty()) row += u'|';
        row += column;
    }
    PrintValueLine(name, row);
}

void PrintKind(TreatmentKind kind, const char* sheetName, const char* dayName,
               const TreatmentInputs& inputs, const JournalWords& words) {
    for (const auto& row : BuildTreatmentSheet(kind, inputs, words).rows) {
        PrintRow(sheetName, {row.text, row.start, row.stop});
    }
    for (const auto& row : BuildTreatmentLists(kind, inputs, words).currentDay) {
        PrintRow(dayName, {row.text, row.status});
    }
}

int RunTreatments(const std::vector<std::string>& args) {
    std::optional<DayNumber> day;
    if (args.size() == 3 && args[1] == "--day") {
        day = ParseDayDateArgument(args[2]);
        if (!day) return UsageError(kTreatments, "--day takes a date YYYY-MM-DD");
    } else if (args.size() != 1) {
        return UsageError(kTreatments);
    }
    PatientRecord record;
    if (!LoadHostPatient(args[0], record)) return 1;

    SystemClock clock;
    const DayNumber today = CalendarDayOf(clock.Now());
    const JournalWords words;
    TreatmentInputs inputs{record.problemJournal,
                           TreatmentDays::Of(RecordEditing(record).Dates(), today, day),
                           DateOrder::DayMonthYear};
    DateTime shown = DateOfDay(inputs.days.currentDay);
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", shown.year, shown.month, shown.day);
    PrintValueLine("day", FromUtf8(date));
    PrintKind(TreatmentKind::Treatments, "treatment", "treatment.day", inputs, words);
    PrintKind(TreatmentKind::Actions, "action", "action.day", inputs, words);
    return 0;
}

}  // namespace
}  // namespace pondrel::tool
