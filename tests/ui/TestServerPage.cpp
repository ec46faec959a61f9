// Page 33, "Server : Files exchange", of the program against a real pondrel-server, with a second
// handheld of the ward (the program's own code, without Qt) as the other user: the handheld and
// server lists, Synch, Lock and Unlock, a file the other user holds turning read only on the
// form, Import one, Clear list, the archive view, and the commands that need the server disabled
// offline.

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

#include "FormTestBase.h"
#include "ServerProcess.h"
#include "WardClient.h"
#include "mainform/MainFormController.h"
#include "settings/PreferencesFile.h"
#include "sync/FileExchange.h"
#include "sync/SyncSession.h"
#include "sync/ui/SyncIcons.h"
#include "ui/frame/CCommandBar.h"
#include "ui/pages/SyncPages.h"

using namespace pondrel;
using H = ActiveFileRow;

namespace {

// The columns of the lists as the page shows them.
constexpr int kFileColumn = 1;
constexpr int kUserColumn = 2;
constexpr int kStateColumn = 4;
constexpr int kInfoColumn = 7;
constexpr int kImportedColumn = 3;

const QStringList kOnlineCommands = {"synchButton",   "synchAllButton", "lockButton",
                                     "unlockButton",  "lockAllButton",  "unlockAllButton",
                                     "importOneButton", "importAllButton"};

}  // namespace

class TestServerPage : public QObject, public test::FormTestBase {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void synchLockAndAFileAnotherUserHolds();
    void importOneArchiveAndClearList();

private:
    bool StartAs(const std::u16string& user, const std::u16string& password);
    bool GoOnline();
    test::WardClient& Bruno();
    bool BrunoOnline();
    FileExchange& Files() { return View().Find<SyncPages>()->Session().Files(); }
    QTreeWidget* List(const QString& name) { return Named<QTreeWidget>(name); }
    QTreeWidgetItem* Item(const QString& list, const QString& fileName);
    QString Cell(const QString& list, const QString& fileName, int column);
    bool Choose(const QString& list, const QString& fileName);
    bool ShowsIcon(const QString& list, const QString& fileName, int icon);
    bool Enabled(const QString& name) { return Named<QWidget>(name)->isEnabled(); }
    bool Settled() { return !Files().OperationUnderWay() && Files().RepliesPending() < 1; }
    PatientRecord* ShowPatient(const std::u16string& fileName);

    std::unique_ptr<QTemporaryDir> m_serverDir;
    std::unique_ptr<test::ServerProcess> m_server;
    test::Waker m_waker;
    std::unique_ptr<test::WardClient> m_bruno;
    QTimer m_stepper;
};

void TestServerPage::init() {
    m_serverDir = std::make_unique<QTemporaryDir>();
    m_server = std::make_unique<test::ServerProcess>(PONDREL_SERVER_PATH,
                                                     (m_serverDir->path() + "/data").toStdString());
    QVERIFY(m_server->AddUser("Anna", "111111"));
    QVERIFY(m_server->AddUser("Bruno", "222222"));
    QVERIFY(m_server->Start());
    Prepare();
}

void TestServerPage::cleanup() {
    m_stepper.stop();
    m_stepper.disconnect();
    Finish();
    m_bruno.reset();
    m_server.reset();
}

bool TestServerPage::StartAs(const std::u16string& user, const std::u16string& password) {
    HostFileSystem files(m_device);
    const std::u16string path = u"\\Program files\\Pondrel\\Preferences.pre";
    Preferences preferences;
    if (!ReadPreferencesFile(files, path, preferences)) return false;
    preferences.wireless = WirelessSettings{user, password, 0, u"127.0.0.1", m_server->Port()};
    if (!WritePreferencesFile(files, path, preferences)) return false;
    return Start();
}

bool TestServerPage::GoOnline() {
    View().ShowPage(SyncPages::kServerPage);
    if (!Tap("serverConnectButton")) return false;
    return QTest::qWaitFor([&] { return View().Find<SyncPages>()->GetConnection().Online(); },
                           5000);
}

