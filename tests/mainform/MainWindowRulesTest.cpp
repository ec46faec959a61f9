// The notice box, the patient box, page names and the main menu entries.

#include <gtest/gtest.h>

#include <string>

#include "TestPlatform.h"
#include "labels/Labels.h"
#include "mainform/MainMenu.h"
#include "mainform/NoticeLayout.h"
#include "mainform/PageNames.h"
#include "mainform/PatientBox.h"
#include "records/PatientRecord.h"
#include "settings/Preferences.h"

using namespace pondrel;
using pondrel::test::U8;

TEST(NoticeLayoutTest, GrowsByLinesOfTwentyCharacters) {
    const NoticeBox shortNotice = NoticeBoxFor(u"Save successfull");
    EXPECT_EQ(shortNotice, (NoticeBox{25, 125, 190, 23}));
    EXPECT_EQ(NoticeBoxFor(std::u16string(20, u'x')).height, 23);
    EXPECT_EQ(NoticeBoxFor(std::u16string(21, u'x')), (NoticeBox{25, 114, 190, 45}));

    const NoticeBox longNotice = NoticeBoxFor(std::u16string(45, u'x'));
    EXPECT_EQ(longNotice.height, 67);
    EXPECT_EQ(shortNotice.y - longNotice.y, 22);
    EXPECT_EQ(NoticeBoxFor(u"").height, 23);
}

TEST(NoticeLayoutTest, HugeTextDoesNotOverflow) {
    const NoticeBox box = NoticeBoxFor(std::u16string(2'000'000, u'x'));
    EXPECT_GT(box.height, 23);
    EXPECT_LT(box.y, 125);
}

TEST(PatientBoxTest, TitleNameInitialAndYear) {
    Labels labels = Labels::Defaults();
    labels.uiLabels[54] = u"Mrs";
    labels.uiLabels[55] = u"Mr";
    PatientRecord record;
    record.sex = 1;
    record.SetField(2, u"Dupont");
    record.SetField(3, u"Jean");
    record.SetField(6, u"1950");
    PatientBoxView box = PatientBoxOf(record, labels);
    EXPECT_EQ(U8(box.text), "Mr Dupont J 1950");
    EXPECT_FALSE(box.readOnly);

    record.sex = 0;
    EXPECT_EQ(U8(PatientBoxOf(record, labels).text), "Mrs Dupont J 1950");

    record.SetField(2, u"");
    EXPECT_EQ(U8(PatientBoxOf(record, labels).text), " J 1950");  // no title without a name

    PatientRecord empty;
    EXPECT_EQ(U8(PatientBoxOf(empty, labels).text), "  ");
}

TEST(PatientBoxTest, ReadOnlyOnlyForLockStateR) {
    Labels labels = Labels::Defaults();
    PatientRecord record;
    record.lockState = u"R";
    EXPECT_TRUE(PatientBoxOf(record, labels).readOnly);
    record.lockState = u"W";
    EXPECT_FALSE(PatientBoxOf(record, labels).readOnly);
    record.lockState = u"";
    EXPECT_FALSE(PatientBoxOf(record, labels).readOnly);
}

TEST(PageNamesTest, FromPreferencesAndLabels) {
    Labels labels = Labels::Defaults();
    labels.uiLabels[76] = u"To do";
    labels.uiLabels[77] = u"Problems";
    labels.uiLabels[84] = u"Order sheets";
    labels.uiLabels[87] = u"Identity";
    Preferences preferences;
    preferences.pages[0].name = u"Patient";
    preferences.pages[5].name = u"Cardio";
    preferences.freeFields.pageTexts[0] = u"Free 1";
    preferences.freeFields.pageTexts[1] = u"Free 2 and more";

    const auto names = PageNames(labels, preferences);
    EXPECT_EQ(U8(names[0]), "Patient");
    EXPECT_EQ(U8(names[5]), "Cardio");
    EXPECT_EQ(U8(names[7]), "Page 7");  // no stored name: never a blank item
    EXPECT_EQ(U8(names[19]), "To do");
    EXPECT_EQ(U8(names[20]), "Problems");
    EXPECT_EQ(U8(names[27]), "Order sheets");
    EXPECT_EQ(U8(names[28]), "Free 1");
    EXPECT_EQ(U8(names[29]), "Free 2 and m");  // cut to 12 characters
    EXPECT_EQ(U8(names[30]), "Identity");
    EXPECT_EQ(U8(names[31]), "Send");  // built-in words of labels 88 to 92, 190 to 192
    EXPECT_EQ(U8(names[35]), "S: Manager");
    EXPECT_EQ(U8(names[36]), "S: Graph");
    EXPECT_EQ(U8(names[37]), "Quick notes");
    EXPECT_EQ(U8(names[38]), "S: Evolution");
    EXPECT_EQ(U8(names[21]), "Page 21");  // label 78 empty in these labels
}

TEST(PageNamesTest, UntitledFreeFieldPagesAndTwoIdentityPagesAreToldApart) {
    Labels labels = Labels::Defaults();
    labels.uiLabels[87] = u"Identity";
    Preferences preferences;
    preferences.pages[0].name = u"IDENTITY";
    auto names = PageNames(labels, preferences);
    EXPECT_EQ(U8(names[28]), "Free fields 1");
    EXPECT_EQ(U8(names[29]), "Free fields 2");
    EXPECT_EQ(U8(names[0]), "IDENTITY");
    EXPECT_EQ(U8(names[30]), "Identity form");
    preferences.pages[0].name = u"Patient";
    names = PageNames(labels, preferences);
    EXPECT_EQ(U8(names[30]), "Identity");
}

TEST(MainMenuTest, TwentyOneEntriesInOrder) {
    const auto entries = MainMenuEntries(false);
    ASSERT_EQ(entries.size(), 21u);
    const char* expected[] = {"New patient",
                              "Clear check boxes",
                              "Save all",
                              "Open all",
                              "Close one",
                              "-------------------------",
                              "Files manager ->",
                              "Quick load file",
                              "-------------------------",
                              "Preferences",
                              "Ed shortcuts",
                              "Ed windows",
                              "-------------------------",
                              "Undo",
                              "Cut",
                              "Copy",
                              "Paste",
                              "Help",
                              "About",
                              "-------------------------",
                              "Exit"};
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(U8(entries[i].text), expected[i]) << i;
        EXPECT_EQ(entries[i].command == MenuCommand::Separator,
                  std::string(expected[i]).starts_with("---"))
            << i;
    }
    EXPECT_EQ(entries.back().command, MenuCommand::Exit);
    EXPECT_EQ(U8(MainMenuEntries(true)[11].text), "Close Ed Win");
    EXPECT_EQ(MainMenuEntries(true)[11].command, MenuCommand::EditWindows);
}
