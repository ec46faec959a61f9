#include <gtest/gtest.h>

#include "settings/SettingsValues.h"

namespace pondrel {
namespace {

TEST(SettingsValuesTest, IntervalsAndTheEntriesShowingThem) {
    const int shown[][2] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {5, 4}, {10, 5},
                            {4, 0}, {6, 0}, {-1, 0}, {60, 0}};
    for (const auto& [interval, choice] : shown) {
        EXPECT_EQ(AutoSaveChoiceOf(interval), choice) << interval;
    }
    const int chosen[] = {0, 1, 2, 3, 5, 10};
    for (int choice = 0; choice < 6; ++choice) {
        EXPECT_EQ(AutoSaveIntervalOf(choice), chosen[choice]);
        EXPECT_EQ(AutoSaveChoiceOf(AutoSaveIntervalOf(choice)), choice);
    }
    EXPECT_EQ(AutoSaveIntervalOf(-1), 0);
    EXPECT_EQ(AutoSaveIntervalOf(6), 0);
    EXPECT_EQ(kAutoSaveChoices[4], u"5 minutes");
}

TEST(SettingsValuesTest, WordsDatesAndFolderTypes) {
    EXPECT_EQ(UnitWordsOf(0).weight, u"kg");
    EXPECT_EQ(UnitWordsOf(0).length, u"cm");
    EXPECT_EQ(UnitWordsOf(1).weight, u"lbs");
    EXPECT_EQ(UnitWordsOf(1).length, u"in");
    EXPECT_EQ(DateOrderOf(1), DateOrder::DayMonthYear);
    EXPECT_EQ(DateOrderOf(0), DateOrder::MonthDayYear);
    EXPECT_EQ(DisplayDate(2006, 3, 13, DateOrderOf(0)), u"3.13.2006");
    EXPECT_EQ(NewFolderTypeOf(0), u"Hosp");
    EXPECT_EQ(NewFolderTypeOf(1), u"Ambu");
}

TEST(SettingsValuesTest, GeneralEditorCancelPutsBackWhatItOpenedWith) {
    GeneralSettings settings{4, 0, 0};
    bool changed = false;
    {
        GeneralSettingsEditor editor(settings, changed);
        EXPECT_EQ(editor.ShownChoice(), 0);  // 4 is shown as "Off"
        editor.ChooseInterval(5);
        editor.SetNewFolderType(1);
        editor.SetAgeOnSummaries(1);
        EXPECT_EQ(settings, (GeneralSettings{10, 1, 1}));
        EXPECT_TRUE(changed);
        editor.Cancel();
    }
    EXPECT_EQ(settings, (GeneralSettings{4, 0, 0}));
    EXPECT_FALSE(changed);
}

TEST(SettingsValuesTest, ReopeningTheGeneralSettingsKeepsAnAcceptedInterval) {
    GeneralSettings settings{0, 0, 0};
    bool changed = false;
    GeneralSettingsEditor(settings, changed).ChooseInterval(1);  // then OK
    {
        GeneralSettingsEditor again(settings, changed);
        EXPECT_EQ(again.ShownChoice(), 1);
        again.ChooseInterval(3);
        again.Cancel();
    }
    EXPECT_EQ(settings.autoSaveInterval, 1);
    EXPECT_TRUE(changed);
}

}  // namespace
}  // namespace pondrel
