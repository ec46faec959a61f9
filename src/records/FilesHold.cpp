#include "records/FilesHold.h"

#include <utility>

#include "platform/DeviceFileSystem.h"
#include "platform/UserMessages.h"
#include "records/ActivePatients.h"

namespace pondrel {

FilesHold::FilesHold(ActivePatients& active) : m_active(&active) {
    active.HoldFiles();
}

FilesHold::~FilesHold() {
    if (m_active) m_active->ReleaseFiles();
}

FilesHold::FilesHold(FilesHold&& other) noexcept
    : m_active(std::exchange(other.m_active, nullptr)) {}

FileAsRead ReadForEditing(DeviceFileSystem& files, std::u16string path, size_t maxBytes) {
    FileAsRead read;
    read.path = std::move(path);
    if (!files.FileExists(read.path)) return read;
    std::string bytes;
    // One byte more than the limit tells a file that is too long from one that just fits.
    if (!files.ReadFile(read.path, maxBytes + 1, bytes)) {
        read.complete = false;  // there, but unreadable: never written over
        return read;
    }
    read.complete = bytes.size() <= maxBytes;
    if (!read.complete) bytes.resize(maxBytes);
    read.bytes = std::move(bytes);
    return read;
}

bool StillAsRead(DeviceFileSystem& files, const FileAsRead& read) {
    if (!read.complete) return false;
    if (!read.bytes) return !files.FileExists(read.path);
    if (!files.FileExists(read.path)) return false;
    std::string now;
    if (!files.ReadFile(read.path, read.bytes->size() + 1, now)) return false;
    return now == *read.bytes;
}

void TellFileChanged(UserMessages& messages, const std::u16string& path) {
    messages.ShowBox(u"The file <<" + path +
                         u">> was changed since it was read. Nothing was written: open it again "
                         u"to see what it holds now.",
                     u"File changed", BoxButtons::Ok, BoxIcon::Warning);
}

CheckedWrite WriteIfUnchanged(DeviceFileSystem& files, UserMessages& messages,
                              const FileAsRead& read, std::string_view bytes) {
    if (!StillAsRead(files, read)) {
        TellFileChanged(messages, read.path);
        return CheckedWrite::Changed;
    }
    if (!files.WriteFile(read.path, bytes)) {
        messages.ShowBox(u"The file <<" + read.path + u">> could not be written.",
                         u"File write failure", BoxButtons::Ok, BoxIcon::Error);
        return CheckedWrite::Failed;
    }
    return CheckedWrite::Written;
}

}  // namespace pondrel
