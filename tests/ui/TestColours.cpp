// The look of the form: the caption and background colours chosen in the Preferences are shown
// and kept after a restart, damaged stored colours fall back to the factory look, the wallpaper
// shows behind the pages and a missing one says nothing at start-up, and the "P" button of the
// free-field pages shows and hides their drawing areas.

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <filesystem>

#include "FormTestBase.h"
#include "journal/ui/CDrawingArea.h"
#include "records/WorkingFolders.h"
#include "settings/FormColours.h"
#include "settings/PreferencesFile.h"
#include "settings/ui/CColourSettingsDlg.h"
#include "ui/pages/DisplayPreferences.h"
#include "ui/pages/DrawingPages.h"

using namespace pondrel;

class TestColours : public QObject, private test::FormTestBase {
    Q_OBJECT

private slots:
    void init() { Prepare(); }
    void cleanup() { Finish(); }
    void chosenColoursAreShownAndKeptAfterARestart();
    void damagedStoredColoursFallBackToTheFactoryLook();
    void theWallpaperShowsAndAMissingOneIsToldOnlyWhenChosen();
    void thePButtonShowsAndHidesTheFreeFieldDrawings();
    void screenshots();

private:
    QtUserMessages& Boxes() { return m_program->Messages(); }
    DisplayPreferences& Display() { return *View().Find<DisplayPreferences>(); }
    QWidget* Form() { return View().Page(0)->parentWidget(); }
    // The share of the pixels of page `page` drawn in `colour`.
    double ShareOf(int page, const QColor& colour) {
        QWidget* band = View().Page(page);
        const QImage image = Form()->grab(band->geometry()).toImage();
        qint64 same = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) same += image.pixelColor(x, y) == colour;
        }
        return static_cast<double>(same) / (image.width() * image.height());
    }
    QString CaptionStyle(int field) { return Fields().Windows().Caption(field)->styleSheet(); }
    std::filesystem::path InstallationFile(const char* name) {
        return m_device / "Program files" / "Pondrel" / name;
    }
    // Opens Preferences, then "Controls colour", runs `action` on the colour dialogue and closes
    // both with their OK buttons.
    bool ChooseColours(const std::function<void(CColourSettingsDlg& dialog)>& action) {
        bool ran = false;
        const bool shown = test::WithModal(
            [&] { QVERIFY(ChooseMenu(QStringLiteral("Preferences"))); },
            [&](QWidget* preferences) {
                QVERIFY(test::WithModal(
                    [&] {
                        QVERIFY(test::Click(*preferences, QStringLiteral("controlsColourButton")));
                    },
                    [&](QWidget* dialog) {
                        auto* colours = qobject_cast<CColourSettingsDlg*>(dialog);
                        QVERIFY(colours);
                        QCOMPARE(colours->windowTitle(), QStringLiteral("Preferences : color"));
                        action(*colours);
                        QVERIFY(test::Click(*dialog, QStringLiteral("okButton")));
                        ran = true;
                    }));
                QVERIFY(test::Click(*preferences, QStringLiteral("okButton")));
            });
        return shown && ran;
    }
    static void Slide(QWidget& dialog, const QString& prefix, int red, int green, int blue) {
        test::Child<QSlider>(dialog, prefix + QStringLiteral("RSlider"))->setValue(red);
        test::Child<QSlider>(dialog, prefix + QStringLiteral("GSlider"))->setValue(green);
        test::Child<QSlider>(dialog, prefix + QStringLiteral("BSlider"))->setValue(blue);
    }
};

