// The exam table page (page 36) driven as a user would, on a device folder with a child and an
// adult whose journals hold results: the grids, the graph of a row, "Zoom", the size toggles.

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <memory>

#include "GuiDriver.h"
#include "TestDevice.h"
#include "charts/ui/CExamGraphWnd.h"
#include "charts/ui/CExamTablePage.h"
#include "journal/JournalDays.h"
#include "journal/ProblemJournal.h"
#include "platform/Clock.h"
#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "platform/ui/QtText.h"
#include "records/CCorvaneDoc.h"
#include "records/ItemEncoding.h"
#include "records/PatientFileWriter.h"
#include "records/PatientRecord.h"
#include "records/WorkingFolders.h"
#include "ui/frame/CCorvaneView.h"
#include "ui/frame/CMainFrame.h"
#include "ui/pages/ExamPage.h"
#include "ui/app/PondrelApplication.h"

using namespace pondrel;

class TestExamPage : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void theTableShowsTheResultsOfTheRecord();
    void aChildsWeightIsDrawnOnTheGrowthCurves();
    void anAdultHasNoZoom();
    void headersAndTheGraphToggleTheirSizes();
    void theTableFollowsTheRecord();
    void theExamsGraphDialogueOrdersTheRows();
    void theGraphIsReadable();
    void screenshots();

private:
    CCorvaneView& View() { return *m_program->Frame()->View(); }
    PatientSet& Patients() { return m_program->Document().Patients(); }
    CExamTablePage& Page() { return *View().Find<ExamPage>()->Widget(); }
    QStringList Titles() {
        QStringList titles;
        for (int r = 0; r < Page().TitlesGrid()->rowCount(); ++r) {
            titles << Page().TitlesGrid()->item(r, 0)->text();
        }
        return titles;
    }
    int RowOf(const QString& title) { return static_cast<int>(Titles().indexOf(title)); }
    void Write(PatientRecord record);
    void Start();
    void ShowPatient(const char16_t* lastName);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::filesystem::path m_device;
    std::unique_ptr<PondrelApplication> m_program;
    DayNumber m_today = 0;
};

namespace {

PatientRecord Patient(std::u16string last, int sex, const DateTime& birth, DayNumber admission) {
    PatientRecord r;
    r.inUse = 1;
    r.sex = sex;
    r.SetField(2, last);
    r.SetField(3, u"Test");
    r.SetField(4, ToText(birth.day));
    r.SetField(5, ToText(birth.month));
    r.SetField(6, ToText(birth.year));
    // The identity block repeats the name and birth date.
    r.SetField(120, last);
    r.SetField(121, u"Test");
    r.SetField(122, ToText(birth.day));
    r.SetField(123, ToText(birth.month));
    r.SetField(124, ToText(birth.year));
    r.location = u"Ward 3";
    r.subfolderType = u"Hosp";
    r.admissionDay = admission;
    r.admission = NoonOf(admission);
    return r;
}

void Entry(PatientRecord& r, DayNumber day, std::u16string examinations, std::u16string status) {
    ProblemJournal journal(r.problemJournal);
    Sections sections;
    sections[static_cast<int>(Section::Status)] = std::move(status);
    sections[static_cast<int>(Section::Examinations)] = std::move(examinations);
    journal.SetEntry(day, 0, sections);
    r.problemJournal = journal.Text();
}

}  // namespace

void TestExamPage::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_device = test::PrepareTestDevice(*m_dir);
    m_today = CalendarDayOf(SystemClock().Now());
    // A girl born 120 days ago at 36 + 2 weeks, in hospital since birth.
    DateTime birth = DateOfDay(m_today - 120);
    PatientRecord child = Patient(u"Aaachild", 0, birth, m_today - 120);
    child.SetField(203, u"36+2");
    child.SetField(7, u"2.4kg");
    child.SetField(8, u"46");
    Entry(child, m_today - 90, u"Weight 2.9\r\nHeight 48", u"feeds well");
    Entry(child, m_today - 60, u"Weight 3.7\r\nHeight 51.5", u"");
    Entry(child, m_today - 30, u"Weight 4.5 kg\r\nHeight 54\r\nCRP 3", u"");
    Entry(child, m_today - 1, u"Weight 5.2\r\nHeight 57", u"T 37.2");
    Write(child);
    // A man of 62, in hospital for ten days.
    PatientRecord adult = Patient(u"Bbbadult", 1, DateOfDay(m_today - 62 * 365), m_today - 9);
    adult.SetField(7, u"82");
    adult.SetField(9, u"38.6");
    for (int d = 0; d < 10; ++d) {
        Entry(adult, m_today - 9 + d,
              u"Hb " + ToText(14 - d / 3) + u".2 g/dl\r\nCRP " + ToText(180 - d * 17) +
                  u"\r\nNa 13" + ToText(d % 6),
              u"BP 130/80\r\nT " + ToText(38 - d / 4) + u".1");
    }
    Write(adult);
}

