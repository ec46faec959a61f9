// The document buttons of the summary pages: the "RTF" button of the day summary page ("Preview",
// "Save one", "Save all"), of the problem summary page ("Preview", "Save") and of the
// all-patients page ("Big summary", "Small summary"). Each opens a menu of its commands, which
// keeps the bars' navigation buttons and captions readable on the narrow form.

#include <QAbstractButton>
#include <QAction>
#include <QMenu>

#include "documents/OpenPatientView.h"
#include "documents/SentenceList.h"
#include "documents/SummaryBlocks.h"
#include "documents/SummaryDocumentCommands.h"
#include "documents/ui/CBigSummaryFormatDlg.h"
#include "documents/ui/CPrintPreviewDlg.h"
#include "documents/ui/CSummaryPage.h"
#include "journal/DayNavigator.h"
#include "journal/ProblemPanelModel.h"
#include "labels/Labels.h"
#include "mainform/MainFormController.h"
#include "mainform/PatientList.h"
#include "platform/Platform.h"
#include "records/CCorvaneDoc.h"
#include "records/RoomList.h"
#include "records/RoomsFile.h"
#include "records/WorkingFolders.h"
#include "settings/Preferences.h"
#include "settings/SettingsValues.h"
#include "ui/pages/PageHost.h"
#include "ui/pages/ProblemPage.h"
#include "ui/pages/SummaryPageSet.h"

