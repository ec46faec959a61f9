#include "ui/pages/LetterPages.h"

#include <filesystem>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>

#include "documents/LetterData.h"
#include "documents/ui/COutLetterPage.h"
#include "documents/ui/CPrintPreviewDlg.h"
#include "documents/ui/CRtfView.h"
#include "documents/ui/CSummaryPage.h"
#include "documents/ui/CSummaryManagerPage.h"
#include "journal/JournalDays.h"
#include "journal/JournalWords.h"
#include "journal/ui/CProblemPanel.h"
#include "labels/Labels.h"
#include "mainform/MainFormController.h"
#include "platform/HostFileSystem.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "platform/ui/QtText.h"
#include "records/CCorvaneDoc.h"
#include "records/WorkingFolders.h"
#include "settings/Preferences.h"
#include "settings/SettingsValues.h"
#include "ui/pages/PageHost.h"
#include "ui/pages/ProblemPage.h"
#include "ui/pages/SummaryPageSet.h"

namespace pondrel {
namespace {

constexpr int kOutLetterLabel = 166;
constexpr int kOutsideMs = 5000;
constexpr int kButtonPadding = 10;

void Mix(size_t& seed, size_t value) {
    seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

// What the letters read of a record, in one number: a change of any of it gives another.
size_t Fingerprint(const PatientRecord& record, DayNumber today) {
    const std::hash<std::u16string_view> hash;
    size_t seed = static_cast<size_t>(today);
    for (const std::u16string& field : record.fields) Mix(seed, hash(field));
    Mix(seed, hash(record.problemJournal));
    Mix(seed, hash(record.subfolderType));
    for (int value : {record.sex, record.exitDateSet, record.admission.year, record.admission.month,
                      record.admission.day, record.exit.year, record.exit.month, record.exit.day}) {
        Mix(seed, static_cast<size_t>(value));
    }
    return seed;
}

}  // namespace

// One of the two pages as the controller sees it.
class LetterPages::Page final : public FormPage {
public:
    Page(LetterPages& pages, std::function<void()> shown)
        : m_pages(pages), m_shown(std::move(shown)) {}

