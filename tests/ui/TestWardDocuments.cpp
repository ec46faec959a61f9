// The document buttons of the summary pages driven as a user would: the "RTF" menus of the day,
// problem and all-patients pages write their documents into the print folder, "Save all" asks
// first and writes one file per patient, the preview receives the document, and none of it
// changes the patient on screen.

#include <QAbstractButton>
#include <QAction>
#include <QMessageBox>
#include <QMenu>
#include <QLabel>
#include <QListWidget>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <memory>

#include "DemoProgram.h"
#include "GuiDriver.h"
#include "TestDevice.h"
#include "documents/SentenceList.h"
#include "documents/WardDocuments.h"
#include "documents/ui/CBigSummaryFormatDlg.h"
#include "documents/ui/CHtmlView.h"
#include "documents/ui/CSummaryPage.h"
#include "platform/ui/QtText.h"
#include "settings/ui/CPreferencesDlg.h"
#include "journal/ui/CProblemPanel.h"
#include "records/CCorvaneDoc.h"
#include "ui/pages/ProblemPage.h"
#include "records/PatientRecord.h"
#include "ui/app/PondrelApplication.h"
#include "ui/frame/CCorvaneView.h"
#include "ui/frame/CMainFrame.h"
#include "ui/pages/SummaryPageSet.h"

using namespace pondrel;

class TestWardDocuments : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void theAllPatientsMenuWritesBothWardDocuments();
    void theDayAndProblemMenusSaveAndPreview();
    void saveAllAsksAndWritesOneFilePerPatient();
    void theSentenceListInsertsIntoTheRedaction();
    void theSentenceListSwitchesToTheAdmissionRecord();
    void theFormatDialogueEditsRefusesAndCancels();
    void thePreferencesOpenTheFormatDialogue();
    void screenshots();

private:
    CCorvaneView& View() { return *m_program->Frame()->View(); }
    PatientSet& Patients() { return m_program->Document().Patients(); }
    void Trigger(const char* name) {
        auto* action = m_program->Frame()->findChild<QAction*>(QString::fromLatin1(name));
        QVERIFY2(action, name);
        action->trigger();
    }
    std::vector<std::string> PrintFiles() const {
        std::vector<std::string> names;
        for (const auto& entry :
             std::filesystem::directory_iterator(m_device / "My Documents" / "PD_PrintDoc")) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    void Start(int patients) {
        QCOMPARE(test::WriteTodayDemo(m_device, patients), patients);
        m_program = test::StartProgram(m_device);
        QVERIFY(m_program);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::filesystem::path m_device;
    std::unique_ptr<PondrelApplication> m_program;
};

void TestWardDocuments::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_device = test::PrepareTestDevice(*m_dir);
}

void TestWardDocuments::cleanup() {
    m_program.reset();
    m_dir.reset();
}

void TestWardDocuments::theAllPatientsMenuWritesBothWardDocuments() {
    Start(3);
    const PatientRecord* shown = Patients().Current();
    const std::u16string journal = shown->problemJournal;
    View().ShowPage(34);
    Trigger("bigSummary");
    Trigger("smallSummary");
    const std::vector<std::string> files = PrintFiles();
    QCOMPARE(files.size(), size_t(2));
    QVERIFY(files[0].find("] Big summary all patients.rtf") != std::string::npos);
    QVERIFY(files[1].find("] Small summary all patients.rtf") != std::string::npos);
    QCOMPARE(Patients().Current(), shown);
    QVERIFY(Patients().Current()->problemJournal == journal);
    // The same run again replaces the program's own files.
    Trigger("bigSummary");
    QCOMPARE(PrintFiles().size(), size_t(2));
}

