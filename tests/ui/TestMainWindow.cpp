// The main window driven as a user would: command bar, main menu, page list, record navigation,
// the input panel, help and about, on a device folder prepared as pondrel-tool init-device does.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

#include <filesystem>
#include <memory>

#include "GuiDriver.h"
#include "TestDevice.h"
#include "mainform/FormPage.h"
#include "platform/ui/QtText.h"
#include "records/ActivePatients.h"
#include "records/CCorvaneDoc.h"
#include "records/PatientRecord.h"
#include "settings/PreferencesFile.h"
#include "startup/DeviceSetup.h"
#include "ui/frame/CCommandBar.h"
#include "ui/frame/CCorvaneView.h"
#include "ui/frame/CInputPanel.h"
#include "ui/frame/CMainFrame.h"
#include "ui/app/PondrelApplication.h"

using namespace pondrel;
namespace fs = std::filesystem;

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void frameGeometryAndFirstPage();
    void nextAndPreviousPage();
    void pageButtonsOfTheCommandBar();
    void pageListOpensSizedAndChooses();
    void popupsCloseEachOther();
    void mainMenuEntries();
    void recordNavigationAndCounter();
    void newPatientOnAnEmptyLastRecordAddsNone();
    void patientBoxReadOnlyForLockR();
    void clearCheckBoxes();
    void pageHooksCommitWhenLeft();
    void editCommandsActOnTheLastField();
    void inputPanelTypesIntoTheFocusedField();
    void helpOpensAtMainContents();
    void helpMissingFileIsSaid();
    void aboutNamesProgramVersionAndLicence();
    void notAvailableEntriesSaySo();
    void preferencesExchangeWritesTheFile();
    void exitSavesThePreferences();
    void screenshots();
    void saveAllThenOpenAllCancelledChangesNothing();
    void closeOneArchivesThePatient();
    void exitSavesPatientsAndTheNextStartShowsThem();
    void timersAtStartUp();
    void exitAfterAFailedSaveMayBeCancelled();

private:
    CCorvaneView& View() { return *m_program->Frame()->View(); }
    CCommandBar& Bar() { return *m_program->Frame()->CommandBar(); }
    // The factory arrangement offers the form pages it fills; some tests want them hidden.
    void HideFormPages() {
        for (int page = 1; page < kFormPageCount; ++page) {
            View().GetPreferences().pages[static_cast<size_t>(page)].aFlag = 0;
        }
        View().RebuildPageOrder();
    }
    template <typename T>
    T* Child(const QString& name) {
        return test::Child<T>(*m_program->Frame(), name);
    }
    void Click(const QString& name) { QVERIFY(test::Click(*m_program->Frame(), name)); }
    void ChooseMenu(const QString& text);
    QString NoticeText();
    fs::path Installation() const { return m_device / "Program files" / "Pondrel"; }
    PatientRecord& BeginMartin();
    void Start();

    std::unique_ptr<QTemporaryDir> m_dir;
    fs::path m_device;
    std::unique_ptr<PondrelApplication> m_program;
};

void TestMainWindow::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_device = test::PrepareTestDevice(*m_dir);
    Start();
}

void TestMainWindow::Start() {
    m_program.reset();
    ProgramOptions options;
    options.device = m_device;
    m_program = std::make_unique<PondrelApplication>(options);
    QVERIFY(m_program->InitInstance());
    QTRY_VERIFY(View().StartUpResult().has_value());
    QVERIFY(*View().StartUpResult());
}

// Name and birth date as the identity page sets them: the identity fields 120 to 124 and their
// copies 2 to 6.
static void SetIdentity(PatientRecord& record, const std::u16string& last,
                        const std::u16string& first, const std::u16string& day,
                        const std::u16string& month, const std::u16string& year) {
    const std::u16string values[] = {last, first, day, month, year};
    for (int i = 0; i < 5; ++i) {
        record.SetField(2 + i, values[i]);
        record.SetField(120 + i, values[i]);
    }
}

// The current (empty) record becomes a patient that can be saved.
PatientRecord& TestMainWindow::BeginMartin() {
    PatientRecord& record = *m_program->Document().Patients().Current();
    SetIdentity(record, u"Martin", u"Claire", u"3", u"7", u"1948");
    record.sex = 0;  // a new record's civility is chosen by the doctor
    BeginPatient(record, View().Locations(), true, m_program->GetPlatform().clock);
    View().Controller().ShowRecord();
    return record;
}

void TestMainWindow::cleanup() {
    m_program.reset();
    m_dir.reset();
}