void TestExamPage::cleanup() {
    m_program.reset();
    m_dir.reset();
}

void TestExamPage::Write(PatientRecord record) {
    HostFileSystem files(m_device);
    std::string bytes = EncodeItemText(ComposePatientText(record, SubfolderKeyOf(record)));
    QVERIFY(files.WriteFile(WorkingFolders::ActiveFile(PatientFileName(record)), bytes));
}

void TestExamPage::Start() {
    ProgramOptions options;
    options.device = m_device;
    m_program = std::make_unique<PondrelApplication>(options);
    QVERIFY(m_program->InitInstance());
    QTRY_VERIFY(View().StartUpResult().has_value());
    QVERIFY(*View().StartUpResult());
    QCOMPARE(Patients().Count(), 2);
}

void TestExamPage::ShowPatient(const char16_t* lastName) {
    for (int i = 0; i < Patients().Count(); ++i) {
        if (Patients().At(i)->Field(2) == lastName) {
            Patients().SetCurrent(i);
            View().Controller().ShowRecord();
            return;
        }
    }
    QString names;
    for (int i = 0; i < Patients().Count(); ++i)
        names += ToQString(Patients().At(i)->Field(2)) + u' ';
    QFAIL(qPrintable(QStringLiteral("no such patient among ") + names));
}

void TestExamPage::theTableShowsTheResultsOfTheRecord() {
    Start();
    ShowPatient(u"Bbbadult");
    View().ShowPage(ExamPage::kPage);
    QCOMPARE(View().CurrentPage(), 36);
    // "T°" of the admission form and "T" of the Status sections are one row.
    QCOMPARE(Titles(), (QStringList{"T°", "Weight", "Hb", "CRP", "Na", "BP"}));
    QTableWidget* values = Page().ValuesGrid();
    QCOMPARE(values->columnCount(), 10);
    QCOMPARE(values->item(RowOf("T°"), 0)->text(), QStringLiteral("38.6;38.1"));
    QCOMPARE(values->item(RowOf("T°"), 9)->text(), QStringLiteral("36.1"));
    QCOMPARE(values->item(RowOf("CRP"), 0)->text(), QStringLiteral("180"));
    QCOMPARE(values->item(RowOf("Hb"), 9)->text(), QStringLiteral("11.2"));
    QCOMPARE(values->item(RowOf("BP"), 0)->text(), QStringLiteral("130/80"));
    // The latest day shows whole, beside the grid's scroll bar.
    QTRY_VERIFY2(values->columnViewportPosition(9) + values->columnWidth(9) <=
                     values->viewport()->width(),
                 qPrintable(QStringLiteral("%1 + %2 in %3")
                                .arg(values->columnViewportPosition(9))
                                .arg(values->columnWidth(9))
                                .arg(values->viewport()->width())));
    // Row 0 is selected in both grids and drawn.
    QCOMPARE(Page().SelectedRow(), 0);
    QCOMPARE(Page().TitlesGrid()->currentRow(), 0);
    QCOMPARE(values->currentRow(), 0);
    // A tap on a row of either grid selects it in both.
    QTest::mouseClick(values->viewport(), Qt::LeftButton, {},
                      values->visualItemRect(values->item(RowOf("CRP"), 0)).center());
    QCOMPARE(Page().SelectedRow(), RowOf("CRP"));
    QCOMPARE(Page().TitlesGrid()->currentRow(), RowOf("CRP"));
}

void TestExamPage::aChildsWeightIsDrawnOnTheGrowthCurves() {
    Start();
    ShowPatient(u"Aaachild");
    View().ShowPage(ExamPage::kPage);
    const int weight = RowOf("Weight");
    QVERIFY(weight >= 0);
    Page().SelectRow(weight);
    auto* zoom = Page().GraphWindow()->ZoomButton();
    QVERIFY(zoom->isVisible());
    QCOMPARE(View().GetPreferences().examGraphCurvesShown, 0);
    QVERIFY(test::Click(Page(), QStringLiteral("zoomButton")));
    QCOMPARE(View().GetPreferences().examGraphCurvesShown, 1);
    QVERIFY(View().Find<ExamPage>()->Widget()->GraphWindow()->isVisible());
    // A row without a measure hides the button.
    Page().SelectRow(RowOf("CRP"));
    QVERIFY(!zoom->isVisible());
}

