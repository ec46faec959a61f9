#include "ui/pages/DisplayPreferences.h"

#include <QPainter>
#include <QPalette>
#include <QPixmap>
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
            m_view.GetPlatform().messages.ShowNotice(std::u16string(kWallpaperMissing), 4000,
                                                     true);
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
    QWidget* form = band ? band->parentWidget() : nullptr;
    if (!form) return;
    QPalette palette = form->palette();
    if (WallpaperShown()) {
        palette.setBrush(QPalette::Window, QBrush(PageTile(m_picture, band->y())));
    } else {
        palette.setBrush(QPalette::Window, QBrush(ToQColor(m_shown.background)));
    }
    form->setPalette(palette);
    form->update();
}

}  // namespace pondrel
