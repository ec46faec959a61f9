#include <gtest/gtest.h>

#include <functional>

#include "TestPlatform.h"
#include "records/ItemEncoding.h"
#include "records/WorkingFolders.h"
#include "settings/PreferencesExchange.h"
#include "settings/PreferencesFile.h"
#include "settings/PreferencesWriter.h"

namespace pondrel {
namespace {

// The main form's side: the dialogue is a function editing the copies; the auto-save timer runs
// on the manual timers.
class FakeForm final : public PreferencesExchangeHost {
public:
    explicit FakeForm(Timers& timers) : m_timers(timers) {}

    void SetShowingDialog(bool showing) override { showingDuringDialog.push_back(showing); }
    void ShowPreferencesDialog(PreferencesEdit& edit) override {
        showingWhenShown = !showingDuringDialog.empty() && showingDuringDialog.back();
        if (dialogue) dialogue(edit);
    }
    void ApplyOutcome(const PreferencesOutcome& outcome) override {
        last = outcome;
        ApplyAutoSaveTimer(m_timers, outcome.autoSaveTimer, [this] { ++ticks; });
    }
    void RefreshForm() override { ++refreshes; }

    std::function<void(PreferencesEdit&)> dialogue;
    std::vector<bool> showingDuringDialog;
    bool showingWhenShown = false;
    PreferencesOutcome last;
    int refreshes = 0;
    int ticks = 0;

private:
    Timers& m_timers;
};

class PreferencesExchangeTest : public ::testing::Test {
protected:
    PreferencesExchangeTest() { env.files.AddFolder(folders.installation); }

    bool Run(std::function<void(PreferencesEdit&)> dialogue) {
        form.dialogue = std::move(dialogue);
        return RunPreferencesExchange(prefs, form, env.files, env.messages, folders);
    }
    Preferences Stored() {
        Preferences stored;
        ReadPreferencesFile(env.files, folders.InstallationFile(u"Preferences.pre"), stored);
        return stored;
    }

