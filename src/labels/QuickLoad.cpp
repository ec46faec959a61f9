#include "labels/QuickLoad.h"

#include <algorithm>
#include <cstdio>

#include "labels/KeyWordSearch.h"
#include "platform/DeviceFileSystem.h"
#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"
#include "records/WorkingFolders.h"

namespace pondrel {

namespace {

constexpr std::u16string_view kEntryEnd = u"|";
// A word matches at the start of a name part: after the entry's blank, or after "_" or a blank
// inside the last name.
constexpr std::u16string_view kPartStarts = u" _";

std::u16string WithoutExtension(std::u16string_view fileName) {
    size_t dot = fileName.find(u'.');
    return std::u16string(fileName.substr(0, dot));
}

}  // namespace

ArchiveNames ArchiveNamesOf(std::vector<std::u16string> fileNames) {
    ArchiveNames names;
    names.files = std::move(fileNames);
    for (const std::u16string& file : names.files) {
        names.starts.push_back(names.list.size());
        // A "|" in a file name would split its entry: it reads as a blank.
        names.list += u" " + ReplaceAll(FoldCase(WithoutExtension(file)), u"|", u" ") + u"|";
    }
    return names;
}

bool ReadArchiveNames(DeviceFileSystem& files, ArchiveNames& names, Error* error) {
    std::vector<std::u16string> found;
    bool listed = files.ListFiles(WorkingFolders::kArchives, u"*.pdr", found, SIZE_MAX, nullptr,
                                  error);
    names = ArchiveNamesOf(listed ? std::move(found) : std::vector<std::u16string>());
    return listed;
}

std::u16string QuickLoadRow(std::u16string_view fileName) {
    return ReplaceAll(WithoutExtension(fileName), u"_", u" ");
}

std::u16string QuickLoadResult::CountLine(size_t total) const {
    return Format(u"Files: %d/%d",
                  {static_cast<long long>(rows.size()), static_cast<long long>(total)});
}

std::u16string QuickLoadResult::FullLine() const {
    if (rows.size() < kMaxRows) return {};
    return Format(u"First 500/%d", {static_cast<long long>(found)});
}

QuickLoadResult SearchArchive(const ArchiveNames& names, std::u16string_view text) {
    QuickLoadResult result;
    std::vector<std::u16string> words = KeyWords(text);
    std::vector<EntrySpan> spans = SearchEntries(names.list, kEntryEnd, words, {kPartStarts});
    result.found = spans.size();
    result.nothing = !words.empty() && spans.empty();
    for (const EntrySpan& span : spans) {
        if (result.files.size() >= QuickLoadResult::kMaxRows) break;
        // The entry is mapped back to its file by its place, never by its text.
        auto at = std::lower_bound(names.starts.begin(), names.starts.end(), span.start);
        if (at == names.starts.end() || *at != span.start) continue;
        size_t index = static_cast<size_t>(at - names.starts.begin());
        result.files.push_back(index);
        result.rows.push_back(QuickLoadRow(names.files[index]));
    }
    return result;
}

std::u16string DatedBackupName(std::u16string_view fileName, const DateTime& now) {
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, " %04d-%02d-%02d %02d%02d%02d", now.year, now.month,
                  now.day, now.hour, now.minute, now.second);
    size_t dot = fileName.rfind(u'.');
    std::u16string_view extension =
        dot == std::u16string_view::npos ? std::u16string_view() : fileName.substr(dot);
    return std::u16string(fileName.substr(0, dot)) + FromUtf8(stamp) + std::u16string(extension);
}

QuickLoadOutcome BringBack(DeviceFileSystem& files, UserMessages& messages,
                           const QuickLoadMove& move) {
    if (move.transferPending) {
        messages.ShowNotice(u"A transfer with the server is under way: quick load waits for it",
                            2000, true);
        return QuickLoadOutcome::Waiting;
    }
    const std::u16string archived = JoinPath(WorkingFolders::kArchives, move.fileName);
    const std::u16string active = WorkingFolders::ActiveFile(move.fileName);
    if (!files.FileExists(archived)) {
        messages.ShowBox(u"The file <" + move.fileName +
                             u"> is no longer in the archive folder. Nothing was moved.",
                         u"Quick load", BoxButtons::Ok, BoxIcon::Warning);
        return QuickLoadOutcome::Failed;
    }
    std::u16string keptAs;
    if (files.FileExists(active)) {
        if (move.loaded) return QuickLoadOutcome::AlreadyLoaded;
        BoxAnswer answer = messages.ShowBox(
            u"An active file of the same name exists:\r\n" + move.fileName +
                u"\r\nReplace it by the archived file? The active file is kept in the backup "
                u"folder.",
            u"Quick load", BoxButtons::YesNo, BoxIcon::Question);
        if (answer != BoxAnswer::Yes) return QuickLoadOutcome::Declined;
        keptAs = JoinPath(move.backupFolder, DatedBackupName(move.fileName, move.now));
        Error error;
        if (!files.FolderExists(move.backupFolder) &&
            !files.CreateFolder(move.backupFolder, &error)) {
            keptAs.clear();
        }
        if (keptAs.empty() || !files.MoveFile(active, keptAs, &error)) {
            messages.ShowBox(u"The active file <" + move.fileName +
                                 u"> can not be kept in the backup folder. Nothing was moved.",
                             u"Quick load", BoxButtons::Ok, BoxIcon::Error);
            return QuickLoadOutcome::Failed;
        }
    }
    Error error;
    if (!files.MoveFile(archived, active, &error)) {
        // Undo: the active file goes back where it was.
        if (!keptAs.empty()) files.MoveFile(keptAs, active);
        messages.ShowBox(u"The file <" + move.fileName +
                             u"> can not be moved from the archive folder. Nothing was moved.",
                         u"Quick load", BoxButtons::Ok, BoxIcon::Error);
        return QuickLoadOutcome::Failed;
    }
    return QuickLoadOutcome::Moved;
}

}  // namespace pondrel
