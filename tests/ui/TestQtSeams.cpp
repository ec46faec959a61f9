// The Qt implementations of the platform seams (message boxes, timers) and the command line.

#include <QTest>

#include <cstdlib>

#include "ui/app/ProgramOptions.h"
#include "ui/seams/QtTimers.h"
#include "ui/seams/QtUserMessages.h"

using namespace pondrel;

Q_DECLARE_METATYPE(pondrel::BoxButtons)
Q_DECLARE_METATYPE(pondrel::BoxIcon)
Q_DECLARE_METATYPE(pondrel::BoxAnswer)

class TestQtSeams : public QObject {
    Q_OBJECT

private slots:
    void boxShowsWhatItIsGiven_data();
    void boxShowsWhatItIsGiven();
    void noticeGoesToItsTarget();
    void timersTickRestartAndStop();
    void timerHandlerMayStopOrRestartItself();
    void backupTimerTicksAtOnce();
    void options_data();
    void options();
    void defaultDevice();
    void zoomBeforeTheApplication();
};

void TestQtSeams::boxShowsWhatItIsGiven_data() {
    QTest::addColumn<BoxButtons>("buttons");
    QTest::addColumn<BoxIcon>("icon");
    QTest::addColumn<BoxAnswer>("scripted");
    QTest::addColumn<QMessageBox::StandardButtons>("shownButtons");
    QTest::addColumn<QMessageBox::Icon>("shownIcon");
    QTest::addColumn<BoxAnswer>("answer");
    QTest::newRow("ok error") << BoxButtons::Ok << BoxIcon::Error << BoxAnswer::Ok
                              << QMessageBox::StandardButtons(QMessageBox::Ok)
                              << QMessageBox::Critical << BoxAnswer::Ok;
    QTest::newRow("ok cancel question, cancel")
        << BoxButtons::OkCancel << BoxIcon::Question << BoxAnswer::Cancel
        << (QMessageBox::Ok | QMessageBox::Cancel) << QMessageBox::Question << BoxAnswer::Cancel;
    QTest::newRow("yes no information, no")
        << BoxButtons::YesNo << BoxIcon::Information << BoxAnswer::No
        << (QMessageBox::Yes | QMessageBox::No) << QMessageBox::Information << BoxAnswer::No;
    QTest::newRow("yes no cancel warning, yes")
        << BoxButtons::YesNoCancel << BoxIcon::Warning << BoxAnswer::Yes
        << (QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) << QMessageBox::Warning
        << BoxAnswer::Yes;
    QTest::newRow("no icon") << BoxButtons::Ok << BoxIcon::None << BoxAnswer::Ok
                             << QMessageBox::StandardButtons(QMessageBox::Ok) << QMessageBox::NoIcon
                             << BoxAnswer::Ok;
    // A scripted answer the box does not offer takes its default button instead of hanging.
    QTest::newRow("answer not offered")
        << BoxButtons::Ok << BoxIcon::None << BoxAnswer::Yes
        << QMessageBox::StandardButtons(QMessageBox::Ok) << QMessageBox::NoIcon << BoxAnswer::Ok;
}

void TestQtSeams::boxShowsWhatItIsGiven() {
    QFETCH(BoxButtons, buttons);
    QFETCH(BoxIcon, icon);
    QFETCH(BoxAnswer, scripted);
    QtUserMessages messages;
    messages.QueueAnswer(scripted);
    const std::u16string text = u"End Save  \r\n (there was an error) ¢ é <b>not bold</b>";
    BoxAnswer answer = messages.ShowBox(text, u"Close patient : yes or no ?", buttons, icon);
    QTEST(answer, "answer");
    QCOMPARE(messages.PendingAnswers(), size_t(0));
    QCOMPARE(messages.Shown().size(), size_t(1));
    const auto& shown = messages.Shown().front();
    QCOMPARE(shown.text, QString::fromStdU16String(text));
    QCOMPARE(shown.caption, QStringLiteral("Close patient : yes or no ?"));
    QTEST(shown.buttons, "shownButtons");
    QTEST(shown.icon, "shownIcon");
}

