#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "GuiDriver.h"
#include "TestPlatform.h"
#include "platform/ui/QtText.h"
#include "records/ItemEncoding.h"
#include "records/PatientFileWriter.h"
#include "records/PatientSet.h"
#include "records/ui/CFilesManagerDlg.h"

namespace pondrel {

namespace {

// The text of a saved patient; `lock` "R" when another user holds the file.
std::u16string PatientText(Clock& clock, std::u16string last, std::u16string journal,
                           int day = 13, std::u16string lock = u"W") {
    PatientSet set{clock};
    PatientRecord& r = set.AddNew();
    r.SetField(2, last);
    r.SetField(3, u"John");
    r.SetField(6, u"1950");
    r.SetField(120, last);
    r.SetField(121, u"John");
    r.SetField(124, u"1950");
    r.SetField(7, u"70");
    r.inUse = 1;
    r.subfolderType = u"Hosp";
    r.admission = DateTime{2006, 3, day, 9, 5, 0};
    r.exit = DateTime{2006, 3, day + 2, 10, 0, 0};
    r.exitDateSet = 1;
    r.problemJournal = std::move(journal);
    r.lockState = lock;
    r.subfolderKey = SubfolderKeyOf(r);
    return ComposePatientText(r, r.subfolderKey);
}

}  // namespace

class FilesManagerDlgTest : public QObject {
    Q_OBJECT

private:
    test::TestPlatform t;
    WorkingFolders folders;
    int statisticsRuns = 0;

    void Put(std::u16string_view folder, std::u16string_view name, std::u16string_view text) {
        t.files.AddFile(JoinPath(folder, name), EncodeItemText(text));
    }
    std::u16string Text(std::u16string_view folder, std::u16string_view name) {
        auto bytes = t.files.Bytes(JoinPath(folder, name));
        return bytes ? DecodeItemText(*bytes) : u"<none>";
    }
    std::unique_ptr<CFilesManagerDlg> Open(std::u16string_view current = u"Doe John 1950") {
        auto dialog = std::make_unique<CFilesManagerDlg>(
            t.files, t.messages, t.clock, folders, current,
            [this](bool, const std::vector<std::u16string>&) { ++statisticsRuns; });
        dialog->show();
        return dialog;
    }
    static QStringList Rows(QWidget& dialog, const char* list) {
        QStringList rows;
        auto* widget = test::Child<QListWidget>(dialog, list);
        for (int r = 0; r < widget->count(); ++r) rows << widget->item(r)->text();
        return rows;
    }
    static int Selected(QWidget& dialog, const char* list) {
        auto* widget = test::Child<QListWidget>(dialog, list);
        return widget->currentItem() && widget->currentItem()->isSelected() ? widget->currentRow()
                                                                              : -1;
    }

private slots:
    void init() {
        t.files.AddFolder(WorkingFolders::kActivePatients);
        t.files.AddFolder(WorkingFolders::kArchives);
        t.files.AddFolder(folders.Backup());
        t.messages.boxes.clear();
        Put(WorkingFolders::kActivePatients, u"Doe_John_1950.pdr",
            PatientText(t.clock, u"Doe", u"§0|Pneumonia¦¦A¦#2263§0|cough||||||"));
        Put(WorkingFolders::kActivePatients, u"Roe_Jim_1950.pdr", PatientText(t.clock, u"Roe", u""));
        Put(WorkingFolders::kArchives, u"Doe_John_1950.pdr",
            PatientText(t.clock, u"Doe", u"§0|Pneumonia (!)¦¦A¦#2263§0||fever|||||", 1));
    }
    void cleanup() {
        for (const std::u16string& path : t.files.AllFiles()) t.files.DeleteFile(path);
    }

