#include <QCalendarWidget>
#include <QCheckBox>
#include <QClipboard>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextCharFormat>
#include <QToolButton>
#include <QtTest>

#include "GuiDriver.h"
#include "PlainRecord.h"
#include "TestPlatform.h"
#include "journal/RecordEditing.h"
#include "journal/ui/CDayPopup.h"
#include "journal/ui/CProblemPanel.h"
#include "journal/ui/CSectionEdit.h"
#include "labels/Labels.h"
#include "platform/ui/CPopupList.h"
#include "platform/ui/QtText.h"
#include "records/LocationList.h"
#include "records/PatientFileReader.h"
#include "records/PatientFileWriter.h"
#include "records/PatientRecord.h"
#include "records/PatientSet.h"
#include "records/WorkingFolders.h"

namespace pondrel {

namespace {

constexpr DayNumber k13Mar06 = 2263;

}  // namespace

class ProblemPanelTest : public QObject {
    Q_OBJECT

private:
    // Today is Wednesday 15 March 2006; the patient came in on Monday 13 March with two
    // problems, the second one solved.
    struct Fixture {
        Fixture() {
            platform.clock.now = DateTime{2006, 3, 15, 10, 30, 0};
            record.dates.subfolderType = u"Hosp";
            record.dates.admission = DateTime{2006, 3, 13, 9, 0, 0};
            record.dates.admissionDay = k13Mar06;
            record.journal =
                u"§0|Pneumonia¦¦A¦§1|Diabetes¦¦I¦"
                u"#2263§0|cough|crackles right|CRP 120|amoxicillin|||§1|||glucose 9|insulin|||";
            panel.SetLabels(Labels::Defaults());
        }
        void Open() {
            panel.OpenPatient(record);
            panel.show();
            QVERIFY(QTest::qWaitForWindowExposed(&panel));
        }

        test::TestPlatform platform;
        test::PlainRecord record;
        CProblemPanel panel{platform.messages, platform.clock};
    };

    // A missing child stops the test program: every control a test touches must exist.
    template <typename T>
    static T* Child(QWidget* parent, const char* name) {
        T* child = test::Child<T>(*parent, QString::fromLatin1(name));
        if (!child) qFatal("no child %s", name);
        return child;
    }
    static void Click(QWidget* parent, const char* name) {
        QVERIFY(test::Click(*parent, QString::fromLatin1(name)));
    }
    static void ClickRow(QListWidget* list, int row) { QVERIFY(test::ClickRow(*list, row)); }
    static QString SectionText(QWidget* panel, const char* name) {
        return ToQString(Child<CSectionEdit>(panel, name)->Text());
    }
    static void Type(QWidget* panel, const char* name, const QString& text) {
        QVERIFY(test::Type(*panel, QString::fromLatin1(name), text));
    }
    static QString ButtonText(QWidget* panel, const char* name) {
        return Child<QAbstractButton>(panel, name)->text();
    }

    // The visible controls of `parent` lie inside it and none covers another.
    static void CheckNoOverlap(QWidget* parent) {
        QList<QWidget*> shown;
        for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!child->isVisible()) continue;
            QVERIFY2(parent->rect().contains(child->geometry()), qPrintable(child->objectName()));
            shown.append(child);
        }
        for (int i = 0; i < shown.size(); ++i) {
            for (int j = i + 1; j < shown.size(); ++j) {
                QWidget* a = shown[i];
                QWidget* b = shown[j];
                // The pane buttons sit on the caption row of the bottom-right box, which
                // leaves them room.
                bool paneButton =
                    a->objectName().endsWith("Pane") || b->objectName().endsWith("Pane");
                if (paneButton) continue;
                QVERIFY2(!a->geometry().intersects(b->geometry()),
                         qPrintable(a->objectName() + " / " + b->objectName()));
            }
        }
    }
    static void CheckLayout(QWidget& panel, const QString& shot) {
        QCOMPARE(panel.size(), QSize(240, 290));
        CheckNoOverlap(&panel);
        QWidget* area = Child<QWidget>(&panel, "sectionArea");
        CheckNoOverlap(area);
        // A caption row holds the caption, the '+' and the pane buttons side by side.
        for (QWidget* box : area->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (box->isVisible() && box->objectName().endsWith("Box")) CheckNoOverlap(box);
        }
        for (const char* pane : {"ddPane", "otherPane"}) {
            QWidget* button = Child<QWidget>(area, pane);
            if (!button->isVisible()) continue;
            for (QLabel* caption : area->findChildren<QLabel*>()) {
                if (!caption->isVisible()) continue;
                QRect inArea(caption->mapTo(area, QPoint(0, 0)), caption->size());
                QVERIFY2(!inArea.intersects(button->geometry()), qPrintable(caption->objectName()));
            }
        }
        test::Screenshot(panel, shot);
    }

