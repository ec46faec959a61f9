#include "startup/StartUp.h"

#include "platform/DeviceFileSystem.h"
#include "platform/Platform.h"
#include "platform/UserMessages.h"
#include "records/WorkingFolders.h"

namespace pondrel {

namespace {

bool EnsureFolder(DeviceFileSystem& files, std::u16string_view folder,
                  std::vector<std::u16string>& created) {
    if (files.FolderExists(folder)) return true;
    if (!files.CreateFolder(folder)) return false;
    created.emplace_back(folder);
    return true;
}

}  // namespace

std::vector<std::u16string> CreateWorkingFolders(DeviceFileSystem& files,
                                                 const WorkingFolders& folders) {
    std::vector<std::u16string> created;
    EnsureFolder(files, folders.Backup(), created);
    // The three folders of "\My Documents" need their parent; on the handheld it always exists.
    EnsureFolder(files, WorkingFolders::kMyDocuments, created);
    EnsureFolder(files, WorkingFolders::kPrintDoc, created);
    EnsureFolder(files, WorkingFolders::kArchives, created);
    EnsureFolder(files, WorkingFolders::kActivePatients, created);
    return created;
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
    m_steps.RecordStartTime(now);                       // a
    CreateWorkingFolders(m_platform.files, m_folders);  // b
    m_steps.BuildControls();                            // c
    bool running = m_steps.ReadLabels();                // d
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
