// The problems page of the main form driven as a user would, on a device folder prepared as
// pondrel-tool init-device does, with demo patients written by the demo generator: typing into
// the problem panel, saving, automatic saving, reloading and closing patients.

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QTest>

#include <filesystem>
#include <memory>

#include "DemoProgram.h"
#include "GuiDriver.h"
#include "TestDevice.h"
#include "demo/DemoPatients.h"
#include "journal/JournalReader.h"
#include "journal/ui/CProblemPanel.h"
#include "journal/ui/CSectionEdit.h"
#include "platform/Clock.h"
#include "platform/HostFileSystem.h"
#include "platform/ui/CPopupList.h"
#include "platform/ui/QtText.h"
#include "labels/ui/CShortcutLists.h"
#include "records/ActivePatients.h"
#include "records/CCorvaneDoc.h"
#include "records/PatientFileLoader.h"
#include "records/PatientRecord.h"
#include "records/WorkingFolders.h"
#include "settings/PreferencesFile.h"
#include "startup/DeviceSetup.h"
#include "ui/frame/CCommandBar.h"
#include "ui/frame/CCorvaneView.h"
#include "ui/frame/CMainFrame.h"
#include "ui/app/PondrelApplication.h"
#include "ui/pages/ProblemPage.h"

using namespace pondrel;
namespace fs = std::filesystem;

class TestProblemPage : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void typingSurvivesDaysSaveAllAndARestart();
    void autoSaveCommitsTypingAndLeavesTheCaret();
    void openAllAndCloseOneNeverReachAGoneRecord();
    void questionsAnsweredNoKeepTheProblemAndDay();
    void leavingThePageCommitsAndTakesTheFocusAway();
    void anEmptyRecordIsNotEdited();
    void paneComesFromAndGoesBackToThePreferences();
    void problemManagerAndLabelEditorReachRecordFileAndScreen();
    void aReadOnlyRecordRefusesEveryChangeOfThePanel();
    void codeSearchPutsTheCodeThroughTheFormsGate();
    void screenshots();

private:
    CCorvaneView& View() { return *m_program->Frame()->View(); }
    PatientSet& Patients() { return m_program->Document().Patients(); }
    CProblemPanel& Panel() { return *View().Find<ProblemPage>()->Panel(); }
    template <typename T>
    T* Child(const QString& name) {
        return test::Child<T>(*m_program->Frame(), name);
    }
    CSectionEdit* Section(const char* name) {
        return Child<CSectionEdit>(QString::fromLatin1(name));
    }
    void Click(const QString& name) { QVERIFY(test::Click(*m_program->Frame(), name)); }
    void ChooseMenu(const QString& text);
    QString NoticeText();
    void WriteDemo(int count);
    void Start();
    void ShowPatient(const std::u16string& lastName);
    void TypeAtEnd(const char* section, const QString& text);
    PatientRecord ReadBack(const std::u16string& fileName);

    std::unique_ptr<QTemporaryDir> m_dir;
    fs::path m_device;
    std::unique_ptr<PondrelApplication> m_program;
};

void TestProblemPage::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_device = test::PrepareTestDevice(*m_dir);
}

void TestProblemPage::cleanup() {
    m_program.reset();
    m_dir.reset();
}

// Demo patients whose stay runs up to today, so that "Now" is a day of the stay.
void TestProblemPage::WriteDemo(int count) {
    QCOMPARE(test::WriteTodayDemo(m_device, count), count);
}

void TestProblemPage::Start() {
    m_program.reset();
    ProgramOptions options;
    options.device = m_device;
    m_program = std::make_unique<PondrelApplication>(options);
    QVERIFY(m_program->InitInstance());
    QTRY_VERIFY(View().StartUpResult().has_value());
    QVERIFY(*View().StartUpResult());
    m_program->Frame()->activateWindow();
    QTRY_VERIFY(m_program->Frame()->isActiveWindow());
}

void TestProblemPage::ChooseMenu(const QString& text) {
    if (!View().MainMenuOpen()) Click(QStringLiteral("mainMenuButton"));
    auto* menu = Child<QListWidget>(QStringLiteral("mainMenu"));
    QVERIFY(menu);
    QVERIFY(test::ClickRow(*menu, text));
}