void TestQtSeams::noticeGoesToItsTarget() {
    QtUserMessages messages;
    messages.ShowNotice(u"dropped", 1000, false);  // no target yet: nothing happens
    std::u16string got;
    int gotMs = 0;
    bool gotWarning = false;
    messages.SetNoticeTarget([&](const std::u16string& text, int ms, bool warning) {
        got = text;
        gotMs = ms;
        gotWarning = warning;
    });
    messages.ShowNotice(u"Quick Save", 1000, true);
    QCOMPARE(got, std::u16string(u"Quick Save"));
    QCOMPARE(gotMs, 1000);
    QVERIFY(gotWarning);
}

void TestQtSeams::timersTickRestartAndStop() {
    QtTimers timers;
    QVERIFY(!timers.IsRunning(TimerId::AutoSave));
    int first = 0;
    int second = 0;
    timers.Start(TimerId::AutoSave, 5, [&] { ++first; });
    QVERIFY(timers.IsRunning(TimerId::AutoSave));
    QCOMPARE(timers.Interval(TimerId::AutoSave), 5);
    QVERIFY(!timers.IsRunning(TimerId::Backup));
    QTRY_VERIFY(first >= 2);

    // Starting a running timer replaces its handler and interval.
    timers.Start(TimerId::AutoSave, 7, [&] { ++second; });
    const int firstBefore = first;
    QTRY_VERIFY(second >= 2);
    QCOMPARE(first, firstBefore);
    QCOMPARE(timers.Interval(TimerId::AutoSave), 7);

    timers.Stop(TimerId::AutoSave);
    QVERIFY(!timers.IsRunning(TimerId::AutoSave));
    QCOMPARE(timers.Interval(TimerId::AutoSave), 0);
    const int stoppedAt = second;
    QTest::qWait(40);
    QCOMPARE(second, stoppedAt);
    timers.Stop(TimerId::ChatFading);  // never started: nothing happens
}

void TestQtSeams::timerHandlerMayStopOrRestartItself() {
    QtTimers timers;
    int ticks = 0;
    timers.Start(TimerId::Notice, 1, [&] {
        ++ticks;
        timers.Stop(TimerId::Notice);
    });
    QTRY_COMPARE(ticks, 1);
    QTest::qWait(20);
    QCOMPARE(ticks, 1);

    int restarted = 0;
    std::function<void()> tick = [&] {
        ++restarted;
        if (restarted < 3)
            timers.Start(TimerId::Backup, 1, tick);
        else
            timers.Stop(TimerId::Backup);
    };
    timers.Start(TimerId::Backup, 1, tick);
    QTRY_COMPARE(restarted, 3);
    QVERIFY(!timers.IsRunning(TimerId::Backup));
    timers.Start(TimerId::Watchdog, 1000, [] {});
    timers.StopAll();
    QVERIFY(!timers.IsRunning(TimerId::Watchdog));
}

void TestQtSeams::backupTimerTicksAtOnce() {
    QtTimers timers;
    int backups = 0;
    int saves = 0;
    timers.Start(TimerId::Backup, 60000, [&] { ++backups; });
    timers.Start(TimerId::AutoSave, 60000, [&] { ++saves; });
    QCOMPARE(backups, 0);  // not inside Start: after the caller's work, from the event loop
    QTRY_COMPARE(backups, 1);
    QTest::qWait(20);
    QCOMPARE(backups, 1);
    QCOMPARE(saves, 0);
    // Stopped before the event loop ran: no tick.
    timers.Stop(TimerId::Backup);
    timers.Start(TimerId::Backup, 60000, [&] { ++backups; });
    timers.Stop(TimerId::Backup);
    QTest::qWait(20);
    QCOMPARE(backups, 1);
}

