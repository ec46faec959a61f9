// The send page (31) and the mail manager (32) of the real program against a real
// pondrel-server, with a second handheld of the ward (the program's own synchronisation code,
// driven by the test) as the other user: friends, mail both ways with its reports and read
// receipts, Reply, chat both ways, and the refusals that keep what the doctor typed.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <filesystem>
#include <memory>

#include "GuiDriver.h"
#include "ServerProcess.h"
#include "TestDevice.h"
#include "WardClient.h"
#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "platform/ui/QtText.h"
#include "settings/Preferences.h"
#include "settings/PreferencesFile.h"
#include "sync/MailBoxes.h"
#include "sync/ui/CConnectionIndicators.h"
#include "sync/ui/CSendPage.h"
#include "ui/frame/CCommandBar.h"
#include "ui/frame/CCorvaneView.h"
#include "ui/frame/CMainFrame.h"
#include "ui/app/PondrelApplication.h"
#include "ui/pages/SyncPages.h"

using namespace pondrel;
namespace fs = std::filesystem;

class TestMailPages : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void mailToTwoFriendsIsDeliveredAndRead();
    void mailFromAFriendIsOpenedAndAnswered();
    void chatBothWaysFromTheNotice();
    void aFadedMailNoticeLeadsNowhere();
    void refusalsKeepWhatWasTyped();
    void deleteCommandsAskAndEmptyTheReadingBox();
    void aRecipientTypedByNameAndOneTheServerDoesNotKnow();

private:
    // Starts the program as Anna with `friends` as her friends text, connected when asked.
    void Start(const std::u16string& friends, bool connect);
    // Bruno's handheld logs in; Anna sees him online.
    void BrunoLogsIn();
    CCorvaneView& View() { return *m_program->Frame()->View(); }
    QWidget& Frame() { return *m_program->Frame(); }
    Connection& Link() { return View().Find<SyncPages>()->GetConnection(); }
    MailBoxes& Mail() { return View().Find<SyncPages>()->Session().Mail(); }
    bool Click(const QString& name) { return test::Click(Frame(), name); }
    QString NoticeText() {
        auto* notice = test::Child<QLabel>(Frame(), QStringLiteral("notice"));
        return notice && notice->isVisible() ? notice->text() : QString();
    }
    QListWidget* Friends() { return test::Child<QListWidget>(Frame(), "friendsList"); }
    QTreeWidget* List(const char* name) { return test::Child<QTreeWidget>(Frame(), name); }
    QPlainTextEdit* Compose() { return test::Child<QPlainTextEdit>(Frame(), "composeBox"); }
    QString ComposeText() { return Compose()->toPlainText(); }
    QString Text(const char* name) {
        return test::Child<QPlainTextEdit>(Frame(), name)->toPlainText();
    }
    // Ticks the check box of a friend's row as a stylus would.
    void ClickCheckBox(int row);
    // Taps a row of a mail list.
    void ClickMail(QTreeWidget* list, int row);
    // Every control of the page lies inside its band.
    void CheckFits(int page);
    // Steps Bruno's handheld while Qt waits.
    bool Until(const std::function<bool()>& done, int ms = 5000);

    std::unique_ptr<QTemporaryDir> m_serverDir;
    std::unique_ptr<test::ServerProcess> m_server;
    std::unique_ptr<QTemporaryDir> m_dir;
    fs::path m_device;
    std::unique_ptr<PondrelApplication> m_program;
    test::Waker m_waker;
    std::unique_ptr<test::WardClient> m_bruno;
    QTimer m_stepper;
};

void TestMailPages::initTestCase() {
    m_serverDir = std::make_unique<QTemporaryDir>();
    m_server = std::make_unique<test::ServerProcess>(PONDREL_SERVER_PATH,
                                                     (m_serverDir->path() + "/data").toStdString());
    QVERIFY(m_server->AddUser("Anna", "111111"));
    QVERIFY(m_server->AddUser("Bruno", "222222"));
    QVERIFY(m_server->AddUser("Carla", "333333"));
    QVERIFY(m_server->Start());
    connect(&m_stepper, &QTimer::timeout, this, [this] {
        if (m_bruno) m_bruno->Step();
    });
}

