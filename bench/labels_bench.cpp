// Saving one field record of a labels file of about 1 MB, as the label editor's Save does:
// the file read and compared with what the editor read, the record replaced, the file copied
// to "Labels.txt.bak" and written (on the host's file system, in a temporary folder).
// Aim: 50 ms.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "labels/Labels.h"
#include "labels/LabelsFile.h"
#include "labels/LabelsFormat.h"
#include "labels/LabelsWriter.h"
#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"

namespace pondrel {
namespace {

class QuietMessages final : public UserMessages {
public:
    BoxAnswer ShowBox(const std::u16string&, const std::u16string&, BoxButtons, BoxIcon) override {
        return BoxAnswer::Ok;
    }
    void ShowNotice(const std::u16string&, int, bool) override {}
};

// 230 fields of about 2,150 characters of shortcuts each: a file just below the 1,000,000 bytes
// the program reads.
std::u16string BigLabelsText() {
    Labels labels = Labels::Defaults();
    for (int field = 0; field < kLabelsFieldCount; ++field) {
        std::u16string list;
        for (int i = 0; i < 104; ++i) {
            list += u"shortcut " + ToText(field) + u"-" + ToText(i) + u" text|";
        }
        labels.shortcutLists[static_cast<size_t>(field)] = list + u"|";
    }
    return ComposeLabelsText(labels);
}

// state.range(0): 1 keeps the backup copy at every save (the first save of a run), 0 not.
void BM_SaveFieldRecord(benchmark::State& state) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "pondrel-labels-bench";
    std::filesystem::create_directories(folder);
    HostFileSystem files(folder);
    QuietMessages messages;
    LabelsFile file(files, messages, u"");
    const std::string bytes = EncodeLabelsText(BigLabelsText());
    files.WriteFile(file.Path(), bytes);
    state.counters["fileBytes"] = static_cast<double>(bytes.size());
    if (bytes.size() > kLabelsMaxBytes) state.SkipWithError("file beyond the read limit");
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::optional<std::string> read = file.ReadBytesQuietly();  // when the editor opened
        const std::u16string list = u"edited " + ToText(round++ % 2) + u"|aspirin||";
        state.ResumeTiming();
        if (file.SaveFieldRecord(91, u"Medicine", u"Medicine", list, read, state.range(0) != 0) !=
            LabelsFile::FieldSave::Saved) {
            state.SkipWithError("not saved");
            break;
        }
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SaveFieldRecord)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pondrel

BENCHMARK_MAIN();
