// The letter pages of the main form driven as a user would, on a device folder prepared as
// pondrel-tool init-device does (with the factory templates), with a demo patient: the out
// letter (page 26), the admission letter and its print preview, and the summary manager
// (page 35) with its templates.

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <memory>

#include "DemoProgram.h"
#include "GuiDriver.h"
#include "TestDevice.h"
#include "demo/DemoPatients.h"
#include "documents/DocumentFiles.h"
#include "documents/ui/COutLetterPage.h"
#include "documents/ui/CPrintPreviewDlg.h"
#include "documents/ui/CRtfView.h"
#include "documents/ui/CSummaryManagerPage.h"
#include "platform/Clock.h"
#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "platform/ui/QtText.h"
#include "records/CCorvaneDoc.h"
#include "records/WorkingFolders.h"
#include "ui/frame/CCorvaneView.h"
#include "ui/frame/CMainFrame.h"
#include "ui/pages/LetterPages.h"
#include "ui/app/PondrelApplication.h"

using namespace pondrel;
namespace fs = std::filesystem;

class TestLetterPages : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void outLetterPreviewZoomAndSave();
    void previewFollowsChangesOfThePatient();
    void savedLetterNoticeNamesTheWholePrintFolder();
    void admissionLetterPreviewAndSave();
    void templateDocumentFromTheChooserAndTheRecentList();
    void previewsScrollWhenDragged();
    void screenshots();

private:
    CCorvaneView& View() { return *m_program->Frame()->View(); }
    PatientRecord& Patient() { return *m_program->Document().Patients().Current(); }
    LetterPages& Letters() { return *View().Find<LetterPages>(); }
    CRtfView& OutLetterView() { return *Letters().OutLetter()->View(); }
    void Click(const QString& name) { QVERIFY(test::Click(*m_program->Frame(), name)); }
    QString NoticeText();
    void Start();
    fs::path PrintFolder() const { return m_device / "My Documents" / "PD_PrintDoc"; }

    std::unique_ptr<QTemporaryDir> m_dir;
    fs::path m_device;
    std::unique_ptr<PondrelApplication> m_program;
};

void TestLetterPages::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_device = test::PrepareTestDevice(*m_dir);
    QCOMPARE(test::WriteTodayDemo(m_device, 1), 1);
}

void TestLetterPages::cleanup() {
    m_program.reset();
    m_dir.reset();
}

void TestLetterPages::Start() {
    m_program = test::StartProgram(m_device);
    QVERIFY(m_program);
}

QString TestLetterPages::NoticeText() {
    auto* notice = test::Child<QLabel>(*m_program->Frame(), QStringLiteral("notice"));
    return notice && notice->isVisible() ? notice->text() : QString();
}

void TestLetterPages::outLetterPreviewZoomAndSave() {
    Start();
    View().ShowPage(LetterPages::kOutLetterPage);
    const QString lastName = ToQString(Patient().Field(2));
    QVERIFY(OutLetterView().toPlainText().contains(QStringLiteral("Discharge letter")));
    QVERIFY(OutLetterView().toPlainText().contains(lastName));
    QVERIFY(!OutLetterView().toPlainText().contains(QChar(0x00A2)));  // no code left
    QCOMPARE(OutLetterView().Zoom(), 50);
    Click(QStringLiteral("outLetterZoom"));
    QCOMPARE(OutLetterView().Zoom(), 75);
    Click(QStringLiteral("outLetterZoom"));
    QCOMPARE(OutLetterView().Zoom(), 35);

    Click(QStringLiteral("outLetterSave"));
    const std::u16string name = DocumentFileName(u"Out letter", Patient());
    QVERIFY(fs::exists(PrintFolder() / ToUtf8(name)));
    QVERIFY(NoticeText().startsWith(QStringLiteral("Out letter file created.")));
    QVERIFY(NoticeText().endsWith(ToQString(name)));
    // A save does not touch the preview.
    QCOMPARE(OutLetterView().Zoom(), 35);
}

