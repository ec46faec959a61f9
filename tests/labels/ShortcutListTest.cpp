#include "labels/ShortcutList.h"

#include <gtest/gtest.h>

#include "labels/Labels.h"
#include "labels/ShortcutPlacement.h"

namespace pondrel {
namespace {

using Rows = std::vector<std::u16string>;

class ShortcutListTest : public ::testing::Test {
protected:
    ShortcutListTest() : labels(Labels::Defaults()) {}

    void Open(int f, std::u16string shortcuts) {
        field = f;
        labels.shortcutLists[static_cast<size_t>(f)] = std::move(shortcuts);
        list.Build(field, sources);
    }
    // Chooses the row showing `text` and applies the outcome to `state`.
    ShortcutList::Outcome Choose(std::u16string_view text) {
        const Rows& rows = list.Rows();
        auto it = std::find(rows.begin(), rows.end(), text);
        EXPECT_NE(it, rows.end()) << "no row " << std::string(text.begin(), text.end());
        if (it == rows.end()) return {};
        auto outcome = list.Choose(static_cast<size_t>(it - rows.begin()), state, sources);
        if (outcome.field) state = *outcome.field;
        if (outcome.quickNotes) sources.quickNotes = *outcome.quickNotes;
        return outcome;
    }
    void Type(std::u16string text) { state = FieldState::At(text, text.size()); }

