// Start-up of the program on device folders prepared as pondrel-tool init-device does.

#include <QImage>
#include <QScrollBar>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>

#include "GuiDriver.h"
#include "TestDevice.h"
#include "platform/Clock.h"
#include "platform/ui/QtText.h"
#include "startup/DeviceSetup.h"
#include "startup/InstallationFinder.h"
#include "startup/StartUp.h"
#include "ui/frame/CCorvaneView.h"
#include "ui/frame/CMainFrame.h"
#include "ui/app/CStartUpPicture.h"
#include "ui/app/PondrelApplication.h"

using namespace pondrel;
namespace fs = std::filesystem;

class TestStartUp : public QObject {
    Q_OBJECT

private slots:
    void init();
    void startsOnAFreshDevice();
    void noInstallationShowsStartError();
    void missingIconStripStopsStartUp_data();
    void missingIconStripStopsStartUp();
    void startUpPictureWithoutHelloBitmap();
    void noticeOnlyOnceReadyAndSizedByItsText();
    void missingPreferencesStopsStartUp();
    void workingFolderTakenByAFileIsNamed();
    void unreadableLabelsKeepTheBuiltInWords();
    void labelsAndPreferencesNameThePages();

private:
    fs::path MakeDevice();
    ProgramOptions Options() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestStartUp::init() {
    m_dir = std::make_unique<QTemporaryDir>();
}

fs::path TestStartUp::MakeDevice() {
    return test::PrepareTestDevice(*m_dir);
}

ProgramOptions TestStartUp::Options() const {
    ProgramOptions options;
    options.device = fs::path(m_dir->path().toStdString()) / "device";
    return options;
}

void TestStartUp::startsOnAFreshDevice() {
    fs::path device = MakeDevice();
    PondrelApplication program(Options());
    QVERIFY(program.InitInstance());
    QCOMPARE(program.Folders().installation, std::u16string(u"\\Program files\\Pondrel"));
    QVERIFY(program.Picture()->isVisible());
    QVERIFY(program.Picture()->HasPicture());
    test::Screenshot(*program.Picture(), QStringLiteral("startup-picture"));

    CCorvaneView* view = program.Frame()->View();
    QTRY_VERIFY(view->StartUpResult().has_value());
    QVERIFY(*view->StartUpResult());
    QVERIFY(program.Messages().Shown().empty());
    QVERIFY(!program.Picture()->isVisible());
    QVERIFY(program.Frame()->isVisible());
    QCOMPARE(program.Frame()->size(), QSize(240, 320));
    QVERIFY(view->IsReady());

    QCOMPARE(view->PatientIcons().size(), QSize(24 * 16, 16));
    QCOMPARE(view->ScrollListIcons().size(), QSize(40 * 16, 16));
    QCOMPARE(view->CurrentPage(), 0);
    QCOMPARE(view->verticalScrollBar()->value(), 291);
    QCOMPARE(view->Page(38)->geometry(), QRect(0, 291 + 38 * 290, 240, 290));
    view->ShowPage(38);
    QCOMPARE(view->verticalScrollBar()->value(), 291 + 38 * 290);
    view->ShowPage(0);
    QCOMPARE(view->Today(), DayNumberOf(SystemClock().Now()));
    QCOMPARE(&view->Document(), &program.Document());
    test::Screenshot(*program.Frame(), QStringLiteral("startup-main-frame"));

    for (const char* folder : {"Program files/Pondrel/Backup", "My Documents/PD_ActivePatients",
                               "My Documents/PD_Archives", "My Documents/PD_PrintDoc"}) {
        QVERIFY2(fs::is_directory(device / folder), folder);
    }
}

void TestStartUp::noInstallationShowsStartError() {
    fs::create_directories(Options().device / "Program files" / "Pondrel");
    PondrelApplication program(Options());
    program.Messages().QueueAnswer(BoxAnswer::Ok);
    QVERIFY(!program.InitInstance());
    QVERIFY(!program.Frame());
    QVERIFY(!program.Picture());
    QCOMPARE(program.Messages().Shown().size(), size_t(1));
    const auto& box = program.Messages().Shown().front();
    QCOMPARE(box.caption, QStringLiteral("Start error"));
    QCOMPARE(box.text,
             QStringLiteral("<Pondrel> main folder not found !\r\nFirst try to install Pondrel in "
                            "the default installation folder of your PocketPC. If it doesn't "
                            "work, copy the main folder <Pondrel> into the directory "
                            "<\\Program files\\> to have <\\Program files\\Pondrel\\>."));
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box.icon, QMessageBox::Critical);
}

