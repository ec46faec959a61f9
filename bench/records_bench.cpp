// Patient files read and written through the real HostFileSystem in a temporary folder, each
// against a baseline that only moves and decodes (or encodes) the same bytes:
//   ReadBig / WriteBig: one file of 195 000 characters;
//   Read1000 / Write1000: 1000 typical files of about 24 KB.
// The cost of the format is the ratio of each benchmark to its *Baseline.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"
#include "records/ItemEncoding.h"
#include "records/LocationList.h"
#include "records/PatientFileFormat.h"
#include "records/PatientFileReader.h"
#include "records/PatientFileWriter.h"
#include "records/PatientSet.h"
#include "records/WorkingFolders.h"

namespace pondrel {
namespace {

namespace fs = std::filesystem;

class SilentMessages final : public UserMessages {
public:
    BoxAnswer ShowBox(const std::u16string&, const std::u16string&, BoxButtons, BoxIcon) override {
        return BoxAnswer::Ok;
    }
    void ShowNotice(const std::u16string&, int, bool) override {}
};

// A device in a fresh temporary folder with its active patients folder.
struct Device {
    Device()
        : root(fs::temp_directory_path() / ("pondrel-records-bench-" + std::to_string(::getpid()))),
          files((fs::remove_all(root),
                 fs::create_directories(root / "My Documents" / "PD_ActivePatients"), root)),
          writer(files, messages, PatientFolders::Of(folders)),
          reader(files, messages, folders, set, locations) {}
    ~Device() { fs::remove_all(root); }

    fs::path root;
    HostFileSystem files;
    SilentMessages messages;
    SystemClock clock;
    WorkingFolders folders;
    PatientSet set{clock};
    LocationList locations;
    PatientFileWriter writer;
    PatientFileReader reader;
};

// A begun record; its text has about `length` characters, most of them in the journal and the
// free-text fields, as in a long stay.
PatientRecord Patient(int number, size_t length) {
    PatientRecord r;
    r.inUse = 1;
    std::u16string last = u"Doe" + ToText(number);
    for (auto [n, v] : {std::pair{2, last},
                        {3, u"John"},
                        {4, u"1"},
                        {5, u"2"},
                        {6, u"1950"},
                        {120, last},
                        {121, u"John"},
                        {122, u"1"},
                        {123, u"2"},
                        {124, u"1950"}}) {
        r.SetField(n, v);
    }
    r.subfolderType = u"Hosp";
    r.location = u"Cardio A";
    r.admission = DateTime{2006, 3, 13, 9, 41, 7};
    r.exit = r.admission;
    const std::u16string line = u"-Amoxicillin 1 g x3 iv, CRP 120 \u2192 45, é\r\n";
    for (int n : {58, 62, 63, 64, 79, 98}) {
        std::u16string text;
        while (text.size() < length / 20) text += line;
        r.SetField(n, text);
    }
    std::u16string journal = u"§0|Pneumonia (!)¦Heart failure¦A¦§1|Diabetes¦¦I¦";
    for (int day = 2263; journal.size() < length / 2; ++day) {
        journal += u"#" + ToText(day) +
                   u"§0|cough|crackles right|CRP 120|amoxicillin 1 g x3|||"
                   u"§1|||glucose 9|insulin 8 IU|||";
    }
    r.problemJournal = journal;
    // Free text up to exactly `length` characters.
    size_t composed = ComposePatientText(r, SubfolderKeyOf(r)).size();
    if (composed < length) r.SetField(99, std::u16string(length - composed, u'x'));
    return r;
}

constexpr size_t kBigLength = 195000;
constexpr size_t kTypicalLength = 12000;  // about 24 KB on disk
constexpr int kManyFiles = 1000;

std::vector<PatientRecord> Patients(int count, size_t length) {
    std::vector<PatientRecord> records;
    for (int i = 0; i < count; ++i) records.push_back(Patient(i, length));
    return records;
}

void SaveAll(Device& device, std::vector<PatientRecord>& records) {
    SaveState state;
    state.quiet = QuietLevel::Automatic;
    for (size_t i = 0; i < records.size(); ++i) {
        device.writer.SavePatient(records[i], static_cast<int>(i), SaveMode::Normal, state);
    }
}

void Write(benchmark::State& state, int count, size_t length) {
    Device device;
    std::vector<PatientRecord> records = Patients(count, length);
    int64_t bytes = 0;
    for (auto _ : state) {
        SaveAll(device, records);
    }
    for (const auto& r : records) {
        bytes +=
            static_cast<int64_t>(*device.files.FileSize(WorkingFolders::ActiveFile(r.fileName)));
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

void WriteBaseline(benchmark::State& state, int count, size_t length) {
    Device device;
    std::vector<PatientRecord> records = Patients(count, length);
    std::vector<std::u16string> texts;
    std::vector<std::u16string> paths;
    for (auto& r : records) {
        texts.push_back(ComposePatientText(r, SubfolderKeyOf(r)));
        paths.push_back(WorkingFolders::ActiveFile(PatientFileName(r)));
    }
    int64_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (size_t i = 0; i < texts.size(); ++i) {
            std::string encoded = EncodeItemText(texts[i]);
            device.files.WriteFile(paths[i], encoded);
            bytes += static_cast<int64_t>(encoded.size());
        }
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

void Read(benchmark::State& state, int count, size_t length) {
    Device device;
    std::vector<PatientRecord> records = Patients(count, length);
    SaveAll(device, records);
    for (auto _ : state) {
        device.set.RemoveAll();
        for (const auto& r : records) device.reader.ReadPatientFile(r.fileName);
        benchmark::DoNotOptimize(device.set.Count());
    }
    if (device.set.Count() != count) state.SkipWithError("files were not read back");
}

void ReadBaseline(benchmark::State& state, int count, size_t length) {
    Device device;
    std::vector<PatientRecord> records = Patients(count, length);
    SaveAll(device, records);
    for (auto _ : state) {
        for (const auto& r : records) {
            std::string bytes;
            device.files.ReadFile(WorkingFolders::ActiveFile(r.fileName), kMaxPatientFileBytes + 1,
                                  bytes);
            std::u16string text = DecodeItemText(bytes);
            benchmark::DoNotOptimize(text.data());
        }
    }
}

void BM_ReadBig(benchmark::State& s) {
    Read(s, 1, kBigLength);
}
void BM_ReadBigBaseline(benchmark::State& s) {
    ReadBaseline(s, 1, kBigLength);
}
void BM_WriteBig(benchmark::State& s) {
    Write(s, 1, kBigLength);
}
void BM_WriteBigBaseline(benchmark::State& s) {
    WriteBaseline(s, 1, kBigLength);
}
void BM_Read1000(benchmark::State& s) {
    Read(s, kManyFiles, kTypicalLength);
}
void BM_Read1000Baseline(benchmark::State& s) {
    ReadBaseline(s, kManyFiles, kTypicalLength);
}
void BM_Write1000(benchmark::State& s) {
    Write(s, kManyFiles, kTypicalLength);
}
void BM_Write1000Baseline(benchmark::State& s) {
    WriteBaseline(s, kManyFiles, kTypicalLength);
}

BENCHMARK(BM_ReadBig)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBigBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBig)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBigBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read1000Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Write1000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Write1000Baseline)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace pondrel

BENCHMARK_MAIN();
