#include "ui/pages/DisplayPreferences.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include "documents/PrintFolderClearing.h"
#include "layout/ui/CFieldWindows.h"
#include "platform/Platform.h"
#include "records/WorkingFolders.h"
#include "settings/ui/CColourSettingsDlg.h"
#include "ui/pages/FieldPages.h"
#include "ui/pages/PageHost.h"
#include "ui/seams/DevicePicture.h"

namespace pondrel {

namespace {

QColor ToQColor(FormRgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// One tile of the form's background: the wallpaper stretched over one page, shifted so that
// every page band starts with the top of the picture (the form paints its background in tiles
// from its own origin, and the first band starts `firstBand` pixels below it). Drawn at twice
// the size, so that the picture stays sharp at zoom 2.
QPixmap PageTile(const QImage& picture, int firstBand) {
    constexpr int kScale = 2;
    const int width = PageHost::kWidth;
    const int height = PageHost::kPageHeight;
    QPixmap tile(width * kScale, height * kScale);
    tile.fill(Qt::white);
    tile.setDevicePixelRatio(kScale);
    QPainter painter(&tile);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int shift = firstBand % height;
    painter.drawImage(QRectF(0, shift, width, height), picture);
    painter.drawImage(QRectF(0, shift - height, width, height), picture);
    return tile;
}

}  // namespace

// Paints the form's background under its pages: a plain colour or the wallpaper tile. It paints
// over the form's own white fill, in the form's paint event, so that what the form's children
// inherit (the palette of the letter and summary pages, the pop-up lists) stays as it was.
class FormBackground final : public QObject {
public:
    explicit FormBackground(QWidget* form) : m_form(form) {
        if (m_form) m_form->installEventFilter(this);
    }
    ~FormBackground() override {
        if (m_form) m_form->removeEventFilter(this);
    }
    FormBackground(const FormBackground&) = delete;
    FormBackground& operator=(const FormBackground&) = delete;

    void SetColour(const QColor& colour) {
        m_tile = QPixmap();
        m_colour = colour;
        if (m_form) m_form->update();
    }
    void SetTile(const QPixmap& tile) {
        m_tile = tile;
        if (m_form) m_form->update();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_form && event->type() == QEvent::Paint) {
            const QRect area = static_cast<QPaintEvent*>(event)->rect();
            QPainter painter(m_form);
            if (m_tile.isNull()) {
                painter.fillRect(area, m_colour);
            } else {
                // Tiles from the form's origin, as the form's own background would be.
                painter.drawTiledPixmap(area, m_tile, area.topLeft());
            }
        }
        return false;
    }

private:
    QPointer<QWidget> m_form;
    QColor m_colour = Qt::white;
    QPixmap m_tile;
};

DisplayPreferences::DisplayPreferences(PageHost& view, FieldPages& fields)
    : m_view(view), m_fields(fields) {
    QWidget* band = m_view.Page(0);
    m_background = std::make_unique<FormBackground>(band ? band->parentWidget() : nullptr);
}

DisplayPreferences::~DisplayPreferences() = default;

void DisplayPreferences::ApplyPreferences(const Preferences& preferences) {
    // Missing at start-up, the wallpaper leaves the plain background without a word: the user
    // hears of it only on choosing it in the Preferences.
    if (m_wallpaper.AtStart(preferences.colours) == WallpaperState::Step::Load) {
        m_wallpaper.Loaded(LoadWallpaper());
    }
    Apply(preferences.colours);
}

void DisplayPreferences::ApplyOutcome(const PreferencesOutcome& /*outcome*/,
                                      const Preferences& preferences) {
    if (m_wallpaper.AfterPreferences(preferences.colours) == WallpaperState::Step::Load) {
        if (m_wallpaper.Loaded(LoadWallpaper())) {
            m_view.GetPlatform().messages.ShowNotice(std::u16string(kWallpaperMissing), 4000, true);
        }
    }
    Apply(preferences.colours);
}

void DisplayPreferences::AddPreferencesDialogues(CPreferencesDlg::PluggedDialogues& dialogues) {
    dialogues.emplace_back(QStringLiteral("controlsColourButton"),
                           [](PreferencesEdit& edit, QWidget* parent) {
                               CColourSettingsDlg dialog(edit.colours, parent);
                               dialog.exec();
                           });
    dialogues.emplace_back(QStringLiteral("clearPrintFolderButton"),
                           [this](PreferencesEdit& /*edit*/, QWidget* /*parent*/) {
                               Platform& platform = m_view.GetPlatform();
                               ClearPrintFolder(platform.files, platform.messages);
                           });
}

bool DisplayPreferences::LoadWallpaper() {
    QImage picture;
    if (!LoadDevicePicture(m_view.GetPlatform().files,
                           m_view.Folders().InstallationFile(kWallpaperFile), picture)) {
        m_picture = QImage();
        return false;
    }
    m_picture = picture;
    return true;
}

void DisplayPreferences::Apply(const ColourSettings& settings) {
    m_shown = ResolveFormColours(settings);
    m_fields.Windows().SetCaptionColour(ToQColor(m_shown.captions));
    QWidget* band = m_view.Page(0);
    if (WallpaperShown() && band) {
        m_background->SetTile(PageTile(m_picture, band->y()));
    } else {
        m_background->SetColour(ToQColor(m_shown.background));
    }
}

}  // namespace pondrel
