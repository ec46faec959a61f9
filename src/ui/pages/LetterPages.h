#pragma once

// The letter pages of the main form: page 26 (the out letter), page 35 ("S: Manager", documents
// from templates the user picks) and the admission letter's "Preview" and "Save" in the bar of
// the entry summary (page 25), plugged into the main-form controller. TemplateDocuments
// (src/documents) holds their logic; this class gives it the open patient and the widgets, and
// opens the file chooser and the print preview.
//
// A preview is rebuilt when the page is shown and the patient, or anything of the patient a
// letter shows, changed since it was built (or the date changed); showing the page again
// without any change shows the preview as it is.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "documents/TemplateDocuments.h"
#include "mainform/FormPage.h"
#include "ui/pages/PagePlugin.h"
#include "records/PatientRecord.h"

namespace pondrel {

class PageHost;
class COutLetterPage;
class ProblemPage;
class SummaryPageSet;
class CSummaryManagerPage;
struct Labels;
struct Platform;
struct WorkingFolders;

class LetterPages final : public PagePlugin, private DocumentViews {
public:
    static constexpr int kOutLetterPage = 26;
    static constexpr int kManagerPage = 35;

    // The file chooser of "Template": a device path, none when cancelled.
    using TemplateChooser = std::function<std::optional<std::u16string>()>;
    // Shows the admission letter in the print preview dialogue (modal).
    using PreviewOpener = std::function<void(const std::string& rtf)>;

    // Builds both pages into `view` and registers them with its controller; the summary pages
    // must be built already. `view`, `platform` and `folders` must outlive the pages.
    LetterPages(PageHost& view, Platform& platform, const WorkingFolders& folders,
                ProblemPage& problems, SummaryPageSet& summaries);
    ~LetterPages() override;
    LetterPages(const LetterPages&) = delete;
    LetterPages& operator=(const LetterPages&) = delete;

    // After the labels were read: the out-letter heading (label 166).
    void SetLabels(const Labels& labels) override;
    void SetTemplateChooser(TemplateChooser chooser) { m_chooser = std::move(chooser); }
    void SetPreviewOpener(PreviewOpener opener) { m_openPreview = std::move(opener); }

    COutLetterPage* OutLetter() const { return m_outLetter; }
    CSummaryManagerPage* Manager() const { return m_manager; }
    TemplateDocuments& Documents() { return *m_documents; }

private:
    class Page;

    // DocumentViews.
    void ShowOutLetter(const std::string& rtf, int zoomPercent) override;
    void ZoomOutLetter(int zoomPercent) override;
    void ShowTemplateDocument(const std::string& rtf, int zoomPercent) override;
    void ZoomTemplateDocument(int zoomPercent) override;
    void SetManagerCaption(const std::u16string& caption) override;
    void ShowPrintPreview(const std::string& rtf) override;
    void SetBusy(bool busy) override;

    // The open patient's data for a run, after every page committed.
    std::optional<TemplateData> Data();
    // Marks the previews out of date when what they show changed since the last look.
    void NoteRecord(const PatientRecord* record);
    std::optional<std::u16string> ChooseTemplateFile();
    void ToggleRecent();

    PageHost& m_view;
    ProblemPage& m_problems;
    Platform& m_platform;
    COutLetterPage* m_outLetter = nullptr;     // owned by the form
    CSummaryManagerPage* m_manager = nullptr;  // owned by the form
    std::unique_ptr<TemplateDocuments> m_documents;
    std::unique_ptr<Page> m_outLetterPage;
    std::unique_ptr<Page> m_managerPage;
    TemplateChooser m_chooser;
    PreviewOpener m_openPreview;
    PatientRecord m_closedCopy;  // a record the problem page has not opened, as opening makes it
    size_t m_fingerprint = 0;
};

}  // namespace pondrel
