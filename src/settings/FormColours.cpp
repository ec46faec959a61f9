#include "settings/FormColours.h"

namespace pondrel {

namespace {

bool InRange(int value) {
    return value >= 0 && value <= kColourMax;
}

bool IsSane(FormRgb rgb) {
    return InRange(rgb.red) && InRange(rgb.green) && InRange(rgb.blue);
}

}  // namespace

FormRgb CaptionRgb(const ColourSettings& s) {
    return {s.captionRed, s.captionGreen, s.captionBlue};
}

FormRgb BackgroundRgb(const ColourSettings& s) {
    return {s.backgroundRed, s.backgroundGreen, s.backgroundBlue};
}

void SetCaptionRgb(ColourSettings& s, FormRgb rgb) {
    s.captionRed = rgb.red;
    s.captionGreen = rgb.green;
    s.captionBlue = rgb.blue;
}

void SetBackgroundRgb(ColourSettings& s, FormRgb rgb) {
    s.backgroundRed = rgb.red;
    s.backgroundGreen = rgb.green;
    s.backgroundBlue = rgb.blue;
}

ColourSettings SaneColourSettings(const ColourSettings& settings) {
    ColourSettings s = settings;
    if (s.captionChoice < 0 || s.captionChoice > static_cast<int>(CaptionChoice::Rgb)) {
        s.captionChoice = static_cast<int>(CaptionChoice::Pink);
    }
    if (!IsSane(CaptionRgb(s))) {
        SetCaptionRgb(s, kPinkCaptions);
        if (s.captionChoice == static_cast<int>(CaptionChoice::Rgb)) {
            s.captionChoice = static_cast<int>(CaptionChoice::Pink);
        }
    }
    if (s.backgroundFlag < 0 || s.backgroundFlag > static_cast<int>(BackgroundChoice::Rgb)) {
        s.backgroundFlag = static_cast<int>(BackgroundChoice::Wallpaper);
    }
    if (!IsSane(BackgroundRgb(s))) {
        SetBackgroundRgb(s, kPlainBackground);
        if (s.backgroundFlag == static_cast<int>(BackgroundChoice::Rgb)) {
            s.backgroundFlag = static_cast<int>(BackgroundChoice::Wallpaper);
        }
    }
    return s;
}

bool HasDamagedColours(const ColourSettings& settings) {
    return !(SaneColourSettings(settings) == settings);
}

FormColours ResolveFormColours(const ColourSettings& settings) {
    const ColourSettings s = SaneColourSettings(settings);
    FormColours colours;
    switch (static_cast<CaptionChoice>(s.captionChoice)) {
        case CaptionChoice::Pink:
            colours.captions = kPinkCaptions;
            break;
        case CaptionChoice::Blue:
            colours.captions = kBlueCaptions;
            break;
        case CaptionChoice::Rgb:
            colours.captions = CaptionRgb(s);
            break;
    }
    colours.wallpaper = s.backgroundFlag == static_cast<int>(BackgroundChoice::Wallpaper);
    colours.background = colours.wallpaper ? kPlainBackground : BackgroundRgb(s);
    return colours;
}

WallpaperState::Step WallpaperState::AtStart(const ColourSettings& settings) {
    if (m_triedAtStart || m_loaded) return Step::Nothing;
    if (!ResolveFormColours(settings).wallpaper) return Step::Nothing;
    m_triedAtStart = true;
    return Step::Load;
}

WallpaperState::Step WallpaperState::AfterPreferences(const ColourSettings& settings) {
    if (m_loaded || !ResolveFormColours(settings).wallpaper) return Step::Nothing;
    m_askedByUser = true;
    return Step::Load;
}

bool WallpaperState::Loaded(bool loaded) {
    m_loaded = loaded;
    const bool tell = !loaded && m_askedByUser && !m_told;
    if (tell) m_told = true;
    m_askedByUser = false;
    return tell;
}

}  // namespace pondrel