void TestWardDocuments::theDayAndProblemMenusSaveAndPreview() {
    Start(2);
    std::string preview;
    View().Find<SummaryPageSet>()->SetPreviewOpener([&](const std::string& rtf) { preview = rtf; });
    View().ShowPage(21);
    Trigger("daySummaryPreview");
    QVERIFY(preview.rfind("{\\rtf1", 0) == 0);
    QVERIFY(PrintFiles().empty());  // nothing is saved from the preview
    Trigger("daySummarySaveOne");
    View().ShowPage(22);
    Trigger("problemSummarySave");
    preview.clear();
    Trigger("problemSummaryPreview");
    QVERIFY(!preview.empty());
    const std::vector<std::string> files = PrintFiles();
    QCOMPARE(files.size(), size_t(2));
    QVERIFY(files[0].rfind("[SD][", 0) == 0);
    QVERIFY(files[1].rfind("[SP][", 0) == 0);
}

void TestWardDocuments::saveAllAsksAndWritesOneFilePerPatient() {
    Start(3);
    const PatientRecord* shown = Patients().Current();
    View().ShowPage(21);
    QVERIFY(test::WithModal([&] { Trigger("daySummarySaveAll"); },
                            [](QWidget* dialog) {
                                auto* box = qobject_cast<QMessageBox*>(dialog);
                                QVERIFY(box);
                                QCOMPARE(box->windowTitle(),
                                         QStringLiteral("Save summaries of the day"));
                                box->button(QMessageBox::Ok)->click();
                            }));
    QCOMPARE(PrintFiles().size(), size_t(3));
    QCOMPARE(Patients().Current(), shown);
}

void TestWardDocuments::theSentenceListInsertsIntoTheRedaction() {
    Start(1);
    View().ShowPage(22);
    CProblemPanel& panel = *View().Find<ProblemPage>()->Panel();
    const std::u16string before = panel.Model().Redaction();
    QVERIFY(test::Click(*m_program->Frame(), QStringLiteral("problemSummarySentences")));
    auto* list = test::Child<QListWidget>(*m_program->Frame(), QStringLiteral("problemSummaryList"));
    QVERIFY(list && list->isVisible());
    QCOMPARE(list->item(0)->text(), QString::fromUtf16(kEvolutionRow.data(),
                                                       static_cast<qsizetype>(kEvolutionRow.size())));
    QVERIFY(list->count() > 3);
    // The row of the problem title, after the differential diagnosis heading.
    int titleRow = -1;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text().contains(QStringLiteral("Differential diagnosis"))) titleRow = i + 1;
    }
    QVERIFY(titleRow > 0 && titleRow < list->count());
    const QString sentence = list->item(titleRow)->text();
    QVERIFY(test::ClickRow(*list, titleRow));
    QVERIFY(!list->isVisible());
    const std::u16string after = panel.Model().Redaction();
    QVERIFY(after.size() > before.size());
    QVERIFY(Patients().Current()->problemJournal.find(after) != std::u16string::npos);

    // A read-only record is not changed.
    Patients().Current()->lockState = u"R";
    QVERIFY(test::Click(*m_program->Frame(), QStringLiteral("problemSummarySentences")));
    QVERIFY(test::ClickRow(*list, titleRow));
    QVERIFY(panel.Model().Redaction() == after);
    (void)sentence;
}