private slots:
    void typicalEditingPathKeepsTheTextThroughDaysAndFiles() {
        // A real patient of the set, edited through the program's adapter.
        Fixture f;
        WorkingFolders folders;
        f.platform.files.AddFolder(WorkingFolders::kActivePatients);
        f.platform.files.AddFolder(folders.Backup());
        PatientSet set(f.platform.clock);
        PatientRecord& patient = set.AddNew();
        for (int n : {2, 120}) patient.SetField(n, u"Doe");
        for (int n : {3, 121}) patient.SetField(n, u"John");
        for (int n : {6, 124}) patient.SetField(n, u"1950");
        patient.SetField(4, u"1");
        patient.SetField(5, u"2");
        patient.inUse = 1;
        patient.location = u"Ward 3";
        patient.subfolderType = u"Hosp";
        patient.admission = f.record.dates.admission;
        patient.admissionDay = k13Mar06;
        patient.exit = patient.admission;
        patient.problemJournal = f.record.journal;
        RecordEditing editing(patient);

        f.panel.OpenPatient(editing);
        f.panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.panel));
        QWidget* p = &f.panel;
        QCOMPARE(ButtonText(p, "dateLabel"), QString("D3 - We 15 Mar 06"));
        QCOMPARE(Child<QLineEdit>(p, "title")->text(), QString("Pneumonia"));
        QCOMPARE(ButtonText(p, "problemButton"), QString("P1/2: Start 13 Mar 06 "));

        // A letter typed at the start of a line is a capital.
        Type(p, "status", "better");
        Type(p, "medicine", "amoxicillin 1 g");
        // Typing stays in the working copy until the next commit; leaving Status committed it.
        QVERIFY(patient.problemJournal.find(u"#2265§0||Better|||||") != std::u16string::npos);
        QVERIFY(patient.problemJournal.find(u"Amoxicillin 1 g") == std::u16string::npos);

        Click(p, "previousDay");
        QCOMPARE(ButtonText(p, "dateLabel"), QString("D2 - Tu 14 Mar 06"));
        QCOMPARE(SectionText(p, "status"), QString());
        QVERIFY2(patient.problemJournal.find(u"#2265§0||Better||Amoxicillin 1 g|||") !=
                     std::u16string::npos,
                 qPrintable(ToQString(patient.problemJournal)));
        Click(p, "nextDay");
        QCOMPARE(SectionText(p, "status"), QString("Better"));
        QCOMPARE(SectionText(p, "medicine"), QString("Amoxicillin 1 g"));

        // A text of several lines (Enter starts a bulleted line); leaving the field commits too.
        Type(p, "attitude", "rest");
        QTest::keyClick(Child<QWidget>(p, "attitude"), Qt::Key_Return);
        QTest::keyClicks(Child<QWidget>(p, "attitude"), "x-ray");
        Child<QLineEdit>(p, "title")->setFocus();
        QTRY_VERIFY(patient.problemJournal.find(u"|-Rest\r\n-X-ray|") != std::u16string::npos);
        Type(p, "anamnesia", "no fever");  // committed by the close below
        f.panel.ClosePatient();
        QVERIFY(patient.problemJournal.find(u"#2265§0|No fever|Better|") != std::u16string::npos);
        const std::u16string edited = patient.problemJournal;

        // The whole folder saved and read back holds the text.
        PatientFileWriter writer(f.platform.files, f.platform.messages,
                                 PatientFolders::Of(folders));
        SaveState state;
        QCOMPARE(writer.SavePatient(patient, 0, SaveMode::Normal, state), SaveOutcome::Written);
        set.RemoveAll();
        LocationList locations;
        PatientFileReader reader(f.platform.files, f.platform.messages, folders, set, locations);
        QVERIFY(reader.ReadPatientFile(u"Doe_John_1950.pdr"));
        QVERIFY(set.Current()->problemJournal == edited);

        RecordEditing reread(*set.Current());
        f.panel.OpenPatient(reread);
        QCOMPARE(ButtonText(p, "dateLabel"), QString("D3 - We 15 Mar 06"));
        QCOMPARE(SectionText(p, "status"), QString("Better"));
        QCOMPARE(SectionText(p, "attitude"), QString("-Rest\r\n-X-ray"));
        f.panel.ClosePatient();
    }

    void reservedCharactersAreRefusedFromTheKeyboard() {
        Fixture f;
        f.Open();
        QWidget* p = &f.panel;
        Type(p, "status", QString::fromUtf8("a#b|c\u00A7d\u00A6e\u00ACf\u00A2g"));
        QCOMPARE(SectionText(p, "status"), QString("Abcdefg"));
        auto* title = Child<QLineEdit>(p, "title");
        title->setFocus();
        title->end(false);
        QTest::keyClicks(title, QString::fromUtf8(" #(|\u00A7)"));
        QCOMPARE(title->text(), QString("Pneumonia ()"));
        // Pasted text loses them too.
        auto* redaction = Child<CSectionEdit>(p, "redaction");
        redaction->setFocus();
        QApplication::clipboard()->setText(QString::fromUtf8("x#y\u00A7z"));
        redaction->paste();
        QCOMPARE(ToQString(redaction->Text()), QString("xyz"));
        f.panel.Commit();
        QVERIFY(f.record.journal.find(u"§0|Pneumonia ()¦¦A¦xyz§1|") != std::u16string::npos);
    }

    void sectionLayoutsAndPanesSwitch() {
        Fixture f;
        f.Open();
        QWidget* p = &f.panel;
        auto visible = [p](const char* box) { return Child<QWidget>(p, box)->isVisible(); };
        Click(p, "previousEntryDay");  // 13 March: the sections hold text
        f.panel.Model().EditDifferentialDiagnosis(u"Lung cancer");
        f.panel.Refresh({.panel = true});
        QVERIFY(visible("anamnesiaBox") && visible("statusBox") && visible("medicineBox") &&
                visible("examinationsBox") && visible("attitudeBox"));
        QVERIFY(visible("differentialDiagnosisBox") && !visible("otherBox"));
        CheckLayout(f.panel, "panel-all");

        Click(p, "otherPane");
        QVERIFY(visible("otherBox") && !visible("differentialDiagnosisBox"));
        QCOMPARE(f.panel.Pane(), ProblemPanelModel::BottomPane::Other);
        CheckLayout(f.panel, "panel-all-other");
        Click(p, "ddPane");
        QVERIFY(!visible("otherBox") && visible("differentialDiagnosisBox"));

        QCOMPARE(ButtonText(p, "toggleLayout"), QString("A/S"));
        Click(p, "toggleLayout");
        QVERIFY(visible("anamnesiaBox") && visible("statusBox"));
        QVERIFY(!visible("medicineBox") && !visible("attitudeBox") && !visible("examinationsBox"));
        QVERIFY(Child<QWidget>(p, "anamnesia")->height() > 150);
        CheckLayout(f.panel, "panel-anamnesia-status");

        Click(p, "toggleLayout");
        QVERIFY(visible("attitudeBox") && visible("examinationsBox"));
        QVERIFY(!visible("anamnesiaBox") && !visible("statusBox"));
        CheckLayout(f.panel, "panel-attitude-examinations");

        Click(p, "resetLayout");
        QVERIFY(visible("medicineBox") && visible("anamnesiaBox"));
        // From the full layout the toggle goes to the pair after the one last used.
        QCOMPARE(ButtonText(p, "toggleLayout"), QString("A/S"));
    }

    void problemNavigationListAndUrgency() {
        Fixture f;
        f.Open();
        QWidget* p = &f.panel;
        auto* title = Child<QLineEdit>(p, "title");
        Click(p, "nextProblem");
        QCOMPARE(title->text(), QString("Diabetes"));
        QCOMPARE(ButtonText(p, "problemButton"), QString("P2/2: 13 Mar 06 - 13 Mar 06 (S)"));
        QCOMPARE(SectionText(p, "medicine"), QString());  // nothing on 15 March
        Click(p, "nextProblem");
        QCOMPARE(title->text(), QString());  // the empty slot after the last problem
        Click(p, "nextProblem");
        QCOMPARE(ButtonText(p, "problemButton"), QString("P3/2: (Empty) "));
        // Typing a section there creates the problem.
        Type(p, "anamnesia", "falls");
        Click(p, "previousProblem");
        QVERIFY(f.record.journal.find(u"§2|Problem n°3¦¦A¦") != std::u16string::npos);
        QCOMPARE(title->text(), QString("Diabetes"));

        Click(p, "problemButton");
        auto* list = Child<CPopupList>(p, "problemList");
        QVERIFY(list->isVisible());
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(0)->text(), QString("P1: Pneumonia   (Start 13 Mar 06)"));
        QCOMPARE(list->item(1)->text(), QString("P2: Diabetes   (S)(13 Mar 06 - 13 Mar 06)"));
        QCOMPARE(list->currentRow(), 1);
        ClickRow(list, 0);
        QVERIFY(!list->isVisible());
        QCOMPARE(title->text(), QString("Pneumonia"));

        QCOMPARE(ButtonText(p, "urgency"), QString(" "));
        Click(p, "urgency");
        QCOMPARE(title->text(), QString("Pneumonia (!)"));
        QCOMPARE(ButtonText(p, "urgency"), QString("!"));
        QVERIFY(f.record.journal.rfind(u"§0|Pneumonia (!)¦", 0) == 0);
        Click(p, "urgency");
        QCOMPARE(title->text(), QString("Pneumonia (!!!)"));
        Click(p, "urgency");
        QCOMPARE(title->text(), QString("Pneumonia"));
        QCOMPARE(ButtonText(p, "urgency"), QString("-"));
    }

    void dayListCalendarAndDayButtons() {
        Fixture f;
        f.Open();
        QWidget* p = &f.panel;
        QCOMPARE(ButtonText(p, "firstDay"), QString("D1"));
        QCOMPARE(ButtonText(p, "now"), QString("Now"));
        Click(p, "dateLabel");
        auto* popup = Child<CDayPopup>(p, "dayPopup");
        auto* days = Child<QListWidget>(popup, "dayList");
        QVERIFY(popup->isVisible());
        QCOMPARE(days->count(), 3);
        QCOMPARE(days->item(0)->text(), QString("D 1  - Monday 13 March 2006"));
        QCOMPARE(days->item(2)->text(), QString("D 3    Wednesday 15 March 2006"));
        QCOMPARE(days->currentRow(), 2);
        test::Screenshot(f.panel, "panel-daylist");
        ClickRow(days, 0);
        QVERIFY(!popup->isVisible());
        QCOMPARE(ButtonText(p, "dateLabel"), QString("D1 - Mo 13 Mar 06"));
        QCOMPARE(SectionText(p, "status"), QString("crackles right"));

        Click(p, "now");
        QCOMPARE(ButtonText(p, "dateLabel"), QString("D3 - We 15 Mar 06"));
        QVERIFY(!Child<QWidget>(p, "dateLabel")->property("futureDay").toBool());
        // The day after today is marked as such, in the heading and in the day list.
        Click(p, "nextDay");
        QCOMPARE(ButtonText(p, "dateLabel"), QString("D4 - Th 16 Mar 06"));
        QVERIFY(Child<QWidget>(p, "dateLabel")->property("futureDay").toBool());
        QCOMPARE(Child<QWidget>(p, "dateLabel")->toolTip(), QString("A day after today"));
        test::Screenshot(f.panel, "panel-future-day");
        Click(p, "dateLabel");
        for (int row = 0; row < days->count(); ++row) {
            QCOMPARE(days->item(row)->data(Qt::UserRole).toBool(),
                     days->item(row)->text().contains("16 March"));
        }
        Click(p, "dateLabel");
        Click(p, "previousDay");
        QVERIFY(!Child<QWidget>(p, "dateLabel")->property("futureDay").toBool());
        Click(p, "previousEntryDay");
        QCOMPARE(ButtonText(p, "dateLabel"), QString("D1 - Mo 13 Mar 06"));
        Click(p, "previousEntryDay");  // no earlier entry day: nothing moves
        QCOMPARE(ButtonText(p, "dateLabel"), QString("D1 - Mo 13 Mar 06"));
        Click(p, "previousDay");
        QCOMPARE(ButtonText(p, "dateLabel"), QString("D-1 - Su 12 Mar 06"));
        Click(p, "firstDay");
        QCOMPARE(ButtonText(p, "dateLabel"), QString("D1 - Mo 13 Mar 06"));

        Click(p, "calendarButton");
        auto* calendar = Child<QCalendarWidget>(p, "calendar");
        QVERIFY(calendar->isVisible());
        QCOMPARE(calendar->selectedDate(), QDate(2006, 3, 13));
        QCOMPARE(calendar->dateTextFormat(QDate(2006, 3, 13)).fontWeight(), int(QFont::Bold));
        QVERIFY(calendar->dateTextFormat(QDate(2006, 3, 14)).fontWeight() != int(QFont::Bold));
        test::Screenshot(f.panel, "panel-calendar");
        emit calendar->clicked(QDate(2006, 3, 14));
        QVERIFY(!calendar->isVisible());
        QCOMPARE(ButtonText(p, "dateLabel"), QString("D2 - Tu 14 Mar 06"));
    }

    void datesOfTheSubfolderAreCheckedInTheDayList() {
        Fixture f;
        f.Open();
        QWidget* p = &f.panel;
        Click(p, "dateLabel");
        auto* admission = Child<QDateEdit>(p, "admissionDate");
        QCOMPARE(admission->date(), QDate(2006, 3, 13));
        QCOMPARE(admission->text(), QString("13.3.2006"));
        f.panel.SetDateOrder(DateOrder::MonthDayYear);
        QCOMPARE(admission->text(), QString("3.13.2006"));
        admission->setDate(QDate(2006, 3, 16));
        emit admission->editingFinished();
        QCOMPARE(f.platform.messages.boxes.size(), size_t(1));
        QCOMPARE(ToQString(f.platform.messages.boxes[0].text),
                 QString("This day can not be in the futur !"));
        QCOMPARE(admission->date(), QDate(2006, 3, 13));
        QCOMPARE(f.record.dates.admissionDay, k13Mar06);

        admission->setDate(QDate(2006, 3, 12));
        emit admission->editingFinished();
        QCOMPARE(f.record.dates.admissionDay, k13Mar06 - 1);
        QCOMPARE(Child<QListWidget>(p, "dayList")->count(), 4);
        QCOMPARE(ButtonText(p, "dateLabel"), QString("D4 - We 15 Mar 06"));

        auto* exitSet = Child<QCheckBox>(p, "exitSet");
        auto* exit = Child<QDateEdit>(p, "exitDate");
        QVERIFY(!exit->isEnabled());
        exitSet->setChecked(true);
        QCOMPARE(f.record.dates.exitDateSet, 1);
        exit->setDate(QDate(2006, 3, 11));  // before admission: refused, the folder is open
        emit exit->editingFinished();
        QCOMPARE(ToQString(f.platform.messages.boxes.back().text),
                 QString("The exit day can not precede the admission date !"));
        QCOMPARE(f.record.dates.exitDateSet, 0);
        QVERIFY(!exitSet->isChecked());

        Click(p, "subfolderType");
        QCOMPARE(f.record.dates.subfolderType, std::u16string(u"Ambu"));
        QCOMPARE(ButtonText(p, "subfolderType"), QString("Ambulatory"));
    }

    void sectionHistoryAndHistoryPeriod() {
        Fixture f;
        f.Open();
        QWidget* p = &f.panel;
        QVERIFY(Child<QToolButton>(p, "medicineHistory")->isEnabled());
        QVERIFY(!Child<QToolButton>(p, "attitudeHistory")->isEnabled());
        Type(p, "medicine", "aspirin");
        Click(p, "medicineHistory");
        auto* list = Child<CPopupList>(p, "historyList");
        QVERIFY(list->isVisible());
        // Opening the list committed the typing: today's line is offered too.
        QCOMPARE(list->count(), 4);
        QCOMPARE(list->item(0)->text(), QString("13.3.06: amoxicillin"));
        QCOMPARE(list->item(1)->text(), QString("15.3.06: Aspirin"));
        QCOMPARE(list->item(2)->text(), QString("Stop"));
        QCOMPARE(list->item(3)->text(), QString("One time"));
        test::Screenshot(f.panel, "panel-history");
        ClickRow(list, 0);
        QVERIFY(list->isVisible());  // the list stays open for more
        QCOMPARE(SectionText(p, "medicine"), QString("-Aspirin\r\n-amoxicillin"));
        Click(p, "medicineHistory");
        QVERIFY(!list->isVisible());

        // Dates follow the date order.
        f.panel.SetDateOrder(DateOrder::MonthDayYear);
        Click(p, "examinationsHistory");
        QCOMPARE(list->item(0)->text(), QString("|3.13.06: CRP 120"));

        QCOMPARE(ButtonText(p, "historyPeriod"), QString("All hospitalization"));
        Click(p, "historyPeriod");
        auto* periods = Child<CPopupList>(p, "periodList");
        QVERIFY(periods->isVisible() && !list->isVisible());
        ClickRow(periods, 0);
        QCOMPARE(ButtonText(p, "historyPeriod"), QString("1 week before"));
        QCOMPARE(f.record.dates.historyPeriod, std::u16string(u"1 week before"));
        QCOMPARE(f.record.dates.historyStartDay, k13Mar06 + 2 - 7);
    }

    void readOnlyRecordRefusesEdits() {
        Fixture f;
        f.record.lockState = u"R";
        std::u16string stored = f.record.journal;
        f.Open();
        QWidget* p = &f.panel;
        Type(p, "status", "x");
        Type(p, "title", "y");
        QCOMPARE(SectionText(p, "status"), QString());
        QCOMPARE(Child<QLineEdit>(p, "title")->text(), QString("Pneumonia"));
        Click(p, "urgency");
        QCOMPARE(Child<QLineEdit>(p, "title")->text(), QString("Pneumonia"));
        QVERIFY(f.platform.messages.notices.size() >= 3);
        for (const auto& notice : f.platform.messages.notices) {
            QCOMPARE(ToQString(notice.text), QString("Read only"));
            QCOMPARE(notice.milliseconds, 1000);
            QVERIFY(notice.warning);
        }
        // The dates are shown but cannot be changed.
        Click(p, "dateLabel");
        QVERIFY(!Child<QWidget>(p, "admissionDate")->isEnabled());
        QVERIFY(!Child<QWidget>(p, "exitSet")->isEnabled());
        QVERIFY(!Child<QWidget>(p, "subfolderType")->isEnabled());
        ClickRow(Child<QListWidget>(p, "dayList"), 0);  // moving through the days is allowed
        QCOMPARE(SectionText(p, "status"), QString("crackles right"));
        f.panel.ClosePatient();
        QVERIFY(f.record.journal == stored);
        // Closed: the panel offers nothing.
        QVERIFY(!Child<QWidget>(p, "dateLabel")->isEnabled());
        QVERIFY(!Child<QWidget>(p, "status")->isEnabled());
    }

    // The page's gate decides every change of the record: typing, urgency, a stop line and the
    // problem manager ask it first, change nothing when it refuses and leave its notice alone.
    void everyChangeAsksTheGate() {
        Fixture f;
        bool allow = false;
        int asked = 0;
        f.panel.SetChangeGate([&] {
            ++asked;
            if (!allow) f.platform.messages.ShowNotice(u"Refused by the form", 1000, true);
            return allow;
        });
        const std::u16string stored = f.record.journal;
        f.Open();
        QWidget* p = &f.panel;
        Type(p, "status", "x");
        QCOMPARE(SectionText(p, "status"), QString());
        Type(p, "title", "y");
        QCOMPARE(Child<QLineEdit>(p, "title")->text(), QString("Pneumonia"));
        Click(p, "urgency");
        QCOMPARE(Child<QLineEdit>(p, "title")->text(), QString("Pneumonia"));
        const int typed = asked;
        QVERIFY(typed >= 3);

        QVERIFY(Child<QWidget>(p, "medicineStop")->isEnabled());
        const QString medicine = SectionText(p, "medicine");
        Click(p, "medicineStop");
        ClickRow(Child<CPopupList>(p, "stopList"), 0);
        QCOMPARE(SectionText(p, "medicine"), medicine);
        QVERIFY(f.platform.messages.boxes.empty());  // refused before any question on the line
        QVERIFY(asked > typed);

        const int beforeManager = asked;
        QVERIFY(test::WithModal([&] { Click(p, "problemManager"); },
                                [](QWidget* dialog) {
                                    QVERIFY(
                                        !test::Child<QWidget>(*dialog, "upButton")->isEnabled());
                                    QVERIFY(test::Click(*dialog, QStringLiteral("okButton")));
                                }));
        QVERIFY(asked > beforeManager);
        for (const auto& notice : f.platform.messages.notices) {
            QCOMPARE(ToQString(notice.text), QString("Refused by the form"));
        }
        f.panel.Commit();
        QVERIFY(f.record.journal == stored);

        // Allowed, the same typing reaches the record.
        allow = true;
        Type(p, "status", "x");
        f.panel.Commit();
        QVERIFY(f.record.journal != stored);
    }

    void aSaveWhileTypingLeavesTheFieldAlone() {
        Fixture f;
        f.Open();
        QWidget* p = &f.panel;
        Click(p, "nextProblem");
        Click(p, "nextProblem");  // the empty slot: the commit will give it a title
        Type(p, "status", "abc");
        auto* status = Child<CSectionEdit>(p, "status");
        QCOMPARE(status->Caret(), size_t(3));
        // The main window commits before an auto-save while the doctor is still typing.
        EditorRefresh refresh = f.panel.Commit();
        QVERIFY(refresh.panel);
        QVERIFY(f.record.journal.find(u"§2|Problem n°3¦¦A¦") != std::u16string::npos);
        QCOMPARE(Child<QLineEdit>(p, "title")->text(), QString("Problem n°3"));
        QVERIFY(status->hasFocus());
        QCOMPARE(status->Caret(), size_t(3));
        QTest::keyClicks(status, "d");
        QCOMPARE(SectionText(p, "status"), QString("Abcd"));

        // The problem list closes when it loses the focus.
        Click(p, "problemButton");
        auto* list = Child<CPopupList>(p, "problemList");
        QTRY_VERIFY(list->hasFocus());
        Child<QLineEdit>(p, "title")->setFocus();
        QTRY_VERIFY(!list->isVisible());
    }

    void pageLeftCommitsAndRefreshIsReported() {
        Fixture f;
        EditorRefresh reported;
        f.panel.SetRefreshHandler([&](const EditorRefresh& r) { reported |= r; });
        f.Open();
        Type(&f.panel, "medicine", "heparin");
        reported = {};
        f.panel.PageLeft();
        QVERIFY(reported.treatmentTable);
        QVERIFY(f.record.journal.find(u"#2265§0||||Heparin|||") != std::u16string::npos);
        f.panel.PageShown();
        QCOMPARE(f.panel.Model().EntryDays().back(), k13Mar06 + 2);
    }
};

}  // namespace pondrel

QTEST_MAIN(pondrel::ProblemPanelTest)
#include "ProblemPanelTest.moc"
