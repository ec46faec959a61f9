// Ending the program from outside keeps the doctor's work: a running Pondrel sent SIGTERM,
// SIGINT or SIGHUP saves what was typed and ends; the end of the desktop session and a quit
// without the window closed save too, with no box nobody could answer.

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <filesystem>
#include <memory>

#include <signal.h>

#include "GuiDriver.h"
#include "TestDevice.h"
#include "demo/DemoPatients.h"
#include "journal/ui/CSectionEdit.h"
#include "platform/Clock.h"
#include "platform/HostFileSystem.h"
#include "platform/ui/QtText.h"
#include "records/CCorvaneDoc.h"
#include "records/PatientFileLoader.h"
#include "records/PatientRecord.h"
#include "records/WorkingFolders.h"
#include "ui/frame/CCorvaneView.h"
#include "ui/frame/CMainFrame.h"
#include "ui/app/PondrelApplication.h"

using namespace pondrel;
namespace fs = std::filesystem;

class TestEnding : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void signalSavesTheTypingThenEnds_data();
    void signalSavesTheTypingThenEnds();
    void signalDuringAQuestionSavesToo();
    void sessionEndSavesAndTheProgramGoesOn();
    void quitWithTheWindowOpenSaves();

private:
    // Runs the typing program until it is ready, sends it `signal`; its standard error.
    QByteArray RunAndSignal(int signal, const QString& then = {});
    void WriteDemo();
    void StartHere();
    void TypeIntoStatus(const QString& text);
    std::u16string SavedJournal();

    std::unique_ptr<QTemporaryDir> m_dir;
    fs::path m_device;
    std::u16string m_fileName;
    std::unique_ptr<PondrelApplication> m_program;
};

void TestEnding::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_device = test::PrepareTestDevice(*m_dir);
    WriteDemo();
}

void TestEnding::cleanup() {
    m_program.reset();
    m_dir.reset();
}

// One demo patient whose stay runs up to today.
void TestEnding::WriteDemo() {
    HostFileSystem files(m_device);
    DemoOptions options;
    options.patients = 1;
    options.today = SystemClock().Now();
    DemoWriteResult written = WriteDemoPatients(files, WorkingFolders::kActivePatients, options);
    QCOMPARE(written.written, 1);
    std::vector<std::u16string> names;
    QVERIFY(files.ListFiles(WorkingFolders::kActivePatients, u"*.pdr", names, 10));
    QCOMPARE(names.size(), size_t{1});
    m_fileName = names.front();
}

std::u16string TestEnding::SavedJournal() {
    HostFileSystem files(m_device);
    PatientRecord record;
    const LoadResult result =
        LoadPatientFile(files, WorkingFolders::ActiveFile(m_fileName), record);
    if (!result.Ok()) qWarning("cannot read back: %s", LoadFailureReason(result).c_str());
    return record.problemJournal;
}

void TestEnding::signalSavesTheTypingThenEnds_data() {
    QTest::addColumn<int>("signal");
    QTest::addColumn<QString>("name");
    QTest::newRow("SIGTERM") << int{SIGTERM} << QStringLiteral("SIGTERM");
    QTest::newRow("SIGINT") << int{SIGINT} << QStringLiteral("SIGINT");
    QTest::newRow("SIGHUP") << int{SIGHUP} << QStringLiteral("SIGHUP");
}

QByteArray TestEnding::RunAndSignal(int signal, const QString& then) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!then.isEmpty()) environment.insert(QStringLiteral("PONDREL_TYPING_THEN"), then);
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(PONDREL_TYPING_PROGRAM),
                  {QStringLiteral("--device"), QString::fromStdString(m_device.string())});
    if (!program.waitForStarted(10000)) return "not started";
    QByteArray out;
    while (!out.contains("\n") && program.waitForReadyRead(30000)) out += program.readAll();
    if (out != "ready\n") return "not ready: " + out;

    if (::kill(static_cast<pid_t>(program.processId()), signal) != 0) return "kill failed";
    if (!program.waitForFinished(30000)) return "still running";
    const QByteArray errors = program.readAllStandardError();
    if (program.exitStatus() != QProcess::NormalExit || program.exitCode() != 0) {
        return "ended badly: " + errors;
    }
    return errors;
}

void TestEnding::signalSavesTheTypingThenEnds() {
    QFETCH(int, signal);
    QFETCH(QString, name);
    QVERIFY(SavedJournal().find(u"typed before the end") == std::u16string::npos);
    const QByteArray errors = RunAndSignal(signal);
    QVERIFY2(errors.contains((name + QStringLiteral(" received")).toUtf8()), errors.constData());
    QVERIFY(SavedJournal().find(u"typed before the end") != std::u16string::npos);
}

// The signal comes while "Open all" asks its question: the typing is saved all the same, and
// the question's loop ends with the program.
void TestEnding::signalDuringAQuestionSavesToo() {
    const QByteArray errors = RunAndSignal(SIGTERM, QStringLiteral("open-all"));
    QVERIFY2(errors.contains("SIGTERM received"), errors.constData());
    QVERIFY(SavedJournal().find(u"typed before the end") != std::u16string::npos);
}

void TestEnding::StartHere() {
    ProgramOptions options;
    options.device = m_device;
    m_program = std::make_unique<PondrelApplication>(options);
    QVERIFY(m_program->InitInstance());
    CCorvaneView& view = *m_program->Frame()->View();
    QTRY_VERIFY(view.StartUpResult().has_value());
    QVERIFY(*view.StartUpResult());
    m_program->Frame()->activateWindow();
    QTRY_VERIFY(m_program->Frame()->isActiveWindow());
}

void TestEnding::TypeIntoStatus(const QString& text) {
    m_program->Frame()->View()->ShowPage(20);
    QVERIFY(test::Type(*m_program->Frame(), QStringLiteral("status"), text));
}

void TestEnding::sessionEndSavesAndTheProgramGoesOn() {
    StartHere();
    TypeIntoStatus(QStringLiteral("session ends"));
    // A patient that cannot be saved: its box would wait for an answer nobody gives.
    PatientRecord& half = m_program->Document().Patients().AddNew();
    half.inUse = 1;
    half.SetField(2, u"Half");
    const size_t boxes = m_program->Messages().Shown().size();

    m_program->SaveForSessionEnd();
    QVERIFY(SavedJournal().find(u"Session ends") != std::u16string::npos);
    QCOMPARE(m_program->Messages().Shown().size(), boxes);
    QVERIFY(!m_program->Messages().Unattended());
    // The session's end may be cancelled: the program goes on as it was.
    QVERIFY(m_program->Frame()->isVisible());
    QCOMPARE(m_program->Frame()->View()->CurrentPage(), 20);
}

void TestEnding::quitWithTheWindowOpenSaves() {
    StartHere();
    TypeIntoStatus(QStringLiteral("quit while open"));
    m_program->SaveIfQuitWhileOpen();
    QVERIFY(SavedJournal().find(u"Quit while open") != std::u16string::npos);
    QVERIFY(!m_program->Frame()->isVisible());

    // After a normal close (which saved with its questions) there is nothing more to do.
    StartHere();
    TypeIntoStatus(QStringLiteral(" then closed"));
    QVERIFY(m_program->Frame()->close());
    QVERIFY(SavedJournal().find(u"then closed") != std::u16string::npos);
    const size_t boxes = m_program->Messages().Shown().size();
    m_program->SaveIfQuitWhileOpen();
    QCOMPARE(m_program->Messages().Shown().size(), boxes);
}

QTEST_MAIN(TestEnding)
#include "TestEnding.moc"
