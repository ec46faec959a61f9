// Loading and saving the whole active set of 1000 demo patients through the real HostFileSystem
// in a temporary folder, each against a baseline that only lists, reads and decodes (or encodes
// and writes) the same bytes:
//   LoadActivePatients / LoadBaseline
//   SaveAll / SaveBaseline (every patient changed)
//   AutoSave/N: the automatic save with N of the 1000 patients changed (0, 1, 1000)
//   BackupUnchanged: a backup pass with nothing changed since the last one
//   ChangeLocation: one switch of location (save all, then load), to compare with
//     SaveAll + LoadActivePatients
//   RoomList: the room list of 200 rooms with the occupants among 1000 patients
// The counter peak_kB is the peak resident memory of the process during the benchmark (the
// kernel's peak is reset before each one).

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "demo/DemoPatients.h"
#include "platform/Clock.h"
#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "platform/Timers.h"
#include "platform/UserMessages.h"
#include "records/ActivePatients.h"
#include "records/ItemEncoding.h"
#include "records/LocationList.h"
#include "records/LocationSwitch.h"
#include "records/RoomList.h"
#include "records/PatientFileFormat.h"
#include "records/PatientSet.h"
#include "records/WorkingFolders.h"

namespace pondrel {
namespace {

namespace fs = std::filesystem;

constexpr int kPatients = 1000;

class SilentMessages final : public UserMessages {
public:
    BoxAnswer ShowBox(const std::u16string&, const std::u16string&, BoxButtons, BoxIcon) override {
        return BoxAnswer::Ok;
    }
    void ShowNotice(const std::u16string&, int, bool) override {}
};

class NoTimers final : public Timers {
public:
    void Start(TimerId, int, std::function<void()>) override {}
    void Stop(TimerId) override {}
    bool IsRunning(TimerId) const override { return false; }
};

// A value of /proc/self/status in kB ("VmHWM:", "VmRSS:"); 0 when it cannot be read.
double StatusKb(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0) return std::stod(line.substr(key.size()));
    }
    return 0;
}

// Measures the peak resident memory from now on: memory freed earlier is given back and the
// kernel's peak is reset (Linux 4.0 and later).
class PeakMemory {
public:
    PeakMemory() {
        ::malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";
        m_start = StatusKb("VmRSS:");
    }
    // Sets peak_kB (the process's peak) and growth_kB (above the resident memory at the start).
    void Report(benchmark::State& state) const {
        double peak = StatusKb("VmHWM:");
        state.counters["peak_kB"] = peak;
        state.counters["growth_kB"] = peak - m_start;
    }

private:
    double m_start = 0;
};

// A device in a temporary folder holding the 1000 demo patients, written once for all the
// benchmarks.
struct Device {
    Device()
        : root(fs::temp_directory_path() / ("pondrel-active-bench-" + std::to_string(::getpid()))),
          files((fs::remove_all(root),
                 fs::create_directories(root / "My Documents" / "PD_ActivePatients"),
                 fs::create_directories(root / "Program files" / "Pondrel" / "Backup"), root)) {
        DemoOptions options;
        options.patients = kPatients;
        written = WriteDemoPatients(files, WorkingFolders::kActivePatients, options).written;
        files.ListFiles(WorkingFolders::kActivePatients, u"*.pdr", names);
    }
    ~Device() { fs::remove_all(root); }

    fs::path root;
    HostFileSystem files;
    int written = 0;
    std::vector<std::u16string> names;
};

Device& TheDevice() {
    static Device device;
    return device;
}

// The set as the program holds it, all locations shown.
struct Program {
    explicit Program(Device& device)
        : active(device.files, messages, timers, WorkingFolders{}, set, locations) {
        locations.Select(std::u16string(kAllActivatedFolders));
    }
    SilentMessages messages;
    NoTimers timers;
    SystemClock clock;
    PatientSet set{clock};
    LocationList locations;
    ActivePatients active;
};

void BM_LoadActivePatients(benchmark::State& state) {
    Device& device = TheDevice();
    PeakMemory memory;
    Program program(device);
    for (auto _ : state) {
        program.active.LoadActivePatients();
        benchmark::DoNotOptimize(program.set.Count());
    }
    if (program.set.Count() != device.written) state.SkipWithError("not every file was loaded");
    memory.Report(state);
    state.counters["files"] = program.set.Count();
}

void BM_LoadBaseline(benchmark::State& state) {
    Device& device = TheDevice();
    PeakMemory memory;
    std::vector<std::u16string> texts;
    for (auto _ : state) {
        texts.clear();
        std::vector<std::u16string> names;
        device.files.ListFiles(WorkingFolders::kActivePatients, u"*.pdr", names);
        for (const std::u16string& name : names) {
            std::string bytes;
            device.files.ReadFile(WorkingFolders::ActiveFile(name), kMaxPatientFileBytes + 1,
                                  bytes);
            texts.push_back(DecodeItemText(bytes));
        }
        benchmark::DoNotOptimize(texts.data());
    }
    memory.Report(state);
    state.counters["files"] = static_cast<double>(texts.size());
}

