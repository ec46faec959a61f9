// Saving all patients survives the program being killed at any moment: a child process saves
// the set again and again (and takes backups) on the real file system and is killed with
// SIGKILL at random moments; afterwards every patient file and backup copy decodes, parses and
// holds one complete generation of the content, never older than before.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <random>
#include <thread>

#include "Doubles.h"
#include "TempFolder.h"
#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "records/ActivePatients.h"
#include "records/LocationList.h"
#include "records/PatientFileLoader.h"
#include "records/PatientSet.h"

namespace pondrel::test {
namespace {

namespace fs = std::filesystem;

constexpr int kPatients = 20;
constexpr int kKills = 20;

class QuietMessages final : public UserMessages {
public:
    BoxAnswer ShowBox(const std::u16string&, const std::u16string&, BoxButtons, BoxIcon) override {
        ++boxes;
        return BoxAnswer::Cancel;
    }
    void ShowNotice(const std::u16string&, int, bool) override {}
    int boxes = 0;
};

// The text of field 98 of patient i in generation g; its length changes with g so that a file
// cut short or mixed from two generations cannot pass for a whole one.
std::u16string Payload(long long g, int i) {
    std::u16string text = u"gen=" + ToText(g) + u";";
    const int length = 200 + static_cast<int>((g * 7919 + i * 104729) % 6000);
    for (int k = 0; static_cast<int>(text.size()) < length; ++k) {
        text += static_cast<char16_t>(u'a' + (g + k + i) % 26);
    }
    return text;
}

long long GenerationOf(const std::u16string& payload) {
    if (payload.rfind(u"gen=", 0) != 0) return -1;
    return ParseInt(payload.substr(4));
}

// The child: loads the active folder, then saves every patient with a new generation, taking
// a backup every third pass, until it is killed.
[[noreturn]] void SaveForever(const fs::path& root, long long firstGeneration) {
    HostFileSystem files(root);
    QuietMessages messages;
    ManualTimers timers;
    FixedClock clock;
    PatientSet set(clock);
    LocationList locations;
    locations.Select(std::u16string(kAllActivatedFolders));
    ActivePatients active(files, messages, timers, WorkingFolders{}, set, locations);
    active.LoadActivePatients();
    if (set.Count() != kPatients) _exit(3);
    for (long long g = firstGeneration;; ++g) {
        for (int i = 0; i < set.Count(); ++i) {
            PatientRecord* r = set.At(i);
            r->SetField(98, Payload(g, ParseInt(r->Field(3))));
        }
        active.SaveAll(QuietLevel::Automatic, g % 3 == 0 ? SaveMode::Backup : SaveMode::Normal);
    }
}

TEST(ActiveCrashTest, EveryFileHoldsAWholeGenerationAfterEachKill) {
    const TempFolder temp("pondrel-active-crash");
    const fs::path& root = temp.Path();
    fs::create_directories(root / "My Documents" / "PD_ActivePatients");
    fs::create_directories(root / "Program files" / "Pondrel" / "Backup");
    const WorkingFolders folders;
    HostFileSystem files(root);
    QuietMessages messages;
    {
        PatientFileWriter writer(files, messages, PatientFolders::Of(folders));
        for (int i = 0; i < kPatients; ++i) {
            PatientRecord r;
            r.inUse = 1;
            for (auto [n, v] : {std::pair{2, std::u16string(u"Crash")},
                                {3, ToText(i)},
                                {6, u"1950"},
                                {4, u"1"},
                                {5, u"1"}}) {
                r.SetField(n, v);
                r.SetField(n + 118, v);
            }
            r.subfolderType = u"Hosp";
            r.location = u"Ward";
            r.SetField(98, Payload(0, i));
            SaveState state;
            ASSERT_EQ(writer.SavePatient(r, i, SaveMode::Normal, state), SaveOutcome::Written);
        }
    }

    std::mt19937 random(20060313);
    std::map<std::u16string, long long> seen;  // file -> generation found last time
    int advanced = 0;                          // files found newer than at the last look
    for (int kill = 0; kill < kKills; ++kill) {
        const long long first = (kill + 1) * 1000000LL;
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) SaveForever(root, first);
        std::this_thread::sleep_for(std::chrono::microseconds(2000 + random() % 200000));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped by itself: " << status;

        for (const std::u16string& folder :
             {std::u16string(WorkingFolders::kActivePatients), folders.Backup()}) {
            std::vector<std::u16string> names;
            ASSERT_TRUE(files.ListFiles(folder, u"*.pdr", names));
            if (folder == WorkingFolders::kActivePatients) {
                ASSERT_EQ(names.size(), static_cast<size_t>(kPatients));
            }
            for (const std::u16string& name : names) {
                const std::u16string path = JoinPath(folder, name);
                PatientRecord r;
                LoadResult result = LoadPatientFile(files, path, r);
                ASSERT_TRUE(result.Ok()) << ToUtf8(path) << ": " << LoadFailureReason(result);
                const long long g = GenerationOf(r.Field(98));
                ASSERT_EQ(r.Field(98), Payload(g, ParseInt(r.Field(3)))) << ToUtf8(path);
                ASSERT_GE(g, seen[path]) << ToUtf8(path) << " went back to an older generation";
                ASSERT_LT(g, first + 1000000) << ToUtf8(path);
                if (g > seen[path]) ++advanced;
                seen[path] = g;
            }
        }
    }
    long long newest = 0;
    for (const auto& [path, g] : seen) newest = std::max(newest, g);
    EXPECT_GT(newest, 0) << "no save completed between the kills";
    RecordProperty("advanced", advanced);
    RecordProperty("newest", static_cast<int>(newest % 1000000));

    // The program starts normally on what is left: every patient, no message.
    FixedClock clock;
    PatientSet set(clock);
    LocationList locations;
    ManualTimers timers;
    ActivePatients active(files, messages, timers, folders, set, locations);
    active.LoadActivePatients();
    EXPECT_EQ(set.Count(), kPatients);
    EXPECT_EQ(messages.boxes, 0);
}

}  // namespace
}  // namespace pondrel::test
