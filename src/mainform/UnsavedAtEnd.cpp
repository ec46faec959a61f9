#include "mainform/UnsavedAtEnd.h"

#include "platform/DeviceFileSystem.h"
#include "platform/Text.h"
#include "records/WorkingFolders.h"

namespace pondrel {

namespace {

std::u16string TwoDigits(int n) {
    return (n < 10 ? u"0" : u"") + Format(u"%d", {n});
}

// "13/03/2006 09:41", the first line of the note.
std::u16string WhenText(const DateTime& when) {
    return TwoDigits(when.day) + u"/" + TwoDigits(when.month) + u"/" + Format(u"%d", {when.year}) +
           u" " + TwoDigits(when.hour) + u":" + TwoDigits(when.minute);
}

}  // namespace

UnsavedAtEnd::UnsavedAtEnd(DeviceFileSystem& files, const WorkingFolders& folders)
    : m_files(files), m_folders(folders) {}

std::u16string UnsavedAtEnd::Path() const {
    return m_folders.InstallationFile(kFileName);
}

bool UnsavedAtEnd::Record(const std::vector<std::u16string>& unsaved, const DateTime& when) {
    if (unsaved.empty()) {
        Forget();
        return !m_files.FileExists(Path());
    }
    std::u16string text = WhenText(when) + u"\n";
    for (const std::u16string& line : unsaved) {
        // One patient per line, whatever its fields hold.
        std::u16string flat = line;
        for (char16_t& c : flat) {
            if (c == u'\n' || c == u'\r') c = u' ';
        }
        text += flat + u"\n";
    }
    return m_files.WriteFile(Path(), ToUtf8(text));
}

void UnsavedAtEnd::Forget() {
    if (m_files.FileExists(Path())) m_files.DeleteFile(Path());
}

std::optional<std::u16string> UnsavedAtEnd::Take() {
    std::string bytes;
    if (!m_files.FileExists(Path()) || !m_files.ReadFile(Path(), kMaxBytes, bytes)) return {};
    Forget();
    std::vector<std::u16string> lines = Split(FromUtf8(bytes), u'\n');
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    const std::u16string when = lines.empty() ? std::u16string() : lines.front();
    std::u16string text = u"When the program was ended from outside";
    if (!when.empty()) text += u" on " + when;
    text += u", the last changes of these patients could not be saved:\r\n";
    for (size_t i = 1; i < lines.size(); ++i) text += lines[i] + u"\r\n";
    if (lines.size() < 2) text += u"(the names could not be read)\r\n";
    text += u"Check them and type these changes again.";
    return text;
}

}  // namespace pondrel