void TestWardDocuments::theSentenceListSwitchesToTheAdmissionRecord() {
    Start(1);
    PatientRecord& record = *Patients().Current();
    record.SetField(7, u"71");
    record.SetField(11, u"125");
    record.SetField(12, u"85");
    View().ShowPage(22);
    CProblemPanel& panel = *View().Find<ProblemPage>()->Panel();
    QVERIFY(test::Click(*m_program->Frame(), QStringLiteral("problemSummarySentences")));
    auto* list = test::Child<QListWidget>(*m_program->Frame(), QStringLiteral("problemSummaryList"));
    QVERIFY(list && list->isVisible());
    const auto rowIs = [list](int row, std::u16string_view text) {
        return list->item(row)->text() ==
               QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
    };
    QVERIFY(rowIs(0, kEvolutionRow));
    // The first row switches to the admission record and back, the list staying open.
    QVERIFY(test::ClickRow(*list, 0));
    QVERIFY(list->isVisible());
    QVERIFY(rowIs(0, kAdmissionRow));
    const auto find = [list](const QString& text) {
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->text() == text) return i;
        }
        return -1;
    };
    const int weight = find(QStringLiteral("Weight=71 kg"));
    QVERIFY2(weight > 1, "the weight row");
    QVERIFY(find(QStringLiteral("Systolic P=125/85 mmHg")) > 1);
    QVERIFY(list->item(2)->text().startsWith(QStringLiteral("------- ")));
    test::Screenshot(*m_program->Frame(), QStringLiteral("sentence-list-admission"));
    // The choice is kept: "L" twice shows the admission record again.
    QVERIFY(test::Click(*m_program->Frame(), QStringLiteral("problemSummarySentences")));
    QVERIFY(!list->isVisible());
    QVERIFY(test::Click(*m_program->Frame(), QStringLiteral("problemSummarySentences")));
    QVERIFY(rowIs(0, kAdmissionRow));

    // Read only, then not begun: the tap changes nothing.
    const std::u16string before = panel.Model().Redaction();
    record.lockState = u"R";
    QVERIFY(test::ClickRow(*list, weight));
    QVERIFY(panel.Model().Redaction() == before);
    record.lockState = u"W";
    QVERIFY(test::Click(*m_program->Frame(), QStringLiteral("problemSummarySentences")));
    record.inUse = 0;  // the list was opened on a begun record
    QVERIFY(test::ClickRow(*list, weight));
    QVERIFY(panel.Model().Redaction() == before);
    record.inUse = 1;

    // A tap inserts the row into the redaction, which is committed into the journal.
    QVERIFY(test::Click(*m_program->Frame(), QStringLiteral("problemSummarySentences")));
    QVERIFY(test::ClickRow(*list, weight));
    const std::u16string after = panel.Model().Redaction();
    QVERIFY(after.size() >= 12 && after.compare(after.size() - 12, 12, u"Weight=71 kg") == 0);
    QVERIFY(record.problemJournal.find(after) != std::u16string::npos);

    // Back to the evolution.
    QVERIFY(test::Click(*m_program->Frame(), QStringLiteral("problemSummarySentences")));
    QVERIFY(test::ClickRow(*list, 0));
    QVERIFY(rowIs(0, kEvolutionRow));
}

void TestWardDocuments::theFormatDialogueEditsRefusesAndCancels() {
    CBigSummaryFormatDlg::Format format = DefaultBigSummaryFormat();
    format[0] = {u"Motive", u"\u00A2F61d#"};
    const CBigSummaryFormatDlg::Format before = format;
    {
        CBigSummaryFormatDlg dialog(format);
        dialog.show();
        // The heading is shown whole, not elided beside the buttons.
        auto* heading = test::Child<QLabel>(dialog, QStringLiteral("bigSummaryFormatHeading"));
        QVERIFY(heading);
        QCOMPARE(heading->text(), QStringLiteral("Big summary editor"));
        auto* title = test::Child<QLineEdit>(dialog, QStringLiteral("bigSummaryTitle1"));
        auto* description =
            test::Child<QPlainTextEdit>(dialog, QStringLiteral("bigSummaryDescription2"));
        QVERIFY(title && description);
        QCOMPARE(title->text(), QStringLiteral("Motive"));
        QVERIFY(test::Type(dialog, QStringLiteral("bigSummaryTitle1"), QStringLiteral(" {x}|")));
        QCOMPARE(title->text(), QStringLiteral("Motive x"));
        QVERIFY(format[0].title == u"Motive x");  // taken over at once
        description->moveCursor(QTextCursor::End);
        QTest::keyClicks(description, QString::fromUtf16(u" \u00A2F63#\u00A7\u00AC"));
        QVERIFY(format[1].description == u"\u00A2F62# \u00A2F63#");
        // A pasted text loses the refused characters too.
        QApplication::clipboard()->setText(QStringLiteral("{pasted}"));
        description->paste();
        QVERIFY(format[1].description == u"\u00A2F62# \u00A2F63#pasted");
        QVERIFY(test::Click(dialog, QStringLiteral("bigSummaryFormatDefault")));
        QCOMPARE(title->text(), QStringLiteral("Motive of Hospitalization"));
        QVERIFY(test::Click(dialog, QStringLiteral("bigSummaryFormatHelp")));
        auto* help = test::Child<CHtmlView>(dialog, QStringLiteral("bigSummaryFormatHelpView"));
        QVERIFY(help->isVisible());
        QVERIFY(help->Source().contains(QStringLiteral("Some help for this page")));
        QVERIFY(test::Click(dialog, QStringLiteral("bigSummaryFormatCloseHelp")));
        QVERIFY(!help->isVisible());
        QVERIFY(test::Click(dialog, QStringLiteral("bigSummaryFormatCancel")));
    }
    QVERIFY(format == before);  // "Default" then "Cancel" leaves the pairs as they were
    {
        CBigSummaryFormatDlg dialog(format);
        dialog.show();
        QVERIFY(test::Type(dialog, QStringLiteral("bigSummaryTitle4"), QStringLiteral("!")));
        QVERIFY(test::Click(dialog, QStringLiteral("bigSummaryFormatOk")));
    }
    QVERIFY(format[3].title == u"Family history!");
}