void TestQtSeams::options_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("device");
    QTest::addColumn<double>("zoom");  // 0: none
    QTest::newRow("device") << QStringList{"--device", "/d"} << true << "/d" << 0.0;
    QTest::newRow("device=") << QStringList{"--device=/e f"} << true << "/e f" << 0.0;
    QTest::newRow("zoom 2") << QStringList{"--zoom", "2", "--device", "/d"} << true << "/d" << 2.0;
    QTest::newRow("zoom=1.5") << QStringList{"--zoom=1.5", "--device=/d"} << true << "/d" << 1.5;
    QTest::newRow("zoom too big") << QStringList{"--zoom", "9"} << false << "" << 0.0;
    QTest::newRow("zoom zero") << QStringList{"--zoom=0"} << false << "" << 0.0;
    QTest::newRow("zoom text") << QStringList{"--zoom", "2x"} << false << "" << 0.0;
    QTest::newRow("zoom nan") << QStringList{"--zoom", "nan"} << false << "" << 0.0;
    QTest::newRow("zoom missing") << QStringList{"--zoom"} << false << "" << 0.0;
    QTest::newRow("device missing") << QStringList{"--device"} << false << "" << 0.0;
    QTest::newRow("device empty") << QStringList{"--device="} << false << "" << 0.0;
    QTest::newRow("unknown") << QStringList{"--devise", "/d"} << false << "" << 0.0;
    QTest::newRow("stray") << QStringList{"/d"} << false << "" << 0.0;
}

void TestQtSeams::options() {
    QFETCH(QStringList, args);
    QFETCH(bool, valid);
    std::vector<std::string> list;
    for (const QString& arg : args) list.push_back(arg.toStdString());
    ProgramOptions parsed;
    std::string problem;
    QCOMPARE(parsed.Parse(list, &problem), valid);
    if (!valid) {
        QVERIFY(!problem.empty());
        return;
    }
    QTEST(QString::fromStdString(parsed.device.string()), "device");
    QFETCH(double, zoom);
    QCOMPARE(parsed.zoom.value_or(0.0), zoom);
}

void TestQtSeams::defaultDevice() {
    qputenv("PONDREL_DEVICE", "/from/env");
    QCOMPARE(QString::fromStdString(ProgramOptions::DefaultDevice().string()),
             QStringLiteral("/from/env"));
    ProgramOptions parsed;
    QVERIFY(parsed.Parse({}, nullptr));
    QCOMPARE(QString::fromStdString(parsed.device.string()), QStringLiteral("/from/env"));
    QVERIFY(parsed.Parse({"--device", "/given"}, nullptr));
    QCOMPARE(QString::fromStdString(parsed.device.string()), QStringLiteral("/given"));
    QVERIFY(!parsed.measureStartUp);
    QVERIFY(parsed.Parse({"--measure-start-up", "--device", "/given"}, nullptr));
    QVERIFY(parsed.measureStartUp);
    QVERIFY(parsed.Parse({"--device", "/given"}, nullptr));
    QVERIFY(!parsed.measureStartUp);

    qunsetenv("PONDREL_DEVICE");
    qputenv("XDG_DATA_HOME", "/xdg");
    QCOMPARE(QString::fromStdString(ProgramOptions::DefaultDevice().string()),
             QStringLiteral("/xdg/pondrel/device"));
    qunsetenv("XDG_DATA_HOME");
    qputenv("HOME", "/home/doc");
    QCOMPARE(QString::fromStdString(ProgramOptions::DefaultDevice().string()),
             QStringLiteral("/home/doc/.local/share/pondrel/device"));
}

void TestQtSeams::zoomBeforeTheApplication() {
    const char* argv[] = {"pondrel", "-platform", "offscreen", "--zoom", "2.5", "--device", "/d"};
    QCOMPARE(ProgramOptions::ZoomFromArguments(7, const_cast<char**>(argv)), 2.5);
    const char* none[] = {"pondrel", "--device", "/d"};
    QVERIFY(!ProgramOptions::ZoomFromArguments(3, const_cast<char**>(none)));
    const char* bad[] = {"pondrel", "--zoom=100"};
    QVERIFY(!ProgramOptions::ZoomFromArguments(2, const_cast<char**>(bad)));
}

QTEST_MAIN(TestQtSeams)
#include "TestQtSeams.moc"