    void opensOnTheCurrentPatientWithItsStays() {
        auto dialog = Open();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QCOMPARE(Rows(*dialog, "activeList"), QStringList({"Doe John 1950", "Roe Jim 1950"}));
        QCOMPARE(Rows(*dialog, "archivedList"), QStringList({"Doe John 1950"}));
        QCOMPARE(Selected(*dialog, "activeList"), 0);
        QCOMPARE(Rows(*dialog, "stayList"), QStringList({"Hosp : 13.3.2006 -> 15.3.2006  <Edit>"}));
        QCOMPARE(test::Child<QPlainTextEdit>(*dialog, "titlesBox")->toPlainText(),
                 QString("-Pneumonia"));
        test::Screenshot(*dialog, "files-manager");
        // An archived file's stays cannot be changed.
        QVERIFY(test::ClickRow(*test::Child<QListWidget>(*dialog, "archivedList"), 0));
        QVERIFY(!test::Child<QPushButton>(*dialog, "copyButton")->isEnabled());
        QVERIFY(!test::Child<QPushButton>(*dialog, "deleteFolderButton")->isEnabled());
        QCOMPARE(Selected(*dialog, "activeList"), -1);
    }

    void newCopyAsksTheTypeAndConfirms() {
        auto dialog = Open();
        t.messages.Queue(BoxAnswer::Ok);
        QVERIFY(test::WithModal([&] { QVERIFY(test::Click(*dialog, "copyButton")); },
                                [](QWidget* modal) {
                                    test::Screenshot(*modal, "files-manager-new-folder");
                                    QVERIFY(test::Click(*modal, "ambulatoryButton"));
                                }));
        QCOMPARE(t.messages.boxes.back().caption, std::u16string(u"New Copy"));
        QVERIFY(t.messages.boxes.back().text.find(u"new ambulatory folder based on the previous "
                                                  u"one \"13.3.2006 -> 15.3.2006\" for the "
                                                  u"patient Doe John 1950") != std::u16string::npos);
        const QStringList stays = Rows(*dialog, "stayList");
        QCOMPARE(stays.size(), 2);
        QVERIFY(stays[0].startsWith("Ambu"));
        QVERIFY(stays[0].endsWith("<Edit>"));
        test::Screenshot(*dialog, "files-manager-two-stays");

        // "E" on the old stay, then deleting the new one asks first.
        QVERIFY(test::ClickRow(*test::Child<QListWidget>(*dialog, "stayList"), 1));
        QVERIFY(test::Click(*dialog, "selectButton"));
        QVERIFY(Rows(*dialog, "stayList")[1].endsWith("<Edit>"));
        QVERIFY(test::ClickRow(*test::Child<QListWidget>(*dialog, "stayList"), 0));
        t.messages.Queue(BoxAnswer::Cancel);
        QVERIFY(test::Click(*dialog, "deleteStayButton"));
        QCOMPARE(Rows(*dialog, "stayList").size(), 2);
        QVERIFY(test::ClickRow(*test::Child<QListWidget>(*dialog, "stayList"), 0));
        t.messages.Queue(BoxAnswer::Ok);
        QVERIFY(test::Click(*dialog, "deleteStayButton"));
        QCOMPARE(t.messages.boxes.back().caption, std::u16string(u"Delete subfolder ?"));
        QCOMPARE(Rows(*dialog, "stayList"), QStringList({"Hosp : 13.3.2006 -> 15.3.2006  <Edit>"}));
    }

    void deleteFolderAsksTwice() {
        auto dialog = Open();
        t.messages.Queue(BoxAnswer::Ok);
        t.messages.Queue(BoxAnswer::Cancel);
        QVERIFY(test::Click(*dialog, "deleteFolderButton"));
        QVERIFY(Text(WorkingFolders::kActivePatients, u"Doe_John_1950.pdr") != u"<none>");
        QCOMPARE(t.messages.boxes.back().caption, std::u16string(u"Confirm delete folder ?"));
        QCOMPARE(t.messages.boxes.back().text,
                 std::u16string(u"The folder of the patient Doe John 1950 containing 1 "
                                u"hospitalizations will be deleted. Confirm this dangerous "
                                u"operation."));
        t.messages.Queue(BoxAnswer::Ok);
        t.messages.Queue(BoxAnswer::Ok);
        QVERIFY(test::Click(*dialog, "deleteFolderButton"));
        QCOMPARE(Text(WorkingFolders::kActivePatients, u"Doe_John_1950.pdr"), std::u16string(u"<none>"));
        QCOMPARE(Rows(*dialog, "activeList"), QStringList({"Roe Jim 1950"}));
        QCOMPARE(Rows(*dialog, "stayList"), QStringList());
    }

