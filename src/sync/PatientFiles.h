#pragma once

// What the server file operations need from the patients the doctor follows: the files of the
// open patients, saving one before it is sent, reading its text, storing a file received from
// the server, the read-only mode of a patient whose file another user holds, and moving or
// deleting a file. ActivePatientFiles is the one over the active patient set; tests use their
// own.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pondrel {

enum class ReceivedFile {
    Stored,
    NotSaved,    // the open patient's own changes could not be saved first: nothing replaced
    NotWritten,  // the file (or the copy of the one it replaces) could not be written
};

class PatientFiles {
public:
    virtual ~PatientFiles() = default;

    // Saves every open patient quietly (before Connect).
    virtual void SaveAll() = 0;
    // The file names ("Doe_John_1950.pdr") of the open patients that have a file, in order.
    virtual std::vector<std::u16string> OpenFileNames() = 0;
    // Writes the open patient of `fileName` (if any) quietly before its file is sent; false when
    // what the user typed could not be written.
    virtual bool SaveBeforeSending(std::u16string_view fileName) = 0;
    // The text of a file of the active folder; none when it cannot be read.
    virtual std::optional<std::u16string> ReadFileText(std::u16string_view fileName) = 0;
    // Replaces (or creates) a file of the active folder by a text received from the server and
    // opens it. What the user typed into that patient is saved first, and the version replaced
    // is kept in the backup folder; nothing is replaced when either fails.
    virtual ReceivedFile StoreReceivedFile(std::u16string_view fileName,
                                           std::u16string_view text) = 0;
    // "R" (read only: another user holds the file) or "W" for the open patient of `fileName`.
    virtual void SetAccess(std::u16string_view fileName, std::u16string_view mode) = 0;
    // Moves the file into the archive folder and closes its patient; false when it stays.
    virtual bool MoveToArchive(std::u16string_view fileName) = 0;
    // Closes the patient and deletes its file and the file's backup copy; false when it stays.
    virtual bool DeleteFile(std::u16string_view fileName) = 0;

    // True while a dialogue holds the files (records/FilesHold.h): what the server sends about
    // files waits until they are released.
    virtual bool FilesHeld() { return false; }
    // `released` runs whenever the files are released; none stops it.
    virtual void SetReleasedHandler(std::function<void()> released) { (void)released; }
};

}  // namespace pondrel