void TestMainWindow::ChooseMenu(const QString& text) {
    if (!View().MainMenuOpen()) Click(QStringLiteral("mainMenuButton"));
    auto* menu = Child<QListWidget>(QStringLiteral("mainMenu"));
    QVERIFY(menu);
    QVERIFY(test::ClickRow(*menu, text));
}

QString TestMainWindow::NoticeText() {
    auto* notice = Child<QLabel>(QStringLiteral("notice"));
    return notice && notice->isVisible() ? notice->text() : QString();
}

void TestMainWindow::frameGeometryAndFirstPage() {
    QCOMPARE(m_program->Frame()->size(), QSize(240, 320));
    QCOMPARE(View().size(), QSize(240, 290));
    QCOMPARE(Bar().geometry(), QRect(0, 290, 240, 30));
    for (const char* name : {"recordFirst", "recordPrev", "recordNext", "recordLast", "recordClose",
                             "recordNew", "recordCounter"}) {
        QWidget* control = Child<QWidget>(QString::fromLatin1(name));
        QVERIFY2(control && control->isVisible(), name);
    }
    QCOMPARE(View().CurrentPage(), 0);
    QCOMPARE(View().verticalScrollBar()->value(), 291);
    QCOMPARE(Child<QLabel>(QStringLiteral("recordCounter"))->text(), QStringLiteral("1/1"));
    // Every page band carries its name.
    QCOMPARE(Child<QLabel>(QStringLiteral("pageTitle31"))->text(), QStringLiteral("Send"));
    QCOMPARE(Child<QLabel>(QStringLiteral("pageTitle20"))->text(), QStringLiteral("Problems"));
    QCOMPARE(Child<QLabel>(QStringLiteral("pageTitle37"))->text(), QStringLiteral("Quick notes"));
}

void TestMainWindow::nextAndPreviousPage() {
    // With the form pages 1 to 18 hidden, next from page 0 is the tasks page.
    HideFormPages();
    Click(QStringLiteral("nextPageButton"));
    QCOMPARE(View().CurrentPage(), 19);
    QCOMPARE(View().verticalScrollBar()->value(), 291 + 19 * 290);
    Click(QStringLiteral("nextPageButton"));
    QCOMPARE(View().CurrentPage(), 27);
    Click(QStringLiteral("previousPageButton"));
    Click(QStringLiteral("previousPageButton"));
    QCOMPARE(View().CurrentPage(), 0);
    Click(QStringLiteral("previousPageButton"));
    QCOMPARE(View().CurrentPage(), 0);

    // Pages 0 and 3 offered: 0 -> 3 -> 19, and back.
    View().GetPreferences().pages[3].aFlag = 1;
    View().RebuildPageOrder();
    Click(QStringLiteral("nextPageButton"));
    QCOMPARE(View().CurrentPage(), 3);
    Click(QStringLiteral("nextPageButton"));
    QCOMPARE(View().CurrentPage(), 19);
    Click(QStringLiteral("previousPageButton"));
    QCOMPARE(View().CurrentPage(), 3);

    View().ShowPage(37);
    Click(QStringLiteral("nextPageButton"));
    QCOMPARE(View().CurrentPage(), 37);
}

void TestMainWindow::pageButtonsOfTheCommandBar() {
    Click(QStringLiteral("problemsButton"));
    QCOMPARE(View().CurrentPage(), 20);
    Click(QStringLiteral("daySummaryButton"));
    QCOMPARE(View().CurrentPage(), 21);
    Click(QStringLiteral("tasksButton"));
    QCOMPARE(View().CurrentPage(), 19);
    QCOMPARE(View().verticalScrollBar()->value(), 291 + 19 * 290);
}

void TestMainWindow::pageListOpensSizedAndChooses() {
    HideFormPages();
    View().ShowPage(21);
    Click(QStringLiteral("pageListButton"));
    auto* list = Child<QListWidget>(QStringLiteral("pageList"));
    QVERIFY(list->isVisible());
    QCOMPARE(list->count(), 21);  // page 0 and the 20 pages after the form pages
    QCOMPARE(list->height(), (21 / 3 + 1) * 21);
    QCOMPARE(list->geometry().bottom() + 1, 290);  // on the command bar
    QCOMPARE(list->currentItem()->data(Qt::UserRole).toInt(), 21);
    QCOMPARE(list->item(1)->text(), QStringLiteral("To do"));
    QCOMPARE(list->item(1)->data(Qt::UserRole).toInt(), 19);
    QCOMPARE(list->item(2)->data(Qt::UserRole).toInt(), 27);
    QVERIFY(!list->item(1)->icon().isNull());
    // Three to a row.
    QCOMPARE(list->visualItemRect(list->item(3)).top() - list->visualItemRect(list->item(0)).top(),
             21);
    QCOMPARE(list->visualItemRect(list->item(2)).top(), list->visualItemRect(list->item(0)).top());

    QListWidgetItem* target =
        list->findItems(QStringLiteral("Quick notes"), Qt::MatchExactly).front();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(target).center());
    QCOMPARE(View().CurrentPage(), 37);
    QVERIFY(!list->isVisible());

    // The list is rebuilt with the flags: a shown form page joins it.
    View().GetPreferences().pages[4].aFlag = 1;
    View().RebuildPageOrder();
    QCOMPARE(list->count(), 22);
    QCOMPARE(list->item(1)->data(Qt::UserRole).toInt(), 4);
    Click(QStringLiteral("pageListButton"));
    Click(QStringLiteral("pageListButton"));
    QVERIFY(!list->isVisible());
}

