// The to-do text and the task panel.

#include <gtest/gtest.h>

#include "TestPlatform.h"
#include "journal/TaskList.h"

namespace pondrel {
namespace {

using test::U8;

TEST(TaskListTest, ATextReadAndWrittenBackKeepsItsTasks) {
    ParsedTasks parsed = ParseTasks(u"first line#0|N|second line#2|*|third", 10);
    ASSERT_EQ(parsed.rows.size(), 3u);
    EXPECT_EQ(parsed.rows[0], (TaskRow{u"first line", 0, false}));
    EXPECT_EQ(parsed.rows[1], (TaskRow{u"second line", 2, true}));
    EXPECT_EQ(parsed.rows[2], (TaskRow{u"third", 2, false}));  // no "#": plain
    EXPECT_EQ(U8(ComposeTasks(parsed.rows, u"")), "first line#0|N|third#2|N|second line#2|*|");
}

TEST(TaskListTest, TasksBeyondTheTenthAreKeptBySaving) {
    std::u16string todo;
    for (int i = 1; i <= 12; ++i) todo += u"task " + ToText(i) + u"#1|N|";
    TaskPanelModel panel;
    panel.Load(todo);
    ASSERT_EQ(panel.RowCount(), 10u);
    EXPECT_EQ(panel.Rows()[9].text, u"task 10");
    EXPECT_EQ(U8(panel.HiddenTasks()), "task 11#1|N|task 12#1|N|");
    EXPECT_EQ(panel.Save(), todo);
    // Once a row is free, the next load shows the eleventh task.
    panel.SetDone(0, true);
    test::ScriptedMessages messages;
    ASSERT_TRUE(panel.Delete(0, messages));
    const std::u16string saved = panel.Save();
    EXPECT_EQ(saved.find(u"task 1#"), std::u16string::npos);
    panel.Load(saved);
    EXPECT_EQ(panel.Rows()[9].text, u"task 11");
}

TEST(TaskListTest, CheckingAnUrgentTaskMovesItLastAsDone) {
    TaskPanelModel panel;
    panel.Load(u"call lab#0|N|write letter#1|N|");
    panel.SetDone(0, true);
    EXPECT_EQ(panel.Rows()[0].priority, kPlainPriority);
    EXPECT_EQ(U8(panel.Save()), "write letter#1|N|call lab#2|*|");
    // Unchecking keeps the priority it has now.
    panel.SetDone(0, false);
    EXPECT_EQ(U8(panel.Save()), "write letter#1|N|call lab#2|N|");
}

TEST(TaskListTest, ButtonsAndRows) {
    test::ScriptedMessages messages;
    TaskPanelModel panel;
    EXPECT_EQ(panel.RowCount(), 5u);
    panel.SetText(0, u"ask {Dr} #2 | now\u00A2");
    EXPECT_EQ(U8(panel.Rows()[0].text), "ask Dr 2  now");
    panel.CyclePriority(0, messages);
    EXPECT_EQ(panel.Rows()[0].priority, 0);
    EXPECT_TRUE(messages.notices.empty());

    // Delete is refused until the task is checked.
    EXPECT_FALSE(panel.Delete(0, messages));
    EXPECT_EQ(messages.notices.back().text,
              u"First check the box to confirm that the task is done");
    EXPECT_EQ(messages.notices.back().milliseconds, 2000);
    panel.SetDone(0, true);
    panel.CyclePriority(0, messages);
    EXPECT_EQ(messages.notices.back().text, u"Task already done");
    EXPECT_TRUE(messages.notices.back().warning);

    // A key in the last row adds one, up to ten.
    EXPECT_FALSE(panel.KeyPressed(0));
    for (size_t row = 4; row < 9; ++row) EXPECT_TRUE(panel.KeyPressed(row));
    EXPECT_FALSE(panel.KeyPressed(9));
    EXPECT_EQ(panel.RowCount(), 10u);
    // Deleting with empty rows below removes the last row while more than five remain.
    ASSERT_TRUE(panel.Delete(0, messages));
    EXPECT_EQ(panel.RowCount(), 9u);
    EXPECT_EQ(U8(panel.Save()), "");

    int red = 0, green = 0, blue = 0;
    TaskPanelModel::RowColour(3, red, green, blue);
    EXPECT_EQ(red, 255);
    EXPECT_EQ(green, 189);
    EXPECT_EQ(blue, 205);
}

}  // namespace
}  // namespace pondrel