void TestStartUp::missingIconStripStopsStartUp_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("damaged");
    QTest::newRow("patients icons missing") << "Patients Icons.jpg" << false;
    QTest::newRow("scroll list icons missing") << "Scroll list icons.jpg" << false;
    QTest::newRow("patients icons not a picture") << "Patients Icons.jpg" << true;
}

void TestStartUp::missingIconStripStopsStartUp() {
    QFETCH(QString, file);
    QFETCH(bool, damaged);
    fs::path strip = MakeDevice() / "Program files" / "Pondrel" / file.toStdString();
    fs::remove(strip);
    if (damaged) std::ofstream(strip, std::ios::binary) << "not a picture";

    PondrelApplication program(Options());
    program.Messages().QueueAnswer(BoxAnswer::Ok);
    QVERIFY(program.InitInstance());
    CCorvaneView* view = program.Frame()->View();
    QTRY_VERIFY(view->StartUpResult().has_value());
    QVERIFY(!*view->StartUpResult());
    QVERIFY(!view->IsReady());
    QVERIFY(!program.Picture()->isVisible());
    QCOMPARE(program.Messages().Shown().size(), size_t(1));
    const auto& box = program.Messages().Shown().front();
    QCOMPARE(box.caption, QStringLiteral("A file is missing"));
    QCOMPARE(box.text, "The file <C:\\Program Files\\Pondrel desktop\\" + file +
                           "> is missing. You need this file to open the software. You can also "
                           "reinstall the software to get this file back");
}

void TestStartUp::startUpPictureWithoutHelloBitmap() {
    fs::remove(MakeDevice() / "Program files" / "Pondrel" / "HelloBitmap.jpg");
    PondrelApplication program(Options());
    QVERIFY(program.InitInstance());
    CStartUpPicture* picture = program.Picture();
    QVERIFY(!picture->HasPicture());
    QCOMPARE(picture->size(), QSize(240, 320));
    QImage shown = picture->grab().toImage();
    test::Screenshot(*picture, QStringLiteral("startup-picture-fallback"));
    // The name is drawn in the middle: dark pixels on the row through the centre.
    int dark = 0;
    for (int x = 0; x < shown.width(); ++x) {
        if (qGray(shown.pixel(x, shown.height() / 2)) < 100) ++dark;
    }
    QVERIFY2(dark > 10, qPrintable(QString::number(dark)));
    QTRY_VERIFY(program.Frame()->View()->StartUpResult().has_value());
}

void TestStartUp::noticeOnlyOnceReadyAndSizedByItsText() {
    MakeDevice();
    PondrelApplication program(Options());
    QVERIFY(program.InitInstance());
    CCorvaneView* view = program.Frame()->View();
    auto* notice = view->findChild<QLabel*>(QStringLiteral("notice"));
    QVERIFY(notice);
    program.GetPlatform().messages.ShowNotice(u"Too early", 2000, false);
    QVERIFY(!notice->isVisible());
    QTRY_VERIFY(view->IsReady());

    program.GetPlatform().messages.ShowNotice(u"Save successfull", 2000, false);
    QVERIFY(notice->isVisible());
    QCOMPARE(notice->text(), QStringLiteral("Save successfull"));
    QCOMPARE(notice->geometry(), QRect(25, 125, 190, 23));
    QVERIFY(program.Timers().IsRunning(TimerId::Notice));
    QCOMPARE(program.Timers().Interval(TimerId::Notice), 2000);

    const std::u16string long45 = u"The file has been saved, closed and archived.";
    QCOMPARE(long45.size(), size_t(45));
    program.GetPlatform().messages.ShowNotice(long45, 50, true);
    QCOMPARE(notice->geometry(), QRect(25, 103, 190, 67));
    QCOMPARE(notice->property("warning").toBool(), true);
    program.GetPlatform().messages.ShowNotice(u"End Save  \r\n (there was an error)", 50, true);
    QCOMPARE(notice->text(), QStringLiteral("End Save  \n (there was an error)"));
    QCOMPARE(notice->geometry(), QRect(25, 114, 190, 45));
    test::Screenshot(*program.Frame(), QStringLiteral("startup-main-frame-notice"));
    QTRY_VERIFY(!notice->isVisible());
    QVERIFY(!program.Timers().IsRunning(TimerId::Notice));
}