void TestMainWindow::popupsCloseEachOther() {
    Click(QStringLiteral("mainMenuButton"));
    QVERIFY(View().MainMenuOpen());
    Click(QStringLiteral("pageListButton"));
    QVERIFY(View().PageListOpen());
    QVERIFY(!View().MainMenuOpen());
    Click(QStringLiteral("mainMenuButton"));
    QVERIFY(!View().PageListOpen());
    Click(QStringLiteral("nextPageButton"));
    QVERIFY(!View().MainMenuOpen());
    Click(QStringLiteral("mainMenuButton"));
    Click(QStringLiteral("mainMenuButton"));
    QVERIFY(!View().MainMenuOpen());
}

void TestMainWindow::mainMenuEntries() {
    Click(QStringLiteral("mainMenuButton"));
    auto* menu = Child<QListWidget>(QStringLiteral("mainMenu"));
    QCOMPARE(menu->count(), 21);
    QCOMPARE(menu->item(0)->text(), QStringLiteral("New patient"));
    QCOMPARE(menu->item(11)->text(), QStringLiteral("Ed windows"));
    QCOMPARE(menu->item(20)->text(), QStringLiteral("Exit"));
    QCOMPARE(menu->geometry().bottom() + 1, 290);
    QVERIFY(menu->geometry().top() >= 0);
    // Every entry is in view without scrolling.
    QVERIFY(menu->visualItemRect(menu->item(20)).bottom() < menu->viewport()->height());
    // A separator only removes the selection.
    QTest::mouseClick(menu->viewport(), Qt::LeftButton, {},
                      menu->visualItemRect(menu->item(5)).center());
    QVERIFY(menu->isVisible());
    QVERIFY(menu->selectedItems().isEmpty());
}

void TestMainWindow::recordNavigationAndCounter() {
    PatientSet& patients = m_program->Document().Patients();
    patients.Current()->inUse = 1;
    patients.AddNew().inUse = 1;
    patients.AddNew().inUse = 1;
    View().Controller().ShowRecord();
    auto* counter = Child<QLabel>(QStringLiteral("recordCounter"));
    QCOMPARE(counter->text(), QStringLiteral("3/3"));
    Click(QStringLiteral("recordFirst"));
    QCOMPARE(counter->text(), QStringLiteral("1/3"));
    Click(QStringLiteral("recordPrev"));
    QCOMPARE(counter->text(), QStringLiteral("1/3"));
    Click(QStringLiteral("recordNext"));
    QCOMPARE(counter->text(), QStringLiteral("2/3"));
    Click(QStringLiteral("recordLast"));
    QCOMPARE(counter->text(), QStringLiteral("3/3"));
    Click(QStringLiteral("recordNext"));  // past the last record in use: an empty one
    QCOMPARE(counter->text(), QStringLiteral("4/4"));
    Click(QStringLiteral("recordNext"));
    QCOMPARE(counter->text(), QStringLiteral("4/4"));
}

void TestMainWindow::newPatientOnAnEmptyLastRecordAddsNone() {
    PatientSet& patients = m_program->Document().Patients();
    patients.Current()->inUse = 1;
    patients.AddNew();  // empty
    patients.First();
    View().ShowPage(21);
    ChooseMenu(QStringLiteral("New patient"));
    QCOMPARE(patients.Count(), 2);
    QCOMPARE(patients.CurrentNumber(), 2);
    QCOMPARE(View().CurrentPage(), 0);
    QCOMPARE(NoticeText(), QStringLiteral("New patient"));

    patients.Current()->inUse = 1;
    Click(QStringLiteral("recordNew"));
    QCOMPARE(patients.Count(), 3);
    QCOMPARE(Child<QLabel>(QStringLiteral("recordCounter"))->text(), QStringLiteral("3/3"));
}