    test::TestPlatform env;
    WorkingFolders folders;
    Preferences prefs;
    FakeForm form{env.timers};
};

TEST_F(PreferencesExchangeTest, IntervalReadAsFourSurvivesOkWithoutTouchingTheList) {
    prefs.general.autoSaveInterval = 4;
    env.timers.Start(TimerId::AutoSave, 60000, [] {});
    ASSERT_TRUE(Run([](PreferencesEdit& edit) {
        bool& changed = edit.intervalChanged;
        GeneralSettingsEditor editor(edit.general, changed);
        EXPECT_EQ(editor.ShownChoice(), 0);
    }));
    EXPECT_EQ(prefs.general.autoSaveInterval, 4);
    EXPECT_EQ(form.last.autoSaveTimer, PreferencesOutcome::AutoSaveTimer::Unchanged);
    EXPECT_TRUE(env.timers.IsRunning(TimerId::AutoSave));
    EXPECT_EQ(Stored().general.autoSaveInterval, 4);
    EXPECT_EQ(form.showingDuringDialog, (std::vector<bool>{true, false}));
    EXPECT_TRUE(form.showingWhenShown);
    EXPECT_EQ(form.refreshes, 1);
}

TEST_F(PreferencesExchangeTest, CancelledChoiceChangesNothing) {
    prefs.general.autoSaveInterval = 2;
    ASSERT_TRUE(Run([](PreferencesEdit& edit) {
        GeneralSettingsEditor editor(edit.general, edit.intervalChanged);
        editor.ChooseInterval(5);
        editor.Cancel();
    }));
    EXPECT_EQ(prefs.general.autoSaveInterval, 2);
    EXPECT_FALSE(env.timers.IsRunning(TimerId::AutoSave));
    EXPECT_EQ(form.last.autoSaveTimer, PreferencesOutcome::AutoSaveTimer::Unchanged);
}

TEST_F(PreferencesExchangeTest, OffStopsAutoSaveAndOneMinuteStartsItAgain) {
    prefs.general.autoSaveInterval = 5;
    env.timers.Start(TimerId::AutoSave, 60000, [] {});
    Run([](PreferencesEdit& edit) {
        GeneralSettingsEditor(edit.general, edit.intervalChanged).ChooseInterval(0);
    });
    EXPECT_EQ(prefs.general.autoSaveInterval, 0);
    EXPECT_FALSE(env.timers.IsRunning(TimerId::AutoSave));
    Run([](PreferencesEdit& edit) {
        GeneralSettingsEditor(edit.general, edit.intervalChanged).ChooseInterval(1);
    });
    EXPECT_EQ(prefs.general.autoSaveInterval, 1);
    ASSERT_TRUE(env.timers.IsRunning(TimerId::AutoSave));
    EXPECT_EQ(env.timers.Interval(TimerId::AutoSave), 60000);
    env.timers.Fire(TimerId::AutoSave);
    EXPECT_EQ(form.ticks, 1);
    EXPECT_EQ(Stored().general.autoSaveInterval, 1);
}

TEST_F(PreferencesExchangeTest, RegionalAndGeneralValuesAreTakenOverAndStored) {
    Run([](PreferencesEdit& edit) {
        edit.regional = {1, 1};
        GeneralSettingsEditor editor(edit.general, edit.intervalChanged);
        editor.SetNewFolderType(1);
        editor.SetAgeOnSummaries(1);
    });
    EXPECT_EQ(prefs.regional, (RegionalSettings{1, 1}));
    EXPECT_EQ(form.last.unitWords.weight, u"lbs");
    EXPECT_EQ(form.last.unitWords.length, u"in");
    EXPECT_EQ(NewFolderTypeOf(prefs.general.newFolderType), u"Ambu");
    Preferences stored = Stored();
    EXPECT_EQ(stored.regional, (RegionalSettings{1, 1}));
    EXPECT_EQ(stored.general, (GeneralSettings{0, 1, 1}));

    Run([](PreferencesEdit& edit) { edit.regional.units = 0; });
    EXPECT_EQ(form.last.unitWords.weight, u"kg");
    EXPECT_EQ(form.last.unitWords.length, u"cm");
}

TEST_F(PreferencesExchangeTest, OtherPagesValuesAreHandedBackWithWhatChanged) {
    prefs.locationList = u"Cardio A|";
    prefs.inbox.push_back({});
    prefs.inbox[0].columns[0] = u"kept";
    Run([](PreferencesEdit& edit) {
        EXPECT_EQ(edit.locationList, u"Cardio A|");
        edit.locationList = u"Cardio A|Cardio B|";
        edit.bigSummary[0] = {u"Motive of Hospitalization", u"\u00A2F61#"};
    });
    EXPECT_TRUE(form.last.locationListChanged);
    EXPECT_TRUE(form.last.bigSummaryChanged);
    EXPECT_FALSE(form.last.examTitlesChanged);
    EXPECT_FALSE(form.last.wirelessChanged);
    Preferences stored = Stored();
    EXPECT_EQ(stored.locationList, u"Cardio A|Cardio B|");
    EXPECT_EQ(stored.bigSummary[0].description, u"\u00A2F61#");
    ASSERT_EQ(stored.inbox.size(), 1u);
}

TEST_F(PreferencesExchangeTest, SaveFailureKeepsTheAppliedSettingsAndSaysSo) {
    env.files.Fail(test::MemoryFileSystem::Op::Write, u"Preferences.pre");
    EXPECT_FALSE(Run([](PreferencesEdit& edit) { edit.regional.dateOrder = 1; }));
    EXPECT_EQ(prefs.regional.dateOrder, 1);
    ASSERT_EQ(env.messages.boxes.size(), 1u);
    EXPECT_EQ(env.messages.boxes[0].text, u"Save failure !");
    EXPECT_EQ(form.refreshes, 1);
}

}  // namespace
}  // namespace pondrel
