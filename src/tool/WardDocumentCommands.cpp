// pondrel-tool department big|small DEVICE OUT.rtf [--day YYYY-MM-DD]: the ward documents;
// pondrel-tool summary-file day|problem FILE.pdr OUT.rtf [--day D] [--problem P]: the day and
// problem summary files; pondrel-tool models-factory DIR: the factory model files. The
// documents are built by the same code as the buttons of the pages.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "documents/DocumentFiles.h"
#include "documents/FactoryModels.h"
#include "documents/ModelFiller.h"
#include "documents/OpenPatientView.h"
#include "documents/RecordSummarySources.h"
#include "documents/RtfFormat.h"
#include "documents/SummaryBlocks.h"
#include "documents/SummaryFiles.h"
#include "documents/WardDocuments.h"
#include "journal/DayNavigator.h"
#include "journal/JournalDays.h"
#include "journal/JournalWords.h"
#include "journal/ProblemPanelModel.h"
#include "journal/RecordEditing.h"
#include "mainform/PatientList.h"
#include "mainform/SummaryArrangement.h"
#include "platform/Clock.h"
#include "platform/FileRegistry.h"
#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "platform/Timers.h"
#include "settings/SettingsValues.h"
#include "records/ActivePatients.h"
#include "records/LocationList.h"
#include "records/PatientSet.h"
#include "records/RoomList.h"
#include "records/RoomsFile.h"
#include "records/WorkingFolders.h"
#include "settings/PreferencesFile.h"
#include "startup/DeviceSetup.h"
#include "startup/InstallationFinder.h"
#include "tool/HostFiles.h"
#include "tool/JournalArguments.h"
#include "tool/PatientFileEdit.h"
#include "tool/SummarySupport.h"
#include "tool/ToolCommand.h"

namespace pondrel::tool {
namespace {

int RunDepartment(const std::vector<std::string>& args);
int RunSummaryFile(const std::vector<std::string>& args);
int RunModelsFactory(const std::vector<std::string>& args);

const ToolCommand kDepartment{
    "department", "department big|small DEVICE OUT.rtf [--day YYYY-MM-DD]",
    "writes the big or small summary of the patients of the device's selected location for a "
    "day (default today) as the all-patients page would, from the device's own models where it "
    "has them, else the factory ones",
    RunDepartment};
const ToolCommand kSummaryFile{
    "summary-file", "summary-file day|problem FILE.pdr OUT.rtf [--day YYYY-MM-DD] [--problem P]",
    "writes the day summary file or the problem summary file of a patient as \"Save one\" or "
    "\"Save\" would (the patient opened on --day, default the last day; --problem 0-based)",
    RunSummaryFile};
const ToolCommand kModelsFactory{"models-factory", "models-factory DIR",
                                 "writes the factory model files (.pdt) of the summary documents",
                                 RunModelsFactory};

int Fail(const char* command, const std::string& reason) {
    std::fprintf(stderr, "pondrel-tool %s: %s\n", command, reason.c_str());
    return 1;
}

class NoTimers final : public Timers {
public:
    void Start(TimerId, int, std::function<void()>) override {}
    void Stop(TimerId) override {}
    bool IsRunning(TimerId) const override { return false; }
};

// The device's date: the system clock, or a given day at the present time of day.
class DayClock final : public Clock {
public:
    explicit DayClock(std::optional<DayNumber> day) : m_day(day) {}
    DateTime Now() override {
        const DateTime now = m_system.Now();
        return m_day ? WithTimeOf(*m_day, now) : now;
    }
    uint64_t TickCount() override { return 0; }

private:
    std::optional<DayNumber> m_day;
    SystemClock m_system;
};

// Reads a model from the device's installation folder, or from the factory installation when
// the device has none.
ModelRead ReadModelOf(const std::filesystem::path& device,
                      const std::optional<std::u16string>& installation, std::u16string_view name,
                      size_t limit) {
    if (!device.empty() && installation) {
        HostFileSystem files(device);
        ModelRead read = ReadWholeModel(files, *installation, name, limit);
        if (read.failure != ModelReadFailure::NotFound) return read;
    }
    HostFileSystem factory{std::filesystem::path(PONDREL_RESOURCES_DIR)};
    return ReadWholeModel(factory, u"", name, limit);
}

std::optional<std::u16string> InstallationOf(const std::filesystem::path& device) {
    if (device.empty()) return std::nullopt;
    HostFileSystem files(device);
    FileRegistry registry(device / DeviceSetup::kRegistryFile);
    return InstallationFinder(files, registry).Find();
}

std::string ModelFailureText(const ModelRead& read, size_t limit) {
    if (read.failure == ModelReadFailure::TooBig) {
        return "the model " + ToUtf8(read.name) + " is longer than " + std::to_string(limit) +
               " bytes: it is refused rather than cut";
    }
    return "cannot open the model " + ToUtf8(read.name);
}

struct Arguments {
    std::vector<std::string> positional;
    std::optional<DayNumber> day;
    std::optional<int> problem;
};

std::optional<std::string> ParseArguments(const std::vector<std::string>& args, bool problem,
                                          Arguments& out) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--day" || (problem && arg == "--problem")) {
            if (i + 1 == args.size()) return arg + " needs a value";
            const std::string& value = args[++i];
            if (arg == "--day" && !(out.day = ParseDayDateArgument(value))) {
                return "--day takes a date YYYY-MM-DD";
            }
            if (arg == "--problem" && !(out.problem = ParseProblemArgument(value))) {
                return "--problem takes a problem number from 0 to 99";
            }
        } else if (arg.starts_with("--")) {
            return "unknown option " + arg;
        } else {
            out.positional.push_back(arg);
        }
    }
    if (out.positional.size() != 3) return "three arguments are needed";
    return std::nullopt;
}