void TestMainWindow::patientBoxReadOnlyForLockR() {
    PatientRecord& record = *m_program->Document().Patients().Current();
    record.sex = 1;
    record.SetField(2, u"Dupont");
    record.SetField(3, u"Jean");
    record.SetField(6, u"1950");
    record.lockState = u"R";
    View().Controller().ShowRecord();
    QCOMPARE(Bar().PatientText(), QStringLiteral("Mr Dupont J 1950"));
    QVERIFY(Bar().PatientReadOnly());
    QCOMPARE(Child<QPushButton>(QStringLiteral("patientBox"))->width(), 98);
    record.lockState = u"W";
    View().Controller().ShowRecord();
    QVERIFY(!Bar().PatientReadOnly());
}

void TestMainWindow::clearCheckBoxes() {
    PatientSet& patients = m_program->Document().Patients();
    patients.Current()->checked = 1;
    patients.AddNew().checked = 1;
    ChooseMenu(QStringLiteral("Clear check boxes"));
    QCOMPARE(patients.At(0)->checked, 0);
    QCOMPARE(patients.At(1)->checked, 0);
    QCOMPARE(NoticeText(), QStringLiteral("Check boxes cleared"));
    QVERIFY(!View().MainMenuOpen());
}

namespace {

// A page of its own that records what the controller asks of it.
class RecordingPage final : public FormPage {
public:
    explicit RecordingPage(QStringList& calls, bool ownLeave = false)
        : m_calls(calls), m_ownLeave(ownLeave) {}
    void ShowRecord(PatientRecord*) override { m_calls << "show"; }
    void Commit() override { m_calls << "commit"; }
    void Leave() override {
        if (m_ownLeave) {
            m_calls << "leave";
        } else {
            FormPage::Leave();
        }
    }
    void Release() override { m_calls << "release"; }

private:
    QStringList& m_calls;
    bool m_ownLeave;
};

}  // namespace

void TestMainWindow::pageHooksCommitWhenLeft() {
    // Page 21 stands for a page of its own; page 20 is the problems page.
    QStringList calls;
    RecordingPage page(calls);
    View().Controller().SetPage(21, &page);
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("installedPanel"));
    View().InstallPage(21, panel);
    QCOMPARE(panel->parentWidget(), View().Page(21));
    QCOMPARE(panel->geometry(), QRect(0, 0, 240, 290));
    QVERIFY(!View().findChild<QLabel*>(QStringLiteral("pageTitle21"))->isVisible());

    Click(QStringLiteral("daySummaryButton"));
    QCOMPARE(calls, QStringList{"show"});
    Click(QStringLiteral("tasksButton"));
    QCOMPARE(calls, (QStringList{"show", "commit"}));
    View().ShowPage(21);
    calls.clear();
    // Record navigation commits the shown values first, then shows the record again.
    m_program->Document().Patients().Current()->inUse = 1;
    View().Controller().MoveRecord(RecordNavigation::Move::Next);
    QCOMPARE(calls, (QStringList{"commit", "show"}));

    // Every page commits before a save, the one shown or not.
    View().ShowPage(19);
    calls.clear();
    View().Controller().CommitAll();
    QCOMPARE(calls, QStringList{"commit"});

    // Before the set is read again every page lets its record go, even when not shown.
    calls.clear();
    m_program->Messages().QueueAnswer(BoxAnswer::No);
    ChooseMenu(QStringLiteral("Open all"));
    QCOMPARE(calls, (QStringList{"commit", "release"}));

    // A page with its own Leave: it runs instead of Commit when the page is left.
    RecordingPage leaving(calls, true);
    View().Controller().SetPage(21, &leaving);
    View().ShowPage(21);
    calls.clear();
    View().ShowPage(19);
    QCOMPARE(calls, QStringList{"leave"});
    View().Controller().SetPage(21, nullptr);
}

void TestMainWindow::editCommandsActOnTheLastField() {
    auto* field = new QLineEdit;
    field->setObjectName(QStringLiteral("someField"));
    View().InstallPage(30, field);
    View().ShowPage(30);
    m_program->Frame()->activateWindow();
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());
    QTest::keyClicks(field, QStringLiteral("cough"));
    field->selectAll();
    ChooseMenu(QStringLiteral("Cut"));
    QCOMPARE(field->text(), QString());
    ChooseMenu(QStringLiteral("Paste"));
    QCOMPARE(field->text(), QStringLiteral("cough"));
    ChooseMenu(QStringLiteral("Undo"));
    QCOMPARE(field->text(), QString());
}