void TestWardDocuments::thePreferencesOpenTheFormatDialogue() {
    Start(1);
    PreferencesEdit edit;
    edit.bigSummary = DefaultBigSummaryFormat();
    CPreferencesDlg::PluggedDialogues plugged;
    static_cast<PagePlugin*>(View().Find<SummaryPageSet>())->AddPreferencesDialogues(plugged);
    CPreferencesDlg dialog(edit);
    for (const auto& [name, open] : plugged) dialog.Plug(name, open);
    dialog.show();
    QVERIFY(test::WithModal([&] { QVERIFY(test::Click(dialog, QStringLiteral("bigSummaryButton"))); },
                            [](QWidget* format) {
                                QCOMPARE(format->objectName(), QStringLiteral("bigSummaryFormat"));
                                QVERIFY(test::Type(*format, QStringLiteral("bigSummaryTitle2"),
                                                   QStringLiteral("!")));
                                QVERIFY(test::Click(*format, QStringLiteral("bigSummaryFormatOk")));
                            }));
    QVERIFY(edit.bigSummary[1].title == u"Current problem!");
}

void TestWardDocuments::screenshots() {
    if (!test::ScreenshotsWanted()) QSKIP("screenshots are written only when asked for");
    Start(3);
    const struct {
        int page;
        const char* button;
        const char* name;
    } pages[] = {{21, "daySummaryDocuments", "documents-day"},
                 {22, "problemSummaryDocuments", "documents-problem"},
                 {34, "allPatientsDocuments", "documents-all"}};
    for (const auto& p : pages) {
        View().ShowPage(p.page);
        test::Screenshot(*m_program->Frame(), QString::fromLatin1(p.name));
        auto* menu = m_program->Frame()->findChild<QMenu*>(QString::fromLatin1(p.button) +
                                                           QStringLiteral("Menu"));
        QVERIFY(menu);
        menu->popup(QPoint(0, 0));
        QTest::qWait(50);
        test::Screenshot(*menu, QString::fromLatin1(p.name) + QStringLiteral("-menu"));
        menu->hide();
    }
    CBigSummaryFormatDlg::Format format = DefaultBigSummaryFormat();
    CBigSummaryFormatDlg dialog(format);
    dialog.show();
    test::Screenshot(dialog, QStringLiteral("big-summary-format"));

    QVERIFY(test::Click(dialog, QStringLiteral("bigSummaryFormatHelp")));
    test::Screenshot(dialog, QStringLiteral("big-summary-format-help"));
}

QTEST_MAIN(TestWardDocuments)
#include "TestWardDocuments.moc"
