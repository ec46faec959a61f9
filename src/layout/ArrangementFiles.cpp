#include "layout/ArrangementFiles.h"

#include "layout/ArrangementFormat.h"
#include "layout/ArrangementReader.h"
#include "layout/ArrangementWriter.h"
#include "layout/FactoryArrangement.h"
#include "layout/FormName.h"
#include "platform/DeviceFileSystem.h"
#include "platform/FileDialogs.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"
#include "records/ItemEncoding.h"

namespace pondrel {

namespace format = arrangement_format;

namespace {

constexpr std::u16string_view kMyDocuments = u"\\My Documents";

std::u16string Quoted(std::u16string_view before, std::u16string_view name,
                      std::u16string_view after) {
    return std::u16string(before) + u"<" + std::u16string(name) + u">" + std::u16string(after);
}

}  // namespace

ArrangementFiles::ArrangementFiles(DeviceFileSystem& files, UserMessages& messages,
                                   FileDialogs& dialogs, std::u16string installationFolder)
    : m_files(files),
      m_messages(messages),
      m_dialogs(dialogs),
      m_installation(std::move(installationFolder)),
      m_current(FactoryArrangement()) {}

std::u16string ArrangementFiles::DefaultPath() const {
    return JoinPath(m_installation.empty() ? u"\\" : m_installation, format::kDefaultFileName);
}

std::u16string ArrangementFiles::InitialPath() const {
    return JoinPath(m_installation.empty() ? u"\\" : m_installation, format::kInitialFileName);
}

std::u16string ArrangementFiles::MyDocumentsPath(std::u16string_view name) {
    return JoinPath(kMyDocuments, name);
}

ArrangementFiles::Outcome ArrangementFiles::Read(std::u16string_view path, Arrangement& into) {
    std::string bytes;
    // One byte more than the limit tells a file that is too big from one that fits exactly.
    if (!m_files.ReadFile(path, format::kReadLimitBytes + 1, bytes) ||
        bytes.size() > format::kReadLimitBytes) {
        return Outcome::CannotRead;
    }
    m_asRead = FileAsRead{std::u16string(path), bytes, true};
    const ArrangementReadResult result = ArrangementReader::Read(DecodeItemText(bytes), into);
    if (result.status == ArrangementReadResult::Status::NewerVersion) return Outcome::Newer;
    return result.Ok() ? Outcome::Loaded : Outcome::CannotRead;
}

void ArrangementFiles::TellLoadFailure(Outcome outcome, std::u16string_view path) {
    if (outcome == Outcome::Newer) {
        m_messages.ShowBox(Quoted(u"The file ", path,
                                  u" can not be loaded because it's a more recent version than "
                                  u"the current one!"),
                           u"File load failure", BoxButtons::Ok, BoxIcon::Error);
    } else {
        m_messages.ShowNotice(u"The form can not be loaded", 5000, true);
    }
}

bool ArrangementFiles::LoadArrangement(std::u16string_view path) {
    const Outcome outcome = Read(path, m_current);
    if (outcome == Outcome::Loaded) {
        m_loadedPath = path;
        m_fromInstallation = false;
        m_anyLoaded = true;
        return true;
    }
    TellLoadFailure(outcome, path);
    if (outcome == Outcome::CannotRead) m_currentName.clear();
    return false;
}

bool ArrangementFiles::Write(const std::u16string& path, const std::u16string& shownName) {
    // The file the arrangement was read from is written only while it still holds what was
    // read: another save since (or a copy put there by hand) is not lost.
    if (EqualsIgnoreCase(path, m_asRead.path) && !StillAsRead(m_files, m_asRead)) {
        TellFileChanged(m_messages, path);
        m_messages.ShowNotice(
            Quoted(u"The windows arrangement ", shownName, u" has not been saved"), 4000, true);
        return false;
    }
    std::string bytes = ArrangementWriter::Encode(m_current);
    const bool written =
        ArrangementWriter::FitsReadLimit(m_current) && m_files.WriteFile(path, bytes);
    if (written) {
        m_asRead = FileAsRead{path, std::move(bytes), true};
        m_messages.ShowNotice(Quoted(u"Windows arrangement ", shownName, u" saved"), 3000, false);
        m_loadedPath = path;
        m_fromInstallation = EqualsIgnoreCase(path, DefaultPath());
    } else {
        m_messages.ShowNotice(
            Quoted(u"The windows arrangement ", shownName, u" has not been saved"), 4000, true);
    }
    return written;
}

bool ArrangementFiles::SaveArrangement(std::u16string_view name, std::u16string_view patientForm) {
    if (name == u"-1") {
        std::optional<std::u16string> path =
            m_dialogs.AskSaveFile({u"Save windows positions", u"Windows positions(*.wnd)|*.wnd|",
                                   u"wnd", std::u16string(kMyDocuments)});
        if (!path) {
            m_messages.ShowNotice(u"Cancel", 2000, true);
            return false;
        }
        const std::u16string shown(FileNameOf(*path));
        if (!Write(*path, shown)) return false;
        m_currentName = shown;
        return true;
    }
    if (name.empty()) {
        if (patientForm.empty()) {
            if (!Write(DefaultPath(), std::u16string(format::kDefaultShownName))) return false;
            m_currentName.clear();
            return true;
        }
        const std::u16string fileName = ArrangementFileName(patientForm);
        if (!IsBareFileName(fileName)) {
            m_messages.ShowNotice(
                Quoted(u"The windows arrangement ", patientForm, u" has not been saved"), 4000,
                true);
            return false;
        }
        if (!Write(MyDocumentsPath(fileName), fileName)) return false;
        m_currentName = fileName;
        return true;
    }
    if (!IsBareFileName(name)) {
        m_messages.ShowNotice(Quoted(u"The windows arrangement ", name, u" has not been saved"),
                              4000, true);
        return false;
    }
    return Write(MyDocumentsPath(name), std::u16string(name));
}

bool ArrangementFiles::OpenArrangement(bool initial) {
    if (initial) {
        if (!LoadArrangement(InitialPath())) return false;
        m_currentName.clear();
        return true;
    }
    std::optional<std::u16string> path =
        m_dialogs.AskOpenFile({u"Open windows positions", u"Windows positions (*.wnd)|*.wnd|",
                               u"wnd", std::u16string(kMyDocuments)});
    if (!path) {
        m_messages.ShowNotice(u"Cancel", 2000, true);
        return false;
    }
    if (!LoadArrangement(*path)) return false;
    m_currentName = FileNameOf(*path);
    return true;
}

bool ArrangementFiles::Take(Arrangement arrangement, std::u16string path, bool installation) {
    const bool changed = !m_anyLoaded || !(arrangement == m_current);
    m_current = std::move(arrangement);
    m_loadedPath = std::move(path);
    m_fromInstallation = installation;
    m_anyLoaded = true;
    return changed;
}

bool ArrangementFiles::UsePatientArrangement(std::u16string_view patientForm) {
    if (!patientForm.empty()) {
        const std::u16string fileName = ArrangementFileName(patientForm);
        if (!IsBareFileName(fileName)) {
            TellLoadFailure(Outcome::CannotRead, patientForm);
        } else {
            const std::u16string path = MyDocumentsPath(fileName);
            if (m_anyLoaded && EqualsIgnoreCase(path, m_loadedPath)) return false;
            Arrangement read = m_current;
            const Outcome outcome = Read(path, read);
            if (outcome == Outcome::Loaded) {
                m_currentName = fileName;
                return Take(std::move(read), path, false);
            }
            TellLoadFailure(outcome, path);
        }
    }
    // The installation's arrangement.
    if (m_anyLoaded && m_fromInstallation) return false;
    m_currentName.clear();
    for (const std::u16string& path : {DefaultPath(), InitialPath()}) {
        if (!m_files.FileExists(path)) continue;
        Arrangement read = m_current;
        const Outcome outcome = Read(path, read);
        if (outcome == Outcome::Loaded) return Take(std::move(read), path, true);
        TellLoadFailure(outcome, path);
    }
    return Take(FactoryArrangement(), {}, true);
}

}  // namespace pondrel
