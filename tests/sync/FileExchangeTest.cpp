// The file exchange of the server page against a scripted server: what is sent, when, and what
// becomes of the handheld's files on the server's answers.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>

#include "Doubles.h"
#include "MemorySocket.h"
#include "SyncClient.h"
#include "platform/Text.h"
#include "sync/Connection.h"
#include "sync/PatientFiles.h"
#include "sync/SyncSession.h"

namespace pondrel {
namespace {

using H = ActiveFileRow;
constexpr std::u16string_view kDoe = u"Doe_John_1950.pdr";
constexpr std::u16string_view kRoe = u"Roe_Ann_1960.pdr";

// The active folder and the open patients, in memory.
class FakePatientFiles final : public PatientFiles {
public:
    void SaveAll() override {}
    std::vector<std::u16string> OpenFileNames() override { return open; }
    bool SaveBeforeSending(std::u16string_view) override { return !saveFails; }
    std::optional<std::u16string> ReadFileText(std::u16string_view name) override {
        auto it = files.find(std::u16string(name));
        if (it == files.end()) return std::nullopt;
        return it->second;
    }
    ReceivedFile StoreReceivedFile(std::u16string_view name, std::u16string_view text) override {
        if (saveFails) return ReceivedFile::NotSaved;
        files[std::u16string(name)] = std::u16string(text);
        bool isOpen = false;
        for (const auto& n : open) isOpen = isOpen || n == name;
        if (!isOpen) open.emplace_back(name);
        return ReceivedFile::Stored;
    }
    void SetAccess(std::u16string_view name, std::u16string_view mode) override {
        access[std::u16string(name)] = std::u16string(mode);
    }
    bool MoveToArchive(std::u16string_view name) override {
        archived.emplace_back(name);
        std::erase(open, std::u16string(name));
        return true;
    }
    bool DeleteFile(std::u16string_view name) override {
        deleted.emplace_back(name);
        std::erase(open, std::u16string(name));
        return true;
    }
    bool FilesHeld() override { return held; }
    void SetReleasedHandler(std::function<void()> handler) override { released = handler; }
    void Release() {
        held = false;
        if (released) released();
    }

    std::map<std::u16string, std::u16string> files;
    std::vector<std::u16string> open;
    std::map<std::u16string, std::u16string> access;
    std::vector<std::u16string> archived;
    std::vector<std::u16string> deleted;
    bool saveFails = false;
    bool held = false;
    std::function<void()> released;
};

class Host final : public ConnectionHost {
public:
    void WakeUserInterface() override { waker.Wake(); }
    void Wait(int ms) { waker.Wait(ms); }

    test::Waker waker;
};

std::u16string FileFrame(std::u16string_view text, std::u16string_view name, long long length) {
    return u"\u00A2File\u00A2" + std::u16string(text) + u"\u00A7Code\u00A7" + ToText(length) +
           u"\u00A2" + std::u16string(name);
}

class FileExchangeTest : public ::testing::Test {
protected:
    FileExchangeTest() {
        prefs.wireless = WirelessSettings{u"Anna", u"123456", 0, u"10.0.0.5", 4000};
        connection.SetSettings(prefs.wireless, prefs.network);
        patients.files[std::u16string(kDoe)] = u"the text of Doe";
        patients.files[std::u16string(kRoe)] = u"the text of Roe";
        patients.open = {std::u16string(kDoe), std::u16string(kRoe)};
    }
    ~FileExchangeTest() override { connection.Shutdown(); }

