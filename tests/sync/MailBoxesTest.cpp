// The mailboxes offline: what is kept of unsent and unread mail, through the preferences file,
// and what a mail may hold.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "Doubles.h"
#include "MemorySocket.h"
#include "platform/Text.h"
#include "settings/PreferencesReader.h"
#include "settings/PreferencesWriter.h"
#include "sync/Connection.h"
#include "sync/PatientFiles.h"
#include "sync/SyncSession.h"

namespace pondrel {
namespace {

using M = MailRow;

class NoPatients final : public PatientFiles {
public:
    void SaveAll() override {}
    std::vector<std::u16string> OpenFileNames() override { return {}; }
    bool SaveBeforeSending(std::u16string_view) override { return true; }
    std::optional<std::u16string> ReadFileText(std::u16string_view) override { return {}; }
    ReceivedFile StoreReceivedFile(std::u16string_view, std::u16string_view) override {
        return ReceivedFile::NotWritten;
    }
    void SetAccess(std::u16string_view, std::u16string_view) override {}
    bool MoveToArchive(std::u16string_view) override { return false; }
    bool DeleteFile(std::u16string_view) override { return false; }
};

class Host final : public ConnectionHost {
public:
    void WakeUserInterface() override {}
};

class MailBoxesTest : public ::testing::Test {
protected:
    MailBoxesTest() {
        prefs.wireless = WirelessSettings{u"Anna", u"123456", 0, u"10.0.0.5", 4000};
        prefs.friends = u"Bruno|Brun|";
        connection.SetSettings(prefs.wireless, prefs.network);
        session.ApplyPreferences();
    }
    void CheckOnly(std::u16string_view name) {
        const auto& rows = session.Friends().Rows();
        for (size_t i = 0; i < rows.size(); ++i) {
            session.Friends().SetChecked(i, rows[i].name == name);
        }
    }
    MailBoxes& mail() { return session.Mail(); }
    ReceivedMail Incoming(int n) {
        return {u"mail " + ToText(n), u"7.3.2006", u"10:00:00",
                ToText(n) + u"|1230", u"Bruno",    true};
    }
    // The preferences written and read back, as at the next start.
    Preferences Reloaded() {
        Preferences again;
        PreferencesReader::Read(PreferencesWriter::Compose(prefs), again);
        return again;
    }

    Preferences prefs;
    test::MemorySocketFactory sockets;
    test::ManualTimers timers;
    test::FixedClock clock;
    test::ScriptedMessages messages;
    Host host;
    NoPatients patients;
    Connection connection{sockets, timers, clock, messages, host};
    SyncSession session{prefs, connection, patients, clock, timers, messages};
};

TEST_F(MailBoxesTest, UnsentAndUnreadMailIsKeptBeyondTheListSizesAndAcrossARestart) {
    CheckOnly(u"Bruno");
    for (int i = 0; i < 30; ++i) ASSERT_TRUE(mail().SendMail(u"unsent " + ToText(i)));
    for (int i = 0; i < 25; ++i) session.OnMailReceived(Incoming(i));
    EXPECT_EQ(mail().Rows(MailBox::Outbox).size(), 30u);
    EXPECT_EQ(mail().Rows(MailBox::Inbox).size(), 25u);
    EXPECT_EQ(mail().Rows(MailBox::Outbox)[0].columns[M::kState], u"Wait connection to server");

    Preferences again = Reloaded();
    ASSERT_EQ(again.outbox.size(), 30u);
    ASSERT_EQ(again.inbox.size(), 25u);
    EXPECT_EQ(again.outbox.back().columns[M::kMessage], u"unsent 0");
    EXPECT_EQ(again.inbox.back().columns[M::kMessage], u"mail 0");
    EXPECT_EQ(again.friends, prefs.friends);  // what follows the lists is read in its place

    // Opened offline, their read receipts are still owed: they stay with the unread mail.
    for (int i = 0; i < 25; ++i) mail().Open(MailBox::Inbox, i);
    session.OnMailReceived(Incoming(99));
    EXPECT_EQ(mail().Rows(MailBox::Inbox).size(), 26u);
    EXPECT_EQ(mail().Rows(MailBox::Inbox)[0].columns[M::kState], u"Closed mail");
    EXPECT_EQ(mail().Rows(MailBox::Inbox)[1].columns[M::kState], u"Opened mail ");
}

TEST_F(MailBoxesTest, AMailIsBoundedAndNeverHoldsTheWireSeparators) {
    CheckOnly(u"Bruno");
    EXPECT_FALSE(mail().SendMail(std::u16string(MailBoxes::kMaxMailChars + 1, u'a')));
    EXPECT_TRUE(mail().Rows(MailBox::Outbox).empty());
    EXPECT_TRUE(mail().SendMail(std::u16string(MailBoxes::kMaxMailChars, u'a')));
    for (std::u16string_view bad : {u"a|b", u"a#b", u"a\u00A2b", u"a\u00A6b", u"a\u00A7b"}) {
        EXPECT_FALSE(mail().SendMail(bad)) << ToUtf8(bad);
    }
    EXPECT_EQ(mail().Rows(MailBox::Outbox).size(), 1u);
    // "Brun" is its own friend: only "Bruno" was checked.
    EXPECT_EQ(mail().Rows(MailBox::Outbox)[0].columns[M::kPeer], u"Bruno");
}

TEST_F(MailBoxesTest, ThreeCheckedFriendsGiveThreeRowsWithTheirIndexInTheCode) {
    prefs.friends = u"Carla|Bruno|Brun|";
    session.ApplyPreferences();
    mail().CheckAllFriends(true);
    ASSERT_TRUE(mail().SendMail(u"Round at ten"));
    const auto& outbox = mail().Rows(MailBox::Outbox);
    ASSERT_EQ(outbox.size(), 3u);
    std::u16string base = outbox[0].columns[M::kCode];
    base.pop_back();
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(outbox[2 - i].columns[M::kCode], base + ToText(static_cast<long long>(i)));
    }
    EXPECT_TRUE(base.starts_with(u"12|"));
}

TEST_F(MailBoxesTest, AChatLineTooLongIsRefusedWholeNotCut) {
    connection.Connect();
    for (int waited = 0; !connection.HasSocket() && waited < 5000; waited += 5) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(connection.HasSocket());
    EXPECT_FALSE(mail().SendChat(std::u16string(MailBoxes::kMaxChatLineChars + 1, u'a')));
    EXPECT_TRUE(messages.notices.back().warning);
    EXPECT_TRUE(mail().ChatText().empty());
    EXPECT_TRUE(mail().SendChat(std::u16string(MailBoxes::kMaxChatLineChars, u'a')));
    EXPECT_EQ(mail().ChatText(), u"<Anna> : " + std::u16string(MailBoxes::kMaxChatLineChars, u'a'));
    connection.Shutdown();
}

}  // namespace
}  // namespace pondrel
