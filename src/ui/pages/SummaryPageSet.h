#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QPointer>

#include "documents/SummaryInputs.h"
#include "journal/JournalWords.h"
#include "mainform/SummaryPages.h"
#include "ui/pages/PagePlugin.h"

namespace pondrel {

class PageHost;
class WardControls;
class CSummaryPage;
class Clock;
class ProblemPage;
class RecordSummarySources;
class SummaryDocumentCommands;

// The seven summary pages of the main form (day 21, problem 22, evolution 38, exams 24, entry
// 25, tasks 23, all patients 34): their widgets in their bands, plugged into the controller as
// FormPages, and what the summaries read from the rest of the form. A page is built when it is
// shown and out of date (SummaryPages decides), with the form's painting suspended meanwhile,
// and again after a command of its bar moved the day or the problem.
class SummaryPageSet final : public PagePlugin, private SummaryForm {
public:
    // Installs the pages in `view`. `view`, `clock` and `problems` must outlive the set.
    SummaryPageSet(PageHost& view, Clock& clock, ProblemPage& problems);
    ~SummaryPageSet() override;
    SummaryPageSet(const SummaryPageSet&) = delete;
    SummaryPageSet& operator=(const SummaryPageSet&) = delete;

    CSummaryPage* Page(SummaryKind kind) const;
    // Shows the summary of the page again if it is out of date (the page must be the one shown).
    void Show(SummaryKind kind);
    SummaryPages& Pages() { return m_pages; }
    // How a document is previewed (the print preview dialogue; tests keep the RTF instead).
    void SetPreviewOpener(std::function<void(const std::string& rtf)> open) {
        m_openPreview = std::move(open);
    }
    // The room order of the all-patients and tasks summaries: the room list of `ward` (null:
    // the set's order). `ward` must outlive the set or be detached with null.
    void SetRooms(const WardControls* ward) { m_ward = ward; }

private:
    class Slot;

    void Command(SummaryKind kind, int command);
    void ChooseRow(SummaryKind kind, int row);
    void UpdateBar(SummaryKind kind);

    // The document buttons (SummaryDocumentButtons.cpp).
    enum class DocumentCommand { DayPreview, SaveOne, SaveAll, ProblemPreview, Save, Big, Small };
    void AddDocumentButtons();
    void RunDocumentCommand(DocumentCommand command);
    // "L" of the problem summary page: the sentence list, and a tap on one of its rows.
    void ToggleSentenceList();
    void ShowSentenceList();
    void ChooseSentence(int row);

    // PagePlugin: "Big Summary" of the preferences opens the big summary format.
    void AddPreferencesDialogues(CPreferencesDlg::PluggedDialogues& dialogues) override;

    // SummaryForm.
    const SummaryContext& Context() override;
    uint64_t SettingsStamp() override;
    std::optional<SummaryEditor> Editor(PatientRecord& record) override;
    void EditorMoved(const EditorRefresh& refresh) override;
    std::vector<const PatientRecord*> PatientList() override;
    FormArrangement Arrangement() override;
    DayNumber Today() override;

    PageHost& m_view;
    Clock& m_clock;
    ProblemPage& m_problems;
    const WardControls* m_ward = nullptr;
    SummaryPages m_pages{*this};
    std::array<std::unique_ptr<Slot>, kSummaryKinds> m_slots;
    // The context of the build running, made from the labels and preferences of the moment.
    JournalWords m_words;
    std::unique_ptr<RecordSummarySources> m_sources;
    std::unique_ptr<SummaryContext> m_context;
    uint64_t m_contextStamp = 0;
    std::unique_ptr<SummaryDocumentCommands> m_documents;
    std::function<void(const std::string& rtf)> m_openPreview;
    bool m_sentencesShown = false;  // the problem page's list shows the sentences
    std::vector<std::u16string> m_sentenceRows;
    // The list's content, kept while the program runs: the admission record, else the evolution.
    bool m_sentencesFromAdmission = false;
};

}  // namespace pondrel