void TestMailPages::cleanupTestCase() {
    m_server.reset();
}

void TestMailPages::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_device = test::PrepareTestDevice(*m_dir);
}

void TestMailPages::cleanup() {
    m_stepper.stop();
    m_bruno.reset();
    m_program.reset();
}

void TestMailPages::Start(const std::u16string& friends, bool connect) {
    HostFileSystem files(m_device);
    const std::u16string path = u"\\Program files\\Pondrel\\Preferences.pre";
    Preferences preferences;
    QVERIFY(ReadPreferencesFile(files, path, preferences));
    preferences.wireless = WirelessSettings{u"Anna", u"111111", 0, u"127.0.0.1", m_server->Port()};
    preferences.friends = friends;
    QVERIFY(WritePreferencesFile(files, path, preferences));
    ProgramOptions options;
    options.device = m_device;
    m_program = std::make_unique<PondrelApplication>(options);
    QVERIFY(m_program->InitInstance());
    QTRY_VERIFY(View().StartUpResult().has_value());
    QVERIFY(*View().StartUpResult());
    if (!connect) return;
    View().ShowPage(SyncPages::kMailPage);
    QVERIFY(Click("mailConnectButton"));
    QTRY_VERIFY(Link().Online());
}

void TestMailPages::BrunoLogsIn() {
    m_bruno = std::make_unique<test::WardClient>(m_waker, u"Bruno", u"222222", m_server->Port());
    m_stepper.start(5);
    m_bruno->connection.Connect();
    QTRY_VERIFY(m_bruno->connection.Online());
    QTRY_VERIFY(Friends()->count() > 0 && Friends()->item(0)->text() == "Bruno" &&
                Friends()->item(0)->toolTip() == "online");
}

bool TestMailPages::Until(const std::function<bool()>& done, int ms) {
    return QTest::qWaitFor(done, ms);
}

void TestMailPages::ClickCheckBox(int row) {
    QListWidget* list = Friends();
    QListWidgetItem* item = list->item(row);
    QVERIFY(item);
    QStyleOptionViewItem option;
    option.initFrom(list);
    option.rect = list->visualItemRect(item);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay |
                      QStyleOptionViewItem::HasDecoration;
    option.decorationSize = list->iconSize();
    const QRect box =
        list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
    QVERIFY(box.isValid());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
}

void TestMailPages::CheckFits(int page) {
    QWidget* band = View().Page(page);
    QVERIFY(band);
    const QList<QWidget*> parts = band->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QVERIFY(!parts.isEmpty());
    for (QWidget* shown : parts) {
        if (!shown->isVisible()) continue;
        QVERIFY2(band->rect().contains(shown->geometry()), qPrintable(shown->objectName()));
        // One level down: the page's own controls.
        for (QWidget* control : shown->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!control->isVisible()) continue;
            QVERIFY2(shown->rect().contains(control->geometry()),
                     qPrintable(control->objectName()));
        }
    }
}

void TestMailPages::ClickMail(QTreeWidget* list, int row) {
    QTreeWidgetItem* item = list->topLevelItem(row);
    QVERIFY(item);
    const QRect rect = list->visualItemRect(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(30, rect.center().y()));
}

