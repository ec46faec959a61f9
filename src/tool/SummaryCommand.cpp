// pondrel-tool summary KIND DEVICE_OR_FILE [--day YYYY-MM-DD] [--problem P] [--today YYYY-MM-DD]:
// writes the HTML of one summary to standard output.

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "documents/HtmlSummaries.h"
#include "documents/HtmlText.h"
#include "documents/OpenPatientView.h"
#include "documents/RecordSummarySources.h"
#include "journal/DayNavigator.h"
#include "journal/JournalDays.h"
#include "journal/JournalWords.h"
#include "journal/ProblemPanelModel.h"
#include "journal/RecordEditing.h"
#include "mainform/SummaryArrangement.h"
#include "platform/Clock.h"
#include "settings/SettingsValues.h"
#include "tool/HostFiles.h"
#include "tool/JournalArguments.h"
#include "tool/PatientFileEdit.h"
#include "tool/SummarySupport.h"
#include "tool/ToolCommand.h"

namespace pondrel::tool {
namespace {

int RunSummary(const std::vector<std::string>& args);
const ToolCommand kSummary{
    "summary", "summary KIND DEVICE_OR_FILE [--day YYYY-MM-DD] [--problem P] [--today YYYY-MM-DD]",
    "writes the HTML of a summary to stdout. KIND: day, problem, evolution, exams, entry (of a "
    "patient file) or tasks, all (every patient of a device folder's active folder). --day: the "
    "current day (default: the last day of the subfolder, or today); --problem: the 0-based "
    "problem (default 0); --today: the date of the device (default: the system's)",
    RunSummary};

enum class Kind { Day, Problem, Evolution, Exams, Entry, Tasks, All };

std::optional<Kind> KindOf(const std::string& name) {
    static const std::pair<const char*, Kind> kKinds[] = {
        {"day", Kind::Day},     {"problem", Kind::Problem}, {"evolution", Kind::Evolution},
        {"exams", Kind::Exams}, {"entry", Kind::Entry},     {"tasks", Kind::Tasks},
        {"all", Kind::All}};
    for (const auto& [text, kind] : kKinds) {
        if (name == text) return kind;
    }
    return std::nullopt;
}

// The device's date: the system clock, or a given date at noon.
class ToolClock final : public Clock {
public:
    explicit ToolClock(std::optional<DateTime> date) : m_date(date) {}
    DateTime Now() override { return m_date ? *m_date : m_system.Now(); }
    uint64_t TickCount() override { return 0; }

private:
    std::optional<DateTime> m_date;
    SystemClock m_system;
};

struct Options {
    Kind kind = Kind::Day;
    std::string path;
    std::optional<DayNumber> day;
    std::optional<int> problem;
    std::optional<DateTime> today;
};

// Reads the arguments; a reason when they are wrong.
std::optional<std::string> ParseOptions(const std::vector<std::string>& args, Options& options) {
    if (args.size() < 2) return "KIND and DEVICE_OR_FILE are needed";
    auto kind = KindOf(args[0]);
    if (!kind) return "unknown KIND " + args[0];
    options.kind = *kind;
    options.path = args[1];
    for (size_t i = 2; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) return args[i] + " needs a value";
        const std::string& value = args[i + 1];
        if (args[i] == "--day" && (options.day = ParseDayDateArgument(value))) continue;
        if (args[i] == "--problem" && (options.problem = ParseProblemArgument(value))) continue;
        if (args[i] == "--today" && (options.today = ParseDateArgument(value))) continue;
        if (args[i] == "--day" || args[i] == "--today") return args[i] + " takes a date YYYY-MM-DD";
        if (args[i] == "--problem") return "--problem takes a problem number from 0 to 99";
        return "unknown option " + args[i];
    }
    if (options.today) options.today->hour = 12;
    return std::nullopt;
}

void Print(const std::u16string& html) {
    std::string bytes = AsciiHtml(html);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fputc('\n', stdout);
}

int PatientSummary(const Options& options, Clock& clock) {
    PatientRecord record;
    if (!LoadHostPatient(options.path, record)) return 1;
    SummaryWords c(LoadSummarySettings(DeviceOf(options.path), record.Field(202)), clock);
    // The record is opened as the problems page opens it: on its last day, problem 1.
    StderrMessages messages;
    ProblemPanelModel panel(messages, c.words);
    DayNavigator days(panel, clock, messages, c.words);
    RecordEditing editing(record);
    days.OpenPatient(editing);
    if (options.day) days.GoToDay(*options.day);
    if (options.problem) {
        if (*options.problem >= panel.ProblemCount()) return NoSuchProblem(panel.ProblemCount());
        panel.ChooseProblem(*options.problem);
    }
    panel.CommitCurrentProblem();
    OpenPatient open = OpenPatientOf(record, panel, days);
    HtmlText html;
    switch (options.kind) {
        case Kind::Day:
            BuildDaySummary(html, open, *c.context);
            break;
        case Kind::Problem:
            BuildProblemSummary(html, open, *c.context);
            break;
        case Kind::Evolution:
            BuildEvolutionSummary(html, open, *c.context);
            break;
        case Kind::Exams:
            BuildExamsSummary(html, open, *c.context);
            break;
        default:
            BuildEntrySummary(html, open,
                              SummaryArrangementOf(c.settings.arrangement, c.settings.labels,
                                                   c.settings.preferences),
                              *c.context);
            break;
    }
    Print(html.Text());
    return 0;
}

int PatientsSummary(const Options& options, Clock& clock) {
    std::filesystem::path device = DeviceOf(options.path);
    std::vector<std::unique_ptr<PatientRecord>> owned;
    if (std::filesystem::is_directory(options.path)) {
        owned = LoadActivePatients(options.path);
    } else {
        owned.push_back(std::make_unique<PatientRecord>());
        if (!LoadHostPatient(options.path, *owned.back())) return 1;
    }
    std::vector<const PatientRecord*> patients;
    for (const auto& record : owned) patients.push_back(record.get());
    const DayNumber today = CalendarDayOf(clock.Now());
    SummaryWords c(LoadSummarySettings(device, u""), clock);
    HtmlText html;
    if (options.kind == Kind::Tasks) {
        BuildTasksSummary(html, patients, *c.context);
    } else {
        DayNumber day = options.day.value_or(today);
        BuildAllPatientsSummary(html, patients, day, DateLabelText(day, day, false, c.words),
                                *c.context);
    }
    Print(html.Text());
    return 0;
}

int RunSummary(const std::vector<std::string>& args) {
    Options options;
    if (auto reason = ParseOptions(args, options)) return UsageError(kSummary, *reason);
    const bool everyPatient = options.kind == Kind::Tasks || options.kind == Kind::All;
    if (!everyPatient && std::filesystem::is_directory(options.path)) {
        return UsageError(kSummary, "the summaries of one patient take a patient file");
    }
    ToolClock clock(options.today);
    return everyPatient ? PatientsSummary(options, clock) : PatientSummary(options, clock);
}

}  // namespace
}  // namespace pondrel::tool
