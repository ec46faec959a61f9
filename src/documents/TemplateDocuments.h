#pragma once

// The three documents built from templates: the admission letter, the out letter (page 26) and
// the template document of the summary manager (page 35). Each is previewed in the program and,
// on Save, written into "\My Documents\PD_PrintDoc\". This is the pages' logic without widgets:
// which template is read, when a preview is rebuilt, the names of the saved files, the recent
// templates and every message. The pages show what it hands to DocumentViews.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "documents/TemplateData.h"

namespace pondrel {

class DeviceFileSystem;
class UserMessages;
struct Preferences;

// The rich-text displays of the pages and the print preview dialogue.
class DocumentViews {
public:
    virtual ~DocumentViews() = default;
    // Out-letter page: shows the RTF at `zoomPercent`.
    virtual void ShowOutLetter(const std::string& rtf, int zoomPercent) = 0;
    virtual void ZoomOutLetter(int zoomPercent) = 0;  // and scrolls to the top
    // Summary manager page: shows the RTF at `zoomPercent`, scrolled to the top.
    virtual void ShowTemplateDocument(const std::string& rtf, int zoomPercent) = 0;
    virtual void ZoomTemplateDocument(int zoomPercent) = 0;  // and scrolls to the top
    virtual void SetManagerCaption(const std::u16string& caption) = 0;
    // The print preview dialogue with the admission letter (modal).
    virtual void ShowPrintPreview(const std::string& rtf) = 0;
    // The wait cursor, from the start of a run to its end.
    virtual void SetBusy(bool busy) = 0;

protected:
    DocumentViews() = default;
    DocumentViews(const DocumentViews&) = default;
    DocumentViews& operator=(const DocumentViews&) = default;
};

enum class LetterKind { OutLetter, Admission, TemplateDocument };

inline constexpr std::u16string_view kOutLetterTemplate = u"Out Letter Template.rtf";
inline constexpr std::u16string_view kAdmissionTemplate = u"Admission template.rtf";
// The recent-template list keeps at most this many templates (the oldest go first).
inline constexpr size_t kMaxRecentTemplates = 20;
// The program starts during which the complexity warnings may be shown, and how many times.
inline constexpr int kWarningStarts = 10;
inline constexpr int kPreviewWarnings = 2;
inline constexpr int kOutLetterPreviewZoom = 50;
inline constexpr int kSmallZoom = 35;
inline constexpr int kLargeZoom = 75;

class TemplateDocuments {
public:
    // The data of the open patient, read at every run after the form committed its pages; none
    // when no patient is open.
    using DataSource = std::function<std::optional<TemplateData>()>;

    // Everything must outlive the object. `installationFolder` is a device path without a
    // trailing "\". `preferences` holds the recent templates, the last template with its zoom
    // flag and the number of program starts; it is written by its owner.
    TemplateDocuments(DeviceFileSystem& files, UserMessages& messages,
                      std::u16string installationFolder, Preferences& preferences,
                      DocumentViews& views, DataSource data);
    TemplateDocuments(const TemplateDocuments&) = delete;
    TemplateDocuments& operator=(const TemplateDocuments&) = delete;

    // Another patient is shown, or the open one was read again: both previews are out of date.
    void PatientChanged();

    // Page 26.
    void OutLetterPageShown();
    void SaveOutLetter();
    void ToggleOutLetterZoom();
    int OutLetterZoom() const { return m_outLetterZoom; }

    // The admission letter's "Preview" and "Save".
    void PreviewAdmission();
    void SaveAdmission();

    // Page 35.
    void ManagerPageShown();
    // The file chooser closed: the chosen template (none when cancelled) becomes the last
    // template, and the document is built from the last template.
    void ChooseTemplate(std::optional<std::u16string> path);
    // The rows of the recent list: "-- Clear all --", then the base name of every template.
    std::vector<std::u16string> RecentRows() const;
    void ChooseRecentRow(int row);
    void SaveTemplateDocument();
    void ToggleTemplateZoom();
    int TemplateZoom() const;
    const std::u16string& LastTemplatePath() const;

    bool OutLetterCurrent() const { return m_outLetterCurrent; }
    bool TemplateDocumentCurrent() const { return m_templateCurrent; }

private:
    struct RecentEntry {
        std::u16string path;
        int zoom = 0;
    };
    void Run(LetterKind kind, bool save);
    void RunWithData(LetterKind kind, bool save, const TemplateData& data);
    std::u16string TemplatePath(LetterKind kind) const;
    std::u16string TemplateName(LetterKind kind) const;
    void ShowPreview(LetterKind kind, const std::string& bytes, const std::u16string& remark);
    void Save(LetterKind kind, const std::string& bytes, const TemplateData& data,
              const std::u16string& remark);
    bool WarnAboutPreview();

    std::vector<RecentEntry> RecentList() const;
    void SetRecentList(const std::vector<RecentEntry>& entries);
    void RememberTemplate(const std::u16string& path);
    void ForgetTemplate(const std::u16string& path);

    DeviceFileSystem& m_files;
    UserMessages& m_messages;
    std::u16string m_installation;
    Preferences& m_preferences;
    DocumentViews& m_views;
    DataSource m_data;

    bool m_outLetterCurrent = false;
    bool m_templateCurrent = false;
    int m_previewWarnings = kPreviewWarnings;
    int m_outLetterZoom = kOutLetterPreviewZoom;
};

}  // namespace pondrel
