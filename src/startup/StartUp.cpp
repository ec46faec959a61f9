#include "startup/StartUp.h"

#include <algorithm>

#include "platform/DeviceFileSystem.h"
#include "platform/Error.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"
#include "records/WorkingFolders.h"

namespace pondrel {

namespace {

void EnsureFolder(DeviceFileSystem& files, std::u16string_view folder,
                  WorkingFoldersOutcome& outcome, bool working = true) {
    if (files.FolderExists(folder)) return;
    Error error;
    if (files.CreateFolder(folder, &error)) {
        outcome.created.emplace_back(folder);
    } else if (working) {
        outcome.missing.push_back({std::u16string(folder), error.message});
    }
}

bool IsActiveFolder(const MissingFolder& folder) {
    return EqualsIgnoreCase(folder.path, WorkingFolders::kActivePatients);
}

// What the program cannot do without the folder.
std::u16string_view Consequence(std::u16string_view path) {
    if (EqualsIgnoreCase(path, WorkingFolders::kActivePatients)) {
        return u"No patient can be read or saved.";
    }
    if (EqualsIgnoreCase(path, WorkingFolders::kArchives)) {
        return u"No patient can be closed and archived.";
    }
    if (EqualsIgnoreCase(path, WorkingFolders::kPrintDoc)) {
        return u"No document or statistics table can be written.";
    }
    return u"No backup copy of the patient files can be made.";
}

}  // namespace

WorkingFoldersOutcome CreateWorkingFolders(DeviceFileSystem& files, const WorkingFolders& folders) {
    WorkingFoldersOutcome outcome;
    EnsureFolder(files, folders.Backup(), outcome);
    // The three folders of "\My Documents" need their parent; on the handheld it always exists.
    // When it cannot be made, its three folders are reported.
    EnsureFolder(files, WorkingFolders::kMyDocuments, outcome, false);
    EnsureFolder(files, WorkingFolders::kPrintDoc, outcome);
    EnsureFolder(files, WorkingFolders::kArchives, outcome);
    EnsureFolder(files, WorkingFolders::kActivePatients, outcome);
    return outcome;
}

bool MissingFoldersStopStartUp(const std::vector<MissingFolder>& missing) {
    return std::any_of(missing.begin(), missing.end(), IsActiveFolder);
}

std::u16string MissingFoldersText(const std::vector<MissingFolder>& missing) {
    std::u16string text;
    for (const MissingFolder& folder : missing) {
        text += u"The folder <" + folder.path + u"> does not exist and could not be created";
        if (!folder.reason.empty()) text += u" (" + FromUtf8(folder.reason) + u")";
        text += u".\r\n";
        text += Consequence(folder.path);
        text += u"\r\n\r\n";
    }
    text += MissingFoldersStopStartUp(missing)
                ? u"Pondrel cannot work without its active patients folder and stops now. Create "
                  u"the folder, or free its name, then start Pondrel again."
                : u"Pondrel goes on. Create the folder, or free its name, then start Pondrel "
                  u"again.";
    return text;
}

std::u16string MissingFileText(std::u16string_view fileName) {
    return u"The file <C:\\Program Files\\Pondrel desktop\\" + std::u16string(fileName) +
           u"> is missing. You need this file to open the software. You can also reinstall the "
           u"software to get this file back";
}

bool LoadIconPictures(UserMessages& messages, const WorkingFolders& folders,
                      const std::function<bool(const std::u16string& path)>& load) {
    for (std::u16string_view name : {kPatientsIconsFile, kScrollListIconsFile}) {
        if (!load(folders.InstallationFile(name))) {
            messages.ShowBox(MissingFileText(name), std::u16string(kMissingFileCaption),
                             BoxButtons::Ok, BoxIcon::Error);
            return false;
        }
    }
    return true;
}

StartUp::StartUp(Platform& platform, const WorkingFolders& folders, StartUpSteps& steps)
    : m_platform(platform), m_folders(folders), m_steps(steps) {}

bool StartUp::Run() {
    const DateTime now = m_platform.clock.Now();
    m_steps.RecordStartTime(now);  // a
    // b
    const WorkingFoldersOutcome folders = CreateWorkingFolders(m_platform.files, m_folders);
    if (!folders.missing.empty()) {
        const bool stop = MissingFoldersStopStartUp(folders.missing);
        m_platform.messages.ShowBox(MissingFoldersText(folders.missing),
                                    std::u16string(kMissingFolderCaption), BoxButtons::Ok,
                                    stop ? BoxIcon::Error : BoxIcon::Warning);
        if (stop) {
            m_steps.CloseStartUpPicture();
            return false;
        }
    }
    m_steps.BuildControls();              // c
    bool running = m_steps.ReadLabels();  // d
    if (running) {
        m_steps.SetToday(DayNumberOf(m_platform.clock.Now()));  // e
        running = m_steps.ReadPreferences();                    // f
    }
    running = running && m_steps.LoadIconPictures();  // g
    if (running) {
        m_steps.StartTimers();         // h
        m_steps.MarkReady();           // i
        m_steps.LoadActivePatients();  // j
        m_steps.ShowFirstPage();
    }
    m_steps.CloseStartUpPicture();
    if (running) m_steps.OpenConnection();  // k
    return running;
}

}  // namespace pondrel