namespace pondrel {

void SummaryPageSet::AddDocumentButtons() {
    Platform& platform = m_view.GetPlatform();
    m_documents = std::make_unique<SummaryDocumentCommands>(platform.files, platform.messages,
                                                            m_view.Folders().installation);
    m_openPreview = [this](const std::string& rtf) {
        CPrintPreviewDlg dialog(rtf, &m_view.Widget());
        dialog.exec();
    };
    using D = DocumentCommand;
    struct Entry {
        const char* name;
        const char* text;
        D command;
    };
    const auto add = [this](SummaryKind kind, const char* name, std::initializer_list<Entry> entries) {
        CSummaryPage* page = Page(kind);
        if (!page) return;
        QAbstractButton* button =
            page->AddBarButton(QString::fromLatin1(name), QStringLiteral("RTF"), 28);
        auto* menu = new QMenu(button);
        menu->setObjectName(QString::fromLatin1(name) + QStringLiteral("Menu"));
        for (const Entry& entry : entries) {
            QAction* action = menu->addAction(QString::fromLatin1(entry.text));
            action->setObjectName(QString::fromLatin1(entry.name));
            const D command = entry.command;
            QObject::connect(action, &QAction::triggered, button,
                             [this, command] { RunDocumentCommand(command); });
        }
        QObject::connect(button, &QAbstractButton::clicked, button, [button, menu] {
            menu->popup(button->mapToGlobal(QPoint(0, button->height())));
        });
    };
    add(SummaryKind::Day, "daySummaryDocuments",
        {{"daySummaryPreview", "Preview", D::DayPreview},
         {"daySummarySaveOne", "Save one", D::SaveOne},
         {"daySummarySaveAll", "Save all", D::SaveAll}});
    add(SummaryKind::Problem, "problemSummaryDocuments",
        {{"problemSummaryPreview", "Preview", D::ProblemPreview},
         {"problemSummarySave", "Save", D::Save}});
    if (CSummaryPage* page = Page(SummaryKind::Problem)) {
        QAbstractButton* sentences =
            page->AddBarButton(QStringLiteral("problemSummarySentences"), QStringLiteral("L"), 16);
        QObject::connect(sentences, &QAbstractButton::clicked, sentences,
                         [this] { ToggleSentenceList(); });
    }
    add(SummaryKind::AllPatients, "allPatientsDocuments",
        {{"bigSummary", "Big summary", D::Big}, {"smallSummary", "Small summary", D::Small}});
}

void SummaryPageSet::AddPreferencesDialogues(CPreferencesDlg::PluggedDialogues& dialogues) {
    dialogues.emplace_back(QStringLiteral("bigSummaryButton"),
                           [](PreferencesEdit& edit, QWidget* parent) {
                               CBigSummaryFormatDlg dialog(edit.bigSummary, parent);
                               dialog.exec();
                           });
}

void SummaryPageSet::ToggleSentenceList() {
    CSummaryPage* page = Page(SummaryKind::Problem);
    if (!page) return;
    if (page->ListShown()) {
        const bool wasSentences = m_sentencesShown;
        page->HideList();
        m_sentencesShown = false;
        if (wasSentences) return;
    }
    ShowSentenceList();
}

void SummaryPageSet::ShowSentenceList() {
    CSummaryPage* page = Page(SummaryKind::Problem);
    PatientRecord* record = m_view.Controller().ShownRecord();
    if (!page || !record) return;
    std::optional<SummaryEditor> editor = Editor(*record);
    if (!editor) return;
    std::u16string text;
    if (m_sentencesFromAdmission) {
        text = AdmissionText(*record, Arrangement(), m_view.GetLabels());
    } else {
        std::vector<DayListRow> days;
        const std::vector<DayNumber>& shown = editor->days.ShownDays();
        const std::vector<std::u16string>& rows = editor->days.DayRows();
        for (size_t i = 0; i < shown.size() && i < rows.size(); ++i) {
            days.push_back({shown[i], rows[i]});
        }
        text = EvolutionText(*record, editor->panel.CurrentProblem(), days,
                             Context().sources.RunningLists(*record), m_view.GetLabels());
    }
    m_sentenceRows = SentenceRows(text, m_sentencesFromAdmission);
    m_sentencesShown = true;
    page->ShowList(m_sentenceRows, -1);
}

void SummaryPageSet::ChooseSentence(int row) {
    m_sentencesShown = false;
    if (row == 0) {
        // The first row switches between the evolution and the admission record.
        m_sentencesFromAdmission = !m_sentencesFromAdmission;
        ShowSentenceList();
        return;
    }
    if (row <= 1 || row >= static_cast<int>(m_sentenceRows.size())) return;
    PatientRecord* record = m_view.Controller().ShownRecord();
    if (!record) return;
    // Nothing is written into a read-only record or one not begun: the controller says why.
    if (!m_view.Controller().MayChangeRecord()) return;
    std::optional<SummaryEditor> editor = Editor(*record);
    if (!editor) return;
    const std::u16string& redaction = editor->panel.Redaction();
    const std::optional<SentenceInsertion> insertion = InsertSentence(
        redaction, redaction.size(), redaction.size(), m_sentenceRows[static_cast<size_t>(row)]);
    if (!insertion) return;
    const ProblemPanelModel::EditResult result =
        editor->panel.EditRedaction(insertion->text, ProblemPanelModel::EditCommit::Now);
    EditorMoved(result.refresh);
    if (result.accepted) Show(SummaryKind::Problem);
}

void SummaryPageSet::RunDocumentCommand(DocumentCommand command) {
    using D = DocumentCommand;
    PatientRecord* record = m_view.Controller().ShownRecord();
    const Preferences& preferences = m_view.GetPreferences();
    const SummaryFileOptions options{preferences.general.ageOnSummaries == 1};
    const SummaryContext& context = Context();

    if (command == D::Big || command == D::Small) {
        // The rows are built from the records: the form and its open patient stay as they are.
        if (record && m_problems.OpenRecord() == record) m_problems.Commit();
        const Labels& labels = m_view.GetLabels();
        WardInputs inputs;
        inputs.day = m_pages.AllPatientsDay(record);
        inputs.paragraphs = preferences.bigSummary;
        inputs.ageLineCaption = labels.Label(summary_label::kAge);
        inputs.admissionCaption = Arrangement().admissionCaption;
        const PatientSet& set = m_view.Document().Patients();
        std::vector<RoomListRow> roomList;
        PatientListOrder order{preferences.sortColumn, preferences.sortDirection};
        if (command == D::Small) {
            RoomsFile rooms;
            ReadRoomsFile(m_view.GetPlatform().files,
                          m_view.Folders().InstallationFile(kDefaultRoomsFile.substr(1)), rooms);
            roomList = BuildRoomList(rooms.rooms, m_view.Locations());
            for (const RoomListRow& row : roomList) {
                if (row.isRoom) inputs.rooms.push_back(row.name);
            }
            order = PatientListOrder{};  // room order, empty beds included
        }
        const std::vector<PatientListRow> rows =
            BuildPatientList(set, roomList, order, labels, AgeWords::From(labels),
                             DateOrderOf(preferences.regional.dateOrder), m_clock.Now());
        for (const PatientListRow& row : rows) {
            if (row.IsEmptyBed()) {
                inputs.rows.push_back({nullptr, row.columns[PatientListRow::kRoom]});
                continue;
            }
            const PatientRecord* patient = set.At(row.record);
            if (patient && patient->inUse != 0) inputs.rows.push_back({patient, {}});
        }
        m_documents->WriteWardDocument(
            command == D::Big ? WardDocumentKind::Big : WardDocumentKind::Small, inputs, context);
        return;
    }

    if (command == D::SaveAll) {
        if (record && m_problems.OpenRecord() == record) m_problems.Commit();
        DayNumber day = Today();
        if (record) {
            if (std::optional<SummaryEditor> editor = Editor(*record)) {
                day = editor->panel.CurrentDay();
            }
        }
        m_documents->SaveAllDaySummaries(PatientList(), day, context, options);
        return;
    }

    if (!record) return;
    OpenPatient open;
    open.record = record;
    open.currentDay = Today();
    if (std::optional<SummaryEditor> editor = Editor(*record)) {
        open = OpenPatientOf(*record, editor->panel, editor->days);
    }
    switch (command) {
        case D::DayPreview:
            if (auto rtf = m_documents->DayPreview(open, context, options)) m_openPreview(*rtf);
            break;
        case D::ProblemPreview:
            if (auto rtf = m_documents->ProblemPreview(open, context, options)) m_openPreview(*rtf);
            break;
        case D::SaveOne:
            m_documents->SaveDaySummary(open, context, options);
            break;
        case D::Save:
            m_documents->SaveProblemSummary(open, context, options);
            break;
        default:
            break;
    }
}

}  // namespace pondrel
