#include "startup/StartUp.h"

#include <gtest/gtest.h>

#include "TestPlatform.h"
#include "records/WorkingFolders.h"
#include "startup/InstallationFinder.h"

namespace pondrel {
namespace {

using test::TestPlatform;
using test::U8;

const std::u16string kRegistryKey(InstallationFinder::kInstallKey);
const std::u16string kCardKey(InstallationFinder::kCardKey);

class InstallationFinderTest : public ::testing::Test {
protected:
    std::optional<std::u16string> Find() {
        return InstallationFinder(device.files, device.registry).Find();
    }
    void SetInstallDir(std::u16string value) {
        device.registry.Set(kRegistryKey, u"InstallDir", std::move(value));
    }

    TestPlatform device;
};

TEST_F(InstallationFinderTest, CandidatesComeInTheFixedOrder) {
    SetInstallDir(u"\\Storage Card\\Apps\\Pondrel\\");
    device.registry.Set(kCardKey, u"TopDir", u"Storage Card");
    std::vector<std::u16string> expected = {u"\\Storage Card\\Apps\\Pondrel",
                                            u"\\Storage Card\\Pondrel",
                                            u"\\Storage Card\\Omblane Pondrel",
                                            u"\\Program files\\Omblane Pondrel",
                                            u"\\Program files\\Pondrel",
                                            u"\\Omblane Pondrel",
                                            u"\\Pondrel",
                                            u"\\Programme\\Pondrel",
                                            u""};
    EXPECT_EQ(InstallationFinder(device.files, device.registry).Candidates(), expected);
}

TEST_F(InstallationFinderTest, RegistryFolderWithoutLabelsLosesToProgramFiles) {
    SetInstallDir(u"\\Old Place");
    device.files.AddFile(u"\\Old Place\\Preferences.pre", "x");
    device.files.AddFile(u"\\Program files\\Pondrel\\Labels.txt", "\xff\xfe");
    device.files.AddFile(u"\\Labels.txt", "\xff\xfe");
    EXPECT_EQ(Find(), u"\\Program files\\Pondrel");
}

TEST_F(InstallationFinderTest, RegistryFolderWinsWhenItHoldsLabels) {
    SetInstallDir(u"\\Storage Card\\Pondrel");
    device.files.AddFile(u"\\Storage Card\\Pondrel\\labels.TXT", "\xff\xfe");
    device.files.AddFile(u"\\Program files\\Pondrel\\Labels.txt", "\xff\xfe");
    EXPECT_EQ(Find(), u"\\Storage Card\\Pondrel");
}

TEST_F(InstallationFinderTest, StorageCardComesBeforeProgramFiles) {
    device.registry.Set(kCardKey, u"TopDir", u"SD Card");
    device.files.AddFile(u"\\SD Card\\Omblane Pondrel\\Labels.txt", "\xff\xfe");
    device.files.AddFile(u"\\Program files\\Omblane Pondrel\\Labels.txt", "\xff\xfe");
    EXPECT_EQ(Find(), u"\\SD Card\\Omblane Pondrel");
}

TEST_F(InstallationFinderTest, LabelsOnlyInTheRootMakesTheRootTheInstallation) {
    device.files.AddFile(u"\\Labels.txt", "\xff\xfe");
    device.files.AddFolder(u"\\Program files\\Pondrel");
    EXPECT_EQ(Find(), u"");
    WorkingFolders folders;
    folders.installation = *Find();
    EXPECT_EQ(U8(folders.InstallationFile(u"Preferences.pre")), "\\Preferences.pre");
    EXPECT_EQ(U8(folders.Backup()), "\\Backup");
}

TEST_F(InstallationFinderTest, UnusableRegistryValuesNeverPickTheRootEarly) {
    // Labels in both places: an empty, "error" or oversized value must not make the root folder
    // (value + "\Labels.txt") win over the proper installation.
    device.files.AddFile(u"\\Labels.txt", "\xff\xfe");
    device.files.AddFile(u"\\Program files\\Pondrel\\Labels.txt", "\xff\xfe");
    for (std::u16string value : {std::u16string(), std::u16string(u"error"),
                                 std::u16string(u"\\") + std::u16string(600, u'x')}) {
        SetInstallDir(value);
        device.registry.Set(kCardKey, u"TopDir", value);
        EXPECT_EQ(Find(), u"\\Program files\\Pondrel") << U8(value).substr(0, 10);
    }
}

TEST_F(InstallationFinderTest, RegistryValueAtTheBufferLimitIsUsed) {
    // 499 units and the closing zero fill the 1000 bytes exactly; one more does not fit.
    std::u16string folder = u"\\" + std::u16string(498, u'p');
    device.files.AddFile(folder + u"\\Labels.txt", "\xff\xfe");
    SetInstallDir(folder);
    EXPECT_EQ(Find(), folder);
    std::u16string longer = u"\\" + std::u16string(499, u'p');
    device.files.AddFile(longer + u"\\Labels.txt", "\xff\xfe");
    SetInstallDir(longer);
    EXPECT_EQ(Find(), std::nullopt);
}

TEST_F(InstallationFinderTest, LabelsThatCannotBeReadDoNotCount) {
    device.files.AddFile(u"\\Program files\\Omblane Pondrel\\Labels.txt", "\xff\xfe");
    device.files.Fail(test::MemoryFileSystem::Op::Read, u"Omblane Pondrel\\Labels");
    device.files.AddFile(u"\\Pondrel\\Labels.txt", "\xff\xfe");
    // A folder named Labels.txt is not the probe file either.
    device.files.AddFolder(u"\\Program files\\Pondrel\\Labels.txt");
    EXPECT_EQ(Find(), u"\\Pondrel");
}

TEST_F(InstallationFinderTest, NothingFoundShowsTheStartErrorBox) {
    device.files.AddFolder(u"\\Program files\\Pondrel");
    InstallationFinder finder(device.files, device.registry);
    EXPECT_EQ(finder.FindOrReport(device.messages), std::nullopt);
    ASSERT_EQ(device.messages.boxes.size(), 1u);
    EXPECT_EQ(U8(device.messages.boxes[0].caption), "Start error");
    EXPECT_EQ(U8(device.messages.boxes[0].text),
              "<Pondrel> main folder not found !\r\nFirst try to install Pondrel in the default "
              "installation folder of your PocketPC. If it doesn't work, copy the main folder "
              "<Pondrel> into the directory <\\Program files\\> to have "
              "<\\Program files\\Pondrel\\>.");

    device.files.AddFile(u"\\Program files\\Pondrel\\Labels.txt", "\xff\xfe");
    EXPECT_EQ(finder.FindOrReport(device.messages), u"\\Program files\\Pondrel");
    EXPECT_EQ(device.messages.boxes.size(), 1u);
}

TEST(WorkingFoldersTest, CreatedBackupFirstAndOnlyWhenMissing) {
    TestPlatform device;
    device.files.AddFile(u"\\Program files\\Pondrel\\Labels.txt", "\xff\xfe");
    WorkingFolders folders;
    folders.installation = u"\\Program files\\Pondrel";
    WorkingFoldersOutcome outcome = CreateWorkingFolders(device.files, folders);
    std::vector<std::u16string> expected = {
        u"\\Program files\\Pondrel\\Backup", u"\\My Documents", u"\\My Documents\\PD_PrintDoc",
        u"\\My Documents\\PD_Archives", u"\\My Documents\\PD_ActivePatients"};
    EXPECT_EQ(outcome.created, expected);
    EXPECT_TRUE(outcome.missing.empty());
    for (const auto& folder : expected) EXPECT_TRUE(device.files.FolderExists(folder));

    EXPECT_TRUE(CreateWorkingFolders(device.files, folders).created.empty());
}

TEST(WorkingFoldersTest, ExistingFoldersAndTheirFilesAreLeftAlone) {
    TestPlatform device;
    device.files.AddFile(u"\\my documents\\pd_activepatients\\Doe_John_1950.pdr", "patient");
    device.files.AddFile(u"\\Program files\\Pondrel\\Labels.txt", "\xff\xfe");
    WorkingFoldersOutcome outcome = CreateWorkingFolders(device.files, WorkingFolders{});
    EXPECT_EQ(outcome.created.size(), 3u);  // backup, print documents, archives
    EXPECT_EQ(device.files.Bytes(u"\\My Documents\\PD_ActivePatients\\Doe_John_1950.pdr"),
              "patient");
}

TEST(WorkingFoldersTest, AFolderThatCannotBeCreatedDoesNotStopTheOthers) {
    TestPlatform device;
    device.files.Fail(test::MemoryFileSystem::Op::CreateFolder, u"Backup");
    device.files.Fail(test::MemoryFileSystem::Op::CreateFolder, u"PD_PrintDoc");
    WorkingFoldersOutcome outcome = CreateWorkingFolders(device.files, WorkingFolders{});
    EXPECT_FALSE(device.files.FolderExists(u"\\Program files\\Pondrel\\Backup"));
    EXPECT_TRUE(device.files.FolderExists(WorkingFolders::kArchives));
    EXPECT_TRUE(device.files.FolderExists(WorkingFolders::kActivePatients));
    EXPECT_EQ(outcome.created.size(), 3u);
    // Each failure is reported with what the file system said.
    ASSERT_EQ(outcome.missing.size(), 2u);
    EXPECT_EQ(U8(outcome.missing[0].path), "\\Program files\\Pondrel\\Backup");
    EXPECT_EQ(U8(outcome.missing[1].path), "\\My Documents\\PD_PrintDoc");
    EXPECT_EQ(outcome.missing[0].reason, "cannot create folder");
    EXPECT_FALSE(MissingFoldersStopStartUp(outcome.missing));
}

TEST(WorkingFoldersTest, WithoutMyDocumentsItsThreeFoldersAreMissing) {
    TestPlatform device;
    device.files.AddFolder(u"\\Program files\\Pondrel");
    device.files.Fail(test::MemoryFileSystem::Op::CreateFolder, u"My Documents");
    WorkingFoldersOutcome outcome = CreateWorkingFolders(device.files, WorkingFolders{});
    ASSERT_EQ(outcome.missing.size(), 3u);
    EXPECT_EQ(U8(outcome.missing[2].path), "\\My Documents\\PD_ActivePatients");
    EXPECT_TRUE(MissingFoldersStopStartUp(outcome.missing));
}

TEST(IconPicturesTest, EachMissingStripNamesItsFileAndStops) {
    WorkingFolders folders;
    folders.installation = u"\\Pondrel";
    for (const std::string missing : {"Patients Icons.jpg", "Scroll list icons.jpg"}) {
        TestPlatform device;
        std::vector<std::string> asked;
        bool loaded = LoadIconPictures(device.messages, folders, [&](const std::u16string& path) {
            asked.push_back(U8(path));
            return U8(path) != "\\Pondrel\\" + missing;
        });
        EXPECT_FALSE(loaded);
        ASSERT_EQ(device.messages.boxes.size(), 1u);
        EXPECT_EQ(U8(device.messages.boxes[0].caption), "A file is missing");
        EXPECT_EQ(U8(device.messages.boxes[0].text),
                  "The file <C:\\Program Files\\Pondrel desktop\\" + missing +
                      "> is missing. You need this file to open the software. You can also "
                      "reinstall the software to get this file back");
        EXPECT_EQ(asked.back(), "\\Pondrel\\" + missing);
    }
    TestPlatform device;
    std::vector<std::string> asked;
    EXPECT_TRUE(LoadIconPictures(device.messages, folders, [&](const std::u16string& path) {
        asked.push_back(U8(path));
        return true;
    }));
    EXPECT_EQ(asked, (std::vector<std::string>{"\\Pondrel\\Patients Icons.jpg",
                                               "\\Pondrel\\Scroll list icons.jpg"}));
    EXPECT_TRUE(device.messages.boxes.empty());
}

// Records the steps in the order they are called; `stopAt` makes that step fail.
class RecordingSteps final : public StartUpSteps {
public:
    RecordingSteps(TestPlatform& device, std::string stopAt) : m_device(device), m_stop(stopAt) {}