// Two friends checked, one online and one not: two Outbox rows, Bruno gets the mail, the
// delivery report moves his row to Sent Items and his opening it marks it read there. Carla's
// row waits at the server; Resend sends it again with a new code.
void TestMailPages::mailToTwoFriendsIsDeliveredAndRead() {
    Start(u"Carla|", true);
    BrunoLogsIn();
    QCOMPARE(NoticeText(), QString("New network friend added: Bruno"));
    View().ShowPage(SyncPages::kSendPage);
    QCOMPARE(Friends()->count(), 2);
    QCOMPARE(Friends()->item(1)->text(), QString("Carla"));
    QCOMPARE(Friends()->item(1)->toolTip(), QString("offline"));

    // A tap on a row's name marks nothing; the check boxes do.
    QTest::mouseClick(Friends()->viewport(), Qt::LeftButton, {},
                      Friends()->visualItemRect(Friends()->item(0)).center());
    QCOMPARE(Friends()->item(0)->checkState(), Qt::Unchecked);
    QVERIFY(Friends()->selectedItems().isEmpty());
    ClickCheckBox(0);
    ClickCheckBox(1);
    QCOMPARE(Friends()->item(0)->checkState(), Qt::Checked);
    QVERIFY(View().Find<SyncPages>()->Session().Friends().Rows()[1].checked);

    QVERIFY(test::Type(Frame(), "composeBox", "Lunch at noon?"));
    QTest::keyClick(Compose(), Qt::Key_Return);
    QTest::keyClicks(Compose(), "In the cafeteria");
    QVERIFY(Click("sendButton"));
    QCOMPARE(ComposeText(), QString());
    QVERIFY(Compose()->hasFocus());

    QTreeWidget* outbox = List("outboxList");
    QTreeWidget* sent = List("sentItemsList");
    QCOMPARE(outbox->topLevelItemCount(), 2);
    QVERIFY(Until([&] { return !m_bruno->session.Mail().Rows(MailBox::Inbox).empty(); }));
    const MailRow& got = m_bruno->session.Mail().Rows(MailBox::Inbox)[0];
    QVERIFY(got.columns[MailRow::kPeer] == u"Anna");
    QVERIFY(got.columns[MailRow::kMessage] == u"Lunch at noon?\r\nIn the cafeteria");

    // Bruno's handheld acknowledged it: his row moves to Sent Items; Carla's waits at the server.
    QTRY_COMPARE(sent->topLevelItemCount(), 1);
    QCOMPARE(sent->topLevelItem(0)->text(0), QString("Bruno"));
    QCOMPARE(sent->topLevelItem(0)->text(2), QString("Recipient get the mail"));
    QCOMPARE(sent->topLevelItem(0)->text(10), QString("Lunch at noon?,In the cafeteria"));
    QTRY_COMPARE(outbox->topLevelItemCount(), 1);
    QCOMPARE(outbox->topLevelItem(0)->text(0), QString("Carla"));
    QTRY_COMPARE(outbox->topLevelItem(0)->text(2), QString("Server is waiting client connection"));

    // Bruno opens it: the read receipt reaches Anna.
    QVERIFY(m_bruno->session.Mail().Open(MailBox::Inbox, 0));
    QTRY_COMPARE(sent->topLevelItem(0)->text(2), QString("Message read by the recipient"));
    QVERIFY(!sent->topLevelItem(0)->text(8).isEmpty());

    // The Outbox: the button resends; the selected row keeps its selection through the refresh.
    View().ShowPage(SyncPages::kMailPage);
    QVERIFY(Click("outboxButton"));
    QCOMPARE(test::Child<QPushButton>(Frame(), "answerButton")->text(), QString("Resend"));
    QVERIFY(outbox->isVisible() && !sent->isVisible());
    QVERIFY(outbox->isColumnHidden(1) && outbox->isColumnHidden(5));
    QCOMPARE(outbox->columnWidth(2), 110);
    QCOMPARE(outbox->headerItem()->text(0), QString("Destination"));
    ClickMail(outbox, 0);
    QCOMPARE(Text("readingBox"), QString("Lunch at noon?\nIn the cafeteria"));
    const QString code = outbox->topLevelItem(0)->text(5);
    CheckFits(SyncPages::kMailPage);
    test::Screenshot(Frame(), "mail-page32-outbox");
    QVERIFY(Click("answerButton"));
    QVERIFY(outbox->topLevelItem(0)->text(5) != code);
    QVERIFY(outbox->topLevelItem(0)->isSelected());
    QTRY_COMPARE(outbox->topLevelItem(0)->text(2), QString("Server is waiting client connection"));
    QCOMPARE(Text("readingBox"), QString("Lunch at noon?\nIn the cafeteria"));

    QVERIFY(Click("sentItemsButton"));
    QCOMPARE(test::Child<QPushButton>(Frame(), "answerButton")->text(), QString("Forward"));
    QCOMPARE(Text("readingBox"), QString());
    ClickMail(sent, 0);
    test::Screenshot(Frame(), "mail-page32-sent");
}