test::WardClient& TestServerPage::Bruno() {
    if (!m_bruno) {
        m_bruno = std::make_unique<test::WardClient>(m_waker, u"Bruno", u"222222",
                                                     m_server->Port());
        // Bruno's handheld runs in the test's loop, as the program does.
        connect(&m_stepper, &QTimer::timeout, this, [this] { m_bruno->Step(); });
        m_stepper.start(5);
    }
    return *m_bruno;
}

bool TestServerPage::BrunoOnline() {
    Bruno().connection.Connect();
    return QTest::qWaitFor([&] { return Bruno().connection.Online(); }, 5000);
}

QTreeWidgetItem* TestServerPage::Item(const QString& list, const QString& fileName) {
    QTreeWidget* tree = List(list);
    for (int row = 0; tree && row < tree->topLevelItemCount(); ++row) {
        if (tree->topLevelItem(row)->text(kFileColumn) == fileName) return tree->topLevelItem(row);
    }
    return nullptr;
}

QString TestServerPage::Cell(const QString& list, const QString& fileName, int column) {
    QTreeWidgetItem* item = Item(list, fileName);
    return item ? item->text(column) : QStringLiteral("<no row>");
}

// A tap on the row of the shown list, near its left edge, as a user chooses it.
bool TestServerPage::Choose(const QString& list, const QString& fileName) {
    QTreeWidget* tree = List(list);
    QTreeWidgetItem* item = Item(list, fileName);
    if (!tree || !item || !tree->isVisible()) return false;
    tree->scrollToItem(item);
    const QRect row = tree->visualItemRect(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(8, row.center().y()));
    return item->isSelected();
}

bool TestServerPage::ShowsIcon(const QString& list, const QString& fileName, int icon) {
    QTreeWidgetItem* item = Item(list, fileName);
    return item &&
           item->icon(0).pixmap(16, 16).toImage() == DrawFileIcon(icon).pixmap(16, 16).toImage();
}

// Makes the open patient of `fileName` the one the form shows; none when it is not open.
PatientRecord* TestServerPage::ShowPatient(const std::u16string& fileName) {
    for (int i = 0; i < Patients().Count(); ++i) {
        if (Patients().At(i)->fileName != fileName) continue;
        Patients().SetCurrent(i);
        View().Controller().ShowRecord();
        return Patients().Current();
    }
    return nullptr;
}

