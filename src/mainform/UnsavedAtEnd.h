#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DateTime.h"

namespace pondrel {

class DeviceFileSystem;
struct WorkingFolders;

// The note left in the installation folder when the program was ended with nobody to answer
// (a termination signal, the end of the desktop session) and some patients could not be saved.
// Their names went to the terminal only; the next start reads the note and tells the doctor
// which patients lost their last changes, then removes it.
class UnsavedAtEnd {
public:
    static constexpr std::u16string_view kFileName = u"UnsavedAtEnd.txt";
    static constexpr std::u16string_view kCaption = u"Changes not saved";
    // A note is read up to this size; longer ones are cut (they name at most 1000 patients).
    static constexpr size_t kMaxBytes = 256 * 1024;

    UnsavedAtEnd(DeviceFileSystem& files, const WorkingFolders& folders);

    // Writes the note naming `unsaved` (one line each) and when the end came, replacing an
    // older one; with nothing unsaved, removes any note instead. True when the note on the
    // device is the one asked for.
    bool Record(const std::vector<std::u16string>& unsaved, const DateTime& when);
    // Removes the note (the doctor was asked at the end, or saw it).
    void Forget();
    // The text telling the doctor what the last end left unsaved, and the note is removed;
    // nothing when there is no note.
    std::optional<std::u16string> Take();

private:
    std::u16string Path() const;

    DeviceFileSystem& m_files;
    const WorkingFolders& m_folders;
};

}  // namespace pondrel
