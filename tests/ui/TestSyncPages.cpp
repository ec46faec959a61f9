// The program's synchronisation pages against a real pondrel-server on a free loopback port:
// Connect and Close on the mail and server pages, the lights of the command bar, the friends who
// come online, the wireless settings from the Preferences dialogue.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <memory>

#include "GuiDriver.h"
#include "ServerProcess.h"
#include "SyncClient.h"
#include "TestDevice.h"
#include "platform/HostFileSystem.h"
#include "settings/Preferences.h"
#include "settings/PreferencesFile.h"
#include "sync/ui/CConnectionIndicators.h"
#include "ui/frame/CCommandBar.h"
#include "ui/frame/CCorvaneView.h"
#include "ui/frame/CMainFrame.h"
#include "ui/app/PondrelApplication.h"
#include "ui/pages/SyncPages.h"

using namespace pondrel;
namespace fs = std::filesystem;

class TestSyncPages : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void connectGoesOnlineShowsFriendsAndCloseEnds();
    void newWirelessSettingsEndTheConnection();
    void connectWithoutAServerSaysSo();

private:
    void Start(const WirelessSettings& wireless);
    CCorvaneView& View() { return *m_program->Frame()->View(); }
    QWidget& Frame() { return *m_program->Frame(); }
    Connection& Link() { return View().Find<SyncPages>()->GetConnection(); }
    bool Click(const QString& name) { return test::Click(Frame(), name); }
    QString NoticeText() {
        auto* notice = test::Child<QLabel>(Frame(), QStringLiteral("notice"));
        return notice && notice->isVisible() ? notice->text() : QString();
    }
    QString ButtonText(const QString& name) {
        return test::Child<QPushButton>(Frame(), name)->text();
    }

    std::unique_ptr<QTemporaryDir> m_serverDir;
    std::unique_ptr<test::ServerProcess> m_server;
    std::unique_ptr<QTemporaryDir> m_dir;
    fs::path m_device;
    std::unique_ptr<PondrelApplication> m_program;
};

void TestSyncPages::initTestCase() {
    m_serverDir = std::make_unique<QTemporaryDir>();
    m_server = std::make_unique<test::ServerProcess>(PONDREL_SERVER_PATH,
                                                     (m_serverDir->path() + "/data").toStdString());
    QVERIFY(m_server->AddUser("Anna", "111111"));
    QVERIFY(m_server->AddUser("Bruno", "222222"));
    QVERIFY(m_server->Start());
}

void TestSyncPages::cleanupTestCase() {
    m_server.reset();
}

void TestSyncPages::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_device = test::PrepareTestDevice(*m_dir);
}

void TestSyncPages::cleanup() {
    m_program.reset();
}

// Starts the program with these wireless settings in its preferences file.
void TestSyncPages::Start(const WirelessSettings& wireless) {
    HostFileSystem files(m_device);
    const std::u16string path = u"\\Program files\\Pondrel\\Preferences.pre";
    Preferences preferences;
    QVERIFY(ReadPreferencesFile(files, path, preferences));
    preferences.wireless = wireless;
    preferences.friends = u"Carla|";
    QVERIFY(WritePreferencesFile(files, path, preferences));
    ProgramOptions options;
    options.device = m_device;
    m_program = std::make_unique<PondrelApplication>(options);
    QVERIFY(m_program->InitInstance());
    QTRY_VERIFY(View().StartUpResult().has_value());
    QVERIFY(*View().StartUpResult());
}