    bool Pump(const std::function<bool()>& done) {
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < end) {
            connection.OnWorkerMessages();
            if (done()) return true;
            host.Wait(2);
        }
        return false;
    }
    void GoOnline() {
        connection.Connect();
        ASSERT_TRUE(Peer()->WaitForSent(u"#I!#"));
        Peer()->SendFrame(u"#S!#Anna|Bruno|");
        ASSERT_TRUE(Pump([&] { return connection.Online(); }));
    }
    std::shared_ptr<test::ScriptedPeer> Peer() { return sockets.Peer(0); }
    // Sends a frame and waits until the program handled it.
    void Answer(std::u16string_view frame) {
        size_t before = batches;
        Peer()->SendFrame(frame);
        ASSERT_TRUE(Pump([&] { return batches > before; }));
    }
    // Frames sent from now on.
    void Mark() { sentBefore = Peer()->SentText().size(); }
    std::u16string SentSinceMark() { return Peer()->SentText().substr(sentBefore); }
    bool Sent(std::u16string_view what) {
        return SentSinceMark().find(what) != std::u16string::npos;
    }
    const ActiveFileRow* Row(std::u16string_view name) {
        for (const auto& row : files().Handheld()) {
            if (row.columns[H::kFileName] == name) return &row;
        }
        return nullptr;
    }
    int RowIndex(std::u16string_view name) {
        const auto& rows = files().Handheld();
        for (size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].columns[H::kFileName] == name) return static_cast<int>(i);
        }
        return -1;
    }
    bool HasNotice(std::u16string_view text) {
        for (const auto& notice : messages.notices) {
            if (notice.text == text) return true;
        }
        return false;
    }
    FileExchange& files() { return session.Files(); }

    Preferences prefs;
    test::MemorySocketFactory sockets;
    test::ManualTimers timers;
    test::FixedClock clock;
    test::ScriptedMessages messages;
    Host host;
    FakePatientFiles patients;
    Connection connection{sockets, timers, clock, messages, host};
    SyncSession session{prefs, connection, patients, clock, timers, messages};
    size_t batches = 0;
    size_t sentBefore = 0;

    void SetUp() override {
        session.SetChangedHandler([this] { ++batches; });
        GoOnline();
    }
};

TEST_F(FileExchangeTest, OnlyAWholeListMovesAFileTheServerDropped_IntoTheArchiveFolder) {
    Answer(
        u"#N!#Doe_John_1950\u00A2\u00A27.3.2006\u00A210:00:00\u00A2"
        u"Roe_Ann_1960\u00A2\u00A27.3.2006\u00A210:00:00\u00A2");
    ASSERT_EQ(Row(kRoe)->columns[H::kState], u"Unlocked");
    EXPECT_EQ(patients.access[std::u16string(kRoe)], u"R");

    // Cut short, holding a name with folder parts, or empty: nothing is touched.
    for (std::u16string_view list : {
             std::u16string_view(u"#N!#Doe_John_1950\u00A2\u00A27.3.2006\u00A2"),
             std::u16string_view(u"#N!#Doe_John_1950\u00A2\u00A27.3.2006\u00A210:00:00\u00A2"
                                 u"..\\x\u00A2\u00A27.3.2006\u00A210:00:00\u00A2"),
         }) {
        Answer(list);
        EXPECT_TRUE(patients.archived.empty()) << ToUtf8(list);
        EXPECT_NE(Row(kRoe), nullptr);
    }
    // A cut or damaged list changes nothing: the last whole one still tells who holds what.
    EXPECT_EQ(Row(kRoe)->columns[H::kState], u"Unlocked");
    EXPECT_EQ(patients.access[std::u16string(kRoe)], u"R");
    // The whole list without Roe: the free file goes to the archive folder, never deleted.
    Answer(u"#N!#Doe_John_1950\u00A2\u00A27.3.2006\u00A210:00:00\u00A2");
    EXPECT_EQ(patients.archived, std::vector<std::u16string>{std::u16string(kRoe)});
    EXPECT_TRUE(patients.deleted.empty());
    EXPECT_EQ(Row(kRoe), nullptr);
    EXPECT_NE(Row(kDoe), nullptr);
}

