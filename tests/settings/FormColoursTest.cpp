#include <gtest/gtest.h>

#include <climits>

#include "settings/FormColours.h"
#include "settings/PreferencesReader.h"
#include "settings/PreferencesWriter.h"

namespace pondrel {
namespace {

ColourSettings Settings(std::array<int, 8> v) {
    return {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]};
}

TEST(FormColoursTest, FactorySettingsArePinkCaptionsOnTheWallpaper) {
    const FormColours colours = ResolveFormColours(ColourSettings{});
    EXPECT_EQ(colours.captions, kPinkCaptions);
    EXPECT_TRUE(colours.wallpaper);
    EXPECT_EQ(colours.background, kPlainBackground);
    EXPECT_FALSE(HasDamagedColours(ColourSettings{}));
}

TEST(FormColoursTest, EachChoiceGivesItsColour) {
    EXPECT_EQ(ResolveFormColours(Settings({1, 2, 3, 1, 0, 0, 0, 0})).captions, kBlueCaptions);
    EXPECT_EQ(ResolveFormColours(Settings({1, 2, 3, 0, 0, 0, 0, 0})).captions, kPinkCaptions);
    const FormColours rgb = ResolveFormColours(Settings({10, 20, 30, 2, 40, 50, 60, 1}));
    EXPECT_EQ(rgb.captions, (FormRgb{10, 20, 30}));
    EXPECT_FALSE(rgb.wallpaper);
    EXPECT_EQ(rgb.background, (FormRgb{40, 50, 60}));
    // The edges of the range are colours like any other.
    const FormColours edges = ResolveFormColours(Settings({0, 255, 0, 2, 255, 0, 255, 1}));
    EXPECT_EQ(edges.captions, (FormRgb{0, 255, 0}));
    EXPECT_EQ(edges.background, (FormRgb{255, 0, 255}));
    EXPECT_FALSE(HasDamagedColours(Settings({0, 255, 0, 2, 255, 0, 255, 1})));
}

TEST(FormColoursTest, DamagedValuesFallBackToTheFactoryLookPartByPart) {
    // A caption value out of range: the caption part is the factory one, the background stays.
    ColourSettings s = Settings({300, 20, 30, 2, 40, 50, 60, 1});
    EXPECT_TRUE(HasDamagedColours(s));
    FormColours colours = ResolveFormColours(s);
    EXPECT_EQ(colours.captions, kPinkCaptions);
    EXPECT_EQ(colours.background, (FormRgb{40, 50, 60}));
    const ColourSettings sane = SaneColourSettings(s);
    EXPECT_EQ(CaptionRgb(sane), kPinkCaptions);
    EXPECT_EQ(sane.captionChoice, 0);
    EXPECT_EQ(BackgroundRgb(sane), (FormRgb{40, 50, 60}));

    // A negative background value: back to the wallpaper, the captions stay.
    s = Settings({10, 20, 30, 2, -1, 50, 60, 1});
    colours = ResolveFormColours(s);
    EXPECT_EQ(colours.captions, (FormRgb{10, 20, 30}));
    EXPECT_TRUE(colours.wallpaper);
    EXPECT_EQ(BackgroundRgb(SaneColourSettings(s)), kPlainBackground);

    // Choices out of range, huge numbers.
    s = Settings({INT_MAX, INT_MIN, 5, 7, 1, 2, 3, -4});
    colours = ResolveFormColours(s);
    EXPECT_EQ(colours.captions, kPinkCaptions);
    EXPECT_TRUE(colours.wallpaper);
    EXPECT_FALSE(HasDamagedColours(SaneColourSettings(s)));

    // An invalid triple that is not the chosen one is mended without changing the choice.
    s = Settings({999, 0, 0, 1, 0, 0, 999, 0});
    EXPECT_EQ(SaneColourSettings(s).captionChoice, 1);
    EXPECT_EQ(SaneColourSettings(s).backgroundFlag, 0);
}

TEST(FormColoursTest, DamagedColourItemOfAFileFallsBackWithoutLosingTheRest) {
    Preferences p;
    p.colours = Settings({12, 34, 56, 2, 0, 0, 0, 1});
    p.general.autoSaveInterval = 5;
    std::u16string text = PreferencesWriter::Compose(p);
    // The colour item damaged by hand: letters, a missing value, a huge number.
    const std::u16string item = u"12,34,56,2,0,0,0,1,";
    const size_t at = text.find(item);
    ASSERT_NE(at, std::u16string::npos);
    text.replace(at, item.size(), u"ab,99999999999,56,,-7,x");
    Preferences read;
    PreferencesReader::Read(text, read);
    EXPECT_EQ(read.general.autoSaveInterval, 5);
    const FormColours colours = ResolveFormColours(read.colours);
    EXPECT_TRUE(colours.wallpaper);
    EXPECT_FALSE(HasDamagedColours(SaneColourSettings(read.colours)));
}

TEST(FormColoursTest, FreeFieldDrawingFlagsSurviveTheFileAndDefaultToShown) {
    Preferences p;
    EXPECT_EQ(p.freeFieldDrawings, (std::array<int, 2>{1, 1}));
    p.freeFieldDrawings = {0, 1};
    Preferences read;
    PreferencesReader::Read(PreferencesWriter::Compose(p), read);
    EXPECT_EQ(read.freeFieldDrawings, (std::array<int, 2>{0, 1}));

    // A file written before the flags existed ends after the certificate file: both shown.
    p.freeFieldDrawings = {0, 0};
    std::u16string text = PreferencesWriter::Compose(p);
    const std::u16string tail = u"0\u00A20\u00A2";
    ASSERT_EQ(text.substr(text.size() - tail.size()), tail);
    text.resize(text.size() - tail.size());
    Preferences older;
    PreferencesReader::Read(text, older);
    EXPECT_EQ(older.freeFieldDrawings, (std::array<int, 2>{1, 1}));
}

TEST(FormColoursTest, WallpaperIsTriedOnceAtStartAndMissingIsToldOnlyWhenAsked) {
    WallpaperState state;
    const ColourSettings wallpaper;
    ColourSettings plain = wallpaper;
    plain.backgroundFlag = 1;

    // Missing at start-up: nothing said, no second attempt at start.
    EXPECT_EQ(state.AtStart(wallpaper), WallpaperState::Step::Load);
    EXPECT_FALSE(state.Loaded(false));
    EXPECT_EQ(state.AtStart(wallpaper), WallpaperState::Step::Nothing);
    // The Preferences closed on a plain colour: nothing tried.
    EXPECT_EQ(state.AfterPreferences(plain), WallpaperState::Step::Nothing);
    // Chosen again by the user: tried, and said once.
    EXPECT_EQ(state.AfterPreferences(wallpaper), WallpaperState::Step::Load);
    EXPECT_TRUE(state.Loaded(false));
    EXPECT_EQ(state.AfterPreferences(wallpaper), WallpaperState::Step::Load);
    EXPECT_FALSE(state.Loaded(false));
    // Once loaded, never again.
    EXPECT_EQ(state.AfterPreferences(wallpaper), WallpaperState::Step::Load);
    EXPECT_FALSE(state.Loaded(true));
    EXPECT_TRUE(state.IsLoaded());
    EXPECT_EQ(state.AfterPreferences(wallpaper), WallpaperState::Step::Nothing);

    // A form started on a plain colour loads nothing until the wallpaper is chosen.
    WallpaperState later;
    EXPECT_EQ(later.AtStart(plain), WallpaperState::Step::Nothing);
    EXPECT_EQ(later.AfterPreferences(wallpaper), WallpaperState::Step::Load);
    EXPECT_FALSE(later.Loaded(true));
}

}  // namespace
}  // namespace pondrel
