// The files manager and the statistics tables through the real HostFileSystem in a temporary
// folder:
//   OpenFilesManager: both folders listed (1,000 active demo patients, 10,000 archived files)
//     and the first active file read with its stays, as the dialogue opens
//   MergeNearLimit: two files whose merged text is near the size limit merged (archived file
//     written, active file deleted)
//   Statistics/N: both tables of N demo patients written; peak_kB and growth_kB show that the
//     memory does not grow with the number of files
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
#include "documents/StatisticTables.h"
#include "labels/Labels.h"
#include "platform/Clock.h"
#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"
#include "records/FilesManager.h"
#include "records/ItemEncoding.h"
#include "records/PatientFileFormat.h"
#include "records/PatientFileWriter.h"
#include "records/PatientSet.h"
#include "records/WorkingFolders.h"

namespace pondrel {
namespace {

namespace fs = std::filesystem;

constexpr int kActive = 1000;
constexpr int kArchived = 10000;

class SilentMessages final : public UserMessages {
public:
    BoxAnswer ShowBox(const std::u16string&, const std::u16string&, BoxButtons, BoxIcon) override {
        return BoxAnswer::Ok;
    }
    void ShowNotice(const std::u16string&, int, bool) override {}
};

double StatusKb(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0) return std::stod(line.substr(key.size()));
    }
    return 0;
}

class PeakMemory {
public:
    PeakMemory() {
        ::malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";
        m_start = StatusKb("VmRSS:");
    }
    void Report(benchmark::State& state) const {
        double peak = StatusKb("VmHWM:");
        state.counters["peak_kB"] = peak;
        state.counters["growth_kB"] = peak - m_start;
    }

private:
    double m_start = 0;
};

struct Device {
    Device()
        : root(fs::temp_directory_path() / ("pondrel-files-bench-" + std::to_string(::getpid()))),
          files((fs::remove_all(root),
                 fs::create_directories(root / "My Documents" / "PD_ActivePatients"),
                 fs::create_directories(root / "My Documents" / "PD_Archives"),
                 fs::create_directories(root / "My Documents" / "PD_PrintDoc"),
                 fs::create_directories(root / "Program files" / "Pondrel" / "Backup"), root)) {
        DemoOptions options;
        options.patients = kActive;
        WriteDemoPatients(files, WorkingFolders::kActivePatients, options);
        files.ListFiles(WorkingFolders::kActivePatients, u"*.pdr", names);
        // The archive: small files, as many as a department keeps over years.
        std::string bytes;
        files.ReadFile(WorkingFolders::ActiveFile(names[0]), kMaxPatientFileBytes, bytes);
        for (int i = 0; i < kArchived; ++i) {
            files.WriteFileFolderUnsynced(
                JoinPath(WorkingFolders::kArchives, u"Archived_" + ToText(i) + u"_1950.pdr"),
                bytes);
        }
        files.SyncFolder(WorkingFolders::kArchives);
    }
    ~Device() { fs::remove_all(root); }

    fs::path root;
    HostFileSystem files;
    std::vector<std::u16string> names;
};

Device& TheDevice() {
    static Device device;
    return device;
}

void OpenFilesManager(benchmark::State& state) {
    Device& device = TheDevice();
    SilentMessages messages;
    for (auto _ : state) {
        FilesManager manager(device.files, messages, WorkingFolders{});
        manager.ListFolders();
        manager.Select(FilesManager::List::Active, 0);
        benchmark::DoNotOptimize(manager.Stays().size());
    }
}
BENCHMARK(OpenFilesManager)->Unit(benchmark::kMillisecond);

std::u16string BigPatient(Clock& clock, char16_t letter, int day) {
    PatientSet set{clock};
    PatientRecord& r = set.AddNew();
    r.SetField(120, u"Big");
    r.SetField(121, u"One");
    r.inUse = 1;
    r.subfolderType = u"Hosp";
    r.admission = DateTime{2006, 3, day, 9, 0, 0};
    r.exit = r.admission;
    std::u16string journal;
    for (int p = 0; p < 40; ++p) journal += u"§" + ToText(p) + u"|Problem " + std::u16string(1, letter) + ToText(p) + u"¦¦A¦";
    for (int d = 0; d < 300; ++d) {
        journal += u"#" + ToText(2263 + d) + u"§" + ToText(d % 40) + u"|" +
                   std::u16string(300, letter) + u"||||||";
    }
    r.problemJournal = journal;
    r.subfolderKey = SubfolderKeyOf(r);
    return ComposePatientText(r, r.subfolderKey);
}

class FixedNow final : public Clock {
public:
    DateTime Now() override { return {2026, 3, 2, 8, 0, 0}; }
    uint64_t TickCount() override { return 0; }
};

void MergeNearLimit(benchmark::State& state) {
    Device& device = TheDevice();
    SilentMessages messages;
    FixedNow clock;
    const std::string source = EncodeItemText(BigPatient(clock, u'a', 13));
    const std::string destination = EncodeItemText(BigPatient(clock, u'b', 20));
    const std::u16string sourcePath = WorkingFolders::ActiveFile(u"Big_One_.pdr");
    const std::u16string destinationPath = JoinPath(WorkingFolders::kArchives, u"Big_One_.pdr");
    FilesManager manager(device.files, messages, WorkingFolders{});
    size_t merged = 0;
    for (auto _ : state) {
        state.PauseTiming();
        device.files.WriteFile(sourcePath, source);
        device.files.WriteFile(destinationPath, destination);
        state.ResumeTiming();
        if (!manager.MergeFiles(sourcePath, destinationPath, u"", nullptr)) {
            state.SkipWithError("merge refused");
            break;
        }
        merged = *device.files.FileSize(destinationPath);
    }
    state.counters["merged_bytes"] = static_cast<double>(merged);
    device.files.DeleteFile(destinationPath);
}
BENCHMARK(MergeNearLimit)->Unit(benchmark::kMillisecond);

void Statistics(benchmark::State& state) {
    Device& device = TheDevice();
    std::vector<std::u16string> names(device.names.begin(),
                                      device.names.begin() + state.range(0));
    StatisticOptions options;
    const Labels labels = Labels::Defaults();
    for (int k = 0; k < kFieldCount; ++k) options.captions[static_cast<size_t>(k)] = labels.Caption(k);
    PeakMemory memory;
    StatisticResult result;
    for (auto _ : state) {
        WriteStatisticTables(device.files, WorkingFolders::kActivePatients, names, device.files,
                             WorkingFolders::kPrintDoc, options, result);
    }
    memory.Report(state);
    state.counters["rows"] = result.rows;
}
BENCHMARK(Statistics)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pondrel

BENCHMARK_MAIN();