// Bruno writes to Anna: the Inbox row, the mail light and the notice; a tap on the notice shows
// the Inbox; opening the mail sends the read receipt; Reply fills the compose box with only
// Bruno checked.
void TestMailPages::mailFromAFriendIsOpenedAndAnswered() {
    Start(u"Carla|", true);
    BrunoLogsIn();
    View().ShowPage(SyncPages::kSendPage);
    ClickCheckBox(1);  // Carla: Reply leaves only the sender checked
    View().ShowPage(SyncPages::kMailPage);
    QVERIFY(Click("outboxButton"));
    View().ShowPage(SyncPages::kServerPage);

    m_bruno->CheckFriend(u"Anna");
    QVERIFY(m_bruno->session.Mail().SendMail(u"Bed 4 needs you\r\nnow"));
    QTreeWidget* inbox = List("inboxList");
    QTRY_COMPARE(inbox->topLevelItemCount(), 1);
    QCOMPARE(NoticeText(), QString("New mail received\n(Click here)"));
    QCOMPARE(inbox->topLevelItem(0)->text(0), QString("Bruno"));
    QCOMPARE(inbox->topLevelItem(0)->text(2), QString("Closed mail"));
    QVERIFY(Mail().Unread());
    auto* lights = m_program->Frame()->CommandBar()->Indicators();
    QTRY_VERIFY(lights->Shown().mailLight == kMailLight[0] ||
                lights->Shown().mailLight == kMailLight[1]);

    QTest::mouseClick(test::Child<QLabel>(Frame(), "notice"), Qt::LeftButton);
    QCOMPARE(View().CurrentPage(), SyncPages::kMailPage);
    QCOMPARE(NoticeText(), QString());
    QVERIFY(Mail().Target() == NoticeTarget::None);
    QVERIFY(inbox->isVisible());
    QCOMPARE(inbox->headerItem()->text(0), QString("Sender"));

    ClickMail(inbox, 0);
    QCOMPARE(Text("readingBox"), QString("Bed 4 needs you\nnow"));
    QCOMPARE(inbox->topLevelItem(0)->text(2), QString("Opened mail"));
    QVERIFY(!Mail().Unread());
    QVERIFY(lights->Shown().mailLight == kLightOff);
    // The read receipt reaches Bruno's handheld.
    QVERIFY(Until([&] {
        const auto& sent = m_bruno->session.Mail().Rows(MailBox::SentItems);
        return !sent.empty() &&
               sent[0].columns[MailRow::kState] == u"Message read by the recipient";
    }));
    test::Screenshot(Frame(), "mail-page32-inbox");

    QVERIFY(Click("answerButton"));
    QCOMPARE(View().CurrentPage(), SyncPages::kSendPage);
    QCOMPARE(ComposeText(), QString("Bed 4 needs you\nnow"));
    QVERIFY(Compose()->hasFocus());
    QCOMPARE(test::Child<QPushButton>(Frame(), "sendButton")->text(), QString("Send mail"));
    QCOMPARE(Friends()->item(0)->checkState(), Qt::Checked);
    QCOMPARE(Friends()->item(1)->checkState(), Qt::Unchecked);

    // Typing not sent yet survives a second Reply, above the mail.
    QTest::keyClicks(Compose(), " - coming");
    View().ShowPage(SyncPages::kMailPage);
    QVERIFY(Click("answerButton"));
    QCOMPARE(ComposeText(), QString("Bed 4 needs you\nnow - coming\nBed 4 needs you\nnow"));
}

