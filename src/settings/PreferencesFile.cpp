#include "settings/PreferencesFile.h"

#include "platform/DeviceFileSystem.h"
#include "platform/UserMessages.h"
#include "records/ItemEncoding.h"
#include "records/WorkingFolders.h"
#include "settings/Preferences.h"
#include "settings/PreferencesFormat.h"
#include "settings/PreferencesWriter.h"

namespace pondrel {

namespace format = preferences_format;

namespace {

constexpr char16_t kMissingFileText[] =
    u"A file can not be found. Be sure that the file <Preferences.pre> exist.";
constexpr char16_t kProgramCaption[] = u"Pondrel";
constexpr char16_t kNewerVersionText[] =
    u"The file <Preferences.pre> can not be loaded because it's a more recent version than the "
    u"current one! Upgrade again to a most recent version.Then start again the software";
constexpr char16_t kNewerVersionCaption[] = u"File load failure";
constexpr char16_t kSaveFailureText[] = u"Save failure !";
constexpr char16_t kSaveFailureCaption[] = u"Save failure";

std::u16string LoadingError(std::u16string_view section) {
    return u"Error while loading <" + std::u16string(section) + u"> preferences section";
}

}  // namespace

SectionMessage MissingSectionMessage(PreferencesSection section) {
    using S = PreferencesSection;
    switch (section) {
    case S::DessinImage: return {LoadingError(u"DessinImage"), u"Error"};
    case S::PatientCustom: return {LoadingError(u"PatientCustom"), u"Error"};
    case S::Outbox: return {LoadingError(u"Outbox mails"), u"Error"};
    case S::SentItems: return {LoadingError(u"SentItems mails"), u"Error"};
    case S::ActiveFiles: return {LoadingError(u"Active Files"), u"Error"};
    case S::ServerFiles: return {LoadingError(u"Server Files"), u"Error"};
    case S::OtherSocket: return {LoadingError(u"OtherSocket"), u"Error"};
    case S::CEditRect:
        return {u"While loading, the <CEdit Rect> preferences section was not found. This error is "
                u"normal if you've just upgrade to the version 3.0.",
                u"A section was not found"};
    case S::Other:
        return {u"While loading, the <Other> preferences section was not found.",
                u"A section was not found"};
    case S::None: break;
    }
    return {};
}

std::string EncodePreferences(const Preferences& preferences) {
    return EncodeItemText(PreferencesWriter::Compose(preferences));
}

std::optional<PreferencesReadResult> ReadPreferencesFile(DeviceFileSystem& files,
                                                         std::u16string_view path,
                                                         Preferences& preferences, Error* error) {
    std::string bytes;
    if (!files.ReadFile(path, format::kReadLimitBytes, bytes, error)) return std::nullopt;
    return PreferencesReader::Read(DecodeItemText(bytes), preferences);
}

bool WritePreferencesFile(DeviceFileSystem& files, std::u16string_view path,
                          const Preferences& preferences, Error* error) {
    std::string bytes = EncodePreferences(preferences);
    if (bytes.size() > format::kReadLimitBytes) {
        Error::Set(error, ErrorKind::Refused,
                   "the preferences would be larger than the program can read back");
        return false;
    }
    return files.WriteFile(path, bytes, error);
}

PreferencesLoad LoadPreferences(DeviceFileSystem& files, UserMessages& messages,
                                const WorkingFolders& folders, Preferences& preferences,
                                PreferencesReadResult* resultOut) {
    preferences = Preferences{};
    const std::u16string path = folders.InstallationFile(format::kFileName);
    std::optional<PreferencesReadResult> result = ReadPreferencesFile(files, path, preferences);
    if (!result) {
        messages.ShowBox(kMissingFileText, kProgramCaption, BoxButtons::Ok, BoxIcon::Error);
        return PreferencesLoad::QuitProgram;
    }
    if (resultOut) *resultOut = *result;
    if (result->status == PreferencesReadResult::Status::NewerVersion) {
        preferences = Preferences{};
        messages.ShowBox(kNewerVersionText, kNewerVersionCaption, BoxButtons::Ok, BoxIcon::Error);
        return PreferencesLoad::QuitProgram;
    }
    ++preferences.startCount;
    const bool complete = result->status == PreferencesReadResult::Status::Complete;
    if (!complete || result->OlderLayout()) {
        // The next save replaces the file with what was understood of it: keep the original.
        files.CopyFile(path, folders.InstallationFile(format::kOldCopyName));
    }
    if (complete) return PreferencesLoad::Complete;
    SectionMessage message = MissingSectionMessage(result->missingSection);
    const bool isNotice = result->missingSection == PreferencesSection::CEditRect ||
                          result->missingSection == PreferencesSection::Other;
    messages.ShowBox(message.text, message.caption, BoxButtons::Ok,
                     isNotice ? BoxIcon::Warning : BoxIcon::Error);
    return PreferencesLoad::Incomplete;
}

bool SavePreferences(DeviceFileSystem& files, UserMessages& messages,
                     const WorkingFolders& folders, const Preferences& preferences) {
    if (WritePreferencesFile(files, folders.InstallationFile(format::kFileName), preferences)) {
        return true;
    }
    messages.ShowBox(kSaveFailureText, kSaveFailureCaption, BoxButtons::Ok, BoxIcon::Error);
    return false;
}

}  // namespace pondrel
