// The seven summary pages of the main form driven as a user would, on a device folder prepared
// as pondrel-tool init-device does, with demo patients: which patient and day they show, when
// they are built again, the day summary bar, the problem arrows and the all-patients days.

#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <memory>

#include "DemoProgram.h"
#include "GuiDriver.h"
#include "TestDevice.h"
#include "documents/ui/CHtmlView.h"
#include "documents/ui/CSummaryPage.h"
#include "journal/ui/CProblemPanel.h"
#include "journal/JournalDays.h"
#include "journal/ui/CSectionEdit.h"
#include "platform/Clock.h"
#include "platform/ui/QtText.h"
#include "records/CCorvaneDoc.h"
#include "records/PatientRecord.h"
#include "ui/frame/CCorvaneView.h"
#include "ui/frame/CMainFrame.h"
#include "ui/app/PondrelApplication.h"
#include "ui/pages/ProblemPage.h"

using namespace pondrel;

class TestSummaryPages : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void theDaySummaryButtonShowsTheOpenPatientsDay();
    void aPageIsBuiltAgainOnlyAfterAChange();
    void theDayBarAndTheProblemArrowsMoveTheEditor();
    void theCaptionsOpenTheDayAndProblemLists();
    void theAllPatientsPageMovesTheSharedDay();
    void everyPageShowsItsSummary();
    void screenshots();

private:
    CCorvaneView& View() { return *m_program->Frame()->View(); }
    PatientSet& Patients() { return m_program->Document().Patients(); }
    CProblemPanel& Panel() { return *View().Find<ProblemPage>()->Panel(); }
    CSummaryPage& Page(const char* name) {
        return *test::Child<CSummaryPage>(*m_program->Frame(), QString::fromLatin1(name));
    }
    CHtmlView& Html(const char* name) { return Page(name).View(); }
    void Click(const QString& name) { QVERIFY(test::Click(*m_program->Frame(), name)); }
    void WriteDemo(int count);
    void Start();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::filesystem::path m_device;
    std::unique_ptr<PondrelApplication> m_program;
};

void TestSummaryPages::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_device = test::PrepareTestDevice(*m_dir);
}

void TestSummaryPages::cleanup() {
    m_program.reset();
    m_dir.reset();
}

void TestSummaryPages::WriteDemo(int count) {
    QCOMPARE(test::WriteTodayDemo(m_device, count), count);
}

void TestSummaryPages::Start() {
    m_program = test::StartProgram(m_device);
    QVERIFY(m_program);
}

void TestSummaryPages::theDaySummaryButtonShowsTheOpenPatientsDay() {
    WriteDemo(3);
    Start();
    const PatientRecord* shown = Patients().Current();
    Click(QStringLiteral("daySummaryButton"));
    QCOMPARE(View().CurrentPage(), 21);
    // The problem panel opened the patient on screen on its last day.
    QCOMPARE(View().Find<ProblemPage>()->OpenRecord(), shown);
    const QString source = Html("daySummary").Source();
    QVERIFY(source.contains(ToQString(shown->Field(2))));
    QVERIFY(source.contains(QStringLiteral("BGCOLOR=\"#E9BBE9\"")));
    QString label = ToQString(Panel().Days().DateLabel()).replace(QStringLiteral(" - "), " ");
    QCOMPARE(Page("daySummary").Caption(), label.left(25).trimmed());
}

