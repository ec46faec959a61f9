#include "documents/TemplateDocuments.h"

#include "documents/DocumentFiles.h"
#include "documents/RtfFormat.h"
#include "documents/TemplateFiller.h"
#include "platform/DeviceFileSystem.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"
#include "settings/Preferences.h"

namespace pondrel {
namespace {

constexpr int kNotFoundMs = 8000;
constexpr int kRefusedMs = 5000;
constexpr int kComplexityMs = 4000;
constexpr int kRemarkMs = 6000;
constexpr int kListMs = 2000;
constexpr size_t kMaxRememberedPath = 1000;
constexpr std::u16string_view kLoadFailure = u"Template file load failure";
constexpr std::u16string_view kComplexity =
    u"The template is too complex to be recognized by your PDA. The result will be normal on "
    u"your desktop-PC";
constexpr std::u16string_view kPreviewWarning =
    u"This print preview is usually not the real result because the PocketPC doesn't recognize "
    u"the complex text fomat of your desktop PC. The saved document will be exact.";
constexpr std::u16string_view kNameMissing =
    u" file not created.\r\nYou must enter the name and birth date of the patient";
constexpr std::u16string_view kFolderMissing =
    u" file not created.\r\nBe sure that the folder: Mydocuments/PD_PrintDoc exist";
constexpr std::u16string_view kClearAll = u"-- Clear all --";

class BusyCursor {
public:
    explicit BusyCursor(DocumentViews& views) : m_views(views) { m_views.SetBusy(true); }
    ~BusyCursor() { m_views.SetBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    DocumentViews& m_views;
};

std::u16string Remark(const TemplateFill& fill, const std::u16string& name) {
    if (fill.codes == 0 && !fill.unfinishedCode) {
        return u"The template <" + name +
               u"> holds no code: the document is the template as it "
               u"stands.";
    }
    if (fill.unfinishedCode) {
        return u"The template <" + name +
               u"> holds a code without its closing \"#\": it was left in the document as it "
               u"stands.";
    }
    return {};
}

}  // namespace

TemplateDocuments::TemplateDocuments(DeviceFileSystem& files, UserMessages& messages,
                                     std::u16string installationFolder, Preferences& preferences,
                                     DocumentViews& views, DataSource data)
    : m_files(files),
      m_messages(messages),
      m_installation(std::move(installationFolder)),
      m_preferences(preferences),
      m_views(views),
      m_data(std::move(data)) {}

void TemplateDocuments::PatientChanged() {
    m_outLetterCurrent = false;
    m_templateCurrent = false;
}

void TemplateDocuments::OutLetterPageShown() {
    Run(LetterKind::OutLetter, false);
}
void TemplateDocuments::SaveOutLetter() {
    Run(LetterKind::OutLetter, true);
}

void TemplateDocuments::ToggleOutLetterZoom() {
    m_outLetterZoom = m_outLetterZoom == kLargeZoom ? kSmallZoom : kLargeZoom;
    m_views.ZoomOutLetter(m_outLetterZoom);
}

void TemplateDocuments::PreviewAdmission() {
    Run(LetterKind::Admission, false);
}
void TemplateDocuments::SaveAdmission() {
    Run(LetterKind::Admission, true);
}

void TemplateDocuments::ManagerPageShown() {
    Run(LetterKind::TemplateDocument, false);
}

void TemplateDocuments::ChooseTemplate(std::optional<std::u16string> path) {
    if (path) m_preferences.lastTemplatePath = std::move(*path);
    m_templateCurrent = false;
    Run(LetterKind::TemplateDocument, false);
}

void TemplateDocuments::SaveTemplateDocument() {
    Run(LetterKind::TemplateDocument, true);
}

int TemplateDocuments::TemplateZoom() const {
    return m_preferences.lastTemplateOption == 1 ? kLargeZoom : kSmallZoom;
}

const std::u16string& TemplateDocuments::LastTemplatePath() const {
    return m_preferences.lastTemplatePath;
}

void TemplateDocuments::ToggleTemplateZoom() {
    const int flag = m_preferences.lastTemplateOption == 1 ? 0 : 1;
    m_preferences.lastTemplateOption = flag;
    m_views.ZoomTemplateDocument(TemplateZoom());
    std::vector<RecentEntry> entries = RecentList();
    for (RecentEntry& entry : entries) {
        if (entry.path == m_preferences.lastTemplatePath) entry.zoom = flag;
    }
    SetRecentList(entries);
}

std::vector<std::u16string> TemplateDocuments::RecentRows() const {
    std::vector<std::u16string> rows{std::u16string(kClearAll)};
    for (const RecentEntry& entry : RecentList()) rows.push_back(TemplateBaseName(entry.path));
    return rows;
}

void TemplateDocuments::ChooseRecentRow(int row) {
    if (row == 0) {
        const BoxAnswer answer = m_messages.ShowBox(u"Do you really want to clear all the list ?",
                                                    u"Clear all ?", BoxButtons::OkCancel);
        if (answer == BoxAnswer::Ok) {
            m_preferences.recentTemplates.clear();
            m_messages.ShowNotice(u"Clear all", kListMs);
        } else {
            m_messages.ShowNotice(u"Cancel", kListMs, true);
        }
        return;
    }
    const std::vector<RecentEntry> entries = RecentList();
    if (row < 0 || static_cast<size_t>(row) > entries.size()) return;
    const RecentEntry& entry = entries[static_cast<size_t>(row) - 1];
    m_preferences.lastTemplatePath = entry.path;
    m_preferences.lastTemplateOption = entry.zoom;
    m_templateCurrent = false;
    Run(LetterKind::TemplateDocument, false);
}

std::u16string TemplateDocuments::TemplatePath(LetterKind kind) const {
    switch (kind) {
        case LetterKind::OutLetter:
            return JoinPath(m_installation, kOutLetterTemplate);
        case LetterKind::Admission:
            return JoinPath(m_installation, kAdmissionTemplate);
        case LetterKind::TemplateDocument:
            return m_preferences.lastTemplatePath;
    }
    return {};
}

std::u16string TemplateDocuments::TemplateName(LetterKind kind) const {
    switch (kind) {
        case LetterKind::OutLetter:
            return std::u16string(kOutLetterTemplate);
        case LetterKind::Admission:
            return std::u16string(kAdmissionTemplate);
        case LetterKind::TemplateDocument:
            return TemplateBaseName(m_preferences.lastTemplatePath);
    }
    return {};
}

void TemplateDocuments::Run(LetterKind kind, bool save) {
    if (!save && kind == LetterKind::OutLetter && m_outLetterCurrent) return;
    if (!save && kind == LetterKind::TemplateDocument && m_templateCurrent) return;
    if (kind == LetterKind::TemplateDocument) {
        if (m_preferences.lastTemplatePath.empty()) return;
        m_views.SetManagerCaption(TemplateName(kind));
    }
    std::optional<TemplateData> data = m_data ? m_data() : std::nullopt;
    if (!data) return;
    BusyCursor busy(m_views);
    RunWithData(kind, save, *data);
}

void TemplateDocuments::RunWithData(LetterKind kind, bool save, const TemplateData& data) {
    const std::u16string path = TemplatePath(kind);
    const std::u16string name = TemplateName(kind);
    const size_t limit = kind == LetterKind::OutLetter   ? kOutLetterTemplateLimit
                         : kind == LetterKind::Admission ? kAdmissionTemplateLimit
                                                         : kTemplateDocumentLimit;
    const TemplateFill fill = FillTemplate(m_files, path, limit, data);

    if (fill.failure == TemplateFailure::NotFound) {
        std::u16string text;
        switch (kind) {
            case LetterKind::OutLetter:
                text =
                    u"The model of the out letter can not be found. Be sure that the file: <"
                    u"Out Letter Template.rtf> exists into the folder <" +
                    m_installation + u">";
                break;
            case LetterKind::Admission:
                text =
                    u"The template of the Admission can not be found. Be sure that the file: <"
                    u"Admission template.rtf> exists into the folder <" +
                    m_installation + u">";
                break;
            case LetterKind::TemplateDocument:
                text = u"The template can not be found.\r\n\r\nBe sure that the file: <" + name +
                       u">\r\nexists into the folder\r\n<" + path + u">";
                ForgetTemplate(path);
                break;
        }
        m_messages.ShowNotice(text, kNotFoundMs, true);
        return;
    }
    if (kind == LetterKind::TemplateDocument) RememberTemplate(path);

    const std::u16string nameInMessage =
        kind == LetterKind::TemplateDocument ? name : TemplateName(kind);
    switch (fill.failure) {
        case TemplateFailure::None:
        case TemplateFailure::NotFound:
            break;
        case TemplateFailure::TooBig:
            m_messages.ShowBox(u"The file <" + nameInMessage +
                                   u"> is too big and can not be opened. Use only text for this "
                                   u"template to save memory. This file must not be " +
                                   (kind == LetterKind::OutLetter ? u"bigger" : u"greater") +
                                   u" than 1Mo",
                               std::u16string(kLoadFailure));
            return;
        case TemplateFailure::Damaged:
            m_messages.ShowBox(u"The file <" + nameInMessage +
                                   u"> is not a complete RTF document: a group opened with \"{\" "
                                   u"is not closed, or a \"}\" closes nothing. Open it in your "
                                   u"word processor and save it again as RTF.",
                               std::u16string(kLoadFailure));
            return;
        case TemplateFailure::ResultTooBig:
            m_messages.ShowBox(u"The file  <<" + nameInMessage +
                                   u">>  is too big.\r\nThe filled document would be over 1 Mo: "
                                   u"use fewer codes that copy the whole journal (558, 562) in "
                                   u"this template, or ask the makers of Pondrel to increase the "
                                   u"memory for documents.",
                               u"Memory limit");
            return;
    }
    const std::u16string remark = Remark(fill, nameInMessage);
    if (save) {
        Save(kind, fill.bytes, data, remark);
    } else {
        ShowPreview(kind, fill.bytes, remark);
    }
}

bool TemplateDocuments::WarnAboutPreview() {
    if (m_preferences.startCount >= kWarningStarts || m_previewWarnings <= 0) return false;
    --m_previewWarnings;
    return true;
}

void TemplateDocuments::ShowPreview(LetterKind kind, const std::string& bytes,
                                    const std::u16string& remark) {
    switch (kind) {
        case LetterKind::OutLetter:
            m_outLetterZoom = kOutLetterPreviewZoom;
            m_views.ShowOutLetter(bytes, m_outLetterZoom);
            m_outLetterCurrent = true;
            break;
        case LetterKind::TemplateDocument:
            m_views.ShowTemplateDocument(bytes, TemplateZoom());
            m_templateCurrent = true;
            break;
        case LetterKind::Admission:
            if (!remark.empty()) m_messages.ShowNotice(remark, kRemarkMs, true);
            if (WarnAboutPreview()) m_messages.ShowBox(std::u16string(kPreviewWarning), u"");
            m_views.ShowPrintPreview(bytes);
            return;
    }
    if (!remark.empty()) {
        m_messages.ShowNotice(remark, kRemarkMs, true);
    } else if (WarnAboutPreview()) {
        m_messages.ShowNotice(std::u16string(kComplexity), kComplexityMs);
    }
}

void TemplateDocuments::Save(LetterKind kind, const std::string& bytes, const TemplateData& data,
                             const std::u16string& remark) {
    const std::u16string base = TemplateName(LetterKind::TemplateDocument);
    const std::u16string subject = kind == LetterKind::OutLetter   ? std::u16string(u"Out letter")
                                   : kind == LetterKind::Admission ? std::u16string(u"Admission")
                                                                   : base;
    const PatientRecord& record = data.record;
    if (record.Field(2).empty() || record.Field(3).empty()) {
        std::u16string text = subject + std::u16string(kNameMissing);
        if (kind == LetterKind::OutLetter) {
            text =
                u"Out letter file not created.\r\nYou must enter the name and birthdate of "
                u"the patient";
        }
        m_messages.ShowNotice(text, kRefusedMs, true);
        return;
    }
    const std::u16string prefix = kind == LetterKind::OutLetter   ? std::u16string(u"Out letter")
                                  : kind == LetterKind::Admission ? std::u16string(u"Admission")
                                                                  : SafeNamePart(base);
    std::optional<std::u16string> written =
        SaveDocument(m_files, DocumentFileName(prefix, record), bytes, record);
    if (!written) {
        m_messages.ShowNotice(subject + std::u16string(kFolderMissing), kRefusedMs, true);
        return;
    }
    std::u16string text;
    int milliseconds = 6000;
    switch (kind) {
        case LetterKind::OutLetter:
            text = u"Out letter file created.\r\n\r\nFolder: " + PrintFolderShown(m_files) +
                   u"\r\n\r\nFile: " + *written;
            break;
        case LetterKind::Admission:
            text = u"Admission file created.\r\n\r\nFolder: " + PrintFolderShown(m_files) +
                   u"\r\n\r\nFile: " + *written;
            break;
        case LetterKind::TemplateDocument:
            text = base + u" document created.\r\n\r\nFile:  " + PrintFileShown(m_files, *written);
            milliseconds = 4000;
            break;
    }
    if (!remark.empty()) text += u"\r\n\r\n" + remark;
    m_messages.ShowNotice(text, milliseconds);
}

std::vector<TemplateDocuments::RecentEntry> TemplateDocuments::RecentList() const {
    std::vector<RecentEntry> entries;
    for (const std::u16string& item : Split(m_preferences.recentTemplates, u'|')) {
        if (item.empty()) continue;
        RecentEntry entry;
        if (item.back() >= u'0' && item.back() <= u'9') {
            entry.path = item.substr(0, item.size() - 1);
            entry.zoom = item.back() == u'1' ? 1 : 0;
        } else {
            entry.path = item;
        }
        if (!entry.path.empty()) entries.push_back(std::move(entry));
    }
    return entries;
}

void TemplateDocuments::SetRecentList(const std::vector<RecentEntry>& entries) {
    std::u16string text;
    for (const RecentEntry& entry : entries) {
        text += entry.path + ToText(entry.zoom) + u"|";
    }
    m_preferences.recentTemplates = std::move(text);
}

void TemplateDocuments::RememberTemplate(const std::u16string& path) {
    // A document saved by the program ("[Admission] ...") picked as a template is used but not
    // remembered; a path the list cannot hold ("|", the file's item end "¢") neither.
    if (TemplateBaseName(path).starts_with(u"[") || path.size() > kMaxRememberedPath ||
        path.find_first_of(u"|\u00A2") != std::u16string::npos) {
        return;
    }
    std::vector<RecentEntry> entries = RecentList();
    for (const RecentEntry& entry : entries) {
        if (entry.path == path) return;
    }
    entries.push_back({path, m_preferences.lastTemplateOption == 1 ? 1 : 0});
    if (entries.size() > kMaxRecentTemplates) {
        entries.erase(entries.begin(),
                      entries.begin() + static_cast<long>(entries.size() - kMaxRecentTemplates));
    }
    SetRecentList(entries);
}

void TemplateDocuments::ForgetTemplate(const std::u16string& path) {
    std::vector<RecentEntry> entries = RecentList();
    std::erase_if(entries, [&](const RecentEntry& entry) { return entry.path == path; });
    SetRecentList(entries);
}

}  // namespace pondrel
