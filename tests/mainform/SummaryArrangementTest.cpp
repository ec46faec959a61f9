#include <gtest/gtest.h>

#include "labels/Labels.h"
#include "layout/FactoryArrangement.h"
#include "mainform/SummaryArrangement.h"
#include "settings/Preferences.h"

namespace pondrel::test {
namespace {

TEST(SummaryArrangementTest, FieldsLieOnThePagesOfTheArrangementInForce) {
    Arrangement arrangement = FactoryArrangement();
    arrangement.fields[61].layoutValue = 3;
    arrangement.fields[62].layoutValue = -1;  // hidden
    arrangement.fields[88].layoutValue = 3;   // a working copy of the panel: never on a page
    arrangement.pages[3].name = u"Cardio";
    arrangement.pages[4].name = u"";
    Labels labels = Labels::Defaults();
    Preferences preferences;
    preferences.pages[4].name = u"Lungs";
    preferences.freeFields.pageTexts = {u"Scores", u"Social", u"", u""};

    FormArrangement form = SummaryArrangementOf(arrangement, labels, preferences);
    EXPECT_EQ(form.fieldPage[61], 3);
    EXPECT_EQ(form.fieldPage[62], kNoFormPage);
    EXPECT_EQ(form.fieldPage[88], kNoFormPage);
    EXPECT_EQ(form.fieldPage[105], kNoFormPage);
    EXPECT_EQ(form.pageTitles[3], u"Cardio");
    EXPECT_EQ(form.pageTitles[4], u"Lungs");
    EXPECT_EQ(form.blockTitles[0], u"Scores");
    EXPECT_EQ(form.blockTitles[1], u"Social");
    EXPECT_EQ(form.blockPage[0], kNoFormPage);
    // Without a heading caption for the admission date, its label.
    EXPECT_EQ(form.admissionCaption, u"Admission");
    labels.sectionCaptions[1] = u"Entry";
    EXPECT_EQ(SummaryArrangementOf(arrangement, labels, preferences).admissionCaption, u"Entry");
}

}  // namespace
}  // namespace pondrel::test
