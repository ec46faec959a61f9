// The windows editor's rules: where it opens, its lists and what choosing in them does.

#include <gtest/gtest.h>

#include "TestPlatform.h"
#include "layout/FactoryArrangement.h"
#include "layout/WindowsEditor.h"

namespace pondrel {
namespace {

namespace editor = windows_editor;

std::u16string Caption(int field) {
    return u"Cap" + ToText(field);
}

TEST(WindowsEditorTest, OpensOnTheFormPagesOnly) {
    test::ScriptedMessages messages;
    EXPECT_TRUE(editor::MayOpenOn(0, messages));
    EXPECT_TRUE(editor::MayOpenOn(18, messages));
    EXPECT_TRUE(messages.notices.empty());
    EXPECT_FALSE(editor::MayOpenOn(20, messages));
    ASSERT_EQ(messages.notices.size(), 1u);
    EXPECT_EQ(messages.notices[0].text,
              u"You can edit only the 18 first pages\r\n\r\n Choose another page");
    EXPECT_EQ(messages.notices[0].milliseconds, 4000);
    EXPECT_TRUE(messages.notices[0].warning);
}

TEST(WindowsEditorTest, AddListsHiddenWindowsAndBringsThemBackOnThePage) {
    Arrangement a = FactoryArrangement();
    HideField(a, 7);
    HideField(a, 141);
    std::vector<editor::ListEntry> list = editor::AddList(a, Caption);
    ASSERT_EQ(list.size(), 3u) << ToUtf8(list[0].text) << ToUtf8(list[1].text);
    EXPECT_EQ(list[0], (editor::ListEntry{7, u"007: Cap7"}));
    EXPECT_EQ(list[1], (editor::ListEntry{141, u"141: Cap141"}));
    EXPECT_EQ(list[2], (editor::ListEntry{-1, u"Restore lost window"}));

    const std::vector<editor::ListEntry> lost = editor::LostWindowList(Caption);
    auto has = [&](int field) {
        return std::any_of(lost.begin(), lost.end(),
                           [&](const editor::ListEntry& e) { return e.field == field; });
    };
    EXPECT_TRUE(has(1) && has(94) && has(97) && has(99) && has(200) && has(229));
    EXPECT_FALSE(has(86) || has(98) || has(100) || has(125) || has(140) || has(198) || has(199));

    editor::BringBack(a, 7, 3);
    EXPECT_EQ(PageOfField(a, 7), 3);
    EXPECT_EQ(a.fields[7].window.top - PageTop(3),
              FactoryArrangement().fields[7].window.top - PageTop(0));
}

TEST(WindowsEditorTest, PageFlagsAndOptions) {
    Arrangement a = FactoryArrangement();
    editor::SetOffered(a, 4, false);
    EXPECT_EQ(a.pages[4].aFlag, 0);
    EXPECT_EQ(a.pages[4].name, u"");
    editor::SetOffered(a, 0, false);  // the first page stays offered
    EXPECT_EQ(a.pages[0].aFlag, 1);
    editor::SetOffered(a, 4, true);
    EXPECT_EQ(a.pages[4].aFlag, 1);

    const auto& menu = editor::OptionMenu();
    ASSERT_EQ(menu.size(), 5u);
    EXPECT_EQ(menu[1].text, u"Save all windows As...");
    EXPECT_EQ(menu[4].text, u"Hide 5 seconds");

    test::ScriptedMessages messages;
    messages.Queue(BoxAnswer::No);
    EXPECT_FALSE(editor::ConfirmRestore(messages));
    EXPECT_EQ(messages.boxes[0].caption, u"Restore ?");
    EXPECT_EQ(messages.boxes[0].buttons, BoxButtons::YesNoCancel);
    messages.Queue(BoxAnswer::Yes);
    EXPECT_TRUE(editor::ConfirmRestore(messages));
}

TEST(WindowsEditorTest, FreeFieldPages) {
    FreeFieldLayout layout = FactoryFreeFieldLayout();
    layout.pageTexts = {u"Dialysis", u"", u"12", u""};
    editor::HideFreeField(layout, 103);
    editor::HideFreeField(layout, 115);
    std::vector<editor::ListEntry> list = editor::FreeFieldAddList(layout, 28, Caption);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].text, u"Edit 3 : Cap103");
    EXPECT_EQ(list[1].text, u"Restore default settings");
    EXPECT_EQ(editor::FreeFieldAddList(layout, 29, Caption)[0].field, 115);
    EXPECT_EQ(editor::FreeFieldAddListHeight(2), 37);
    EXPECT_EQ(editor::FreeFieldAddListHeight(20), 146);

    test::ScriptedMessages messages;
    messages.Queue(BoxAnswer::Cancel);
    EXPECT_FALSE(editor::RestoreFreeFields(layout, messages));
    EXPECT_EQ(layout.windows[3].visible, 0);
    messages.Queue(BoxAnswer::Yes);
    EXPECT_TRUE(editor::RestoreFreeFields(layout, messages));
    EXPECT_EQ(messages.boxes[1].text,
              u"Do you really want to restore the default position of the windows on the two "
              u"edit pages ?");
    EXPECT_EQ(layout.windows[3].visible, 1);
    EXPECT_EQ(layout.pageTexts[0], u"");

    EXPECT_EQ(editor::PagePositionText(u"99"), u"35");
    EXPECT_EQ(editor::PagePositionText(u"1a2"), u"12");
    EXPECT_EQ(editor::PagePosition(u""), 35);
}

}  // namespace
}  // namespace pondrel