void TestStartUp::missingPreferencesStopsStartUp() {
    fs::remove(MakeDevice() / "Program files" / "Pondrel" / "Preferences.pre");
    PondrelApplication program(Options());
    program.Messages().QueueAnswer(BoxAnswer::Ok);
    QVERIFY(program.InitInstance());
    CCorvaneView* view = program.Frame()->View();
    QTRY_VERIFY(view->StartUpResult().has_value());
    QVERIFY(!*view->StartUpResult());
    QVERIFY(!view->IsReady());
    QCOMPARE(program.Messages().Shown().size(), size_t(1));
    QCOMPARE(program.Messages().Shown().front().text,
             QStringLiteral("A file can not be found. Be sure that the file <Preferences.pre> "
                            "exist."));
    // Quitting writes nothing: the missing file is not replaced by defaults.
    program.Frame()->close();
    QVERIFY(!fs::exists(Options().device / "Program files" / "Pondrel" / "Preferences.pre"));
    QCOMPARE(program.Document().Patients().Count(), 0);
}

// A file where "\My Documents" should be: the box names the three folders that cannot be made,
// and without the active patients folder start-up stops before anything could be typed.
void TestStartUp::workingFolderTakenByAFileIsNamed() {
    const fs::path myDocuments = MakeDevice() / "My Documents";
    fs::remove_all(myDocuments);
    std::ofstream(myDocuments) << "not a folder";
    PondrelApplication program(Options());
    program.Messages().QueueAnswer(BoxAnswer::Ok);
    QVERIFY(program.InitInstance());
    CCorvaneView* view = program.Frame()->View();
    QTRY_VERIFY(view->StartUpResult().has_value());
    QVERIFY(!*view->StartUpResult());
    QCOMPARE(program.Messages().Shown().size(), size_t(1));
    const QtUserMessages::ShownBox& box = program.Messages().Shown().front();
    QCOMPARE(box.caption, QStringLiteral("Working folder missing"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    for (const char* folder : {"PD_PrintDoc", "PD_Archives", "PD_ActivePatients"}) {
        QVERIFY2(box.text.contains(QStringLiteral("The folder <\\My Documents\\%1> does not "
                                                  "exist and could not be created")
                                       .arg(QLatin1String(folder))),
                 qPrintable(box.text));
    }
    QVERIFY(box.text.contains(QStringLiteral("No patient can be read or saved.")));
    QVERIFY(!view->IsReady());
    QVERIFY(fs::is_regular_file(myDocuments));
}

void TestStartUp::unreadableLabelsKeepTheBuiltInWords() {
    fs::path labels = MakeDevice() / "Program files" / "Pondrel" / "Labels.txt";
    std::ofstream(labels, std::ios::binary | std::ios::trunc) << "no labels in here";
    PondrelApplication program(Options());
    program.Messages().QueueAnswer(BoxAnswer::Ok);
    QVERIFY(program.InitInstance());
    CCorvaneView* view = program.Frame()->View();
    QTRY_VERIFY(view->StartUpResult().has_value());
    QVERIFY(*view->StartUpResult());
    QCOMPARE(program.Messages().Shown().size(), size_t(1));
    QCOMPARE(program.Messages().Shown().front().caption, QStringLiteral("File load failure 11"));
    QCOMPARE(view->PageName(31), QStringLiteral("Send"));  // a built-in word
    QCOMPARE(view->PageName(19), QStringLiteral("Page 19"));
}

void TestStartUp::labelsAndPreferencesNameThePages() {
    MakeDevice();
    PondrelApplication program(Options());
    QVERIFY(program.InitInstance());
    CCorvaneView* view = program.Frame()->View();
    QTRY_VERIFY(view->StartUpResult().has_value());
    QCOMPARE(view->PageName(19), ToQString(view->GetLabels().Label(76)));
    QVERIFY(!view->PageName(19).isEmpty());
    QCOMPARE(view->PageName(20), QStringLiteral("Problems"));
    QCOMPARE(view->Navigation().Order().front(), 0);
    QCOMPARE(view->GetPreferences().startCount, 1);  // the preferences were read (and counted)
}

QTEST_MAIN(TestStartUp)
#include "TestStartUp.moc"