void TestLetterPages::savedLetterNoticeNamesTheWholePrintFolder() {
    Start();
    View().ShowPage(LetterPages::kOutLetterPage);
    Click(QStringLiteral("outLetterSave"));
    const QString folder = QString::fromStdString(fs::absolute(PrintFolder()).lexically_normal().string());
    const std::u16string name = DocumentFileName(u"Out letter", Patient());
    QCOMPARE(NoticeText(), QStringLiteral("Out letter file created.\n\nFolder: ") + folder +
                               QStringLiteral("\n\nFile: ") + ToQString(name));
    // The notice shows the whole text: its box is as high as the wrapped lines need and no line
    // runs past its edges.
    auto* notice = test::Child<QLabel>(*m_program->Frame(), QStringLiteral("notice"));
    const QRect needed = notice->fontMetrics().boundingRect(
        notice->contentsRect(), Qt::AlignCenter | Qt::TextWordWrap, notice->text());
    QVERIFY2(needed.height() <= notice->contentsRect().height(), "the notice is cut below");
    QVERIFY2(needed.width() <= notice->contentsRect().width(), "the notice is cut at the side");
    test::Screenshot(*m_program->Frame(), QStringLiteral("letter-saved-notice"));

    // The admission letter names it too.
    View().ShowPage(25);
    Click(QStringLiteral("admissionSave"));
    QVERIFY(NoticeText().contains(QStringLiteral("Folder: ") + folder + QStringLiteral("\n")));
}

void TestLetterPages::previewFollowsChangesOfThePatient() {
    Start();
    View().ShowPage(LetterPages::kOutLetterPage);
    QVERIFY(!OutLetterView().toPlainText().contains(QStringLiteral("Hit by a bicycle")));
    Click(QStringLiteral("outLetterZoom"));
    View().ShowPage(0);
    View().ShowPage(LetterPages::kOutLetterPage);
    QCOMPARE(OutLetterView().Zoom(), 75);  // nothing changed: the same preview
    View().ShowPage(0);
    Patient().SetField(61, u"Hit by a bicycle {\\b}");
    View().ShowPage(LetterPages::kOutLetterPage);
    QCOMPARE(OutLetterView().Zoom(), 50);  // built again
    QVERIFY(OutLetterView().toPlainText().contains(QStringLiteral("Hit by a bicycle {\\b}")));
}

void TestLetterPages::admissionLetterPreviewAndSave() {
    Start();
    // The print preview dialogue is shown without its modal loop, to be looked at.
    std::unique_ptr<CPrintPreviewDlg> preview;
    Letters().SetPreviewOpener([&](const std::string& rtf) {
        preview = std::make_unique<CPrintPreviewDlg>(rtf, &View());
        preview->show();
    });
    View().ShowPage(25);  // beside the entry summary's caption
    // During the first starts the preview is first said to be approximate.
    m_program->Messages().QueueAnswer(BoxAnswer::Ok);
    Click(QStringLiteral("admissionPreview"));
    QVERIFY(preview);
    QCOMPARE(m_program->Messages().Shown().size(), size_t{1});
    QVERIFY(m_program->Messages().Shown()[0].text.startsWith(
        QStringLiteral("This print preview is usually not the real result")));
    auto* view = test::Child<CRtfView>(*preview, QStringLiteral("printPreviewView"));
    QVERIFY(view);
    QCOMPARE(preview->windowTitle(), QStringLiteral("Print preview"));
    QVERIFY(view->toPlainText().contains(QStringLiteral("Admission letter")));
    QVERIFY(view->toPlainText().contains(ToQString(Patient().Field(2))));
    QCOMPARE(view->Zoom(), 70);
    QVERIFY(test::Click(*preview, QStringLiteral("printPreviewPage")));
    QCOMPARE(view->Zoom(), 35);
    QVERIFY(test::Click(*preview, QStringLiteral("printPreviewFull")));
    QCOMPARE(view->Zoom(), 70);
    QVERIFY(test::Click(*preview, QStringLiteral("printPreviewOk")));
    QVERIFY(!preview->isVisible());

    Click(QStringLiteral("admissionSave"));
    QVERIFY(fs::exists(PrintFolder() / ToUtf8(DocumentFileName(u"Admission", Patient()))));
    QVERIFY(NoticeText().startsWith(QStringLiteral("Admission file created.")));
}