// Bruno chats first: the notice leads to the chat area; then Anna answers and Bruno reads it.
void TestMailPages::chatBothWaysFromTheNotice() {
    Start(u"", true);
    BrunoLogsIn();
    View().ShowPage(SyncPages::kMailPage);
    QVERIFY(m_bruno->session.Mail().SendChat(u"Anyone free for bed 12?"));
    QTRY_COMPARE(Text("chatArea"), QString("<Bruno> : Anyone free for bed 12?"));
    QCOMPARE(NoticeText(), QString("Someone in chat room\n(Click here)"));
    QTest::mouseClick(test::Child<QLabel>(Frame(), "notice"), Qt::LeftButton);
    QCOMPARE(View().CurrentPage(), SyncPages::kSendPage);
    QCOMPARE(NoticeText(), QString());
    QCOMPARE(test::Child<QPushButton>(Frame(), "sendButton")->text(), QString("Send chat"));
    QCOMPARE(Compose()->height(), CSendPage::kComposeChatHeight);
    QCOMPARE(test::Child<QPlainTextEdit>(Frame(), "chatArea")->height(),
             CSendPage::kChatChatHeight);
    QVERIFY(Compose()->hasFocus());

    QTest::keyClicks(Compose(), "I am");
    QVERIFY(Click("sendButton"));
    QCOMPARE(ComposeText(), QString());
    QCOMPARE(Text("chatArea"), QString("<Bruno> : Anyone free for bed 12?\n<Anna> : I am"));
    QVERIFY(Until([&] {
        return m_bruno->session.Mail().ChatText().find(u"<Anna> : I am") != std::u16string::npos;
    }));
    // A long chat shows its last line.
    for (int i = 1; i <= 8; ++i) {
        QVERIFY(m_bruno->session.Mail().SendChat(u"Line " + ToText(i)));
    }
    QTRY_VERIFY(Text("chatArea").endsWith("<Bruno> : Line 8"));
    QScrollBar* chatBar = test::Child<QPlainTextEdit>(Frame(), "chatArea")->verticalScrollBar();
    QVERIFY(chatBar->maximum() > 0);
    QCOMPARE(chatBar->value(), chatBar->maximum());
    CheckFits(SyncPages::kSendPage);
    test::Screenshot(Frame(), "mail-page31-chat");

    QVERIFY(Click("mailModeButton"));
    QCOMPARE(Compose()->height(), CSendPage::kComposeMailHeight);
    QCOMPARE(test::Child<QPlainTextEdit>(Frame(), "chatArea")->height(),
             CSendPage::kChatMailHeight);
    QTest::keyClicks(Compose(), "A mail being written");
    CheckFits(SyncPages::kSendPage);
    auto* chat = test::Child<QPlainTextEdit>(Frame(), "chatArea");
    QVERIFY(Compose()->geometry().bottom() < chat->geometry().top());
    test::Screenshot(Frame(), "mail-page31-mail");
}

// The mail notice fades by itself: a tap on a later notice does not lead to the Inbox.
void TestMailPages::aFadedMailNoticeLeadsNowhere() {
    Start(u"", true);
    BrunoLogsIn();
    View().ShowPage(SyncPages::kSendPage);
    m_bruno->CheckFriend(u"Anna");
    QVERIFY(m_bruno->session.Mail().SendMail(u"Lab called"));
    QTRY_COMPARE(NoticeText(), QString("New mail received\n(Click here)"));
    QVERIFY(Mail().Target() == NoticeTarget::Mail);
    QTRY_VERIFY_WITH_TIMEOUT(NoticeText().isEmpty(), 6000);
    QVERIFY(Mail().Target() == NoticeTarget::None);
    QVERIFY(Click("sendButton"));
    QCOMPARE(NoticeText(), QString("No message to sent"));
    QTest::mouseClick(test::Child<QLabel>(Frame(), "notice"), Qt::LeftButton);
    QCOMPARE(View().CurrentPage(), SyncPages::kSendPage);
}