    void ShowRecord(PatientRecord* record) override {
        m_pages.NoteRecord(record);
        if (record) m_shown();
    }
    void Commit() override {}
    void Leave() override { m_pages.m_manager->HideRecent(); }
    void Release() override { m_pages.NoteRecord(nullptr); }

private:
    LetterPages& m_pages;
    std::function<void()> m_shown;
};

LetterPages::LetterPages(PageHost& view, Platform& platform, const WorkingFolders& folders,
                         ProblemPage& problems, SummaryPageSet& summaries)
    : m_view(view), m_problems(problems), m_platform(platform) {
    m_outLetter = new COutLetterPage;
    m_manager = new CSummaryManagerPage;
    view.InstallPage(kOutLetterPage, m_outLetter);
    view.InstallPage(kManagerPage, m_manager);
    m_documents = std::make_unique<TemplateDocuments>(
        platform.files, platform.messages, folders.installation, view.GetPreferences(),
        static_cast<DocumentViews&>(*this), [this] { return Data(); });
    m_outLetterPage = std::make_unique<Page>(*this, [this] { m_documents->OutLetterPageShown(); });
    m_managerPage = std::make_unique<Page>(*this, [this] { m_documents->ManagerPageShown(); });
    view.Controller().SetPage(kOutLetterPage, m_outLetterPage.get());
    view.Controller().SetPage(kManagerPage, m_managerPage.get());
    m_chooser = [this] { return ChooseTemplateFile(); };
    m_openPreview = [this](const std::string& rtf) {
        CPrintPreviewDlg dialog(rtf, &m_view.Widget());
        dialog.exec();
    };

    QObject::connect(m_outLetter, &COutLetterPage::saveOutLetter, m_outLetter,
                     [this] { m_documents->SaveOutLetter(); });
    QObject::connect(m_outLetter, &COutLetterPage::zoomOutLetter, m_outLetter,
                     [this] { m_documents->ToggleOutLetterZoom(); });
    // The admission letter's "Preview" and "Save" stand beside the entry summary's caption.
    {
        if (CSummaryPage* entry = summaries.Page(SummaryKind::Entry)) {
            auto widthOf = [entry](const QString& text) {
                return entry->fontMetrics().horizontalAdvance(text) + kButtonPadding;
            };
            const QString previewText = QStringLiteral("Preview");
            const QString saveText = QStringLiteral("Save");
            QAbstractButton* preview = entry->AddBarButton(QStringLiteral("admissionPreview"),
                                                           previewText, widthOf(previewText));
            QAbstractButton* save =
                entry->AddBarButton(QStringLiteral("admissionSave"), saveText, widthOf(saveText));
            QObject::connect(preview, &QAbstractButton::clicked, entry,
                             [this] { m_documents->PreviewAdmission(); });
            QObject::connect(save, &QAbstractButton::clicked, entry,
                             [this] { m_documents->SaveAdmission(); });
        }
    }
    QObject::connect(m_manager, &CSummaryManagerPage::chooseTemplate, m_manager, [this] {
        m_manager->HideRecent();
        m_documents->ChooseTemplate(m_chooser());
    });
    QObject::connect(m_manager, &CSummaryManagerPage::toggleRecent, m_manager,
                     [this] { ToggleRecent(); });
    QObject::connect(m_manager, &CSummaryManagerPage::recentChosen, m_manager, [this](int row) {
        m_manager->HideRecent();
        m_documents->ChooseRecentRow(row);
    });
    QObject::connect(m_manager, &CSummaryManagerPage::saveDocument, m_manager, [this] {
        m_manager->HideRecent();
        m_documents->SaveTemplateDocument();
    });
    QObject::connect(m_manager, &CSummaryManagerPage::toggleZoom, m_manager,
                     [this] { m_documents->ToggleTemplateZoom(); });
}

LetterPages::~LetterPages() {
    m_view.Controller().SetPage(kOutLetterPage, nullptr);
    m_view.Controller().SetPage(kManagerPage, nullptr);
}

void LetterPages::SetLabels(const Labels& labels) {
    std::u16string caption = u"Out Letter";
    TakeLabelWord(caption, labels.Label(kOutLetterLabel));
    m_outLetter->SetCaption(ToQString(caption));
}

void LetterPages::NoteRecord(const PatientRecord* record) {
    if (!record) {
        m_fingerprint = 0;
        m_documents->PatientChanged();
        return;
    }
    const DayNumber today = CalendarDayOf(m_platform.clock.Now());
    const size_t fingerprint = Fingerprint(*record, today) ^ reinterpret_cast<size_t>(record);
    if (fingerprint != m_fingerprint) m_documents->PatientChanged();
    m_fingerprint = fingerprint;
}

std::optional<TemplateData> LetterPages::Data() {
    MainFormController& form = m_view.Controller();
    form.CommitAll();
    PatientRecord* shown = form.ShownRecord();
    if (!shown) return std::nullopt;
    const Labels& labels = m_view.GetLabels();
    const DateTime now = m_platform.clock.Now();
    const DateOrder order = DateOrderOf(m_view.GetPreferences().regional.dateOrder);
    ProblemPage* problems = &m_problems;
    CProblemPanel* panel = problems ? problems->Panel() : nullptr;
    if (panel && panel->IsOpen() && problems->OpenRecord() == shown) {
        // The problem page shows this patient: its day list and current day.
        LetterDays days{panel->Days().ShownDays(), panel->Model().CurrentDay()};
        return MakeTemplateData(*shown, labels, order, now, std::move(days));
    }
    // Not opened on the problem page yet: as opening would show it, on a copy, so that a letter
    // never changes the record.
    m_closedCopy = *shown;
    LetterDays days = DaysOnOpening(m_closedCopy, labels, now);
    return MakeTemplateData(m_closedCopy, labels, order, now, std::move(days));
}

void LetterPages::ToggleRecent() {
    if (m_manager->RecentShown()) {
        m_manager->HideRecent();
    } else {
        m_manager->ShowRecentRows(m_documents->RecentRows());
    }
}

std::optional<std::u16string> LetterPages::ChooseTemplateFile() {
    auto* host = dynamic_cast<HostFileSystem*>(&m_platform.files);
    if (!host) return std::nullopt;
    const std::filesystem::path root = host->Root();
    const QString start =
        QString::fromStdString(host->HostPath(WorkingFolders::kMyDocuments).string());
    const QString chosen = QFileDialog::getOpenFileName(
        &m_view.Widget(), QStringLiteral("Open template"), start,
        QStringLiteral("Templates (*.rtf);;Templates (*.doc);;All templates (*)"));
    if (chosen.isEmpty()) return std::nullopt;
    const std::filesystem::path relative =
        std::filesystem::path(chosen.toStdString()).lexically_relative(root);
    if (relative.empty() || *relative.begin() == "..") {
        m_platform.messages.ShowNotice(
            u"Choose a template inside the device folder:\r\n" + FromUtf8(root.string()),
            kOutsideMs, true);
        return std::nullopt;
    }
    std::u16string device;
    for (const auto& part : relative) device += u"\\" + FromUtf8(part.string());
    return device;
}

void LetterPages::ShowOutLetter(const std::string& rtf, int zoomPercent) {
    m_outLetter->View()->SetDocument(rtf, zoomPercent);
}

void LetterPages::ZoomOutLetter(int zoomPercent) {
    m_outLetter->View()->SetZoom(zoomPercent);
}

void LetterPages::ShowTemplateDocument(const std::string& rtf, int zoomPercent) {
    m_manager->View()->SetDocument(rtf, zoomPercent);
}

void LetterPages::ZoomTemplateDocument(int zoomPercent) {
    m_manager->View()->SetZoom(zoomPercent);
}

void LetterPages::SetManagerCaption(const std::u16string& caption) {
    m_manager->SetCaption(ToQString(caption));
}

void LetterPages::ShowPrintPreview(const std::string& rtf) {
    if (m_openPreview) m_openPreview(rtf);
}

void LetterPages::SetBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace pondrel