void TestExamPage::anAdultHasNoZoom() {
    Start();
    View().GetPreferences().examGraphCurvesShown = 1;
    ShowPatient(u"Bbbadult");
    View().ShowPage(ExamPage::kPage);
    Page().SelectRow(RowOf("Weight"));
    QVERIFY(!Page().GraphWindow()->ZoomButton()->isVisible());
}

void TestExamPage::headersAndTheGraphToggleTheirSizes() {
    Start();
    ShowPatient(u"Bbbadult");
    View().ShowPage(ExamPage::kPage);
    QCOMPARE(Page().TitlesGrid()->height(), CExamTablePage::kShortGrids);
    QTest::mouseClick(Page().ValuesGrid()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(10, 5));
    QVERIFY(Page().GridsTall());
    QCOMPARE(Page().ValuesGrid()->height(), CExamTablePage::kTallGrids);
    QTest::mouseClick(Page().TitlesGrid()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(10, 5));
    QVERIFY(!Page().GridsTall());
    QTest::mouseClick(Page().GraphWindow(), Qt::LeftButton, {}, QPoint(100, 50));
    QVERIFY(Page().GraphLarge());
    QCOMPARE(Page().GraphWindow()->geometry(), QRect(0, 1, 240, CExamTablePage::kLargeGraphHeight));
    QTest::mouseClick(Page().GraphWindow(), Qt::LeftButton, {}, QPoint(100, 50));
    QVERIFY(!Page().GraphLarge());
}

void TestExamPage::theTableFollowsTheRecord() {
    Start();
    ShowPatient(u"Bbbadult");
    View().ShowPage(ExamPage::kPage);
    Page().SelectRow(RowOf("Na"));
    // Showing the page again without a change keeps the selected row.
    View().ShowPage(20);
    View().ShowPage(ExamPage::kPage);
    QCOMPARE(Page().SelectedRow(), RowOf("Na"));
    // A new result in the journal is there the next time the page is shown.
    PatientRecord* record = Patients().Current();
    ProblemJournal journal(record->problemJournal);
    Sections sections = journal.GetEntry(m_today, 0);
    sections[static_cast<int>(Section::Examinations)] += u"\r\nLactate 2.1";
    journal.SetEntry(m_today, 0, sections);
    record->problemJournal = journal.Text();
    View().ShowPage(21);
    View().ShowPage(ExamPage::kPage);
    QVERIFY(Titles().contains(QStringLiteral("Lactate")));
    QCOMPARE(Page().SelectedRow(), 0);
    // Another patient: another table.
    ShowPatient(u"Aaachild");
    QVERIFY(!Titles().contains(QStringLiteral("Lactate")));
    QVERIFY(Titles().contains(QStringLiteral("Height")));
}

void TestExamPage::theExamsGraphDialogueOrdersTheRows() {
    Start();
    ShowPatient(u"Bbbadult");
    View().ShowPage(ExamPage::kPage);
    QCOMPARE(Titles().front(), QStringLiteral("T°"));
    bool shown = false;
    auto edit = [&](QWidget* preferences) {
        const bool opened = test::WithModal(
            [&] { QVERIFY(test::Click(*preferences, QStringLiteral("examsGraphButton"))); },
            [&](QWidget* dialog) {
                QCOMPARE(dialog->objectName(), QStringLiteral("examsGraphDialog"));
                QVERIFY(
                    test::Type(*dialog, QStringLiteral("titleEdit"), QStringLiteral("Na,Sod#ium")));
                QVERIFY(test::Click(*dialog, QStringLiteral("addButton")));
                QVERIFY(test::Type(*dialog, QStringLiteral("titleEdit"), QString()));
                QVERIFY(test::Click(*dialog, QStringLiteral("clearButton")));
                QVERIFY(test::Type(*dialog, QStringLiteral("titleEdit"), QStringLiteral("CRP")));
                QVERIFY(test::Click(*dialog, QStringLiteral("addButton")));
                QVERIFY(test::Click(*dialog, QStringLiteral("helpButton")));
                QVERIFY(test::Child(*dialog, QStringLiteral("helpPage"))->isVisible());
                test::Screenshot(*dialog, QStringLiteral("exams-graph-dialogue-help"));
                QVERIFY(test::Click(*dialog, QStringLiteral("closeHelpButton")));
                test::Screenshot(*dialog, QStringLiteral("exams-graph-dialogue"));
                QVERIFY(test::Click(*dialog, QStringLiteral("okButton")));
                shown = true;
            });
        QVERIFY(opened);
        QVERIFY(test::Click(*preferences, QStringLiteral("okButton")));
    };
    QVERIFY(test::WithModal([&] { View().RunPreferences(); }, edit));
    QVERIFY(shown);
    QCOMPARE(View().GetPreferences().examTitles, std::u16string(u"Na,Sodium|CRP|"));
    // The page shown was built again with the new order.
    QCOMPARE(Titles().mid(0, 3), (QStringList{"Na", "CRP", "T°"}));
}

