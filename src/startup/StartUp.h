#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DateTime.h"
#include "records/DayNumber.h"

namespace pondrel {

class DeviceFileSystem;
class UserMessages;
struct Platform;
struct WorkingFolders;

// The steps of start-up that belong to the main form, called by StartUp::Run in this order once
// the form is first shown. A step that returns false stops start-up and the program quits (it
// has already told the user why).
class StartUpSteps {
public:
    virtual ~StartUpSteps() = default;

    // a. The date-time of start-up; the locks shared with the network receive thread.
    virtual void RecordStartTime(const DateTime& now) = 0;
    // c. The controls of the form.
    virtual void BuildControls() = 0;
    // d. The labels file.
    virtual bool ReadLabels() = 0;
    // e. Today's day, computed from the clock.
    virtual void SetToday(DayNumber today) = 0;
    // f. The preferences file, then the wallpaper picture.
    virtual bool ReadPreferences() = 0;
    // g. "Patients Icons.jpg" then "Scroll list icons.jpg" (see LoadIconPictures below).
    virtual bool LoadIconPictures() = 0;
    // h. Auto-save timer (when its interval is positive), backup timer, connection watchdog.
    virtual void StartTimers() = 0;
    // i. Transient notices are shown from now on.
    virtual void MarkReady() = 0;
    // j. The active patients, then the first page of the form; then the start-up picture closes.
    virtual void LoadActivePatients() = 0;
    virtual void ShowFirstPage() = 0;
    virtual void CloseStartUpPicture() = 0;
    // k. The connection to the server and the synchronisation timer, if the preferences ask.
    virtual void OpenConnection() = 0;
};

// Runs the start-up of the main form: a to k. Step b (the working folders) is done here.
class StartUp {
public:
    // Everything must outlive the object.
    StartUp(Platform& platform, const WorkingFolders& folders, StartUpSteps& steps);
    StartUp(const StartUp&) = delete;
    StartUp& operator=(const StartUp&) = delete;

    // True when every step ran; false when one stopped start-up (the start-up picture is closed
    // in either case).
    bool Run();

private:
    Platform& m_platform;
    const WorkingFolders& m_folders;
    StartUpSteps& m_steps;
};

// A working folder that does not exist and could not be created.
struct MissingFolder {
    std::u16string path;
    std::string reason;  // what the file system said, "" when it said nothing
};

struct WorkingFoldersOutcome {
    std::vector<std::u16string> created;  // device paths, in the order they were created
    std::vector<MissingFolder> missing;   // working folders still missing afterwards
};

// Creates the working folders that do not exist yet: the backup folder of the installation
// folder, then the documents, archives and active patients folders of "\My Documents" (which is
// created first when missing). Existing folders are left alone. A folder that cannot be created
// does not keep the others from being created; it is reported in `missing`.
WorkingFoldersOutcome CreateWorkingFolders(DeviceFileSystem& files, const WorkingFolders& folders);

// Without the active patients folder no patient can be read or saved: start-up stops rather
// than let the doctor type work that could never be written. The other folders only take one
// function away (backups, documents, archiving); start-up goes on.
bool MissingFoldersStopStartUp(const std::vector<MissingFolder>& missing);
inline constexpr std::u16string_view kMissingFolderCaption = u"Working folder missing";
// The box that names each missing folder, why it is missing, what cannot be done without it,
// and whether the program goes on.
std::u16string MissingFoldersText(const std::vector<MissingFolder>& missing);

// The two icon strips of the installation folder, loaded in this order.
inline constexpr std::u16string_view kPatientsIconsFile = u"Patients Icons.jpg";
inline constexpr std::u16string_view kScrollListIconsFile = u"Scroll list icons.jpg";
inline constexpr std::u16string_view kMissingFileCaption = u"A file is missing";
// The "A file is missing" text for one of the icon strips.
std::u16string MissingFileText(std::u16string_view fileName);

// Loads "Patients Icons.jpg" then "Scroll list icons.jpg" with `load` (given the device path;
// true when the picture could be decoded). On the first failure shows the "A file is missing"
// box for that file and returns false.
bool LoadIconPictures(UserMessages& messages, const WorkingFolders& folders,
                      const std::function<bool(const std::u16string& path)>& load);

}  // namespace pondrel