void TestSummaryPages::aPageIsBuiltAgainOnlyAfterAChange() {
    WriteDemo(2);
    Start();
    Click(QStringLiteral("daySummaryButton"));
    QCOMPARE(Html("daySummary").Shown(), 1);
    Click(QStringLiteral("problemsButton"));
    Click(QStringLiteral("daySummaryButton"));
    QCOMPARE(Html("daySummary").Shown(), 1);

    // Typing on the problems page reaches the summary.
    Click(QStringLiteral("problemsButton"));
    auto* status = test::Child<CSectionEdit>(*m_program->Frame(), QStringLiteral("status"));
    QVERIFY(status && status->isEnabled());
    QTest::mouseClick(status->viewport(), Qt::LeftButton);
    QTest::keyClick(status, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(status, QStringLiteral(" <b>rub</b>"));
    Click(QStringLiteral("daySummaryButton"));
    QCOMPARE(Html("daySummary").Shown(), 2);
    QVERIFY(Html("daySummary").Source().contains(QStringLiteral("&lt;b&gt;rub&lt;/b&gt;")));
    QVERIFY(Html("daySummary").toPlainText().contains(QStringLiteral("<b>rub</b>")));
}

void TestSummaryPages::theDayBarAndTheProblemArrowsMoveTheEditor() {
    WriteDemo(2);
    Start();
    Click(QStringLiteral("daySummaryButton"));
    const DayNumber last = Panel().Model().CurrentDay();
    const QString caption = Page("daySummary").Caption();
    Click(QStringLiteral("daySummaryPreviousDay"));
    QCOMPARE(Panel().Model().CurrentDay(), last - 1);
    QVERIFY(Page("daySummary").Caption() != caption);
    QCOMPARE(Html("daySummary").Shown(), 2);
    Click(QStringLiteral("daySummaryNow"));
    QCOMPARE(Panel().Model().CurrentDay(), last);
    QCOMPARE(Page("daySummary").Caption(), caption);

    View().ShowPage(22);
    QVERIFY(Page("problemSummary").Caption().startsWith(QStringLiteral("P1/")));
    QVERIFY(
        !test::Child<QWidget>(*m_program->Frame(), "problemSummaryPreviousProblem")->isEnabled());
    Click(QStringLiteral("problemSummaryNextProblem"));
    QCOMPARE(Panel().Model().CurrentProblem(), 1);
    QVERIFY(Page("problemSummary").Caption().startsWith(QStringLiteral("P2/")));
    QVERIFY(Html("problemSummary").Source().contains(QStringLiteral(">P 2/")));
}

void TestSummaryPages::theCaptionsOpenTheDayAndProblemLists() {
    WriteDemo(2);
    Start();
    // A stay of at least four days so far.
    PatientRecord& shown = *Patients().Current();
    shown.admissionDay -= 3;
    shown.admission = NoonOf(shown.admissionDay);
    Click(QStringLiteral("daySummaryButton"));
    auto* caption = test::Child<QLabel>(*m_program->Frame(), QStringLiteral("daySummaryCaption"));
    QTest::mouseClick(caption, Qt::LeftButton);
    auto* days = test::Child<QListWidget>(*m_program->Frame(), QStringLiteral("daySummaryList"));
    QVERIFY(days && days->isVisible());
    const int rows = static_cast<int>(Panel().Days().DayRows().size());
    QVERIFY(rows >= 4);
    QCOMPARE(days->count(), rows);
    QCOMPARE(days->currentRow(), rows - 1);  // today
    QVERIFY(test::ClickRow(*days, 0));
    QVERIFY(!days->isVisible());
    QCOMPARE(Panel().Model().CurrentDay(), shown.admissionDay);
    QCOMPARE(Html("daySummary").Shown(), 2);
    QVERIFY(Page("daySummary").Caption().startsWith(QStringLiteral("D1 ")));

    View().ShowPage(22);
    caption = test::Child<QLabel>(*m_program->Frame(), QStringLiteral("problemSummaryCaption"));
    QTest::mouseClick(caption, Qt::LeftButton);
    auto* problems =
        test::Child<QListWidget>(*m_program->Frame(), QStringLiteral("problemSummaryList"));
    QVERIFY(problems && problems->isVisible());
    QCOMPARE(problems->count(), Panel().Model().ProblemCount());
    QVERIFY(test::ClickRow(*problems, 1));
    QCOMPARE(Panel().Model().CurrentProblem(), 1);
    QVERIFY(Page("problemSummary").Caption().startsWith(QStringLiteral("P2/")));
}

void TestSummaryPages::theAllPatientsPageMovesTheSharedDay() {
    WriteDemo(3);
    Start();
    View().ShowPage(34);
    const CHtmlView& html = Html("allPatientsSummary");
    QCOMPARE(html.Shown(), 1);
    for (int i = 0; i < Patients().Count(); ++i) {
        QVERIFY(html.Source().contains(ToQString(Patients().At(i)->Field(2))));
    }
    const DayNumber today = DayNumberOf(SystemClock().Now());
    QCOMPARE(Panel().Model().CurrentDay(), today);
    Click(QStringLiteral("allPatientsSummaryToday"));  // today already: nothing to do
    QCOMPARE(html.Shown(), 1);
    Click(QStringLiteral("allPatientsSummaryPreviousDay"));
    QCOMPARE(Panel().Model().CurrentDay(), today - 1);
    QCOMPARE(html.Shown(), 2);
    // The day summary follows the shared day.
    Click(QStringLiteral("daySummaryButton"));
    QCOMPARE(Page("daySummary").Caption(),
             ToQString(Panel().Days().DateLabel()).replace(QStringLiteral(" - "), " "));
    View().ShowPage(34);
    Click(QStringLiteral("allPatientsSummaryToday"));
    QCOMPARE(Panel().Model().CurrentDay(), today);
}

void TestSummaryPages::everyPageShowsItsSummary() {
    WriteDemo(3);
    Start();
    const QString name = ToQString(Patients().Current()->Field(2));
    const struct {
        int page;
        const char* widget;
        const char* mark;
    } pages[] = {{22, "problemSummary", "BGCOLOR=\"#ffd0a6\""},
                 {38, "evolutionSummary", "<TABLE BORDER=1"},
                 {24, "examsSummary", "BGCOLOR=\"#ffd0a6\""},
                 {25, "entrySummary", "BGCOLOR=\"#CD86B5\""},
                 {23, "tasksSummary", "BGCOLOR=\"#CCBFFD\""}};
    for (const auto& p : pages) {
        View().ShowPage(p.page);
        const QString source = Html(p.widget).Source();
        QVERIFY2(source.contains(QString::fromLatin1(p.mark)), p.widget);
        QVERIFY2(source.contains(name), p.widget);
        QVERIFY2(!Page(p.widget).Caption().isEmpty(), p.widget);
    }
}

void TestSummaryPages::screenshots() {
    if (!test::ScreenshotsWanted()) QSKIP("screenshots are written only when asked for");
    WriteDemo(4);
    Start();
    const struct {
        int page;
        const char* name;
    } pages[] = {{21, "summary-day"},   {22, "summary-problem"}, {38, "summary-evolution"},
                 {24, "summary-exams"}, {25, "summary-entry"},   {23, "summary-tasks"},
                 {34, "summary-all"}};
    for (const auto& p : pages) {
        View().ShowPage(p.page);
        test::Screenshot(*m_program->Frame(), QString::fromLatin1(p.name));
    }
    View().ShowPage(21);
    QTest::mouseClick(test::Child<QLabel>(*m_program->Frame(), "daySummaryCaption"),
                      Qt::LeftButton);
    test::Screenshot(*m_program->Frame(), QStringLiteral("summary-day-list"));
    View().ShowPage(22);
    QTest::mouseClick(test::Child<QLabel>(*m_program->Frame(), "problemSummaryCaption"),
                      Qt::LeftButton);
    test::Screenshot(*m_program->Frame(), QStringLiteral("summary-problem-list"));
}

QTEST_MAIN(TestSummaryPages)
#include "TestSummaryPages.moc"