int RunDepartment(const std::vector<std::string>& args) {
    Arguments a;
    if (auto reason = ParseArguments(args, false, a)) return UsageError(kDepartment, *reason);
    const std::string& kindName = a.positional[0];
    if (kindName != "big" && kindName != "small") {
        return UsageError(kDepartment, "the kind is big or small");
    }
    const WardDocumentKind kind = kindName == "big" ? WardDocumentKind::Big : WardDocumentKind::Small;
    const std::filesystem::path device(a.positional[1]);
    const std::optional<std::u16string> installation = InstallationOf(device);
    if (!installation) return Fail("department", "no installation folder found in " + device.string());

    // The patients of the selected location, loaded as the program loads them.
    DayClock clock(a.day);
    HostFileSystem files(device);
    StderrMessages messages;
    NoTimers timers;
    WorkingFolders folders;
    folders.installation = *installation;
    Preferences preferences;
    ReadPreferencesFile(files, folders.InstallationFile(u"Preferences.pre"), preferences);
    LocationList locations;
    locations.SetNamesText(preferences.locationList);
    locations.Select(preferences.selectedLocation);
    PatientSet patients(clock);
    ActivePatients active(files, messages, timers, folders, patients, locations);
    if (!active.LoadActivePatients()) return Fail("department", "the patients could not be read");
    RoomsFile rooms;
    ReadRoomsFile(files, folders.InstallationFile(kDefaultRoomsFile.substr(1)), rooms);

    SummaryWords w(LoadSummarySettings(device, u""), clock);
    const DayNumber day = a.day.value_or(CalendarDayOf(clock.Now()));
    const std::vector<RoomListRow> roomList = BuildRoomList(rooms.rooms, locations);
    const std::vector<PatientListRow> listRows =
        BuildPatientList(patients, roomList, PatientListOrder{}, w.settings.labels,
                         AgeWords::From(w.settings.labels), w.order, clock.Now());
    WardInputs inputs;
    inputs.day = day;
    inputs.paragraphs = w.settings.preferences.bigSummary;
    inputs.ageLineCaption = w.settings.labels.Label(summary_label::kAge);
    inputs.admissionCaption =
        SummaryArrangementOf(w.settings.arrangement, w.settings.labels, w.settings.preferences)
            .admissionCaption;
    for (const RoomListRow& row : roomList) {
        if (row.isRoom) inputs.rooms.push_back(row.name);
    }
    for (const PatientListRow& row : listRows) {
        if (row.IsEmptyBed()) {
            inputs.rows.push_back({nullptr, row.columns[PatientListRow::kRoom]});
            continue;
        }
        const PatientRecord* record = patients.At(row.record);
        if (record && record->inUse == 1) inputs.rows.push_back({record, {}});
    }

    const bool big = kind == WardDocumentKind::Big;
    WardModels models;
    const std::array<std::pair<std::u16string_view, size_t>, 3> names = {
        std::pair{big ? kBigSummaryModel : kSmallSummaryModel, kModelReadBytes},
        std::pair{big ? kBigSummaryEvenRowModel : kSmallSummaryLineModel, kRowModelReadBytes},
        std::pair{big ? kBigSummaryOddRowModel : kSmallSummaryEndModel, kRowModelReadBytes}};
    std::array<std::u16string*, 3> texts = {&models.first, &models.further, &models.last};
    for (size_t i = 0; i < names.size(); ++i) {
        ModelRead read = ReadModelOf(device, installation, names[i].first, names[i].second);
        if (read.failure != ModelReadFailure::None) {
            return Fail("department", ModelFailureText(read, names[i].second));
        }
        *texts[i] = std::move(read.text);
    }
    const WardDocument document = big ? BuildBigSummary(models, inputs, *w.context)
                                      : BuildSmallSummary(models, inputs, *w.context);
    switch (document.failure) {
        case WardFailure::None:
            break;
        case WardFailure::Empty:
            return Fail("department", "The summary is empty");
        case WardFailure::Corrupted:
            return Fail("department", "Summary file corrupted.");
        case WardFailure::TooBig:
            return Fail("department", "the document would reach " +
                                          std::to_string(kModelDocumentLimit) +
                                          " characters: not written (Memory limit)");
    }
    const std::optional<std::string> bytes = ModelDocumentBytes(document.text);
    if (!bytes) return Fail("department", "the document is too big (Memory limit)");
    if (!WriteHostFile(a.positional[2], MarkedKindDocument(*bytes, WardDocumentMark(kind)))) {
        return Fail("department", "cannot write " + a.positional[2]);
    }
    std::printf("file=%s\npatients=%d\nemptybeds=%d\n",
                ToUtf8(WardFileName(kind, day, w.words)).c_str(), document.patientRows,
                document.emptyBeds);
    return 0;
}