TEST_F(FileExchangeTest, AFileHeldByThisUserIsUnlockedOnlyOnceTheServerConfirmedItsUpload) {
    Answer(u"#N!#Doe_John_1950\u00A2Anna\u00A27.3.2006\u00A210:00:00\u00A2");
    ASSERT_EQ(Row(kDoe)->icon, kIconMine);
    EXPECT_EQ(patients.access[std::u16string(kDoe)], u"W");
    // The server list shows the own lock as the handheld list does, not as another user's.
    ASSERT_EQ(prefs.serverFiles.size(), 1u);
    EXPECT_EQ(prefs.serverFiles.front().icon, kIconMine);

    Mark();
    files().UnlockButton(RowIndex(kDoe));
    ASSERT_TRUE(Peer()->WaitForSent(u"the text of Doe"));
    std::u16string code = Row(kDoe)->columns[H::kCode];
    ASSERT_FALSE(code.empty());
    EXPECT_FALSE(Sent(u"#Q!#U"));
    // Refused (another user took the lock meanwhile): the lock request never goes.
    Answer(u"#D!#U\u00A6" + code + u"/");
    EXPECT_EQ(Row(kDoe)->columns[H::kInfo], u"Synchronization forbidden");
    EXPECT_TRUE(HasNotice(u"Synchronization forbidden"));
    EXPECT_FALSE(Sent(u"#Q!#U"));

    timers.Fire(TimerId::ServerOperation);
    Mark();
    files().UnlockButton(RowIndex(kDoe));
    ASSERT_TRUE(Peer()->WaitForSent(u"the text of Doe"));
    code = Row(kDoe)->columns[H::kCode];
    Answer(u"#D!#O\u00A6" + code + u"/");
    EXPECT_TRUE(Peer()->WaitForSent(u"#Q!#U\u00A2Doe_John_1950.pdr#F|"));
    EXPECT_TRUE(HasNotice(u"Good synchronization then unlocking"));
}

TEST_F(FileExchangeTest, LockIsAskedOnlyOnceTheImportedCopyIsStored) {
    Answer(
        u"#N!#Doe_John_1950\u00A2\u00A27.3.2006\u00A210:00:00\u00A2"
        u"Roe_Ann_1960\u00A2\u00A27.3.2006\u00A210:00:00\u00A2");
    Mark();
    files().LockButton(RowIndex(kDoe));
    ASSERT_TRUE(Peer()->WaitForSent(u"#T!#Doe_John_1950.pdr#F|"));
    EXPECT_FALSE(Sent(u"#Q!#L"));
    // Altered on its way: nothing stored, no lock.
    Answer(FileFrame(u"newer text", kDoe, 99));
    EXPECT_EQ(patients.files[std::u16string(kDoe)], u"the text of Doe");
    EXPECT_FALSE(Sent(u"#Q!#L"));

    // The user's own changes cannot be saved first: the copy is not replaced, no lock.
    timers.Fire(TimerId::ServerOperation);
    files().LockButton(RowIndex(kDoe));
    patients.saveFails = true;
    Answer(FileFrame(u"newer text", kDoe, 10));
    EXPECT_EQ(patients.files[std::u16string(kDoe)], u"the text of Doe");
    EXPECT_FALSE(Sent(u"#Q!#L"));

    patients.saveFails = false;
    timers.Fire(TimerId::ServerOperation);
    files().LockButton(RowIndex(kRoe));
    Answer(FileFrame(u"Roe, newer", kRoe, 10));
    EXPECT_EQ(patients.files[std::u16string(kRoe)], u"Roe, newer");
    EXPECT_TRUE(Peer()->WaitForSent(u"#Q!#L\u00A2Roe_Ann_1960.pdr#F|"));
    EXPECT_TRUE(HasNotice(u"Good file reception then locking"));
}

TEST_F(FileExchangeTest, AFileReceivedWhileADialogueHoldsTheFilesIsStoredOnceTheyAreReleased) {
    Answer(
        u"#N!#Doe_John_1950\u00A2\u00A27.3.2006\u00A210:00:00\u00A2"
        u"Roe_Ann_1960\u00A2\u00A27.3.2006\u00A210:00:00\u00A2");
    Mark();
    files().LockButton(RowIndex(kRoe));
    ASSERT_TRUE(Peer()->WaitForSent(u"#T!#Roe_Ann_1960.pdr#F|"));
    patients.held = true;
    Answer(FileFrame(u"Roe, newer", kRoe, 10));
    // Held: nothing written, nothing locked, and the server's list that follows waits behind it.
    Answer(u"#N!#Roe_Ann_1960\u00A2\u00A27.3.2006\u00A210:00:00\u00A2");
    EXPECT_EQ(patients.files[std::u16string(kRoe)], u"the text of Roe");
    EXPECT_FALSE(Sent(u"#Q!#L"));
    EXPECT_TRUE(patients.archived.empty());

    patients.Release();
    EXPECT_EQ(patients.files[std::u16string(kRoe)], u"Roe, newer");
    EXPECT_TRUE(Peer()->WaitForSent(u"#Q!#L\u00A2Roe_Ann_1960.pdr#F|"));
    // The list ran after the file, in the order they came: Doe left the server's list.
    EXPECT_EQ(patients.archived, std::vector<std::u16string>{std::u16string(kDoe)});
}

