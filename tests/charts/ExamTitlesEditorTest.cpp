// The "Exams graph" dialogue's list of titles and its buttons.

#include <gtest/gtest.h>

#include "Doubles.h"
#include "charts/ExamTitlesEditor.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

class ExamTitlesEditorTest : public ::testing::Test {
protected:
    std::vector<std::u16string> Boxes() const {
        std::vector<std::u16string> texts;
        for (const auto& box : m_messages.boxes) {
            EXPECT_EQ(box.caption, u"");
            texts.push_back(box.text);
        }
        return texts;
    }
    test::ScriptedMessages m_messages;
};

TEST_F(ExamTitlesEditorTest, OpensOnTheFirstTitle) {
    ExamTitlesEditor editor(u"Hb|Leu,WBC|", m_messages);
    EXPECT_EQ(editor.Entries(), (std::vector<std::u16string>{u"Hb", u"Leu,WBC"}));
    EXPECT_EQ(editor.Selected(), 0);
    EXPECT_EQ(editor.EditText(), u"Hb");
    ExamTitlesEditor empty(u"", m_messages);
    EXPECT_EQ(empty.Selected(), -1);
    EXPECT_EQ(empty.StoredTitles(), u"");
}

TEST_F(ExamTitlesEditorTest, AddRenameAndTheirRefusals) {
    ExamTitlesEditor editor(u"Hb|", m_messages);
    editor.Clear();
    editor.Add();
    editor.SetEditText(u"C#R|P\u00A2");
    EXPECT_EQ(editor.EditText(), u"CRP");
    editor.Add();
    EXPECT_EQ(editor.Selected(), 1);
    editor.Add();  // already there: nothing
    EXPECT_EQ(editor.Entries().size(), 2u);
    editor.SetEditText(u"CRP,PCR");
    editor.Rename();
    editor.SetEditText(u"Hb");
    editor.Rename();  // an entry already: nothing
    EXPECT_EQ(editor.StoredTitles(), u"Hb|CRP,PCR|");
    editor.Select(-1);
    editor.Rename();
    EXPECT_EQ(Boxes(),
              (std::vector<std::u16string>{u"Insert first the title of the exam",
                                           u"Select first the item to rename in the list"}));
    // Fifty at most.
    std::u16string fifty;
    for (int i = 0; i < 50; ++i) fifty += u"T" + ToText(i) + u"|";
    ExamTitlesEditor full(fifty, m_messages);
    full.SetEditText(u"New");
    full.Add();
    EXPECT_EQ(full.Entries().size(), 50u);
    EXPECT_EQ(Boxes().back(), u"Max 50 items in the list");
}

TEST_F(ExamTitlesEditorTest, MoveAndDelete) {
    ExamTitlesEditor editor(u"A|B|C|", m_messages);
    editor.Up();
    editor.Down();
    EXPECT_EQ(editor.StoredTitles(), u"B|A|C|");
    EXPECT_EQ(editor.Selected(), 1);
    editor.Select(2);
    editor.Down();
    editor.Delete();
    EXPECT_EQ(editor.StoredTitles(), u"B|A|");
    EXPECT_EQ(editor.Selected(), 1);
    EXPECT_EQ(editor.EditText(), u"A");
    editor.Select(0);
    editor.Delete();
    EXPECT_EQ(editor.Selected(), 0);
    EXPECT_EQ(editor.EditText(), u"A");
    editor.Delete();
    editor.Delete();
    editor.Up();
    EXPECT_EQ(Boxes(),
              (std::vector<std::u16string>{u"The item is already at the top of the list",
                                           u"The item is already at the bottom of the list",
                                           u"Select first the item to delete in the list",
                                           u"Select first the item to move in the list"}));
}

}  // namespace
}  // namespace pondrel