void TestMainWindow::inputPanelTypesIntoTheFocusedField() {
    auto* field = new QLineEdit;
    View().InstallPage(0, field);
    field->move(0, 60);
    m_program->Frame()->activateWindow();
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());
    Click(QStringLiteral("inputPanelButton"));
    auto* panel = Child<CInputPanel>(QStringLiteral("inputPanel"));
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->geometry().bottom() + 1, 290);
    QVERIFY(Child<QToolButton>(QStringLiteral("inputPanelButton"))->isChecked());
    Click(QStringLiteral("key_shift"));
    Click(QStringLiteral("key_o"));
    Click(QStringLiteral("key_k"));
    Click(QStringLiteral("key_space"));
    Click(QStringLiteral("key_x"));
    Click(QStringLiteral("key_backspace"));
    QCOMPARE(field->text(), QStringLiteral("Ok "));
    QVERIFY(field->hasFocus());
    // Shift shows the capitals on the keys, until a letter is typed.
    Click(QStringLiteral("key_shift"));
    QCOMPARE(Child<QPushButton>(QStringLiteral("key_q"))->text(), QStringLiteral("Q"));
    Click(QStringLiteral("key_t"));
    QCOMPARE(Child<QPushButton>(QStringLiteral("key_q"))->text(), QStringLiteral("q"));
    // The layer of digits and signs: a dose, a temperature, a limit.
    Click(QStringLiteral("key_layer"));
    QVERIFY(panel->ShowsSigns());
    QVERIFY(!Child<QPushButton>(QStringLiteral("key_q"))->isVisible());
    test::Screenshot(*panel, QStringLiteral("mainwin-input-panel-signs"));
    for (const char16_t sign : u"1/2:37.5°%+<>") {
        if (sign == 0) break;
        Click(QStringLiteral("key_%1").arg(static_cast<int>(sign)));
    }
    QCOMPARE(field->text(), QStringLiteral("Ok T1/2:37.5°%+<>"));
    Click(QStringLiteral("key_layer"));
    QVERIFY(!panel->ShowsSigns());
    QVERIFY(Child<QPushButton>(QStringLiteral("key_q"))->isVisible());
    test::Screenshot(*panel, QStringLiteral("mainwin-input-panel-letters"));
    Click(QStringLiteral("inputPanelButton"));
    QVERIFY(!panel->isVisible());
    QVERIFY(!Child<QToolButton>(QStringLiteral("inputPanelButton"))->isChecked());
}

void TestMainWindow::helpOpensAtMainContents() {
    ChooseMenu(QStringLiteral("Help"));
    auto* browser = View().findChild<QTextBrowser*>(QStringLiteral("helpBrowser"));
    QVERIFY(browser);
    QVERIFY(browser->isVisible());
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Pondrel Help")));
    QVERIFY(browser->toPlainText().contains(QStringLiteral("The main menu")));
    QVERIFY(View().ShowingDialog());
    test::Screenshot(*browser->window(), QStringLiteral("mainwin-help"));
    auto* close = View().findChild<QPushButton*>(QStringLiteral("helpClose"));
    QTest::mouseClick(close, Qt::LeftButton);
    QTRY_VERIFY(!View().findChild<QTextBrowser*>(QStringLiteral("helpBrowser")));
    QVERIFY(!View().ShowingDialog());
}

void TestMainWindow::helpMissingFileIsSaid() {
    fs::remove(Installation() / "PondrelHelp.htm");
    m_program->Messages().QueueAnswer(BoxAnswer::Ok);
    ChooseMenu(QStringLiteral("Help"));
    QCOMPARE(m_program->Messages().Shown().size(), size_t(1));
    QCOMPARE(m_program->Messages().Shown().front().caption, QStringLiteral("Help"));
    QVERIFY(m_program->Messages().Shown().front().text.contains(QStringLiteral("PondrelHelp.htm")));
    QVERIFY(!View().findChild<QTextBrowser*>(QStringLiteral("helpBrowser")));
}

void TestMainWindow::aboutNamesProgramVersionAndLicence() {
    ChooseMenu(QStringLiteral("About"));
    auto* text = View().findChild<QLabel*>(QStringLiteral("aboutText"));
    QVERIFY(text);
    QVERIFY(text->text().contains(QStringLiteral("Pondrel")));
    QVERIFY(text->text().contains(QStringLiteral(PONDREL_VERSION_TEXT)));
    QVERIFY(text->text().contains(QStringLiteral("GPL-3.0-or-later")));
    // Where the growth curves come from.
    QVERIFY(text->text().contains(QStringLiteral("WHO Child Growth Standards")));
    QVERIFY(text->text().contains(QStringLiteral("CDC 2000")));
    // And the factory code table.
    QVERIFY(text->text().contains(QStringLiteral("ICD-10-CM FY2026")));
    test::Screenshot(*text->window(), QStringLiteral("mainwin-about"));
    QTest::mouseClick(View().findChild<QPushButton*>(QStringLiteral("aboutOk")), Qt::LeftButton);
    QTRY_VERIFY(!View().findChild<QLabel*>(QStringLiteral("aboutText")));
}