void TestColours::chosenColoursAreShownAndKeptAfterARestart() {
    QCOMPARE(WriteDemo(2), 2);
    QVERIFY(Start());
    // The factory look: pink captions on the wallpaper.
    QVERIFY(CaptionStyle(3).contains(QColor(176, 38, 104).name()));
    QVERIFY(Display().WallpaperShown());
    QVERIFY(ChooseColours([](CColourSettingsDlg& dialog) {
        QVERIFY(test::Child<QRadioButton>(dialog, QStringLiteral("pinkRadio"))->isChecked());
        QVERIFY(test::Child<QRadioButton>(dialog, QStringLiteral("wallpaperRadio"))->isChecked());
        Slide(dialog, QStringLiteral("caption"), 10, 120, 30);
        Slide(dialog, QStringLiteral("background"), 200, 230, 210);
        // Moving the sliders chose "RGB" in both groups, and the values show under them.
        QVERIFY(test::Child<QRadioButton>(dialog, QStringLiteral("captionRgbRadio"))->isChecked());
        QVERIFY(
            test::Child<QRadioButton>(dialog, QStringLiteral("backgroundRgbRadio"))->isChecked());
        QCOMPARE(test::Child<QLabel>(dialog, QStringLiteral("captionGValue"))->text(),
                 QStringLiteral("120"));
        QCOMPARE(test::Child<CColourSwatch>(dialog, QStringLiteral("backgroundSwatch"))->Fill(),
                 (FormRgb{200, 230, 210}));
    }));
    const QColor caption(10, 120, 30);
    const QColor background(200, 230, 210);
    auto shown = [&] {
        QVERIFY(CaptionStyle(3).contains(caption.name()));
        QVERIFY(!Display().WallpaperShown());
        // Most of a page of fields is its background.
        View().ShowPage(1);
        QVERIFY2(ShareOf(1, background) > 0.3, qPrintable(QString::number(ShareOf(1, background))));
        // The free-field and identity pages' captions too.
        QVERIFY(CaptionStyle(100).contains(caption.name()));
        QVERIFY(CaptionStyle(1).contains(caption.name()));
    };
    shown();
    QCOMPARE(m_program->Frame()->View()->GetPreferences().colours,
             (ColourSettings{10, 120, 30, 2, 200, 230, 210, 1}));

    // The next start on the same device finds them again (written when the dialogue closed;
    // the program is not even ended properly).
    QVERIFY(Start());
    shown();

    // Back to the blue captions and the wallpaper.
    QVERIFY(ChooseColours([](CColourSettingsDlg& dialog) {
        QVERIFY(test::Child<QRadioButton>(dialog, QStringLiteral("captionRgbRadio"))->isChecked());
        test::Child<QRadioButton>(dialog, QStringLiteral("blueRadio"))->click();
        test::Child<QRadioButton>(dialog, QStringLiteral("wallpaperRadio"))->click();
    }));
    QVERIFY(CaptionStyle(3).contains(QColor(32, 58, 106).name()));
    QVERIFY(Display().WallpaperShown());
    QCOMPARE(ShareOf(1, background), 0.0);
}

void TestColours::damagedStoredColoursFallBackToTheFactoryLook() {
    QCOMPARE(WriteDemo(1), 1);
    HostFileSystem files(m_device);
    const std::u16string path = WorkingFolders().InstallationFile(u"Preferences.pre");
    Preferences preferences;
    QVERIFY(ReadPreferencesFile(files, path, preferences).has_value());
    preferences.colours = {999, -5, 3, 2, 300, 0, 0, 1};
    QVERIFY(WritePreferencesFile(files, path, preferences));
    QVERIFY(Start());
    QVERIFY(Boxes().Shown().empty());
    QVERIFY(CaptionStyle(3).contains(QColor(176, 38, 104).name()));
    QVERIFY(Display().WallpaperShown());
    // The dialogue shows what the form shows; OK stores sane values.
    QVERIFY(ChooseColours([](CColourSettingsDlg& dialog) {
        QVERIFY(test::Child<QRadioButton>(dialog, QStringLiteral("pinkRadio"))->isChecked());
        QVERIFY(test::Child<QRadioButton>(dialog, QStringLiteral("wallpaperRadio"))->isChecked());
        QCOMPARE(test::Child<QSlider>(dialog, QStringLiteral("captionRSlider"))->value(), 176);
        QCOMPARE(test::Child<QLabel>(dialog, QStringLiteral("backgroundRValue"))->text(),
                 QStringLiteral("255"));
    }));
    QVERIFY(!HasDamagedColours(View().GetPreferences().colours));
    Preferences stored;
    QVERIFY(ReadPreferencesFile(files, path, stored).has_value());
    QVERIFY(!HasDamagedColours(stored.colours));
}