void TestSyncPages::connectGoesOnlineShowsFriendsAndCloseEnds() {
    Start(WirelessSettings{u"Anna", u"111111", 0, u"127.0.0.1", m_server->Port()});
    View().ShowPage(SyncPages::kServerPage);
    QCOMPARE(ButtonText("serverConnectButton"), QString("Connect"));
    QVERIFY(!test::Child<QPushButton>(Frame(), "serverCloseButton")->isEnabled());
    QCOMPARE(test::Child<QLabel>(Frame(), "userNameLine")->text(), QString("User name : Anna"));

    QVERIFY(Click("serverConnectButton"));
    // Connecting: the reconnect bar under the patient box is full.
    QCOMPARE(m_program->Frame()->CommandBar()->Indicators()->Shown().reconnectBarRed, 98);
    test::Screenshot(Frame(), "sync-page33-connecting");
    QTRY_VERIFY(Link().Online());
    QCOMPARE(ButtonText("serverConnectButton"), QString("Online"));
    QCOMPARE(ButtonText("mailConnectButton"), QString("Online"));
    QVERIFY(!test::Child<QPushButton>(Frame(), "mailConnectButton")->isEnabled());
    QVERIFY(test::Child<QPushButton>(Frame(), "mailCloseButton")->isEnabled());
    QCOMPARE(test::Child<QLabel>(Frame(), "onlineUsersLine")->text(), QString("Online : Anna"));
    // The connection light blinks green.
    auto* lights = m_program->Frame()->CommandBar()->Indicators();
    QTRY_VERIFY(lights->Shown().connectionLight == kOnlineLight[0] ||
                lights->Shown().connectionLight == kOnlineLight[1]);

    // Bruno comes online: he joins the friends, online, with a notice.
    test::Waker waker;
    test::SyncClient bruno(waker, u"Bruno", u"222222", m_server->Port());
    QTimer stepper;
    connect(&stepper, &QTimer::timeout, [&] { bruno.Step(); });
    stepper.start(5);
    bruno.connection.Connect();
    QTRY_COMPARE(View().Find<SyncPages>()->Friends().Rows().size(), size_t(2));
    QCOMPARE(NoticeText(), QString("New network friend added: Bruno"));
    auto* friends = test::Child<QListWidget>(Frame(), "friendsList");
    QCOMPARE(friends->count(), 2);
    QCOMPARE(friends->item(0)->text(), QString("Bruno"));
    QCOMPARE(friends->item(0)->toolTip(), QString("online"));
    QCOMPARE(friends->item(1)->text(), QString("Carla"));
    QCOMPARE(friends->item(1)->toolTip(), QString("offline"));
    QVERIFY(View().GetPreferences().friends == u"Bruno|Carla|");

    View().ShowPage(SyncPages::kSendPage);
    test::Screenshot(Frame(), "sync-page31-online");
    View().ShowPage(SyncPages::kMailPage);
    test::Screenshot(Frame(), "sync-page32-online");
    View().ShowPage(SyncPages::kServerPage);
    test::Screenshot(Frame(), "sync-page33-online");

    bruno.connection.CloseByUser();
    QTRY_COMPARE(test::Child<QLabel>(Frame(), "onlineUsersLine")->text(), QString("Online : Anna"));
    QVERIFY(Click("mailCloseButton"));
    QCOMPARE(ButtonText("serverConnectButton"), QString("-Wait-"));
    QTRY_COMPARE(ButtonText("serverConnectButton"), QString("Connect"));
    QVERIFY(!Link().Wanted());
    QCOMPARE(friends->item(0)->toolTip(), QString("offline"));
    QTRY_VERIFY(lights->Shown().connectionLight == kLightOff);
    stepper.stop();
}

void TestSyncPages::newWirelessSettingsEndTheConnection() {
    Start(WirelessSettings{u"Anna", u"111111", 0, u"127.0.0.1", m_server->Port()});
    QVERIFY(Click("mailConnectButton"));
    QTRY_VERIFY(Link().Online());
    // Preferences, Wireless settings: another port, OK, OK.
    QTimer::singleShot(0, this, [this] {
        QWidget* preferences = QApplication::activeModalWidget();
        QVERIFY(preferences);
        QVERIFY(
            test::WithModal([&] { QVERIFY(test::Click(*preferences, "wirelessSettingsButton")); },
                            [&](QWidget* wireless) {
                                test::Screenshot(*wireless, "sync-wireless-in-program");
                                test::Child<QLineEdit>(*wireless, "portEdit")->clear();
                                QVERIFY(test::Type(*wireless, "portEdit", "4999"));
                                QVERIFY(test::Click(*wireless, "okButton"));
                            }));
        QVERIFY(test::Click(*preferences, "okButton"));
    });
    View().RunPreferences();
    QVERIFY(!Link().Wanted());
    QCOMPARE(View().GetPreferences().wireless.serverPort, 4999);
    QTRY_COMPARE(ButtonText("serverConnectButton"), QString("Connect"));
}

void TestSyncPages::connectWithoutAServerSaysSo() {
    Start(WirelessSettings{u"Anna", u"111111", 0, u"", 0});
    View().ShowPage(SyncPages::kMailPage);
    QVERIFY(Click("mailConnectButton"));
    QCOMPARE(NoticeText(), QString("No server address. Set it in Preferences, Wireless settings."));
    QVERIFY(!Link().Wanted());
    test::Screenshot(Frame(), "sync-page32-offline");
}

QTEST_MAIN(TestSyncPages)
#include "TestSyncPages.moc"