void TestMainWindow::notAvailableEntriesSaySo() {
    // "Quick load file" opens the quick load dialogue; Close closes it and nothing changes.
    bool quickLoadShown = false;
    QTimer::singleShot(0, this, [&quickLoadShown] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal->objectName() != QStringLiteral("quickLoadDialog")) return;
        quickLoadShown = true;
        QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("closeButton")),
                          Qt::LeftButton);
    });
    ChooseMenu(QStringLiteral("Quick load file"));
    QVERIFY(quickLoadShown);
    QCOMPARE(NoticeText(), QString());
    // "Files manager ->" opens the files manager; OK closes it.
    bool filesManagerShown = false;
    QTimer::singleShot(0, this, [&filesManagerShown] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal->objectName() != QStringLiteral("filesManagerDialog")) return;
        filesManagerShown = true;
        QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("okButton")),
                          Qt::LeftButton);
    });
    ChooseMenu(QStringLiteral("Files manager ->"));
    QVERIFY(filesManagerShown);
    View().HideNotice();
    // The patient box opens the patient list, and closes it again.
    Click(QStringLiteral("patientBox"));
    QCOMPARE(NoticeText(), QString());
    QVERIFY(Child<QWidget>(QStringLiteral("patientList"))->isVisible());
    Click(QStringLiteral("patientBox"));
    QVERIFY(!Child<QWidget>(QStringLiteral("patientList"))->isVisible());
    QCOMPARE(m_program->Messages().Shown().size(), size_t(0));

    // "Ed shortcuts" is there: the label editor of the field that had the focus, or the box
    // saying that a field must be chosen first.
    bool editorShown = false;
    QTimer::singleShot(0, this, [&editorShown] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal->objectName() != QStringLiteral("labelEditorDialog")) return;
        editorShown = true;
        QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("cancelButton")),
                          Qt::LeftButton);
    });
    m_program->Messages().QueueAnswer(BoxAnswer::Ok);
    ChooseMenu(QStringLiteral("Ed shortcuts"));
    if (editorShown) {
        QCOMPARE(NoticeText(), QStringLiteral("Nothing was saved !"));
    } else {
        QCOMPARE(m_program->Messages().Shown().size(), size_t(1));
        QCOMPARE(m_program->Messages().Shown().front().text,
                 QStringLiteral("First select a window to edit !"));
    }
}

void TestMainWindow::preferencesExchangeWritesTheFile() {
    const fs::path file = Installation() / "Preferences.pre";
    fs::remove(file);
    QVERIFY(!m_program->Timers().IsRunning(TimerId::AutoSave));
    // The dialogues are modal: the user opens "General", picks "2 minutes", OK, then OK.
    QTimer::singleShot(0, this, [this] {
        QWidget* preferences = QApplication::activeModalWidget();
        QVERIFY(preferences);
        QCOMPARE(preferences->objectName(), QStringLiteral("preferencesDialog"));
        QVERIFY(View().ShowingDialog());
        QTimer::singleShot(0, this, [preferences] {
            QWidget* general = QApplication::activeModalWidget();
            QVERIFY(general && general != preferences);
            auto* list = general->findChild<QComboBox*>(QStringLiteral("intervalList"));
            QVERIFY(list);
            list->setCurrentIndex(2);
            emit list->activated(2);  // as a choice in the open list does
            QTest::mouseClick(general->findChild<QPushButton*>(QStringLiteral("okButton")),
                              Qt::LeftButton);
            QTimer::singleShot(0, preferences, [preferences] {
                QTest::mouseClick(preferences->findChild<QPushButton*>(QStringLiteral("okButton")),
                                  Qt::LeftButton);
            });
        });
        QTest::mouseClick(preferences->findChild<QPushButton*>(QStringLiteral("generalButton")),
                          Qt::LeftButton);
    });
    ChooseMenu(QStringLiteral("Preferences"));
    QVERIFY(fs::exists(file));
    QVERIFY(!View().ShowingDialog());
    QCOMPARE(View().GetPreferences().general.autoSaveInterval, 2);
    QCOMPARE(View().Active().AutoSaveInterval(), 2);
    // Automatic saving runs while the main window is active (the dialogues took that away).
    m_program->Frame()->activateWindow();
    QTRY_VERIFY(m_program->Timers().IsRunning(TimerId::AutoSave));
    Preferences written;
    QVERIFY(ReadPreferencesFile(m_program->GetPlatform().files,
                                u"\\Program files\\Pondrel\\Preferences.pre", written));
    QCOMPARE(written.general.autoSaveInterval, 2);
}

