#pragma once

#include <QImage>

#include <memory>

#include "settings/FormColours.h"
#include "ui/pages/PagePlugin.h"

namespace pondrel {

class FieldPages;
class FormBackground;
class PageHost;

// The look of the form in the Preferences dialogue: "Controls colour" (the colour of the field
// captions and the background of the pages, a plain colour or the wallpaper "PDBackground.jpg"
// of the installation folder) and "Clear print folder". The colours are applied when the
// preferences are read at start-up and when the Preferences dialogue closes.
class DisplayPreferences final : public PagePlugin {
public:
    // `view` and `fields` must outlive the piece.
    DisplayPreferences(PageHost& view, FieldPages& fields);
    ~DisplayPreferences() override;
    DisplayPreferences(const DisplayPreferences&) = delete;
    DisplayPreferences& operator=(const DisplayPreferences&) = delete;
    void ApplyPreferences(const Preferences& preferences) override;
    void ApplyOutcome(const PreferencesOutcome& outcome, const Preferences& preferences) override;
    void AddPreferencesDialogues(CPreferencesDlg::PluggedDialogues& dialogues) override;

    // What the form shows now.
    const FormColours& Shown() const { return m_shown; }
    bool WallpaperShown() const { return m_shown.wallpaper && m_wallpaper.IsLoaded(); }

private:
    // Reads the wallpaper of the installation folder; true when it could be.
    bool LoadWallpaper();
    void Apply(const ColourSettings& settings);

    PageHost& m_view;
    FieldPages& m_fields;
    WallpaperState m_wallpaper;
    QImage m_picture;
    FormColours m_shown;
    std::unique_ptr<FormBackground> m_background;
};

}  // namespace pondrel
