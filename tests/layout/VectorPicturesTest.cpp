// The named vectorial pictures: the "I" list, the copy of a picture into a drawing (hostile
// pictures included), the "Vectorial picture" dialogue's rules and the ready-made pictures.

#include <gtest/gtest.h>

#include "layout/DrawingPlacement.h"
#include "layout/VectorPictures.h"
#include "records/DrawingText.h"
#include "settings/FactoryPreferences.h"
#include "settings/ReadyPictures.h"

namespace pondrel {
namespace {

PictureSlots Named(std::initializer_list<const char16_t*> names) {
    PictureSlots slots{};
    size_t i = 0;
    for (const char16_t* name : names) {
        slots[i].name = name;
        slots[i].drawing = u"#0,0,0/0|" + std::u16string(1, static_cast<char16_t>(u'1' + i)) +
                           u",1\u00A62,2";
        ++i;
    }
    return slots;
}

TEST(VectorPicturesTest, AreasFiveSevenAndEightOwnTheFirstThreeSets) {
    EXPECT_EQ(PictureSetOf(5), 0);
    EXPECT_EQ(PictureSetOf(7), 1);
    EXPECT_EQ(PictureSetOf(8), 2);
    for (int area : {0, 1, 2, 3, 4, 6, 9}) EXPECT_FALSE(PictureSetOf(area)) << area;
    // The placements give exactly those areas an "I" button.
    for (int area = 1; area <= 8; ++area) {
        EXPECT_EQ(PlacementOf(area).pictureButton.has_value(), PictureSetOf(area).has_value());
    }
    Preferences p;
    PictureSlots slots = Named({u"a", u"b"});
    StoreSlots(p, 2, slots);
    EXPECT_EQ(SlotsOf(p, 2), slots);
    EXPECT_EQ(p.vectorPictures[20].name, u"a");
    EXPECT_TRUE(SlotsOf(p, 1)[0].name.empty());
    StoreSlots(p, 6, slots);  // out of range: nothing
    EXPECT_EQ(SlotsOf(p, 6), PictureSlots{});
}

TEST(VectorPicturesTest, ListShowsTheNamedSlotsThenPreferencesWithItsShape) {
    PictureSlots slots{};
    slots[3].name = u"Cast";
    slots[7].name = u"Drain left";
    PictureList list = PictureListOf(slots);
    EXPECT_EQ(list.rows, (std::vector<std::u16string>{u"Cast", u"Drain left", u"-Preferences-"}));
    EXPECT_EQ(list.rowSlots, (std::vector<int>{3, 7}));
    EXPECT_EQ(list.columnWidth, 13 * 5 + 1);
    EXPECT_EQ(list.columns, 1);
    EXPECT_EQ(list.height, 3 * 11 + 3);

    // Nothing named: "-Preferences-" alone.
    EXPECT_EQ(PictureListOf(PictureSlots{}).rows.size(), 1u);
    // Seven rows and more: two columns, at most seven rows high; long names cap the width.
    slots = Named({u"1", u"2", u"3", u"4", u"5", u"6"});
    list = PictureListOf(slots);
    EXPECT_EQ(list.columns, 2);
    EXPECT_EQ(list.height, 4 * 11 + 3);
    for (auto& s : slots) s.name = u"A rather long name of forty characters..";
    list = PictureListOf(slots);
    EXPECT_EQ(list.rows.size(), 11u);
    EXPECT_EQ(list.columnWidth, 150);
    EXPECT_EQ(list.height, 6 * 11 + 3);
}

TEST(VectorPicturesTest, APictureIsCopiedAsTheReaderTakesItAndWithinTheBudget) {
    PictureCopy copy = PictureForDrawing(u"#255,0,0/0|10,20\u00A611,22");
    EXPECT_EQ(copy.drawing, u"#255,0,0/0|10,20\u00A611,22");
    EXPECT_FALSE(copy.repaired);
    EXPECT_EQ(copy.strokesCut, 0u);

    // Hostile: colours over 255, a huge number, a stroke without points, garbage.
    copy = PictureForDrawing(u"junk#999,0,0/7|99999999999999999999,5\u00A6x,y#1,2,3/0|#0,0,0/1");
    EXPECT_TRUE(copy.repaired);
    EXPECT_EQ(copy.drawing, u"#255,0,0/2|9999,5");
    EXPECT_TRUE(PictureForDrawing(u"\u00A6\u00A6###||,,//").drawing.empty());

    // Ten thousand strokes: whole strokes up to the budget, the rest cut.
    std::u16string many;
    for (int i = 0; i < 10000; ++i) many += u"#0,0,255/1|100,100\u00A6101,101";
    copy = PictureForDrawing(many);
    EXPECT_LE(copy.drawing.size(), kDrawingBudget);
    EXPECT_GT(copy.drawing.size(), kDrawingBudget - 30);
    EXPECT_GT(copy.strokesCut, 0u);
    const DrawingReading back = ReadDrawing(copy.drawing);
    EXPECT_TRUE(back.notes.empty());
    EXPECT_EQ(back.strokes.size() + copy.strokesCut, 10000u);
}

TEST(VectorPicturesTest, NamesMustBeGivenAndFreeOfReservedCharacters) {
    EXPECT_EQ(PictureNameRefusal(u"")->caption, u"No name");
    EXPECT_EQ(PictureNameRefusal(u"   ")->text, u"Specify the name to add before");
    for (const char16_t* bad : {u"a|b", u"a#", u"\u00A2", u"x\u00A6y", u"\u00A7", u"\u00AC"}) {
        const auto refusal = PictureNameRefusal(bad);
        ASSERT_TRUE(refusal);
        EXPECT_EQ(refusal->caption, u"Invalid name");
    }
    EXPECT_FALSE(PictureNameRefusal(u"Cast, left arm (2)"));
}

TEST(VectorPicturesTest, AddStoresTheCurrentPictureInTheFirstFreeSlot) {
    PictureSlots slots = Named({u"one", u"two"});
    slots[0] = {};  // slot 0 free, "two" in slot 1
    VectorPictureEditor editor(slots, u"#0,0,0/0|5,5\u00A66,6");
    EXPECT_EQ(editor.Names(), (std::vector<std::u16string>{u"two"}));
    EXPECT_EQ(editor.Selected(), 0);
    EXPECT_FALSE(editor.Saved());

    bool added = true;
    PictureMessage m = editor.Add(u"", added);
    EXPECT_FALSE(added);
    EXPECT_EQ(m.caption, u"No name");
    m = editor.Add(u"two", added);
    EXPECT_FALSE(added);
    EXPECT_EQ(m.text, u"This name already exis. Insert another name");
    EXPECT_EQ(m.caption, u"Invalid name");
    m = editor.Add(u"bad|name", added);
    EXPECT_FALSE(added);
    EXPECT_FALSE(editor.Saved());

    m = editor.Add(u"  new  ", added);
    EXPECT_TRUE(added);
    EXPECT_EQ(m.text, u"Your actual picture has been saved with the name <new>");
    EXPECT_EQ(m.caption, u"Picture has been saved");
    EXPECT_TRUE(editor.Saved());
    EXPECT_EQ(editor.Slots()[0].name, u"new");
    EXPECT_EQ(editor.Slots()[0].drawing, u"#0,0,0/0|5,5\u00A66,6");
    EXPECT_EQ(editor.Names(), (std::vector<std::u16string>{u"new", u"two"}));
    EXPECT_EQ(editor.Selected(), 0);
    EXPECT_EQ(slots[0].name, u"");  // the dialogue edits a copy
}

TEST(VectorPicturesTest, AddIsRefusedWhenAllTenSlotsAreNamed) {
    VectorPictureEditor editor(
        Named({u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"10"}), u"");
    bool added = true;
    const PictureMessage m = editor.Add(u"eleven", added);
    EXPECT_FALSE(added);
    EXPECT_EQ(m.text, u"First you must free one of the 10 vectorial picture location");
    EXPECT_EQ(m.caption, u"No place");
}

TEST(VectorPicturesTest, DeleteSelectsTheEntryBeforeOrTheNewFirst) {
    VectorPictureEditor editor(Named({u"a", u"b", u"c"}), u"");
    editor.Select(2);
    editor.Delete();
    EXPECT_EQ(editor.Names(), (std::vector<std::u16string>{u"a", u"b"}));
    EXPECT_EQ(editor.Selected(), 1);
    EXPECT_TRUE(editor.Slots()[2].drawing.empty());
    editor.Select(0);
    editor.Delete();
    EXPECT_EQ(editor.Names(), (std::vector<std::u16string>{u"b"}));
    EXPECT_EQ(editor.Selected(), 0);
    editor.Delete();
    EXPECT_EQ(editor.Selected(), -1);
    editor.Delete();  // nothing left: nothing happens
    EXPECT_TRUE(editor.Names().empty());
    editor.Select(4);
    EXPECT_EQ(editor.Selected(), -1);
}

TEST(VectorPicturesTest, RenameAndSaveOnActOnTheSelectedSlot) {
    VectorPictureEditor editor(Named({u"a", u"b"}), u"#1,1,1/0|3,3");
    editor.Select(1);
    EXPECT_FALSE(editor.Rename(u""));  // empty edit: nothing
    EXPECT_EQ(editor.Rename(u"a")->caption, u"Invalid name");
    EXPECT_EQ(editor.Rename(u"#x")->caption, u"Invalid name");
    EXPECT_FALSE(editor.Rename(u"b"));  // its own name: nothing to do
    EXPECT_FALSE(editor.Rename(u"bee"));
    EXPECT_EQ(editor.Names(), (std::vector<std::u16string>{u"a", u"bee"}));
    EXPECT_FALSE(editor.Saved());

    const auto question = editor.SaveOnQuestion();
    ASSERT_TRUE(question);
    EXPECT_EQ(question->text, u"Do you really want to replace the picture <bee> with the new one ?");
    EXPECT_EQ(question->caption, u"Replace selected picture ?");
    EXPECT_TRUE(editor.SaveOn());
    EXPECT_EQ(editor.Slots()[1].drawing, u"#1,1,1/0|3,3");
    EXPECT_EQ(editor.Slots()[0].drawing, Named({u"a"})[0].drawing);
    EXPECT_TRUE(editor.Saved());

    VectorPictureEditor empty(PictureSlots{}, u"");
    EXPECT_FALSE(empty.SaveOnQuestion());
    EXPECT_FALSE(empty.SaveOn());
    EXPECT_FALSE(empty.Rename(u"x"));
}

TEST(VectorPicturesTest, ReadyMadePicturesAreCleanDrawingsInsideTheirAreas) {
    const Preferences factory = FactoryPreferences();
    for (int set = 0; set < 3; ++set) {
        const int area = set == 0 ? 5 : set + 6;
        const Rect r = PlacementOf(area).rect;
        const std::vector<ReadyPicture> pictures = ReadyPictures(set);
        ASSERT_GE(pictures.size(), 3u) << set;
        const PictureSlots slots = SlotsOf(factory, set);
        for (size_t i = 0; i < pictures.size(); ++i) {
            const ReadyPicture& p = pictures[i];
            EXPECT_FALSE(PictureNameRefusal(p.name)) << set;
            EXPECT_EQ(slots[i].name, p.name);
            EXPECT_EQ(slots[i].drawing, p.drawing);
            const DrawingReading reading = ReadDrawing(p.drawing);
            EXPECT_TRUE(reading.notes.empty());
            EXPECT_FALSE(reading.strokes.empty());
            EXPECT_EQ(DrawingTextOf(reading.strokes), p.drawing);
            for (const Stroke& s : reading.strokes) {
                for (const DrawingPoint& pt : s.points) {
                    EXPECT_LT(pt.x, r.right - r.left);
                    EXPECT_LT(pt.y, r.bottom - r.top);
                }
            }
        }
        // Room is left for the doctor's own pictures.
        EXPECT_TRUE(slots[kPicturesPerSet - 1].name.empty());
    }
    EXPECT_TRUE(ReadyPictures(3).empty());
    EXPECT_TRUE(SlotsOf(factory, 3)[0].name.empty());
}

}  // namespace
}  // namespace pondrel
