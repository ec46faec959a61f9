#pragma once

#include <string>
#include <string_view>

#include "layout/Arrangement.h"
#include "records/FilesHold.h"

namespace pondrel {

class DeviceFileSystem;
class FileDialogs;
class UserMessages;

// The arrangement in force on the form and the ".wnd" files it is loaded from and saved to:
// a patient's own arrangement in "\My Documents\" (named by field 202), the installation's
// "\Default position.wnd" and the factory "\Initial position.wnd". Failures are told through
// `messages` with the program's notices and boxes. The seams must outlive this object.
class ArrangementFiles {
public:
    // `installationFolder` is a device path without a trailing "\" ("" for the root folder).
    ArrangementFiles(DeviceFileSystem& files, UserMessages& messages, FileDialogs& dialogs,
                     std::u16string installationFolder);
    ArrangementFiles(const ArrangementFiles&) = delete;
    ArrangementFiles& operator=(const ArrangementFiles&) = delete;

    // The arrangement in force; the windows editor changes it in place.
    const Arrangement& Current() const { return m_current; }
    Arrangement& Current() { return m_current; }
    // The name of the arrangement file in use ("" for the default one).
    const std::u16string& CurrentName() const { return m_currentName; }

    // Reads a ".wnd" file into the arrangement in force. A file that cannot be read, is larger
    // than the read limit or ends too early gives the notice "The form can not be loaded" and
    // clears the current name; a newer version gives the "File load failure" box. In both cases
    // the arrangement in force stays as it was and the result is false.
    bool LoadArrangement(std::u16string_view path);

    // Writes the arrangement in force. `name` "-1" asks for the file with the save dialogue;
    // "" uses the patient's `patientForm` (field 202): the installation's default file when it is
    // empty, else "\My Documents\" + the name with ".wnd" added when missing; any other name is
    // written as "\My Documents\" + name. Notices tell the outcome; false when nothing was
    // written (cancelled, refused or failed).
    bool SaveArrangement(std::u16string_view name, std::u16string_view patientForm = {});

    // `initial` false: asks for a file with the open dialogue, loads it and makes its name the
    // current name. `initial` true: loads the factory "\Initial position.wnd" and clears the
    // current name.
    bool OpenArrangement(bool initial);

    // Makes the arrangement of a patient the one in force: the patient's own file named by field
    // 202, else the installation's default file, else its initial file, else the factory
    // arrangement built into the program. A file already in force is not read again. A patient's
    // file that cannot be used is told with the load notice (or box) and the installation's
    // arrangement is used. True when the arrangement in force changed.
    bool UsePatientArrangement(std::u16string_view patientForm);

    std::u16string DefaultPath() const;
    std::u16string InitialPath() const;
    // "\My Documents\" + name.
    static std::u16string MyDocumentsPath(std::u16string_view name);

private:
    enum class Outcome { Loaded, CannotRead, Newer };
    Outcome Read(std::u16string_view path, Arrangement& into);
    void TellLoadFailure(Outcome outcome, std::u16string_view path);
    bool Write(const std::u16string& path, const std::u16string& shownName);
    // Makes `arrangement` the one in force; true when it differs from the one before.
    bool Take(Arrangement arrangement, std::u16string path, bool installation);

    DeviceFileSystem& m_files;
    UserMessages& m_messages;
    FileDialogs& m_dialogs;
    std::u16string m_installation;
    Arrangement m_current;
    std::u16string m_currentName;
    // The file the arrangement in force was read from or last written to ("" for the built-in
    // one), so that showing another patient of the same arrangement reads nothing.
    std::u16string m_loadedPath;
    // The arrangement file read or written last, as it was then.
    FileAsRead m_asRead;
    bool m_fromInstallation = false;  // the default, initial or built-in arrangement
    bool m_anyLoaded = false;
};

}  // namespace pondrel