// Offline, nothing is sent and nothing typed is lost: chat needs the connection, mail needs a
// recipient and a text. A mail with a recipient waits in the Outbox.
void TestMailPages::refusalsKeepWhatWasTyped() {
    Start(u"Carla|Bruno|", false);
    View().ShowPage(SyncPages::kSendPage);
    QVERIFY(Click("sendButton"));
    QCOMPARE(NoticeText(), QString("No message to sent"));
    QVERIFY(Compose()->hasFocus());

    QVERIFY(test::Type(Frame(), "composeBox", "Blood results are back"));
    QVERIFY(Click("sendButton"));
    QCOMPARE(NoticeText(), QString("First select the name of your recipients"));
    QCOMPARE(ComposeText(), QString("Blood results are back"));
    QVERIFY(Compose()->hasFocus());

    QVERIFY(Click("chatModeButton"));
    QVERIFY(Click("sendButton"));
    QCOMPARE(NoticeText(), QString("You need to be connected to chat"));
    QCOMPARE(ComposeText(), QString("Blood results are back"));
    QVERIFY(Text("chatArea").isEmpty());

    // Reserved characters never reach the compose box from the keyboard.
    QTest::keyClicks(Compose(), "#|");
    QCOMPARE(ComposeText(), QString("Blood results are back"));

    QVERIFY(Click("mailModeButton"));
    QVERIFY(Click("selAllButton"));
    QCOMPARE(Friends()->item(0)->checkState(), Qt::Checked);
    QCOMPARE(Friends()->item(1)->checkState(), Qt::Checked);
    QVERIFY(Click("clearAllButton"));
    QCOMPARE(Friends()->item(1)->checkState(), Qt::Unchecked);
    ClickCheckBox(1);
    QVERIFY(Click("sendButton"));
    QCOMPARE(NoticeText(), QString("Message added ..."));
    QCOMPARE(ComposeText(), QString());
    QTreeWidget* outbox = List("outboxList");
    QCOMPARE(outbox->topLevelItemCount(), 1);
    QCOMPARE(outbox->topLevelItem(0)->text(0), QString("Bruno"));
    QCOMPARE(outbox->topLevelItem(0)->text(2), QString("Wait connection to server"));
}

// Delete (friends and mail) and Delete all ask or need a row; what they remove leaves the
// reading box empty.
void TestMailPages::deleteCommandsAskAndEmptyTheReadingBox() {
    Start(u"Carla|Bruno|", false);
    View().ShowPage(SyncPages::kSendPage);
    ClickCheckBox(0);
    QVERIFY(test::Type(Frame(), "composeBox", "First"));
    QVERIFY(Click("sendButton"));
    QVERIFY(test::Type(Frame(), "composeBox", "Second"));
    QVERIFY(Click("sendButton"));

    m_program->Messages().QueueAnswer(BoxAnswer::No);
    QVERIFY(Click("deleteFriendsButton"));
    QCOMPARE(Friends()->count(), 2);
    m_program->Messages().QueueAnswer(BoxAnswer::Yes);
    QVERIFY(Click("deleteFriendsButton"));
    QCOMPARE(m_program->Messages().Shown().back().caption, QString("Delete selected names ?"));
    QCOMPARE(Friends()->count(), 1);
    QCOMPARE(Friends()->item(0)->text(), QString("Bruno"));
    QVERIFY(View().GetPreferences().friends == u"Bruno|");

    View().ShowPage(SyncPages::kMailPage);
    QVERIFY(Click("outboxButton"));
    QTreeWidget* outbox = List("outboxList");
    QCOMPARE(outbox->topLevelItemCount(), 2);
    QVERIFY(Click("deleteMailButton"));
    QCOMPARE(NoticeText(), QString("There is no mail selected"));
    ClickMail(outbox, 1);
    QCOMPARE(Text("readingBox"), QString("First"));
    QVERIFY(Click("deleteMailButton"));
    QCOMPARE(outbox->topLevelItemCount(), 1);
    QCOMPARE(outbox->topLevelItem(0)->text(1), QString("Second"));
    QCOMPARE(Text("readingBox"), QString());

    ClickMail(outbox, 0);
    m_program->Messages().QueueAnswer(BoxAnswer::Yes);
    QVERIFY(Click("deleteAllButton"));
    QCOMPARE(m_program->Messages().Shown().back().text,
             QString("Do you really want to delete all mails of the list ?"));
    QCOMPARE(outbox->topLevelItemCount(), 0);
    QCOMPARE(Text("readingBox"), QString());
    QVERIFY(View().GetPreferences().outbox.empty());
}