QString TestProblemPage::NoticeText() {
    auto* notice = Child<QLabel>(QStringLiteral("notice"));
    return notice && notice->isVisible() ? notice->text() : QString();
}

// Record navigation of page 0 until the patient is the current one.
void TestProblemPage::ShowPatient(const std::u16string& lastName) {
    View().ShowPage(0);
    Click(QStringLiteral("recordFirst"));
    for (int i = 0; i < Patients().Count() && Patients().Current()->Field(2) != lastName; ++i) {
        Click(QStringLiteral("recordNext"));
    }
    QCOMPARE(Patients().Current()->Field(2), lastName);
}

// A tap into the field, the caret to the end, then the keys.
void TestProblemPage::TypeAtEnd(const char* section, const QString& text) {
    CSectionEdit* field = Section(section);
    QVERIFY(field);
    QVERIFY(field->isEnabled());
    // A message box (answered by the test) took the activation away.
    m_program->Frame()->activateWindow();
    QTRY_VERIFY(m_program->Frame()->isActiveWindow());
    QTest::mouseClick(field->viewport(), Qt::LeftButton);
    QTRY_VERIFY(field->hasFocus());
    QTest::keyClick(field, Qt::Key_End, Qt::ControlModifier);
    for (QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(field, c.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

PatientRecord TestProblemPage::ReadBack(const std::u16string& fileName) {
    HostFileSystem files(m_device);
    PatientRecord record;
    const LoadResult result = LoadPatientFile(files, WorkingFolders::ActiveFile(fileName), record);
    if (!result.Ok()) qWarning("cannot read back: %s", LoadFailureReason(result).c_str());
    return record;
}

void TestProblemPage::typingSurvivesDaysSaveAllAndARestart() {
    WriteDemo(2);
    Start();
    QCOMPARE(Patients().Count(), 2);
    const std::u16string lastName = Patients().At(1)->Field(2);
    const std::u16string fileName = Patients().At(1)->fileName;
    ShowPatient(lastName);

    Click(QStringLiteral("problemsButton"));
    QCOMPARE(View().CurrentPage(), 20);
    QCOMPARE(View().Find<ProblemPage>()->OpenRecord(), Patients().Current());
    QVERIFY(Panel().IsOpen());

    // Today, then the second problem from the problem list.
    Click(QStringLiteral("previousDay"));
    Click(QStringLiteral("now"));
    QCOMPARE(Panel().Model().CurrentDay(), DayNumberOf(SystemClock().Now()));
    QVERIFY(Panel().Model().ProblemCount() >= 2);
    Click(QStringLiteral("problemButton"));
    auto* list = Child<QListWidget>(QStringLiteral("problemList"));
    QVERIFY(list->isVisible());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    QCOMPARE(Panel().Model().CurrentProblem(), 1);
    QVERIFY(Child<QPushButton>(QStringLiteral("problemButton"))->text().startsWith("P2/"));

    const QString statusBefore = ToQString(Section("status")->Text());
    const QString medicineBefore = ToQString(Section("medicine")->Text());
    TypeAtEnd("status", QStringLiteral(" pleural rub \u00e9"));
    TypeAtEnd("medicine", QStringLiteral(" paracetamol 1 g"));
    const QString status = statusBefore + QStringLiteral(" pleural rub \u00e9");
    const QString medicine = medicineBefore + QStringLiteral(" paracetamol 1 g");

    Click(QStringLiteral("previousDay"));
    QVERIFY(Panel().Model().CurrentDay() < DayNumberOf(SystemClock().Now()));
    QVERIFY(ToQString(Section("medicine")->Text()) != medicine);
    Click(QStringLiteral("now"));
    QCOMPARE(ToQString(Section("status")->Text()), status);
    QCOMPARE(ToQString(Section("medicine")->Text()), medicine);
    QCOMPARE(Panel().Model().CurrentProblem(), 1);

    ChooseMenu(QStringLiteral("Save all"));
    QCOMPARE(NoticeText(), QStringLiteral("Save successfull"));
    const PatientRecord saved = ReadBack(fileName);
    QVERIFY(saved.problemJournal.find(status.toStdU16String()) != std::u16string::npos);
    QVERIFY(saved.problemJournal.find(medicine.toStdU16String()) != std::u16string::npos);

    // A new start of the program on the same device folder, without saving on the way out.
    Start();
    QCOMPARE(Patients().Count(), 2);
    ShowPatient(lastName);
    QVERIFY(Patients().Current()->problemJournal.find(status.toStdU16String()) !=
            std::u16string::npos);
    Click(QStringLiteral("problemsButton"));
    QCOMPARE(Panel().Model().CurrentDay(), DayNumberOf(SystemClock().Now()));
    Click(QStringLiteral("nextProblem"));
    QCOMPARE(Panel().Model().CurrentProblem(), 1);
    QCOMPARE(ToQString(Section("status")->Text()), status);
    QCOMPARE(ToQString(Section("medicine")->Text()), medicine);
}

void TestProblemPage::autoSaveCommitsTypingAndLeavesTheCaret() {
    WriteDemo(1);
    Start();
    const std::u16string fileName = Patients().Current()->fileName;
    View().Active().SetAutoSaveInterval(1);
    QVERIFY(m_program->Timers().IsRunning(TimerId::AutoSave));
    Click(QStringLiteral("problemsButton"));
    TypeAtEnd("status", QStringLiteral(" afebrile since noon"));
    CSectionEdit* status = Section("status");
    const std::u16string typed = status->Text();
    const size_t caret = status->Caret();
    QCOMPARE(caret, typed.size());
    QVERIFY(ReadBack(fileName).problemJournal.find(u"afebrile since noon") == std::u16string::npos);

    QVERIFY(m_program->Timers().Fire(TimerId::AutoSave));
    QCOMPARE(NoticeText(), QStringLiteral("Quick Save"));
    QVERIFY(ReadBack(fileName).problemJournal.find(typed) != std::u16string::npos);
    // The doctor goes on typing where he was.
    QVERIFY(status->hasFocus());
    QCOMPARE(status->Caret(), caret);
    QTest::keyClicks(status, QStringLiteral("!"));
    QCOMPARE(status->Text(), typed + u"!");
}

void TestProblemPage::openAllAndCloseOneNeverReachAGoneRecord() {
    WriteDemo(2);
    Start();
    Click(QStringLiteral("problemsButton"));
    TypeAtEnd("status", QStringLiteral(" lost on purpose"));

    // "No": the set is read again from the files; the panel follows the new record.
    m_program->Messages().QueueAnswer(BoxAnswer::No);
    ChooseMenu(QStringLiteral("Open all"));
    QCOMPARE(Patients().Count(), 2);
    QVERIFY(Panel().IsOpen());
    QCOMPARE(View().Find<ProblemPage>()->OpenRecord(), Patients().Current());
    QVERIFY(Patients().Current()->problemJournal.find(u"lost on purpose") == std::u16string::npos);
    QVERIFY(!ToQString(Section("status")->Text()).contains("lost on purpose"));

    // "Yes": saved first (typing included), then read again.
    TypeAtEnd("status", QStringLiteral(" kept"));
    const std::u16string kept = Section("status")->Text();
    m_program->Messages().QueueAnswer(BoxAnswer::Yes);
    ChooseMenu(QStringLiteral("Open all"));
    QCOMPARE(View().Find<ProblemPage>()->OpenRecord(), Patients().Current());
    QVERIFY(Patients().Current()->problemJournal.find(kept) != std::u16string::npos);
    TypeAtEnd("status", QStringLiteral(" and more"));

    // Close one, answered "No": nothing is closed; the panel edits the same patient again.
    PatientRecord* closing = Patients().Current();
    m_program->Messages().QueueAnswer(BoxAnswer::No);
    ChooseMenu(QStringLiteral("Close one"));
    QCOMPARE(Patients().Count(), 2);
    QCOMPARE(View().Find<ProblemPage>()->OpenRecord(), closing);
    QVERIFY(closing->problemJournal.find(kept + u" and more") != std::u16string::npos);

    // "Yes": saved with the typing, archived, the set read again.
    TypeAtEnd("status", QStringLiteral(" at last"));
    const std::u16string last = Section("status")->Text();
    const std::u16string fileName = closing->fileName;
    m_program->Messages().QueueAnswer(BoxAnswer::Yes);
    ChooseMenu(QStringLiteral("Close one"));
    QCOMPARE(Patients().Count(), 1);
    const fs::path archived =
        m_device / "My Documents" / "PD_Archives" / ToQString(fileName).toStdString();
    QVERIFY(fs::exists(archived));
    PatientRecord record;
    HostFileSystem files(m_device);
    QVERIFY(LoadPatientFile(files, u"\\My Documents\\PD_Archives\\" + fileName, record).Ok());
    QVERIFY(record.problemJournal.find(last) != std::u16string::npos);
    QCOMPARE(View().Find<ProblemPage>()->OpenRecord(), Patients().Current());
    TypeAtEnd("status", QStringLiteral(" other patient"));
    View().ShowPage(21);
    QVERIFY(Patients().Current()->problemJournal.find(u" other patient") != std::u16string::npos);
}

// "Open all" answered Cancel and "Close one" answered No change nothing: the editor stays on
// the problem and day it showed, with what was typed.
void TestProblemPage::questionsAnsweredNoKeepTheProblemAndDay() {
    WriteDemo(2);
    Start();
    Click(QStringLiteral("problemsButton"));
    Click(QStringLiteral("nextProblem"));
    Click(QStringLiteral("previousDay"));
    TypeAtEnd("status", QStringLiteral(" still here"));
    const int problem = Panel().Model().CurrentProblem();
    const DayNumber day = Panel().Model().CurrentDay();
    const std::u16string typed = Section("status")->Text();
    QVERIFY(problem > 0);

    m_program->Messages().QueueAnswer(BoxAnswer::Cancel);
    ChooseMenu(QStringLiteral("Open all"));
    QCOMPARE(Panel().Model().CurrentProblem(), problem);
    QCOMPARE(Panel().Model().CurrentDay(), day);
    QCOMPARE(Section("status")->Text(), typed);

    m_program->Messages().QueueAnswer(BoxAnswer::No);
    ChooseMenu(QStringLiteral("Close one"));
    QCOMPARE(Panel().Model().CurrentProblem(), problem);
    QCOMPARE(Panel().Model().CurrentDay(), day);
    QCOMPARE(Section("status")->Text(), typed);
    QCOMPARE(m_program->Messages().PendingAnswers(), size_t{0});
}

void TestProblemPage::leavingThePageCommitsAndTakesTheFocusAway() {
    WriteDemo(2);
    Start();
    Click(QStringLiteral("problemsButton"));
    TypeAtEnd("medicine", QStringLiteral(" aspirin"));
    CSectionEdit* medicine = Section("medicine");
    // The problems button on the problems page commits and leaves the caret where it was.
    Click(QStringLiteral("problemsButton"));
    QVERIFY(medicine->hasFocus());
    QVERIFY(Patients().Current()->problemJournal.find(medicine->Text()) != std::u16string::npos);
    QTest::keyClicks(medicine, QStringLiteral(" 100 mg"));
    QVERIFY(medicine->Text().ends_with(u"aspirin 100 mg"));
    Click(QStringLiteral("daySummaryButton"));
    QCOMPARE(View().CurrentPage(), 21);
    QVERIFY(!medicine->hasFocus());
    QVERIFY(Patients().Current()->problemJournal.find(medicine->Text()) != std::u16string::npos);
    // Paste does not reach the field scrolled away.
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    const std::u16string before = medicine->Text();
    ChooseMenu(QStringLiteral("Paste"));
    QCOMPARE(medicine->Text(), before);

    // Record navigation on another page: the panel takes the new patient when shown again, and
    // typing there is saved with that patient, the first one keeping its own.
    PatientRecord* first = Patients().Current();
    const std::u16string firstJournal = first->problemJournal;
    ShowPatient(Patients().At(1)->Field(2));
    Click(QStringLiteral("problemsButton"));
    QCOMPARE(View().Find<ProblemPage>()->OpenRecord(), Patients().Current());
    TypeAtEnd("anamnesia", QStringLiteral(" dizzy"));
    ChooseMenu(QStringLiteral("Save all"));
    QVERIFY(Patients().Current()->problemJournal.find(u" dizzy") != std::u16string::npos);
    QCOMPARE(first->problemJournal, firstJournal);
}

void TestProblemPage::anEmptyRecordIsNotEdited() {
    Start();  // no patient files: one empty record
    QCOMPARE(Patients().Count(), 1);
    QCOMPARE(Patients().Current()->inUse, 0);
    Click(QStringLiteral("problemsButton"));
    QCOMPARE(NoticeText(), QStringLiteral("Set first the patient's name and birth date"));
    test::Screenshot(*m_program->Frame(), QStringLiteral("problems-empty-record"));
    QVERIFY(!Panel().IsOpen());
    QVERIFY(!Section("status")->isEnabled());
    QVERIFY(!Child<QLineEdit>(QStringLiteral("title"))->isEnabled());
    QCOMPARE(Patients().Current()->problemJournal, std::u16string());

    // Once begun (name and birth date), the record is edited on the page.
    PatientRecord& record = *Patients().Current();
    for (int n : {2, 120}) record.SetField(n, u"Martin");
    for (int n : {3, 121}) record.SetField(n, u"Claire");
    for (int n : {4, 122}) record.SetField(n, u"3");
    for (int n : {5, 123}) record.SetField(n, u"7");
    for (int n : {6, 124}) record.SetField(n, u"1948");
    BeginPatient(record, View().Locations(), true, m_program->GetPlatform().clock);
    View().Controller().ShowRecord();
    QVERIFY(Panel().IsOpen());
    Child<QLineEdit>(QStringLiteral("title"))->setFocus();
    QTest::keyClicks(Child<QLineEdit>(QStringLiteral("title")), QStringLiteral("Syncope"));
    TypeAtEnd("status",
              QStringLiteral("pale"));  // stored as "Pale": a capital at the start of a line

    // "Next" past the last record on the page: an empty record, the panel lets go.
    View().Controller().MoveRecord(RecordNavigation::Move::Next);
    QCOMPARE(Patients().Count(), 2);
    QVERIFY(!Panel().IsOpen());
    QVERIFY(!Section("status")->isEnabled());
    QVERIFY(record.problemJournal.find(u"Syncope") != std::u16string::npos);
    QVERIFY(record.problemJournal.find(u"|Pale|") != std::u16string::npos);
    QVERIFY(Patients().Current()->problemJournal.empty());
}

void TestProblemPage::paneComesFromAndGoesBackToThePreferences() {
    const std::u16string path = u"\\Program files\\Pondrel\\Preferences.pre";
    {
        HostFileSystem files(m_device);
        Preferences preferences;
        QVERIFY(ReadPreferencesFile(files, path, preferences));
        preferences.bottomRightPane = 2;
        QVERIFY(WritePreferencesFile(files, path, preferences));
    }
    WriteDemo(1);
    Start();
    QCOMPARE(Panel().Pane(), ProblemPanelModel::BottomPane::Other);
    Click(QStringLiteral("problemsButton"));
    QVERIFY(Section("other")->isVisible());
    QVERIFY(!Section("differentialDiagnosis")->isVisible());
    Click(QStringLiteral("ddPane"));
    QCOMPARE(Panel().Pane(), ProblemPanelModel::BottomPane::DifferentialDiagnosis);
    ChooseMenu(QStringLiteral("Exit"));
    QVERIFY(!m_program->Frame()->isVisible());
    HostFileSystem files(m_device);
    Preferences written;
    QVERIFY(ReadPreferencesFile(files, path, written));
    QCOMPARE(written.bottomRightPane, 1);
}

void TestProblemPage::screenshots() {
    WriteDemo(2);
    Start();
    Click(QStringLiteral("problemsButton"));
    test::Screenshot(*m_program->Frame(), QStringLiteral("problems-all"));
    Click(QStringLiteral("toggleLayout"));
    QCOMPARE(Panel().Model().Layout(), ProblemPanelModel::SectionLayout::AnamnesiaStatus);
    test::Screenshot(*m_program->Frame(), QStringLiteral("problems-anamnesia-status"));
    Click(QStringLiteral("toggleLayout"));
    QCOMPARE(Panel().Model().Layout(), ProblemPanelModel::SectionLayout::AttitudeExaminations);
    test::Screenshot(*m_program->Frame(), QStringLiteral("problems-attitude-examinations"));
    Click(QStringLiteral("resetLayout"));
    QCOMPARE(Panel().Model().Layout(), ProblemPanelModel::SectionLayout::All);
}

// "Mgr" and "Ed shortcuts" in the running program: the manager's OK reaches the record (typing
// committed first) and the file saved; the label editor's save reaches "Labels.txt" and the
// caption on screen at once.
void TestProblemPage::problemManagerAndLabelEditorReachRecordFileAndScreen() {
    WriteDemo(1);
    Start();
    const std::u16string fileName = Patients().At(0)->fileName;
    ShowPatient(Patients().At(0)->Field(2));
    Click(QStringLiteral("problemsButton"));
    QVERIFY(Panel().IsOpen());
    QVERIFY(Panel().Model().ProblemCount() >= 2);
    const std::u16string first = Panel().Model().Journal().GetProblemTitle(0);
    const std::u16string second = Panel().Model().Journal().GetProblemTitle(1);
    TypeAtEnd("status", QStringLiteral(" typed before"));

    QVERIFY(test::WithModal([this] { Click(QStringLiteral("problemManager")); },
                            [](QWidget* dialog) {
                                auto* list = test::Child<QTableWidget>(*dialog, "problemList");
                                QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                                  list->visualItemRect(list->item(1, 2)).center());
                                QVERIFY(test::Click(*dialog, QStringLiteral("upButton")));
                                QVERIFY(test::Click(*dialog, QStringLiteral("okButton")));
                            }));
    QCOMPARE(NoticeText(), QStringLiteral("Modifications done"));
    const std::u16string journal = Patients().Current()->problemJournal;
    JournalReader reader(journal);
    QCOMPARE(reader.GetProblemTitle(0), second);
    QCOMPARE(reader.GetProblemTitle(1), first);
    QVERIFY(journal.find(u" typed before") != std::u16string::npos);
    QCOMPARE(Panel().Model().CurrentProblem(), 0);
    ChooseMenu(QStringLiteral("Save all"));
    const std::u16string saved = ReadBack(fileName).problemJournal;
    QCOMPARE(JournalReader(saved).GetProblemTitle(0), second);

    // The label editor of the Status section (field 89).
    Section("status")->setFocus();
    QVERIFY(test::WithModal([this] { ChooseMenu(QStringLiteral("Ed shortcuts")); },
                            [](QWidget* dialog) {
                                QVERIFY(test::Child<QLabel>(*dialog, "heading")
                                            ->text()
                                            .endsWith(QStringLiteral("N\u00B089")));
                                test::Child<QLineEdit>(*dialog, "titleEdit")
                                    ->setText(QStringLiteral("Examen clinique"));
                                QVERIFY(test::Click(*dialog, QStringLiteral("saveButton")));
                            }));
    QCOMPARE(NoticeText(), QStringLiteral("Save successfull"));
    QCOMPARE(View().GetLabels().Caption(89), u"Examen clinique");
    QCOMPARE(Child<QLabel>(QStringLiteral("statusCaption"))->text(),
             QStringLiteral("Examen clinique"));
}

// A record held by another user (lock "R"): the title, the urgency, a shortcut row, a stop line
// and the problem manager are each refused with "Read only" by the form's one gate, and the
// record is left as it was.
void TestProblemPage::aReadOnlyRecordRefusesEveryChangeOfThePanel() {
    WriteDemo(1);
    Start();
    ShowPatient(Patients().At(0)->Field(2));
    Click(QStringLiteral("problemsButton"));
    QVERIFY(Panel().IsOpen());
    // A treatment running from today, for the stop list.
    TypeAtEnd("medicine", QStringLiteral(" aspirin 100 mg"));
    Panel().Refresh(Panel().Commit());
    PatientRecord& record = *Patients().Current();
    const std::u16string stored = record.problemJournal;
    const QString title = Child<QLineEdit>(QStringLiteral("title"))->text();
    record.lockState = u"R";

    auto* notice = Child<QLabel>(QStringLiteral("notice"));
    auto refused = [&](const char* what) {
        QVERIFY2(NoticeText() == QStringLiteral("Read only"), what);
        notice->hide();
    };
    notice->hide();
    QVERIFY(test::Type(*m_program->Frame(), QStringLiteral("title"), QStringLiteral("x")));
    QCOMPARE(Child<QLineEdit>(QStringLiteral("title"))->text(), title);
    refused("title");
    Click(QStringLiteral("urgency"));
    QCOMPARE(Child<QLineEdit>(QStringLiteral("title"))->text(), title);
    refused("urgency");

    CSectionEdit* status = Section("status");
    const QString statusText = status->toPlainText();
    Panel().Shortcuts().Toggle(status);
    CPopupList* shortcuts = Panel().Shortcuts().List();
    QVERIFY(shortcuts && shortcuts->isVisible() && shortcuts->count() > 0);
    QVERIFY(test::ClickRow(*shortcuts, 0));
    QCOMPARE(status->toPlainText(), statusText);
    refused("shortcut row");

    QVERIFY(Child<QWidget>(QStringLiteral("medicineStop"))->isEnabled());
    Click(QStringLiteral("medicineStop"));
    auto* stops = Child<CPopupList>(QStringLiteral("stopList"));
    QVERIFY(stops && stops->isVisible() && stops->count() > 0);
    QVERIFY(test::ClickRow(*stops, 0));
    refused("stop line");

    QVERIFY(test::WithModal([this] { Click(QStringLiteral("problemManager")); },
                            [](QWidget* dialog) {
                                QVERIFY(!test::Child<QWidget>(*dialog, "upButton")->isEnabled());
                                QVERIFY(
                                    !test::Child<QWidget>(*dialog, "solvedButton")->isEnabled());
                                QVERIFY(test::Click(*dialog, QStringLiteral("okButton")));
                            }));
    refused("problem manager");

    Panel().Commit();
    QVERIFY(record.problemJournal == stored);
}

// The "C" beside the Diagnosis searches the factory table installed by init-device; OK puts the
// code into the problem's title in the journal; Cancel says so; a read-only record refuses OK.
void TestProblemPage::codeSearchPutsTheCodeThroughTheFormsGate() {
    WriteDemo(1);
    Start();
    ShowPatient(Patients().At(0)->Field(2));
    Click(QStringLiteral("problemsButton"));
    QVERIFY(Panel().IsOpen());
    auto* title = Child<QLineEdit>(QStringLiteral("title"));
    const QString before = title->text();
    auto pick = [](QWidget* dialog, bool ok) {
        auto* words = test::Child<QLineEdit>(*dialog, "wordsBox");
        words->clear();
        QVERIFY(test::Type(*dialog, "wordsBox", "pneumonia unspecified organism"));
        QVERIFY(test::Click(*dialog, "searchButton"));
        auto* results = test::Child<QTreeWidget>(*dialog, "results");
        // J18 and its five codes (read off the table).
        QCOMPARE(results->topLevelItemCount(), 6);
        QCOMPARE(results->topLevelItem(5)->text(0), QStringLiteral("J18.9"));
        results->setCurrentItem(results->topLevelItem(5));
        emit results->itemClicked(results->topLevelItem(5), 0);
        QVERIFY(test::Click(*dialog, ok ? "okButton" : "cancelButton"));
    };
    QVERIFY(test::WithModal([this] { Click(QStringLiteral("codeSearch")); },
                            [&](QWidget* dialog) { pick(dialog, false); }));
    QCOMPARE(NoticeText(), QStringLiteral("Cancel"));
    QCOMPARE(title->text(), before);
    QVERIFY(test::WithModal([this] { Click(QStringLiteral("codeSearch")); },
                            [&](QWidget* dialog) { pick(dialog, true); }));
    QVERIFY(title->text().endsWith(QStringLiteral(" (J18.9)")));
    PatientRecord& record = *Patients().Current();
    QVERIFY(QString::fromStdU16String(record.problemJournal).contains(title->text()));

    const std::u16string stored = record.problemJournal;
    const QString coded = title->text();
    record.lockState = u"R";
    Child<QLabel>(QStringLiteral("notice"))->hide();
    QVERIFY(test::WithModal([this] { Click(QStringLiteral("codeSearch")); },
                            [&](QWidget* dialog) {
                                auto* problem = test::Child<QLineEdit>(*dialog, "problemBox");
                                problem->setText(QStringLiteral("Changed (J18.9)"));
                                QVERIFY(test::Click(*dialog, "okButton"));
                            }));
    QCOMPARE(NoticeText(), QStringLiteral("Read only"));
    QCOMPARE(title->text(), coded);
    Panel().Commit();
    QVERIFY(record.problemJournal == stored);
}

QTEST_MAIN(TestProblemPage)
#include "TestProblemPage.moc"