// Every patient changed before each pass: every file is written.
void BM_SaveAll(benchmark::State& state) {
    Device& device = TheDevice();
    Program program(device);
    program.active.LoadActivePatients();
    PeakMemory memory;
    int pass = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++pass;
        for (int i = 0; i < program.set.Count(); ++i) {
            program.set.At(i)->SetField(97, u"pass " + ToText(pass));
        }
        state.ResumeTiming();
        if (!program.active.SaveAll(QuietLevel::Silent))
            state.SkipWithError("a patient could not be saved");
    }
    memory.Report(state);
    state.counters["files"] = program.active.LastSavedCount();
}

// The automatic save of the 1000 patients when the first `range(0)` of them changed since the
// last pass (the others' files already hold their texts).
void BM_AutoSave(benchmark::State& state) {
    Device& device = TheDevice();
    Program program(device);
    program.active.LoadActivePatients();
    program.active.SaveAll(QuietLevel::Silent);  // every file as this program writes it
    const int changed = static_cast<int>(state.range(0));
    int pass = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++pass;
        for (int i = 0; i < changed && i < program.set.Count(); ++i) {
            program.set.At(i)->SetField(97, u"auto-save " + ToText(pass));
        }
        state.ResumeTiming();
        if (!program.active.SaveAll(QuietLevel::Automatic))
            state.SkipWithError("a patient could not be saved");
    }
    state.counters["files"] = program.active.LastSavedCount();
}

// The backup pass of the 1000 patients after the first one, with nothing changed.
void BM_BackupUnchanged(benchmark::State& state) {
    Device& device = TheDevice();
    Program program(device);
    program.active.LoadActivePatients();
    program.active.SaveAll(QuietLevel::Silent, SaveMode::Backup);
    for (auto _ : state) {
        if (!program.active.SaveAll(QuietLevel::Automatic, SaveMode::Backup))
            state.SkipWithError("a patient could not be copied");
    }
    state.counters["files"] = program.active.LastSavedCount();
}

void BM_SaveBaseline(benchmark::State& state) {
    Device& device = TheDevice();
    std::vector<std::u16string> texts;
    for (const std::u16string& name : device.names) {
        std::string bytes;
        device.files.ReadFile(WorkingFolders::ActiveFile(name), kMaxPatientFileBytes + 1, bytes);
        texts.push_back(DecodeItemText(bytes));
    }
    PeakMemory memory;
    for (auto _ : state) {
        for (size_t i = 0; i < texts.size(); ++i) {
            device.files.WriteFile(WorkingFolders::ActiveFile(device.names[i]),
                                   EncodeItemText(texts[i]));
        }
    }
    memory.Report(state);
    state.counters["files"] = static_cast<double>(texts.size());
}

void BM_ChangeLocation(benchmark::State& state) {
    Device& device = TheDevice();
    Program program(device);
    program.active.LoadActivePatients();
    // Both selections load every demo patient: each switch saves and loads the whole set.
    const std::u16string selections[] = {std::u16string(kAllDepartment),
                                         std::u16string(kAllActivatedFolders)};
    int next = 0;
    for (auto _ : state) {
        if (ChangeLocation(selections[next], program.active, program.set, program.locations,
                           program.messages) != LocationSwitch::Switched) {
            state.SkipWithError("the location did not change");
        }
        next = 1 - next;
    }
    state.counters["files"] = program.set.Count();
}

void BM_RoomList(benchmark::State& state) {
    Device& device = TheDevice();
    Program program(device);
    program.active.LoadActivePatients();
    program.locations.SetNamesText(u"Ward A|Ward B|");
    program.locations.Select(std::u16string(kAllDepartment));
    std::vector<Room> rooms;
    for (int i = 0; i < 200; ++i) {
        rooms.push_back(Room{ToText(101 + i % 100), i % 24, i, i < 100 ? u"Ward A" : u"Ward B"});
    }
    for (auto _ : state) {
        std::vector<RoomListRow> rows = BuildRoomList(rooms, program.locations);
        FillOccupants(rows, program.set, [](const PatientRecord&) { return std::u16string(u"M"); });
        benchmark::DoNotOptimize(rows.data());
    }
}

BENCHMARK(BM_LoadActivePatients)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutoSave)->Arg(0)->Arg(1)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BackupUnchanged)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeLocation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RoomList)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pondrel

BENCHMARK_MAIN();
