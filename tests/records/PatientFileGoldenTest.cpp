// Golden patient files: the files of tests/data/records and the seeds of the patient reader's
// fuzzer (fuzz/corpus/fuzz_patient_reader), each read by the quiet loader and listed member by
// member. The listing must equal the one kept in tests/data/records/expected/<file>.txt, and a
// file in the current layout must come back from the writer byte for byte.
//
// A new golden file gets its listing written by running the test with PONDREL_UPDATE_GOLDEN=1;
// read the listing before committing it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "records/ItemEncoding.h"
#include "records/PatientFileFormat.h"
#include "records/PatientFileLoader.h"
#include "records/PatientFileWriter.h"
#include "records/PatientRecord.h"

namespace pondrel {
namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(PONDREL_TEST_DATA_DIR) / "records";
const fs::path kSeeds =
    fs::path(PONDREL_TEST_DATA_DIR) / ".." / ".." / "fuzz" / "corpus" / "fuzz_patient_reader";

std::string Slurp(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// "\" as "\\", carriage return as "\r", line feed as "\n".
std::string Escaped(std::u16string_view value) {
    std::string out;
    for (char c : ToUtf8(value)) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string Listing(const std::string& bytes) {
    PatientRecord r;
    LoadResult result = LoadPatientBytes(bytes, r);
    if (!result.Ok()) return "result=" + LoadFailureReason(result) + "\n";
    std::string out = "result=read\n";
    auto line = [&out](const std::string& name, std::u16string_view value) {
        out += name + "=" + Escaped(value) + "\n";
    };
    line("converted", result.converted ? u"yes" : u"no");
    line("sex", ToText(r.sex));
    line("icon", ToText(r.icon));
    line("inUse", ToText(r.inUse));
    line("exitDateSet", ToText(r.exitDateSet));
    line("checked", ToText(r.checked));
    line("admissionDay", ToText(r.admissionDay));
    line("historyStartDay", ToText(r.historyStartDay));
    line("admission", SubfolderDateTimeText(r.admission));
    line("exit", SubfolderDateTimeText(r.exit));
    line("subfolderKey", r.subfolderKey);
    line("lockState", r.lockState);
    line("location", r.location);
    line("subfolderType", r.subfolderType);
    for (int n = 0; n < kFieldCount; ++n) {
        if (!r.Field(n).empty()) line("field." + std::to_string(n), r.Field(n));
    }
    for (int j = 1; j <= kDrawingCount; ++j) {
        if (!r.Drawing(j).empty()) line("drawing." + std::to_string(j), r.Drawing(j));
    }
    line("journal", r.problemJournal);
    line("subfolders", ToText(static_cast<long long>(CountOf(r.rawText, kBlockMarkH))));
    return out;
}

std::vector<fs::path> GoldenFiles() {
    std::vector<fs::path> files;
    for (const fs::path& folder : {kData, kSeeds}) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.path().extension() == ".pdr") files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(PatientFileGoldenTest, EveryGoldenFileReadsAsListed) {
    const bool update = std::getenv("PONDREL_UPDATE_GOLDEN") != nullptr;
    const std::vector<fs::path> files = GoldenFiles();
    ASSERT_GE(files.size(), 10u);
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        const std::string listing = Listing(Slurp(file));
        const fs::path expected = kData / "expected" / (file.stem().string() + ".txt");
        if (update && !fs::exists(expected)) {
            std::ofstream(expected, std::ios::binary) << listing;
        }
        EXPECT_EQ(listing, Slurp(expected));
    }
}

TEST(PatientFileGoldenTest, WrittenAgainEveryGoldenFileReadsTheSame) {
    // What the program would save of each file reads back as the same record, and saving that
    // again gives the same bytes.
    for (const fs::path& file : GoldenFiles()) {
        SCOPED_TRACE(file.string());
        PatientRecord r;
        LoadResult result = LoadPatientBytes(Slurp(file), r);
        if (!result.Ok()) continue;
        const std::string saved = EncodeItemText(ComposePatientText(r, SubfolderKeyOf(r)));
        // A converted file is saved in the current layout, and the key is made again from the
        // admission and field 202.
        auto comparable = [](const std::string& listing) {
            std::string out;
            for (size_t at = 0; at < listing.size();) {
                size_t end = listing.find('\n', at) + 1;
                std::string line = listing.substr(at, end - at);
                if (!line.starts_with("subfolderKey=") && !line.starts_with("converted=")) {
                    out += line;
                }
                at = end;
            }
            return out;
        };
        EXPECT_EQ(comparable(Listing(saved)), comparable(Listing(Slurp(file))));
        PatientRecord again;
        ASSERT_TRUE(LoadPatientBytes(saved, again).Ok());
        EXPECT_EQ(EncodeItemText(ComposePatientText(again, SubfolderKeyOf(again))), saved);
    }
}

}  // namespace
}  // namespace pondrel
