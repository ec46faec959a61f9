#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pondrel {

class ActivePatients;
class DeviceFileSystem;
class UserMessages;

// Files held: a dialogue that edits files on disk (patient files, arrangement files, the
// preferences...) holds the files for as long as it is open. Meanwhile the automatic saves and
// backups of the active set wait, and so does a patient file received from the server: none
// of them writes over a file the dialogue is changing, and the dialogue does not write over a
// file they changed. Holds nest; the files are released with the last one.
//
//     FilesHold hold(form.Active());   // first thing when the dialogue opens
//     FileAsRead read = ReadForEditing(files, path, kMaxBytes);
//     ...
//     WriteIfUnchanged(files, messages, read, newBytes);  // refused when the file changed
class FilesHold {
public:
    explicit FilesHold(ActivePatients& active);
    ~FilesHold();
    FilesHold(FilesHold&& other) noexcept;
    FilesHold(const FilesHold&) = delete;
    FilesHold& operator=(const FilesHold&) = delete;
    FilesHold& operator=(FilesHold&&) = delete;

private:
    ActivePatients* m_active;
};

// A file as a dialogue read it, to check before writing that nobody changed it meanwhile.
struct FileAsRead {
    std::u16string path;
    std::optional<std::string> bytes;  // none: there was no such file
    bool complete = true;              // false: the file was longer than the read limit
};

// Reads the whole file at `path` (at most `maxBytes`). A file that does not exist gives no
// bytes; one longer than the limit is marked incomplete and is never written over.
FileAsRead ReadForEditing(DeviceFileSystem& files, std::u16string path, size_t maxBytes);

// True when the file still holds exactly what was read (or is still missing when it was).
bool StillAsRead(DeviceFileSystem& files, const FileAsRead& read);

enum class CheckedWrite {
    Written,
    Changed,  // the file is not what was read: nothing written, the user was told
    Failed,   // the write failed: the file keeps what it held, the user was told
};

// The "File changed" box: the file at `path` is not what was read, nothing was written.
void TellFileChanged(UserMessages& messages, const std::u16string& path);

// Writes `bytes` into the file that was read when it still holds what was read; otherwise
// writes nothing and says so (TellFileChanged), as it does when the write fails.
CheckedWrite WriteIfUnchanged(DeviceFileSystem& files, UserMessages& messages,
                              const FileAsRead& read, std::string_view bytes);

}  // namespace pondrel