    void RecordStartTime(const DateTime& now) override {
        Note("a");
        startTime = now;
    }
    void BuildControls() override {
        // The working folders exist before the controls are built.
        foldersBeforeControls = m_device.files.FolderExists(WorkingFolders::kActivePatients);
        Note("c");
    }
    bool ReadLabels() override { return Note("d"); }
    void SetToday(DayNumber day) override {
        Note("e");
        today = day;
    }
    bool ReadPreferences() override { return Note("f"); }
    bool LoadIconPictures() override { return Note("g"); }
    void StartTimers() override { Note("h"); }
    void MarkReady() override { Note("i"); }
    void LoadActivePatients() override { Note("j"); }
    void ShowFirstPage() override { Note("j-page"); }
    void CloseStartUpPicture() override { Note("j-picture"); }
    void OpenConnection() override { Note("k"); }

    std::vector<std::string> calls;
    DateTime startTime;
    DayNumber today = -1;
    bool foldersBeforeControls = false;

private:
    bool Note(const std::string& step) {
        calls.push_back(step);
        return step != m_stop;
    }
    TestPlatform& m_device;
    std::string m_stop;
};

TEST(StartUpTest, StepsRunInTheFixedOrder) {
    TestPlatform device;
    device.clock.now = {2006, 3, 13, 9, 41, 7};
    WorkingFolders folders;
    RecordingSteps steps(device, "");
    EXPECT_TRUE(StartUp(device.platform, folders, steps).Run());
    EXPECT_EQ(steps.calls, (std::vector<std::string>{"a", "c", "d", "e", "f", "g", "h", "i", "j",
                                                     "j-page", "j-picture", "k"}));
    EXPECT_TRUE(steps.foldersBeforeControls);
    EXPECT_EQ(steps.startTime, device.clock.now);
    EXPECT_EQ(steps.today, DayNumberOf(2006, 3, 13));
}

// A working folder that cannot be made is named in a box. Without the backup, documents or
// archives folder the program goes on; without the active patients folder it stops before the
// doctor could type anything that could never be saved.
TEST(StartUpTest, AMissingWorkingFolderIsNamedAndOnlyTheActiveFolderStops) {
    {
        TestPlatform device;
        device.files.Fail(test::MemoryFileSystem::Op::CreateFolder, u"Backup");
        WorkingFolders folders;
        RecordingSteps steps(device, "");
        EXPECT_TRUE(StartUp(device.platform, folders, steps).Run());
        EXPECT_EQ(steps.calls.back(), "k");
        ASSERT_EQ(device.messages.boxes.size(), 1u);
        EXPECT_EQ(U8(device.messages.boxes[0].caption), "Working folder missing");
        EXPECT_EQ(device.messages.boxes[0].icon, BoxIcon::Warning);
        EXPECT_EQ(U8(device.messages.boxes[0].text),
                  "The folder <\\Program files\\Pondrel\\Backup> does not exist and could "
                  "not be created (cannot create folder).\r\nNo backup copy of the patient "
                  "files can be made.\r\n\r\nPondrel goes on. Create the folder, or free its "
                  "name, then start Pondrel again.");
    }
    {
        TestPlatform device;
        device.files.Fail(test::MemoryFileSystem::Op::CreateFolder, u"PD_ActivePatients");
        WorkingFolders folders;
        RecordingSteps steps(device, "");
        EXPECT_FALSE(StartUp(device.platform, folders, steps).Run());
        EXPECT_EQ(steps.calls, (std::vector<std::string>{"a", "j-picture"}));
        ASSERT_EQ(device.messages.boxes.size(), 1u);
        EXPECT_EQ(device.messages.boxes[0].icon, BoxIcon::Error);
        const std::string text = U8(device.messages.boxes[0].text);
        EXPECT_NE(text.find("<\\My Documents\\PD_ActivePatients>"), std::string::npos);
        EXPECT_NE(text.find("No patient can be read or saved."), std::string::npos);
        EXPECT_NE(text.find("stops now"), std::string::npos);
    }
}

TEST(StartUpTest, AFailingStepStopsStartUpButClosesThePicture) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"d", {"a", "c", "d", "j-picture"}},
        {"f", {"a", "c", "d", "e", "f", "j-picture"}},
        {"g", {"a", "c", "d", "e", "f", "g", "j-picture"}},
    };
    for (const auto& [stop, expected] : cases) {
        TestPlatform device;
        WorkingFolders folders;
        RecordingSteps steps(device, stop);
        EXPECT_FALSE(StartUp(device.platform, folders, steps).Run()) << stop;
        EXPECT_EQ(steps.calls, expected) << stop;
    }
}

}  // namespace
}  // namespace pondrel