namespace {

// The red pixels of the graph window drawn at a zoom.
int RedPixels(QWidget& window, qreal zoom) {
    QPixmap pixmap(window.size() * zoom);
    pixmap.setDevicePixelRatio(zoom);
    pixmap.fill(Qt::white);
    window.render(&pixmap);
    const QImage image = pixmap.toImage();
    int red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 80 && c.blue() < 80) ++red;
        }
    }
    return red;
}

}  // namespace

void TestExamPage::theGraphIsReadable() {
    Start();
    ShowPatient(u"Aaachild");
    View().ShowPage(ExamPage::kPage);
    CExamGraphWnd& graph = *Page().GraphWindow();
    // A row of a single value (CRP once) is drawn as a point, at zoom 1 and 2.
    Page().SelectRow(RowOf("CRP"));
    QCOMPARE(Page().Table().rows[static_cast<size_t>(RowOf("CRP"))].values.size(), size_t{1});
    QVERIFY(RedPixels(graph, 1) > 20);
    QVERIFY(RedPixels(graph, 2) > 80);
    // "Zoom" holds its whole text and stands under the time axis (y h - 16), small graph and
    // large, curves off and on.
    Page().SelectRow(RowOf("Weight"));
    QPushButton* zoom = graph.ZoomButton();
    for (int round = 0; round < 4; ++round) {
        QVERIFY(zoom->isVisible());
        const QRect box = zoom->geometry();
        QVERIFY2(zoom->fontMetrics().horizontalAdvance(zoom->text()) <= box.width() - 4,
                 qPrintable(QStringLiteral("%1 in %2").arg(zoom->text()).arg(box.width())));
        QVERIFY(zoom->fontMetrics().tightBoundingRect(zoom->text()).height() <= box.height() - 2);
        QVERIFY(graph.rect().contains(box));
        QVERIFY2(box.top() > graph.height() - 14, qPrintable(QString::number(box.top())));
        if (round == 1) Page().ToggleGraphSize();
        if (round != 1) QVERIFY(test::Click(Page(), QStringLiteral("zoomButton")));
    }
}

void TestExamPage::screenshots() {
    if (!test::ScreenshotsWanted()) QSKIP("PONDREL_SCREENSHOTS not set");
    Start();
    auto shot = [this](const char* name) {
        QCoreApplication::processEvents();
        test::Screenshot(*m_program->Frame(), QString::fromLatin1(name));
    };
    ShowPatient(u"Bbbadult");
    View().ShowPage(ExamPage::kPage);
    Page().SelectRow(RowOf("CRP"));
    shot("exams-adult");
    Page().ToggleGraphSize();
    shot("exams-adult-graph-large");
    Page().ToggleGraphSize();
    Page().ToggleGridHeight();
    shot("exams-adult-grids-tall");
    Page().ToggleGridHeight();
    ShowPatient(u"Aaachild");
    Page().SelectRow(RowOf("Weight"));
    shot("exams-child-weight");
    QVERIFY(test::Click(Page(), QStringLiteral("zoomButton")));
    shot("exams-child-weight-curves");
    Page().ToggleGraphSize();
    shot("exams-child-weight-curves-large");
    Page().ToggleGraphSize();
    Page().SelectRow(RowOf("Height"));
    shot("exams-child-height-curves");
    Page().SelectRow(RowOf("CRP"));
    shot("exams-child-single-value");
}

QTEST_MAIN(TestExamPage)
#include "TestExamPage.moc"