// Carla has never been online and Dora is no user of the server: both are typed by name. Carla's
// mail waits at the server; Dora's is refused, and the notice names her. Unusable names and the
// own name are refused where they are typed; the list still grows from the online users.
void TestMailPages::aRecipientTypedByNameAndOneTheServerDoesNotKnow() {
    Start(u"", true);
    View().ShowPage(SyncPages::kSendPage);
    auto* name = test::Child<QLineEdit>(Frame(), "friendNameEdit");
    QVERIFY(name);
    QVERIFY(Click("addFriendButton"));
    QCOMPARE(NoticeText(), QString("Type the user name of the recipient"));
    for (const char* refused : {"Ann", "Anna", "Eve/Bob"}) {
        name->clear();
        QVERIFY(test::Type(Frame(), "friendNameEdit", refused));
        QVERIFY(Click("addFriendButton"));
        QVERIFY2(
            NoticeText().startsWith(refused[3] == 'a' ? "This is your own" : "A user name has"),
            qPrintable(NoticeText()));
        QCOMPARE(name->text(), QString(refused));  // left to be corrected
    }
    QCOMPARE(Friends()->count(), 0);
    name->clear();
    QVERIFY(test::Type(Frame(), "friendNameEdit", " Carla "));
    QVERIFY(Click("addFriendButton"));
    QCOMPARE(NoticeText(), QString("Recipient added: Carla"));
    QCOMPARE(name->text(), QString());
    QVERIFY(test::Type(Frame(), "friendNameEdit", "Dora"));
    QTest::keyClick(name, Qt::Key_Return);
    QCOMPARE(Friends()->count(), 2);
    QCOMPARE(Friends()->item(0)->text(), QString("Dora"));
    QCOMPARE(Friends()->item(0)->checkState(), Qt::Checked);
    QCOMPARE(Friends()->item(1)->checkState(), Qt::Checked);
    QCOMPARE(Friends()->item(1)->toolTip(), QString("offline"));
    QVERIFY(View().GetPreferences().friends == u"Dora|Carla|");
    CheckFits(SyncPages::kSendPage);
    test::Screenshot(Frame(), "mail-page31-typed-names");

    QVERIFY(test::Type(Frame(), "composeBox", "Round at nine"));
    QVERIFY(Click("sendButton"));
    QTreeWidget* outbox = List("outboxList");
    QCOMPARE(outbox->topLevelItemCount(), 2);
    QTRY_COMPARE(NoticeText(), QString("The server knows no user named Dora: mail not delivered"));
    auto rowOf = [&](const QString& peer) {
        for (int i = 0; i < outbox->topLevelItemCount(); ++i) {
            if (outbox->topLevelItem(i)->text(0) == peer) return outbox->topLevelItem(i);
        }
        return static_cast<QTreeWidgetItem*>(nullptr);
    };
    QVERIFY(rowOf("Dora") && rowOf("Carla"));
    QCOMPARE(rowOf("Dora")->text(2), QString("Bad transmission from server to recipient"));
    QTRY_COMPARE(rowOf("Carla")->text(2), QString("Server is waiting client connection"));

    // The program's own notice names the recipient too, before the server's words arrive.
    Mail().OnDeliveryReports(u"E\u00A6" + ToU16(rowOf("Dora")->text(5)) + u"/");
    QCOMPARE(NoticeText(),
             QString("The server did not deliver the mail to Dora: check the user name"));

    BrunoLogsIn();
    QCOMPARE(Friends()->count(), 3);
    QCOMPARE(Friends()->item(1)->text(), QString("Dora"));
}

QTEST_MAIN(TestMailPages)
#include "TestMailPages.moc"