void TestMainWindow::exitSavesThePreferences() {
    const fs::path file = Installation() / "Preferences.pre";
    fs::remove(file);
    ChooseMenu(QStringLiteral("Exit"));
    QVERIFY(!m_program->Frame()->isVisible());
    QVERIFY(fs::exists(file));
}

void TestMainWindow::screenshots() {
    PatientRecord& record = *m_program->Document().Patients().Current();
    record.sex = 0;
    record.SetField(2, u"Martin");
    record.SetField(3, u"Claire");
    record.SetField(6, u"1948");
    View().Controller().ShowRecord();
    QWidget& frame = *m_program->Frame();
    test::Screenshot(frame, QStringLiteral("mainwin-page0"));
    Click(QStringLiteral("mainMenuButton"));
    test::Screenshot(frame, QStringLiteral("mainwin-menu"));
    Click(QStringLiteral("pageListButton"));
    test::Screenshot(frame, QStringLiteral("mainwin-pagelist"));
    Click(QStringLiteral("pageListButton"));
    View().ShowNotice(u"End Save  \r\n (there was an error)", 4000, true);
    test::Screenshot(frame, QStringLiteral("mainwin-notice"));
    View().ShowNotice(u"Save successfull", 2000, false);
    test::Screenshot(frame, QStringLiteral("mainwin-notice-short"));
    Click(QStringLiteral("inputPanelButton"));
    test::Screenshot(frame, QStringLiteral("mainwin-keyboard"));
}

void TestMainWindow::saveAllThenOpenAllCancelledChangesNothing() {
    BeginMartin();
    ChooseMenu(QStringLiteral("Save all"));
    const fs::path file =
        m_device / "My Documents" / "PD_ActivePatients" / "Martin_Claire_1948.pdr";
    QVERIFY(fs::exists(file));
    QCOMPARE(NoticeText(), QStringLiteral("Save successfull"));

    PatientSet& patients = m_program->Document().Patients();
    patients.Current()->SetField(10, u"18");  // not saved yet
    Click(QStringLiteral("recordNew"));
    QCOMPARE(patients.Count(), 2);
    const auto before = fs::last_write_time(file);

    m_program->Messages().QueueAnswer(BoxAnswer::Cancel);
    ChooseMenu(QStringLiteral("Open all"));
    QCOMPARE(m_program->Messages().Shown().back().caption, QStringLiteral("Save all before"));
    QCOMPARE(patients.Count(), 2);
    QCOMPARE(patients.CurrentNumber(), 2);
    QCOMPARE(patients.At(0)->Field(10), std::u16string(u"18"));
    QCOMPARE(fs::last_write_time(file), before);

    // "No": read again from the files; what was not saved is gone.
    m_program->Messages().QueueAnswer(BoxAnswer::No);
    ChooseMenu(QStringLiteral("Open all"));
    QCOMPARE(patients.Count(), 1);
    QCOMPARE(patients.Current()->Field(2), std::u16string(u"Martin"));
    QCOMPARE(patients.Current()->Field(10), std::u16string());
    QCOMPARE(Bar().PatientText(), QStringLiteral("Mrs Martin C 1948"));
    QCOMPARE(Child<QLabel>(QStringLiteral("recordCounter"))->text(), QStringLiteral("1/1"));
}

void TestMainWindow::closeOneArchivesThePatient() {
    BeginMartin();
    m_program->Messages().QueueAnswer(BoxAnswer::Yes);
    Click(QStringLiteral("recordClose"));
    QCOMPARE(m_program->Messages().Shown().back().caption,
             QStringLiteral("Close patient : yes or no ?"));
    QVERIFY(fs::exists(m_device / "My Documents" / "PD_Archives" / "Martin_Claire_1948.pdr"));
    QVERIFY(
        !fs::exists(m_device / "My Documents" / "PD_ActivePatients" / "Martin_Claire_1948.pdr"));
    QCOMPARE(m_program->Document().Patients().Count(), 1);
    QCOMPARE(m_program->Document().Patients().Current()->inUse, 0);
    QCOMPARE(Bar().PatientText(), QStringLiteral("  "));
}