void TestLetterPages::templateDocumentFromTheChooserAndTheRecentList() {
    Start();
    std::optional<std::u16string> chosen = u"\\Program files\\Pondrel\\Referral letter.rtf";
    Letters().SetTemplateChooser([&] { return chosen; });
    View().ShowPage(LetterPages::kManagerPage);
    CSummaryManagerPage& page = *Letters().Manager();
    QCOMPARE(page.Caption(), QStringLiteral("Summary manager"));
    Click(QStringLiteral("managerTemplate"));
    QCOMPARE(page.Caption(), QStringLiteral("Referral letter"));
    QVERIFY(page.View()->toPlainText().contains(ToQString(Patient().Field(2))));
    QCOMPARE(page.View()->Zoom(), 35);
    Click(QStringLiteral("managerZoom"));
    QCOMPARE(page.View()->Zoom(), 75);

    chosen = u"\\Program files\\Pondrel\\Medical certificate.rtf";
    Click(QStringLiteral("managerTemplate"));
    QCOMPARE(page.Caption(), QStringLiteral("Medical certificate"));
    Click(QStringLiteral("managerSave"));
    QVERIFY(
        fs::exists(PrintFolder() / ToUtf8(DocumentFileName(u"Medical certificate", Patient()))));

    // The recent list: both templates, the first with its zoom.
    Click(QStringLiteral("managerLast"));
    auto* list = test::Child<QListWidget>(*m_program->Frame(), QStringLiteral("managerRecent"));
    QVERIFY(list && list->isVisible());
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->item(0)->text(), QStringLiteral("-- Clear all --"));
    QCOMPARE(list->height(), 3 * 11 + 3);
    QVERIFY(test::ClickRow(*list, QStringLiteral("Referral letter")));
    QVERIFY(!list->isVisible());
    QCOMPARE(page.Caption(), QStringLiteral("Referral letter"));
    QCOMPARE(page.View()->Zoom(), 75);
}

void TestLetterPages::previewsScrollWhenDragged() {
    Start();
    View().ShowPage(LetterPages::kOutLetterPage);
    QScrollBar* bar = OutLetterView().verticalScrollBar();
    QVERIFY(bar->maximum() > 3 * bar->singleStep());
    QCOMPARE(bar->value(), 0);
    // 37 pixels up: three lines of 12 pixels.
    QWidget* area = OutLetterView().viewport();
    QTest::mousePress(area, Qt::LeftButton, {}, QPoint(100, 200));
    QTest::mouseMove(area, QPoint(100, 163));
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(100, 163));
    QCOMPARE(bar->value(), 3 * bar->singleStep());
    QTest::mousePress(area, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(area, QPoint(100, 200));
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(100, 200));
    QCOMPARE(bar->value(), 0);  // within the scroll range
}

void TestLetterPages::screenshots() {
    Start();
    View().GetPreferences().startCount = 20;  // no complexity notice over the previews
    View().ShowPage(LetterPages::kOutLetterPage);
    test::Screenshot(*m_program->Frame(), QStringLiteral("letters-out-letter"));
    Click(QStringLiteral("outLetterZoom"));
    test::Screenshot(*m_program->Frame(), QStringLiteral("letters-out-letter-75"));
    Letters().SetTemplateChooser([] {
        return std::optional<std::u16string>(u"\\Program files\\Pondrel\\Hospital course.rtf");
    });
    View().ShowPage(LetterPages::kManagerPage);
    Click(QStringLiteral("managerTemplate"));
    Click(QStringLiteral("managerZoom"));
    test::Screenshot(*m_program->Frame(), QStringLiteral("letters-manager"));
    Click(QStringLiteral("managerLast"));
    test::Screenshot(*m_program->Frame(), QStringLiteral("letters-manager-recent"));
    Click(QStringLiteral("managerLast"));
    View().ShowPage(25);
    test::Screenshot(*m_program->Frame(), QStringLiteral("letters-entry-summary-bar"));
    CPrintPreviewDlg preview(std::string(OutLetterView().Bytes()), &View());
    preview.show();
    test::Screenshot(preview, QStringLiteral("letters-print-preview"));
}

QTEST_MAIN(TestLetterPages)
#include "TestLetterPages.moc"