int RunSummaryFile(const std::vector<std::string>& args) {
    Arguments a;
    if (auto reason = ParseArguments(args, true, a)) return UsageError(kSummaryFile, *reason);
    const bool day = a.positional[0] == "day";
    if (!day && a.positional[0] != "problem") {
        return UsageError(kSummaryFile, "the kind is day or problem");
    }
    PatientRecord record;
    if (!LoadHostPatient(a.positional[1], record)) return 1;
    const std::filesystem::path device = DeviceOf(a.positional[1]);
    DayClock clock(std::nullopt);
    SummaryWords w(LoadSummarySettings(device, record.Field(202)), clock);
    StderrMessages messages;
    ProblemPanelModel panel(messages, w.words);
    DayNavigator days(panel, clock, messages, w.words);
    RecordEditing editing(record);
    days.OpenPatient(editing);
    if (a.day) days.GoToDay(*a.day);
    if (a.problem) {
        if (*a.problem >= panel.ProblemCount()) return NoSuchProblem(panel.ProblemCount());
        panel.ChooseProblem(*a.problem);
    }
    panel.CommitCurrentProblem();
    const OpenPatient open = OpenPatientOf(record, panel, days);

    const ModelRead model = ReadModelOf(device, InstallationOf(device), kPrintModel, kModelReadBytes);
    if (model.failure != ModelReadFailure::None) {
        return Fail("summary-file", ModelFailureText(model, kModelReadBytes));
    }
    const SummaryFileOptions options{w.settings.preferences.general.ageOnSummaries == 1};
    const std::u16string text = day ? BuildDaySummaryFile(model.text, open, *w.context, options)
                                    : BuildProblemSummaryFile(model.text, open, *w.context, options);
    if (!HasSummaryName(record)) {
        return Fail("summary-file", "the patient has no last or first name: the program does not "
                                    "save the summary file");
    }
    const std::optional<std::string> bytes = ModelDocumentBytes(text);
    if (!bytes) return Fail("summary-file", "the document is too big (Memory limit)");
    if (!WriteHostFile(a.positional[2], MarkedDocument(*bytes, record))) {
        return Fail("summary-file", "cannot write " + a.positional[2]);
    }
    const std::u16string name =
        day ? DaySummaryFileName(record, open.currentDay, w.words)
            : ProblemSummaryFileName(record, open.currentProblem, *w.context);
    std::printf("file=%s\n", ToUtf8(name).c_str());
    return 0;
}

int RunModelsFactory(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError(kModelsFactory);
    const std::filesystem::path folder(args[0]);
    if (!std::filesystem::is_directory(folder)) {
        return Fail("models-factory", "no such folder " + args[0]);
    }
    for (const auto& [name, bytes] : FactoryModels()) {
        const std::filesystem::path file = folder / ToUtf8(name);
        if (!WriteHostFile(file, bytes)) return Fail("models-factory", "cannot write " + file.string());
        std::printf("%s\n", file.string().c_str());
    }
    return 0;
}

}  // namespace
}  // namespace pondrel::tool
