#include "labels/FieldEditing.h"

#include <gtest/gtest.h>

namespace pondrel {
namespace {

FieldState Caret(std::u16string text, size_t caret) {
    return FieldState::At(std::move(text), caret);
}
FieldState AtEnd(std::u16string text) {
    size_t end = text.size();
    return Caret(std::move(text), end);
}

TEST(FieldEditingTest, TypingRefusesReservedCharactersAndCapitalisesLineStarts) {
    for (char16_t c : std::u16string(u"#|\u00A2\u00A6\u00A7\u00AC")) {
        EXPECT_FALSE(TypedCharacter(c, AtEnd(u"abc"))) << static_cast<int>(c);
    }
    EXPECT_EQ(TypedCharacter(u'a', AtEnd(u"")), u'A');
    EXPECT_EQ(TypedCharacter(u'a', AtEnd(u"-")), u'A');
    EXPECT_EQ(TypedCharacter(u'a', AtEnd(u"x\r\n")), u'A');
    EXPECT_EQ(TypedCharacter(u'a', AtEnd(u"x\r\n-")), u'A');
    EXPECT_EQ(TypedCharacter(u'a', Caret(u"x\r\nabc", 3)), u'A');  // start of a middle line
    EXPECT_EQ(TypedCharacter(u'a', AtEnd(u"x ")), u'a');
    EXPECT_EQ(TypedCharacter(u'a', AtEnd(u"--")), u'a');
    EXPECT_EQ(TypedCharacter(u'\u00E9', AtEnd(u"")), u'\u00E9');  // only a to z
    EXPECT_EQ(TypedCharacter(u'5', AtEnd(u"")), u'5');
}

TEST(FieldEditingTest, InsertedTextReplacesTheSelection) {
    FieldState field = Caret(u"one two three", 4);
    field.selectionEnd = 7;
    FieldState result = InsertText(field, u"2 #|x");
    EXPECT_EQ(result.text, u"one 2 x three");
    EXPECT_EQ(result.Caret(), 7u);
    EXPECT_EQ(InsertText(AtEnd(u"a\r\n"), u"\u00E9t\u00E9").text, u"a\r\n\u00C9t\u00E9");
    // A line started inside the insertion gets its capital too.
    EXPECT_EQ(InsertText(AtEnd(u"cough"), u"\r\n-fever").text, u"cough\r\n-Fever");
    EXPECT_EQ(InsertText(AtEnd(u"cough "), u"fever").text, u"cough fever");
    // Positions beyond the text are brought back to it.
    EXPECT_EQ(InsertText(Caret(u"ab", 99), u"c").text, u"abc");
}

TEST(FieldEditingTest, BulletReturn) {
    FieldState result = BulletReturn(AtEnd(u"cough"));
    EXPECT_EQ(result.text, u"-cough\r\n-");
    EXPECT_EQ(result.Caret(), result.text.size());
    EXPECT_EQ(BulletReturn(Caret(u"-a b", 2)).text, u"-a\r\n- b");
    EXPECT_EQ(BulletReturn(AtEnd(u"")).text, u"-\r\n-");
    EXPECT_TRUE(IsBulletedField(91, u""));
    EXPECT_TRUE(IsBulletedField(2, u"-x"));
    EXPECT_FALSE(IsBulletedField(199, u""));
    EXPECT_FALSE(IsBulletedField(2, u"x"));
}

TEST(FieldEditingTest, TabReturn) {
    // Empty field: a bullet.
    FieldState r = TabReturn(AtEnd(u""), kTabReturn1);
    EXPECT_EQ(r.text, u"-");
    EXPECT_EQ(r.Caret(), 1u);
    // "<==" always makes a new line; every line gets its bullet.
    r = TabReturn(AtEnd(u"cough\r\nfever"), kTabReturn2);
    EXPECT_EQ(r.text, u"-cough\r\n-fever\r\n-");
    EXPECT_EQ(r.Caret(), r.text.size());
    // "<---" at the end of an unbulleted line bullets the lines only.
    r = TabReturn(AtEnd(u"cough"), kTabReturn1);
    EXPECT_EQ(r.text, u"-cough");
    // ... on a bulleted line it starts a new one.
    r = TabReturn(AtEnd(u"-cough"), kTabReturn1);
    EXPECT_EQ(r.text, u"-cough\r\n-");
    // At the start of a line the place is that line's start.
    r = TabReturn(Caret(u"a\r\nb", 3), kTabReturn1);
    EXPECT_EQ(r.text, u"-a\r\n-b");
    EXPECT_EQ(r.Caret(), 5u);  // after the new bullet
    // On a wrapped continuation (the display line after a blank) a new line is made.
    FieldState wrapped = AtEnd(u"a long line");
    wrapped.displayLineStart = 7;
    EXPECT_EQ(TabReturn(wrapped, kTabReturn1).text, u"-a long line\r\n-");
    // A second tab-return on an empty bullet removes every bullet of the field.
    EXPECT_EQ(TabReturn(AtEnd(u"-a\r\n-b\r\n-"), kTabReturn1).text, u"a\r\nb\r\n");
    // ... but a quick-note move keeps them.
    r = TabReturn(AtEnd(u"-a\r\n-"), kQuickNoteMove);
    EXPECT_EQ(r.text, u"-a\r\n-");
    EXPECT_EQ(r.Caret(), 5u);
    // The text's own private-use characters are not taken for the place.
    r = TabReturn(AtEnd(std::u16string(u"x\uE000")), kTabReturn2);
    EXPECT_EQ(r.text, std::u16string(u"-x\uE000\r\n-"));
}

TEST(FieldEditingTest, CaptionTap) {
    const std::u16string_view nl = u"Nl";
    auto tap = [&](std::u16string text, int field = 30) {
        auto r = ToggleCaptionWord(field, AtEnd(std::move(text)), nl);
        return r ? r->text : u"<unchanged>";
    };
    EXPECT_EQ(tap(u""), u"Nl");
    EXPECT_EQ(tap(u"Nl"), u"");
    EXPECT_EQ(tap(u"Nl, soft"), u", soft");
    EXPECT_EQ(tap(u"soft Nl"), u"soft ");
    EXPECT_EQ(tap(u"soft"), u"softNl");
    EXPECT_EQ(tap(u"[c] 70"), u"70");
    // A copy mark elsewhere is not a copy mark: nothing of the text is deleted for it.
    EXPECT_EQ(tap(u"70 [c] "), u"70 [c] Nl");
    EXPECT_EQ(tap(u"x", 15), u"<unchanged>");
    EXPECT_FALSE(ToggleCaptionWord(30, AtEnd(u"soft"), u""));
}

TEST(FieldEditingTest, SmallestChange) {
    FieldChange c = FieldChange::Between(u"-cough\r\n-", u"-cough\r\n-Fever ");
    EXPECT_EQ(c.position, 9u);
    EXPECT_EQ(c.length, 0u);
    EXPECT_EQ(c.replacement, u"Fever ");
    c = FieldChange::Between(u"aXXb", u"ab");
    EXPECT_EQ(c.position, 1u);
    EXPECT_EQ(c.length, 2u);
    EXPECT_EQ(c.replacement, u"");
    c = FieldChange::Between(u"aaa", u"aaaa");
    EXPECT_EQ(c.position + c.length, 3u);
    EXPECT_EQ(c.replacement, u"a");
}

TEST(FieldEditingTest, OneLineEditsKeepOneLine) {
    // A new bulleted line made in a task line becomes a blank; the caret stays after the text.
    FieldState before = AtEnd(u"Call lab");
    FieldState after = InsertText(TabReturn(before, kTabReturn2), u"Potassium ");
    FieldState kept = KeptOnOneLine(before, after);
    EXPECT_EQ(kept.text, u"Call lab Potassium ");  // nor the bullet put in front
    EXPECT_EQ(kept.Caret(), kept.text.size());
    // In-line returns in the middle of a line; the text after the caret stays.
    before = Caret(u"a  z", 2);
    after = InsertText(before, u"b\r\n-c\r\nd ");
    kept = KeptOnOneLine(before, after);
    EXPECT_EQ(kept.text, u"a b c d  z");
    EXPECT_EQ(kept.Caret(), 8u);
    // A leading "-" that comes without a line break is the value's own ("-5").
    EXPECT_EQ(KeptOnOneLine(AtEnd(u""), AtEnd(u"-5")).text, u"-5");
    // An empty line: no leading blank; nothing to change: the state as it is.
    EXPECT_EQ(KeptOnOneLine(AtEnd(u""), AtEnd(u"\r\n-x")).text, u"x");
    EXPECT_EQ(KeptOnOneLine(AtEnd(u"a"), AtEnd(u"ab")).text, u"ab");
    // A line break already stored is never removed by showing or inserting elsewhere.
    before = AtEnd(u"x\r\ny");
    EXPECT_EQ(KeptOnOneLine(before, AtEnd(u"x\r\nyz")).text, u"x\r\nyz");
    // A selection inside the insertion follows it.
    after = Caret(u"ab\r\n-cd", 5);
    after.selectionEnd = 6;
    kept = KeptOnOneLine(AtEnd(u"ab"), after);
    EXPECT_EQ(kept.text, u"ab cd");
    EXPECT_EQ(kept.selectionStart, 3u);
    EXPECT_EQ(kept.selectionEnd, 4u);
}

}  // namespace
}  // namespace pondrel