    void mergeModeAndMerge() {
        auto dialog = Open();
        QVERIFY(test::Click(*dialog, "mergeButton"));
        QVERIFY(dialog->MergeMode());
        QCOMPARE(test::Child<QPushButton>(*dialog, "mergeButton")->text(), QString("-> Dest"));
        QVERIFY(!test::Child<QPushButton>(*dialog, "archiveButton")->isEnabled());
        test::Screenshot(*dialog, "files-manager-merge-mode");
        // A tap elsewhere ends merge mode without merging.
        QTest::mouseClick(dialog.get(), Qt::LeftButton, {}, QPoint(5, 310));
        QVERIFY(!dialog->MergeMode());
        QVERIFY(test::ClickRow(*test::Child<QListWidget>(*dialog, "activeList"), 0));
        QVERIFY(test::Click(*dialog, "mergeButton"));
        t.messages.Queue(BoxAnswer::Cancel);
        QVERIFY(test::ClickRow(*test::Child<QListWidget>(*dialog, "archivedList"), 0));
        QCOMPARE(t.messages.boxes.back().text, std::u16string(u"Merging canceled."));
        QVERIFY(Text(WorkingFolders::kActivePatients, u"Doe_John_1950.pdr") != u"<none>");

        QVERIFY(test::ClickRow(*test::Child<QListWidget>(*dialog, "activeList"), 0));
        QVERIFY(test::Click(*dialog, "mergeButton"));
        t.messages.Queue(BoxAnswer::Ok);
        t.messages.Queue(BoxAnswer::Ok);
        QVERIFY(test::ClickRow(*test::Child<QListWidget>(*dialog, "archivedList"), 0));
        QCOMPARE(t.messages.boxes.back().text, std::u16string(u"Merging successful"));
        QCOMPARE(Text(WorkingFolders::kActivePatients, u"Doe_John_1950.pdr"), std::u16string(u"<none>"));
        const std::u16string merged = Text(WorkingFolders::kArchives, u"Doe_John_1950.pdr");
        QVERIFY(merged.find(u"§0|cough|fever|||||") != std::u16string::npos);
        QCOMPARE(Rows(*dialog, "stayList").size(), 2);
    }

    void aFileHeldByAnotherUserIsNeverChanged() {
        Put(WorkingFolders::kActivePatients, u"Doe_John_1950.pdr",
            PatientText(t.clock, u"Doe", u"", 13, u"R"));
        const std::u16string before = Text(WorkingFolders::kActivePatients, u"Doe_John_1950.pdr");
        auto dialog = Open();
        for (const char* button : {"copyButton", "blankButton", "deleteStayButton",
                                   "deleteFolderButton", "selectButton", "archiveButton"}) {
            t.messages.boxes.clear();
            QVERIFY(test::Click(*dialog, button));
            QVERIFY2(!t.messages.boxes.empty(), button);
            QCOMPARE(t.messages.boxes.back().caption, std::u16string(u"Unlocked file"));
            QCOMPARE(t.messages.PendingAnswers(), size_t{0});
        }
        QCOMPARE(Text(WorkingFolders::kActivePatients, u"Doe_John_1950.pdr"), before);
    }

    void statRunsOnTheSelectedFolder() {
        auto dialog = Open();
        QVERIFY(test::Click(*dialog, "statButton"));
        QCOMPARE(statisticsRuns, 1);
    }
};

}  // namespace pondrel

QTEST_MAIN(pondrel::FilesManagerDlgTest)
#include "FilesManagerDlgTest.moc"
