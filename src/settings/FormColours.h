#pragma once

// The colours of the form as the colour settings (item 6 of the preferences) ask for them: the
// colour of the field captions ("Pink", "Blue" or an RGB colour of the user's) and the
// background ("Wallpaper", the picture of the installation folder, or an RGB colour). Stored
// values come from a file the user or an older program may have damaged: whatever is out of
// range falls back to the factory look, never to an unreadable form.

#include <string_view>

#include "settings/Preferences.h"

namespace pondrel {

struct FormRgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const FormRgb&, const FormRgb&) = default;
};

// The caption choices of item 6, fourth value.
enum class CaptionChoice { Pink = 0, Blue = 1, Rgb = 2 };
// The background flag of item 6, eighth value.
enum class BackgroundChoice { Wallpaper = 0, Rgb = 1 };

inline constexpr FormRgb kPinkCaptions{176, 38, 104};
inline constexpr FormRgb kBlueCaptions{32, 58, 106};
// The plain background: the form without a wallpaper, or when the wallpaper cannot be shown.
inline constexpr FormRgb kPlainBackground{255, 255, 255};
inline constexpr int kColourMax = 255;

// The wallpaper of the form, in the installation folder.
inline constexpr std::u16string_view kWallpaperFile = u"PDBackground.jpg";
// Said when the wallpaper is chosen and cannot be shown (once, see WallpaperState).
inline constexpr std::u16string_view kWallpaperMissing =
    u"The Background bitmap was not found. The software will use the default colored background.";

// What the form shows.
struct FormColours {
    FormRgb captions = kPinkCaptions;
    bool wallpaper = true;                  // the picture, when it could be loaded
    FormRgb background = kPlainBackground;  // without the picture
    friend bool operator==(const FormColours&, const FormColours&) = default;
};

// The colour settings with every value the dialogue and the form can show: a caption choice
// other than 0 to 2 becomes "Pink", a background flag other than 0 or 1 "Wallpaper"; an RGB
// triple with a value outside 0 to 255 becomes the factory colour of its part (pink captions,
// white background) and, when it was the chosen one, the factory choice. Valid settings come
// back unchanged.
ColourSettings SaneColourSettings(const ColourSettings& settings);
// True when SaneColourSettings had to change something.
bool HasDamagedColours(const ColourSettings& settings);

// The colours the form paints from the settings (made sane first).
FormColours ResolveFormColours(const ColourSettings& settings);

// The RGB triples of the settings.
FormRgb CaptionRgb(const ColourSettings& settings);
FormRgb BackgroundRgb(const ColourSettings& settings);
void SetCaptionRgb(ColourSettings& settings, FormRgb rgb);
void SetBackgroundRgb(ColourSettings& settings, FormRgb rgb);

// Loading the wallpaper: one attempt at start-up, another only when the user chooses the
// wallpaper again in the Preferences; nothing is ever shown at start-up when it is missing (a
// shipped program always has it, and a box at every start would teach the user to dismiss
// boxes), and the notice that it is missing is given once per run at most, when the user asked
// for the wallpaper.
class WallpaperState {
public:
    enum class Step { Load, Nothing };
    // At start-up: load when the settings ask for the wallpaper.
    Step AtStart(const ColourSettings& settings);
    // The Preferences closed: load when the wallpaper is chosen and not loaded yet.
    Step AfterPreferences(const ColourSettings& settings);
    // What the attempt gave. True when the user should now be told it is missing.
    bool Loaded(bool loaded);
    bool IsLoaded() const { return m_loaded; }

private:
    bool m_loaded = false;
    bool m_triedAtStart = false;
    bool m_askedByUser = false;
    bool m_told = false;
};

}  // namespace pondrel