void TestServerPage::synchLockAndAFileAnotherUserHolds() {
    QCOMPARE(WriteDemo(3), 3);
    QVERIFY(StartAs(u"Anna", u"111111"));
    View().ShowPage(SyncPages::kServerPage);
    QCOMPARE(Named<QLabel>("filesCaption")->text(), QString("--- PDA ---"));
    // Offline: only what needs no server may be used.
    for (const QString& command : kOnlineCommands) {
        QVERIFY2(!Enabled(command), qPrintable(command));
    }
    QVERIFY(Enabled("deleteButton"));
    // Shown, the page lists the open patients at once, before any connection.
    QTRY_COMPARE(List("handheldList")->topLevelItemCount(), 3);

    QVERIFY(GoOnline());
    for (const QString& command : kOnlineCommands) QVERIFY2(Enabled(command), qPrintable(command));
    // The open patients, none known to the server yet: green padlocks marked N, this user's.
    QTreeWidget* handheld = List("handheldList");
    QCOMPARE(handheld->topLevelItemCount(), 3);
    const QString file = ToQString(Patients().Current()->fileName);
    QVERIFY(ShowsIcon("handheldList", file, kIconNotOnServer));
    QCOMPARE(Cell("handheldList", file, kUserColumn), QString("Anna"));
    QCOMPARE(Cell("handheldList", file, kStateColumn), QString());

    // Synch sends it: "Ok", then the server lists it, held by Anna.
    QVERIFY(Choose("handheldList", file));
    QVERIFY(Tap("synchButton"));
    QTRY_COMPARE(Cell("handheldList", file, kInfoColumn), QString("Ok"));
    QTRY_VERIFY(Settled() && Cell("handheldList", file, kStateColumn) == "Locked");
    QVERIFY(ShowsIcon("handheldList", file, kIconMine));
    QVERIFY(Item("handheldList", file)->isSelected());  // still chosen after every refresh
    QVERIFY(Tap("serverChoice"));
    QCOMPARE(Named<QLabel>("filesCaption")->text(), QString("--- Server ---"));
    QCOMPARE(Cell("serverList", file, kUserColumn), QString("Anna"));
    QCOMPARE(Cell("serverList", file, kImportedColumn), QString("Yes"));
    QVERIFY(ShowsIcon("serverList", file, kIconMine));  // the own lock, as on the handheld
    test::Screenshot(*m_program->Frame(), "server-page-server-view");
    QVERIFY(Tap("pdaChoice"));

    // Unlock sends the file and lets it go; Lock takes the server's copy and holds it again.
    QVERIFY(Tap("unlockButton"));
    QTRY_VERIFY(Settled() && Cell("handheldList", file, kStateColumn) == "Unlocked");
    QCOMPARE(Cell("handheldList", file, kUserColumn), QString());
    QVERIFY(ShowsIcon("handheldList", file, kIconFree));
    QVERIFY(Tap("lockButton"));
    QTRY_VERIFY(Settled() && Cell("handheldList", file, kUserColumn) == "Anna");
    QCOMPARE(Cell("handheldList", file, kStateColumn), QString("Locked"));
    QVERIFY(Tap("unlockButton"));
    QTRY_VERIFY(Settled() && Cell("handheldList", file, kStateColumn) == "Unlocked");

    // Bruno takes the free file and locks it.
    QVERIFY(BrunoOnline());
    const std::u16string name = ToU16(file);
    QTRY_VERIFY(!Bruno().session.Files().Server().empty());
    Bruno().session.Files().ImportAll();
    QTRY_VERIFY(Bruno().Open(name) && Bruno().HandheldRow(name) >= 0 &&
                !Bruno().session.Files().OperationUnderWay());
    Bruno().session.Files().LockButton(Bruno().HandheldRow(name));
    QTRY_VERIFY(Bruno().Row(name)->columns[H::kCurrentUser] == u"Bruno");

    // Anna's row shows the holder, online (yellow padlock); her copy is read only.
    QTRY_COMPARE(Cell("handheldList", file, kUserColumn), QString("Bruno"));
    QCOMPARE(Cell("handheldList", file, kStateColumn), QString("Locked"));
    QVERIFY(ShowsIcon("handheldList", file, kIconHeldOnline));
    test::Screenshot(*m_program->Frame(), "server-page-pda-view");
    PatientRecord* held = ShowPatient(name);
    QVERIFY(held);
    QCOMPARE(held->lockState, std::u16string(u"R"));
    QVERIFY(m_program->Frame()->CommandBar()->PatientReadOnly());
    View().ShowPage(1);
    const std::u16string before = held->Field(9);
    QVERIFY(TypeInto(9, "5"));
    QCOMPARE(NoticeText(), QString("Read only"));
    QCOMPARE(held->Field(9), before);

    // Closed: the commands that need the server are disabled again.
    View().ShowPage(SyncPages::kServerPage);
    QVERIFY(Tap("serverCloseButton"));
    QTRY_VERIFY(!View().Find<SyncPages>()->GetConnection().Wanted());
    for (const QString& command : kOnlineCommands) {
        QVERIFY2(!Enabled(command), qPrintable(command));
    }
    QVERIFY(!Enabled("archiveChoice"));
    QTRY_COMPARE(Named<QLabel>("onlineUsersLine")->text(), QString("Offline"));
    QVERIFY(Tap("serverChoice"));
    test::Screenshot(*m_program->Frame(), "server-page-offline");
}