    Labels labels;
    ShortcutList list{labels};
    ShortcutSources sources;
    int field = 30;
    FieldState state;
};

TEST_F(ShortcutListTest, EmptyListShowsNothingRow) {
    Open(30, u"||");
    EXPECT_EQ(list.Rows(), Rows{u"- Nothing -"});
    auto outcome = Choose(u"- Nothing -");
    EXPECT_FALSE(outcome.field);
    EXPECT_EQ(outcome.command, ShortcutList::Command::None);
}

TEST_F(ShortcutListTest, DisplayForms) {
    Open(30, u"plain|| & line item|| &- bullet item((2))|Soft((a)) abdomen|x((ab))||");
    // Items after the first "||" belong to no list.
    EXPECT_EQ(list.Rows(), Rows{u"plain"});
    Open(30, u"plain| & line item| &- bullet item((2))|Soft((a)) abdomen|x((ab))|||");
    EXPECT_EQ(list.Rows(),
              (Rows{u"plain", u">line item", u"->bullet item", u"Soft abdomen", u"x((ab))"}));
}

TEST_F(ShortcutListTest, PlainItemsGetSpacingAndCapitals) {
    Open(91, u"amoxicillin 1 g||");
    Choose(u"amoxicillin 1 g");
    EXPECT_EQ(state.text, u"Amoxicillin 1 g ");
    Open(4, u"12|x||");
    Type(u"");
    Choose(u"12");
    EXPECT_EQ(state.text, u"12");
    // One character, or two with a blank second, take no blank either.
    Open(30, u"x|y ||");
    Type(u"a");
    Choose(u"x");
    Choose(u"y ");
    EXPECT_EQ(state.text, u"axy ");
}

TEST_F(ShortcutListTest, BulletAndLineItems) {
    Open(30, u" &- fever| & cough||");
    Type(u"-pain");
    Choose(u"->fever");
    EXPECT_EQ(state.text, u"-pain\r\n-Fever ");
    Choose(u">cough");
    EXPECT_EQ(state.text, u"-pain\r\n-Fever \r\nCough ");
    Type(u"");
    Choose(u"->fever");
    EXPECT_EQ(state.text, u"-Fever ");
    Type(u"x\r\n-");
    Choose(u"->fever");
    EXPECT_EQ(state.text, u"x\r\n-Fever ");
}

TEST_F(ShortcutListTest, CommentsAndInlineReturns) {
    Open(30, u"Morphine 2.5 mg *max every 4 h* sc|Aspirin *comment|a & b|c &- d||");
    Type(u"x ");
    Choose(u"Morphine 2.5 mg *max every 4 h* sc");
    EXPECT_EQ(state.text, u"x Morphine 2.5 mg sc ");
    Type(u"x ");
    Choose(u"Aspirin *comment");
    EXPECT_EQ(state.text, u"x Aspirin ");
    Type(u"x ");
    Choose(u"a & b");
    EXPECT_EQ(state.text, u"x a\r\nb");  // only the first letter of an insertion
    Type(u"");
    Choose(u"c &- d");
    EXPECT_EQ(state.text, u"-C\r\n-d");
    EXPECT_EQ(ShortcutList::InsertionText(u"12 *day*", 4, false), u"12");
}

TEST(ShortcutInsertionText, CommentsGoWithTheBlanksBeforeThem) {
    // Each comment is erased with the blanks before it, as often as comments come.
    EXPECT_EQ(ShortcutList::InsertionText(u"a *x* *y* b", 30, false), u"a b ");
    EXPECT_EQ(ShortcutList::InsertionText(u"a  *x*b *open", 30, false), u"ab ");
    EXPECT_EQ(ShortcutList::InsertionText(u"**a", 30, false), u"a ");
    EXPECT_EQ(ShortcutList::InsertionText(u"*only*", 30, false), u"");
    std::u16string many;
    for (int i = 0; i < 2000; ++i) many += u"w *c* ";
    std::u16string expected;
    for (int i = 0; i < 2000; ++i) expected += i == 0 ? u"w" : u" w";
    EXPECT_EQ(ShortcutList::InsertionText(many, 30, false), expected + u" ");
}

TEST_F(ShortcutListTest, MenusAndBackAfterInsert) {
    Open(30, u"first|\u00A22\u00A2Abdomen (b)|soft|tender|last|\u00A21\u00A2Stay|yes||");
    EXPECT_EQ(list.Rows(), (Rows{u"first", u"[[[ Abdomen (b) ]]]", u"last", u"[[[ Stay ]]]"}));
    Choose(u"[[[ Abdomen (b) ]]]");
    EXPECT_TRUE(list.InMenu());
    EXPECT_TRUE(list.BackAfterInsert());
    EXPECT_EQ(list.Rows(), (Rows{u"[[[ Main List ]]]", u"soft", u"tender"}));
    auto outcome = Choose(u"tender");
    EXPECT_EQ(state.text, u"Tender ");
    EXPECT_TRUE(outcome.rebuilt);
    EXPECT_FALSE(list.InMenu());
    EXPECT_EQ(list.Rows()[0], u"first");
    // Without " (b)" the menu stays after an insertion; its first row goes back.
    Choose(u"[[[ Stay ]]]");
    Choose(u"yes");
    EXPECT_TRUE(list.InMenu());
    Choose(u"[[[ Main List ]]]");
    EXPECT_FALSE(list.InMenu());
    // A header among a menu's items ends it; a menu of no item shows "- Nothing -".
    Open(30, u"\u00A23\u00A2A|a1|\u00A20\u00A2B|b1||");
    EXPECT_EQ(list.Rows(), (Rows{u"[[[ A ]]]", u"[[[ B ]]]", u"b1"}));
    Choose(u"[[[ B ]]]");
    EXPECT_EQ(list.Rows(), (Rows{u"[[[ Main List ]]]", u"- Nothing -"}));
    // A huge count skips to the end of the list, no further.
    Open(30, u"\u00A299999999999\u00A2C|c1|c2||");
    EXPECT_EQ(list.Rows(), Rows{u"[[[ C ]]]"});
    Choose(u"[[[ C ]]]");
    EXPECT_EQ(list.Rows(), (Rows{u"[[[ Main List ]]]", u"c1", u"c2"}));
}

TEST_F(ShortcutListTest, RecordMenus) {
    sources.pastHistory = u"-appendectomy 1990\r\n-asthma";
    Open(87, u"pneumonia||");
    EXPECT_EQ(list.Rows(), (Rows{u"[[[ Past History ]]]", u"pneumonia"}));
    Choose(u"[[[ Past History ]]]");
    EXPECT_EQ(list.Rows(), (Rows{u"[[[ Main List ]]]", u"appendectomy 1990", u"asthma"}));
    std::u16string forty;
    for (int i = 0; i < 40; ++i) forty += u"-line\r\n";
    EXPECT_EQ(ShortcutList::RecordMenuItems(forty).size(), 30u);

    sources.usualDrugs = u"aspirin 100 mg-\r\nstatin";
    Open(91, u"||");
    EXPECT_EQ(list.Rows(), Rows{u"[[[ Usual drugs ]]]"});
    Choose(u"[[[ Usual drugs ]]]");
    EXPECT_EQ(list.Rows(), (Rows{u"[[[ Main List ]]]", u"aspirin 100 mg", u"statin"}));
    Choose(u"statin");
    EXPECT_EQ(state.text, u"Statin ");
}

TEST_F(ShortcutListTest, QuickNotesMoveWhole) {
    sources.quickNotes = u"-K+ 3.1 *recheck* & call lab\r\n-x-ray done\r\n-\r\n";
    Open(89, u"soft||");
    EXPECT_EQ(list.Rows(), (Rows{u"|>> K+ 3.1 *recheck* & call lab", u"|>> x-ray done",
                                 u"|" + std::u16string(75, u'-'), u"soft"}));
    Type(u"-pain");
    auto outcome = Choose(u"|>> K+ 3.1 *recheck* & call lab");
    ASSERT_TRUE(outcome.quickNotes);
    EXPECT_EQ(*outcome.quickNotes, u"-x-ray done");
    EXPECT_EQ(state.text, u"-pain\r\n-K+ 3.1 *recheck* & call lab");
    EXPECT_EQ(list.Rows(), (Rows{u"|>> x-ray done", u"|" + std::u16string(75, u'-'), u"soft"}));
    Choose(u"|>> x-ray done");
    EXPECT_EQ(sources.quickNotes, u"");
    EXPECT_EQ(list.Rows(), Rows{u"soft"});
    // The quick-notes page lists no quick notes.
    sources.quickNotes = u"a";
    sources.quickNotesPageShown = true;
    list.Build(198, sources);
    EXPECT_EQ(list.Rows(), Rows{u"- Nothing -"});
}

TEST_F(ShortcutListTest, QuickNoteLinesAreRemovedWholeOrNotAtAll) {
    EXPECT_EQ(ShortcutList::WithoutQuickNoteLine(u"ab\r\n-a\r\n-abc.", u"a"), u"ab\r\n-abc");
    EXPECT_EQ(ShortcutList::WithoutQuickNoteLine(u"-a\r\n-b", u"a"), u"-b");
    EXPECT_EQ(ShortcutList::WithoutQuickNoteLine(u"a b", u"a b"), u"");
    // A line no longer there leaves the notes as they are.
    EXPECT_FALSE(ShortcutList::WithoutQuickNoteLine(u"call wife\r\n-abc", u"wife"));
    EXPECT_FALSE(ShortcutList::WithoutQuickNoteLine(u"", u"x"));
    std::u16string many;
    for (int i = 0; i < 60; ++i) many += u"note\r\n";
    EXPECT_EQ(ShortcutList::QuickNoteLines(many).size(), 50u);
}

TEST_F(ShortcutListTest, InsertionsNeverBringReservedCharacters) {
    sources.quickNotes = u"pH 7.1 \u00A7 \u00A2 \u00AC \u00A6 # x";
    Open(30, u"a\u00A6b#c||");
    Type(u"");
    Choose(u"a\u00A6b#c");
    EXPECT_EQ(state.text, u"Abc ");
    Choose(u"|>> pH 7.1 \u00A7 \u00A2 \u00AC \u00A6 # x");
    EXPECT_EQ(state.text, u"-Abc \r\n-pH 7.1      x");
}

TEST_F(ShortcutListTest, EditingCommands) {
    Open(30,
         u"<-|<---|<==|- Space -|- Back -|- Clear -|- Clear all -|- Undo -|- Cut -|- Copy -|"
         u"- Paste -|- Close -|------------------------|x||");
    Type(u"ab");
    Choose(u"<-");
    EXPECT_EQ(state.text, u"ab\r\n");
    Choose(u"- Back -");
    EXPECT_EQ(state.text, u"ab");
    Choose(u"<==");
    EXPECT_EQ(state.text, u"-ab\r\n-");
    Choose(u"<---");  // on an empty bullet: no bullets at all
    EXPECT_EQ(state.text, u"ab\r\n");
    Choose(u"- Space -");
    EXPECT_EQ(state.text, u"ab\r\n ");
    state.selectionStart = 0;
    state.selectionEnd = 1;
    Choose(u"- Clear -");
    EXPECT_EQ(state.text, u"b\r\n ");
    EXPECT_EQ(Choose(u"- Undo -").command, ShortcutList::Command::Undo);
    EXPECT_EQ(Choose(u"- Cut -").command, ShortcutList::Command::Cut);
    EXPECT_EQ(Choose(u"- Copy -").command, ShortcutList::Command::Copy);
    EXPECT_EQ(Choose(u"- Paste -").command, ShortcutList::Command::Paste);
    EXPECT_FALSE(Choose(u"------------------------").field);
    Choose(u"- Clear all -");
    EXPECT_EQ(state.text, u"");
    EXPECT_EQ(Choose(u"- Close -").command, ShortcutList::Command::Close);
    EXPECT_FALSE(list.IsOpen());
}

TEST(ShortcutPlacementTest, AboveBelowThenColumns) {
    ShortcutListArea area;
    area.fieldLeft = 10;
    area.fieldRight = 230;
    area.fieldTop = 150;
    area.fieldBottom = 170;
    // Five rows fit above: 5 x 11 + 3 = 58.
    EXPECT_EQ(PlaceShortcutList(area, 5, 10), (ShortcutListPlacement{176, 92, 54, 58, 1, 54}));
    // Problem fields leave 11 pixels more above.
    area.gapAbove = 11;
    EXPECT_EQ(PlaceShortcutList(area, 5, 10).y, 81);
    // Too high for above (150) or below (109): two columns.
    auto p = PlaceShortcutList(area, 14, 60);
    EXPECT_EQ(p.columns, 2);
    EXPECT_EQ(p.columnWidth, 112);
    EXPECT_EQ(p.height, (11 * 14 + 15) / 2 + 1);
    // A list that fits nowhere scrolls sideways in the larger space.
    p = PlaceShortcutList(area, 300, 20);
    EXPECT_TRUE(p.scrollBar);
    EXPECT_EQ(p.columnWidth, 120);
    EXPECT_EQ(p.y + p.height, 150 - 11);
    // A field at the left edge: the list keeps to the screen.
    area.fieldRight = 40;
    EXPECT_EQ(PlaceShortcutList(area, 2, 30).x, 240 - 152);
}

}  // namespace
}  // namespace pondrel