void TestMainWindow::exitSavesPatientsAndTheNextStartShowsThem() {
    BeginMartin();
    Click(QStringLiteral("recordNew"));
    PatientRecord& second = *m_program->Document().Patients().Current();
    SetIdentity(second, u"Bernard", u"Luc", u"1", u"2", u"1960");
    second.sex = 1;
    BeginPatient(second, View().Locations(), true, m_program->GetPlatform().clock);
    ChooseMenu(QStringLiteral("Exit"));
    QVERIFY(!m_program->Frame()->isVisible());
    const fs::path active = m_device / "My Documents" / "PD_ActivePatients";
    QVERIFY(fs::exists(active / "Martin_Claire_1948.pdr"));
    QVERIFY(fs::exists(active / "Bernard_Luc_1960.pdr"));

    Start();
    PatientSet& patients = m_program->Document().Patients();
    QCOMPARE(patients.Count(), 2);
    // The position of the patient shown at exit comes back with the preferences.
    QCOMPARE(patients.CurrentNumber(), 2);
    QCOMPARE(Child<QLabel>(QStringLiteral("recordCounter"))->text(), QStringLiteral("2/2"));
    // (Files are listed in the folder's order, so the position may name the other patient.)
    const bool martinShown = patients.Current()->Field(2) == u"Martin";
    QCOMPARE(Bar().PatientText(), martinShown ? QStringLiteral("Mrs Martin C 1948")
                                              : QStringLiteral("Mr Bernard L 1960"));
    QCOMPARE(patients.At(martinShown ? 0 : 1)->Field(2),
             std::u16string(martinShown ? u"Bernard" : u"Martin"));
    // The window title names the patient on screen at every move, not only after an edit.
    QCOMPARE(m_program->Frame()->windowTitle(), Bar().PatientText());
    Click(QStringLiteral("recordFirst"));
    QCOMPARE(m_program->Frame()->windowTitle(), martinShown ? QStringLiteral("Mr Bernard L 1960")
                                                            : QStringLiteral("Mrs Martin C 1948"));
    Click(QStringLiteral("recordLast"));
    QCOMPARE(m_program->Frame()->windowTitle(), Bar().PatientText());
    Click(QStringLiteral("recordPrev"));
    QCOMPARE(m_program->Frame()->windowTitle(), Bar().PatientText());
    // The backup of the patients just loaded is taken once start-up is over.
    const fs::path backup = Installation() / "Backup";
    QTRY_VERIFY(fs::exists(backup / "Martin_Claire_1948.pdr"));
    QVERIFY(fs::exists(backup / "Bernard_Luc_1960.pdr"));
}

void TestMainWindow::timersAtStartUp() {
    QVERIFY(m_program->Timers().IsRunning(TimerId::Backup));
    QCOMPARE(m_program->Timers().Interval(TimerId::Backup), 60000);
    QVERIFY(!m_program->Timers().IsRunning(TimerId::AutoSave));  // the factory interval is 0

    // An interval of 5 minutes in the preferences file starts automatic saving.
    const std::u16string path = u"\\Program files\\Pondrel\\Preferences.pre";
    Preferences preferences;
    QVERIFY(ReadPreferencesFile(m_program->GetPlatform().files, path, preferences));
    preferences.general.autoSaveInterval = 5;
    QVERIFY(WritePreferencesFile(m_program->GetPlatform().files, path, preferences));
    m_program->Frame()->CloseWithoutSaving();
    Start();
    QVERIFY(m_program->Timers().IsRunning(TimerId::AutoSave));
    QCOMPARE(m_program->Timers().Interval(TimerId::AutoSave), 60000);
    QCOMPARE(View().Active().AutoSaveInterval(), 5);
}

void TestMainWindow::exitAfterAFailedSaveMayBeCancelled() {
    PatientRecord& record = *m_program->Document().Patients().Current();
    record.inUse = 1;
    record.SetField(2, u"Nameless");  // no first name nor birth year: cannot be saved
    m_program->Messages().QueueAnswer(BoxAnswer::Ok);      // "Save failure"
    m_program->Messages().QueueAnswer(BoxAnswer::Cancel);  // keep the program running
    ChooseMenu(QStringLiteral("Exit"));
    QCOMPARE(m_program->Messages().Shown().size(), size_t(2));
    QCOMPARE(m_program->Messages().Shown().front().caption, QStringLiteral("Save failure"));
    QCOMPARE(m_program->Messages().Shown().back().caption,
             QStringLiteral("Exit without saving all?"));
    QVERIFY(m_program->Frame()->isVisible());
    QVERIFY(m_program->Timers().IsRunning(TimerId::Backup));
    QCOMPARE(m_program->Document().Patients().Current()->Field(2), std::u16string(u"Nameless"));

    // OK leaves without saving that patient.
    m_program->Messages().QueueAnswer(BoxAnswer::Ok);
    m_program->Messages().QueueAnswer(BoxAnswer::Ok);
    ChooseMenu(QStringLiteral("Exit"));
    QVERIFY(!m_program->Frame()->isVisible());
    QVERIFY(!m_program->Timers().IsRunning(TimerId::Backup));
}

QTEST_MAIN(TestMainWindow)
#include "TestMainWindow.moc"