void TestServerPage::importOneArchiveAndClearList() {
    // Bruno's patient, on the server only.
    Bruno().AddPatient(u"Roe", u"Ann", u"1960", u"seen by Bruno");
    QVERIFY(BrunoOnline());
    const std::u16string roe = u"Roe_Ann_1960.pdr";
    Bruno().session.Files().SynchOne(Bruno().HandheldRow(roe));
    QTRY_VERIFY(Bruno().Row(roe)->columns[H::kInfo] == u"Ok");

    QCOMPARE(WriteDemo(2), 2);
    QVERIFY(StartAs(u"Anna", u"111111"));
    QVERIFY(GoOnline());
    QVERIFY(Tap("serverChoice"));
    QTRY_COMPARE(Cell("serverList", "Roe_Ann_1960.pdr", kImportedColumn), QString("No"));
    QCOMPARE(Cell("serverList", "Roe_Ann_1960.pdr", kUserColumn), QString("Bruno"));
    QVERIFY(ShowsIcon("serverList", "Roe_Ann_1960.pdr", kIconHeldOnline));

    // Import one without a row says so; with Roe's row it brings the patient.
    QVERIFY(Tap("importOneButton"));
    QCOMPARE(NoticeText(), QString("You need first to select the file you wish to import"));
    QVERIFY(Choose("serverList", "Roe_Ann_1960.pdr"));
    QVERIFY(Tap("importOneButton"));
    QTRY_COMPARE(Cell("serverList", "Roe_Ann_1960.pdr", kImportedColumn), QString("Yes"));
    QVERIFY(Item("serverList", "Roe_Ann_1960.pdr")->isSelected());
    QCOMPARE(Patients().Count(), 3);
    QTRY_COMPARE(Cell("handheldList", "Roe_Ann_1960.pdr", kUserColumn), QString("Bruno"));

    // One of Anna's files is sent, archived on the server, seen in the archive, activated.
    const QString mine = ToQString(Patients().At(0)->fileName);
    QVERIFY(Tap("pdaChoice"));
    QVERIFY(Choose("handheldList", mine));
    QVERIFY(Tap("synchButton"));
    QVERIFY(Tap("serverChoice"));
    QTRY_COMPARE(Cell("serverList", mine, kUserColumn), QString("Anna"));
    QVERIFY(Choose("serverList", mine));
    QVERIFY(Tap("archivateButton"));
    QTRY_VERIFY(!Item("serverList", mine));
    QVERIFY(!Enabled("activateButton"));
    QVERIFY(Tap("archiveChoice"));
    QTreeWidget* archive = List("archiveList");
    QVERIFY(archive->isVisible() && !List("serverList")->isVisible());
    QCOMPARE(archive->topLevelItemCount(), 1);
    QCOMPARE(archive->topLevelItem(0)->text(0),
             QString("Wait the archivated files list from the server..."));
    QVERIFY(!(archive->topLevelItem(0)->flags() & Qt::ItemIsSelectable));
    const QString entry = mine.left(mine.size() - 4);
    QTRY_COMPARE(archive->topLevelItemCount(), 1);
    QTRY_COMPARE(archive->topLevelItem(0)->text(1), entry);
    QVERIFY(Enabled("activateButton") && !Enabled("archivateButton"));
    test::Screenshot(*m_program->Frame(), "server-page-archive-view");
    QVERIFY(Choose("archiveList", entry));  // its File column is the entry as the server sent it
    QVERIFY(Tap("activateButton"));
    QVERIFY(Named<QRadioButton>("activeChoice")->isChecked());
    QVERIFY(List("serverList")->isVisible());
    QTRY_VERIFY(Item("serverList", mine));

    // Clear list asks first: Cancel keeps the list, OK forgets it and every file is "not on
    // server" again.
    m_program->Messages().QueueAnswer(BoxAnswer::Cancel);
    QVERIFY(Tap("clearListButton"));
    QCOMPARE(m_program->Messages().Shown().back().caption, QString("Clear server information ?"));
    QVERIFY(List("serverList")->topLevelItemCount() > 0);
    QTRY_VERIFY(Settled());
    m_program->Messages().QueueAnswer(BoxAnswer::Ok);
    QVERIFY(Tap("clearListButton"));
    QCOMPARE(List("serverList")->topLevelItemCount(), 0);
    QCOMPARE(NoticeText(), QString("Server information cleared"));
    QVERIFY(ShowsIcon("handheldList", "Roe_Ann_1960.pdr", kIconNotOnServer));
    QVERIFY(ShowsIcon("handheldList", mine, kIconNotOnServer));
}

QTEST_MAIN(TestServerPage)
#include "TestServerPage.moc"