TEST_F(FileExchangeTest, TheListOfFilesIsAskedForAsSoonAsTheLoginIsAccepted) {
    // Somebody may have taken a file while this handheld was away: the list tells at once.
    ASSERT_TRUE(Peer()->WaitForSent(u"#M!##F|"));
    EXPECT_LT(Peer()->SentText().find(u"#I!#"), Peer()->SentText().find(u"#M!#"));
    Answer(u"#N!#Doe_John_1950\u00A2Bruno\u00A27.3.2006\u00A210:00:00\u00A2");
    EXPECT_EQ(patients.access[std::u16string(kDoe)], u"R");
}

TEST_F(FileExchangeTest, TheArchiveViewWaitsForTheListAndItsWaitingRowActivatesNothing) {
    Mark();
    files().ShowArchive();
    ASSERT_EQ(files().Archive().size(), 1u);
    EXPECT_EQ(files().Archive()[0].patient, u"Wait the archivated files list from the server...");
    EXPECT_TRUE(Peer()->WaitForSent(u"#E!##F|"));
    // Chosen before the answer came: the waiting row is no file.
    EXPECT_FALSE(files().ActivateArchivedFile(0));
    EXPECT_TRUE(HasNotice(u"You need first to select the file you wish to activate"));
    EXPECT_FALSE(Sent(u"#G!#"));

    Answer(u"#B!#Old_Case_1930\u00A2Doe_Jane_1941\u00A2");
    ASSERT_EQ(files().Archive().size(), 2u);
    EXPECT_EQ(files().Archive()[1], (ArchiveRow{u"Doe Jane 1941", u"Doe_Jane_1941"}));
    EXPECT_TRUE(files().ActivateArchivedFile(1));
    EXPECT_TRUE(Peer()->WaitForSent(u"#G!#Doe_Jane_1941#F|"));
    EXPECT_FALSE(files().ActivateArchivedFile(2));
}

TEST_F(FileExchangeTest, OnlyBarePatientFilesTheProgramAskedForAreStored) {
    Answer(u"#N!#Doe_John_1950\u00A2\u00A27.3.2006\u00A210:00:00\u00A2");
    for (std::u16string_view name : {u"..\\Doe_John_1950.pdr", u"sub/Doe_John_1950.pdr",
                                     u"Doe_John_1950.txt", u"Other_Pat_1970.pdr"}) {
        Answer(FileFrame(u"forged", name, 6));
        EXPECT_EQ(patients.files.size(), 2u) << ToUtf8(name);
    }
    for (const auto& [name, text] : patients.files) EXPECT_NE(text, u"forged");
}

TEST_F(FileExchangeTest, ImportAllTalliesOnlyWhenEveryFileArrived) {
    patients.open = {};
    session.OnConnectCommand();
    Answer(
        u"#N!#Doe_John_1950\u00A2\u00A27.3.2006\u00A210:00:00\u00A2"
        u"Roe_Ann_1960\u00A2Bruno\u00A27.3.2006\u00A210:00:00\u00A2");
    files().ImportAll();
    EXPECT_TRUE(HasNotice(u"Importing 2 files..."));
    EXPECT_EQ(files().RepliesPending(), 2);
    Answer(FileFrame(u"Doe text", kDoe, 8));
    EXPECT_FALSE(HasNotice(u"Good synchronization for all files"));
    Answer(FileFrame(u"Roe text", kRoe, 8));
    EXPECT_TRUE(HasNotice(u"Good synchronization for all files"));
    Answer(u"#X!#1");
    ASSERT_NE(Row(kRoe), nullptr);
    EXPECT_EQ(Row(kRoe)->columns[H::kCurrentUser], u"Bruno");
    EXPECT_EQ(patients.access[std::u16string(kRoe)], u"R");
}

}  // namespace
}  // namespace pondrel