void TestColours::theWallpaperShowsAndAMissingOneIsToldOnlyWhenChosen() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    View().ShowPage(1);
    QVERIFY(Display().WallpaperShown());
    // The picture, not a plain colour, is behind the fields.
    const double whiteOnWallpaper = ShareOf(1, Qt::white);

    // Without the picture (and with a damaged one), the next starts show no box.
    for (const bool damaged : {false, true}) {
        const std::filesystem::path wallpaper = InstallationFile("PDBackground.jpg");
        std::filesystem::remove(wallpaper);
        if (damaged) {
            QFile file(QString::fromStdString(wallpaper.string()));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("not a picture at all");
        }
        QVERIFY(Start());
        QVERIFY(Boxes().Shown().empty());
        QVERIFY(!Display().WallpaperShown());
        View().ShowPage(1);
        QVERIFY2(
            ShareOf(1, Qt::white) > whiteOnWallpaper + 0.2,
            qPrintable(QStringLiteral("%1 %2").arg(ShareOf(1, Qt::white)).arg(whiteOnWallpaper)));
        QCOMPARE(NoticeText(), QString());
    }

    // Choosing it in the Preferences tries again and says so, once.
    QVERIFY(ChooseColours([](CColourSettingsDlg& dialog) {
        test::Child<QRadioButton>(dialog, QStringLiteral("wallpaperRadio"))->click();
    }));
    QCOMPARE(NoticeText(), QString::fromStdU16String(std::u16string(kWallpaperMissing)));
    View().HideNotice();
    QVERIFY(ChooseColours([](CColourSettingsDlg&) {}));
    QCOMPARE(NoticeText(), QString());
    QVERIFY(Boxes().Shown().empty());

    // Put back, it shows at the next choice.
    std::filesystem::remove(InstallationFile("PDBackground.jpg"));
    std::filesystem::copy_file(std::filesystem::path(PONDREL_RESOURCES_DIR) / "PDBackground.jpg",
                               InstallationFile("PDBackground.jpg"));
    QVERIFY(ChooseColours([](CColourSettingsDlg&) {}));
    QVERIFY(Display().WallpaperShown());
}

void TestColours::thePButtonShowsAndHidesTheFreeFieldDrawings() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    DrawingPages& drawings = *View().Find<DrawingPages>();
    View().ShowPage(28);
    QVERIFY(drawings.Area(7)->isVisible());
    QVERIFY(Tap(QStringLiteral("freeEdit28")));
    auto* p = Named<QPushButton>(QStringLiteral("freeModeP28"));
    QVERIFY(p && p->isEnabled() && p->isChecked());
    QVERIFY(Tap(QStringLiteral("freeModeP28")));
    QVERIFY(!p->isChecked());
    QVERIFY(!drawings.Area(7)->isVisible());
    QVERIFY(!Named<QPushButton>(QStringLiteral("drawingClear7"))->isVisible());
    // Page 29 keeps its own.
    View().ShowPage(29);
    QVERIFY(drawings.Area(8)->isVisible());

    // Kept after Exit and a new start, and pressed again it shows the area.
    QVERIFY(ChooseMenu(QStringLiteral("Exit")));
    QVERIFY(!m_program->Frame()->isVisible());
    QVERIFY(Start());
    DrawingPages& again = *View().Find<DrawingPages>();
    View().ShowPage(28);
    QVERIFY(!again.Area(7)->isVisible());
    // The tool row was left open: it shows again.
    QVERIFY(Named<QCheckBox>(QStringLiteral("freeEdit28"))->isChecked());
    QVERIFY(!Named<QPushButton>(QStringLiteral("freeModeP28"))->isChecked());
    QVERIFY(Tap(QStringLiteral("freeModeP28")));
    QVERIFY(again.Area(7)->isVisible());
    QVERIFY(Named<QPushButton>(QStringLiteral("drawingClear7"))->isVisible());
}

void TestColours::screenshots() {
    if (!test::ScreenshotsWanted()) QSKIP("PONDREL_SCREENSHOTS not set");
    QCOMPARE(WriteDemo(2), 2);
    QVERIFY(Start());
    View().ShowPage(1);
    test::Screenshot(*m_program->Frame(), QStringLiteral("colours-wallpaper-page-1"));
    View().ShowPage(28);
    test::Screenshot(*m_program->Frame(), QStringLiteral("colours-wallpaper-page-28"));
    QVERIFY(test::WithModal([&] { QVERIFY(ChooseMenu(QStringLiteral("Preferences"))); },
                            [&](QWidget* preferences) {
                                test::Screenshot(*preferences,
                                                 QStringLiteral("colours-preferences"));
                            }));
    QVERIFY(ChooseColours([](CColourSettingsDlg& dialog) {
        Slide(dialog, QStringLiteral("caption"), 0, 90, 60);
        Slide(dialog, QStringLiteral("background"), 236, 244, 226);
        test::Screenshot(dialog, QStringLiteral("colours-dialogue"));
    }));
    View().ShowPage(1);
    test::Screenshot(*m_program->Frame(), QStringLiteral("colours-rgb-page-1"));
    View().ShowPage(28);
    QVERIFY(Tap(QStringLiteral("freeEdit28")));
    QVERIFY(Tap(QStringLiteral("freeModeP28")));
    test::Screenshot(*m_program->Frame(), QStringLiteral("colours-page-28-drawing-hidden"));
}

QTEST_MAIN(TestColours)
#include "TestColours.moc"
